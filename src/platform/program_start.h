#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace platform {

// Starts a program from one command line written for Windows. The application uses
// SystemProgramStarter; tests record the lines instead where no program should run.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // Starts the program named at the head of the line with the rest as its arguments and returns
    // at once; false when nothing could be started.
    virtual bool start(const QString& commandLine) = 0;
};

// The real start on this machine.
//
// The program is found as Windows finds it: a head in double quotes is taken whole; otherwise
// the blank-separated heads of the line are tried from the shortest, and the first that names an
// existing file is the program, so an unquoted path with blanks works. A name without a folder
// is also looked for on PATH. The rest of the line is split by splitArguments().
//
// A Windows program (".exe" in any letter case) runs through "wine" from PATH when this is not
// Windows, and "charmap.exe" is the desktop's own character map. The program starts detached, in
// the launcher's current folder, and never through a shell, so nothing in the line is expanded.
class SystemProgramStarter final : public ProgramStarter {
public:
    bool start(const QString& commandLine) override;
};

// Splits arguments as Windows programs do: blanks and tabs separate, double quotes group ("" is
// an empty argument, and "" inside a quoted stretch is one literal quote), and backslashes count
// only before a quote: 2n of them give n and the quote groups, 2n+1 give n and a literal quote.
QStringList splitArguments(QStringView text);

} // namespace platform
