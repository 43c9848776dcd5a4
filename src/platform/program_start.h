#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace platform {

// What became of one start.
struct StartResult {
    enum class Outcome {
        Started,
        NoProgram, // the line names no program that can be started; subject: the line
        NoWine,    // a Windows program, but no "wine" on PATH; subject: the program
        Failed,    // the system refused; subject: the program run, reason: the system's words
    };
    Outcome outcome = Outcome::Started;
    QString subject;
    QString reason;

    bool started() const { return outcome == Outcome::Started; }
};

// Starts a program from one command line written for Windows. The application uses
// SystemProgramStarter; tests record the lines instead where no program should run.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    // Starts the program named at the head of the line with the rest as its arguments and returns
    // at once, saying why when nothing could be started.
    virtual StartResult start(const QString& commandLine) = 0;
};

// The real start on this machine.
//
// The program is found as Windows finds it: a head in double quotes is taken whole; otherwise
// the blank-separated heads of the line are tried from the shortest, and the first that names a
// runnable file (executable, or a Windows program for wine) is the program, so an unquoted path
// with blanks works and a plain file or folder on the way is passed over. A head without an
// extension is also tried with ".exe". A name without a folder is looked for in the current
// folder, then on PATH. The rest of the line is split by splitArguments().
//
// A Windows program (".exe" in any letter case) runs through "wine" from PATH when this is not
// Windows, and "charmap.exe" is the desktop's own character map. The program starts detached and
// never through a shell, so nothing in the line is expanded. A program named by a path starts in
// its own folder, as a Windows shortcut starts it (the game looks for its level files there); one
// found on PATH, and the character map, start in the launcher's current folder.
class SystemProgramStarter final : public ProgramStarter {
public:
    StartResult start(const QString& commandLine) override;
};

// Splits arguments as Windows programs do: blanks and tabs separate, double quotes group ("" is
// an empty argument, and "" inside a quoted stretch is one literal quote), and backslashes count
// only before a quote: 2n of them give n and the quote groups, 2n+1 give n and a literal quote.
QStringList splitArguments(QStringView text);

} // namespace platform
