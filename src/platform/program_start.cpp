#include "platform/program_start.h"
#include "platform/signal_actions.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <utility>

namespace platform {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool hasFolder(const QString& name) {
    return name.contains(u'/') || name.contains(u'\\');
}

bool isWindowsProgram(const QString& file) {
    return file.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
}

// A Windows program needs no execute bit: it is handed to wine as a file.
bool runnable(const QFileInfo& info) {
    return info.isFile() && (info.isExecutable() || isWindowsProgram(info.fileName()));
}

// The names a head is tried under: as it stands and, without an extension, with ".exe" too.
QStringList candidates(const QString& name) {
    const qsizetype lastPart = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\')) + 1;
    if (name.indexOf(u'.', lastPart) >= 0)
        return {name};
    return {name, name + QStringLiteral(".exe")};
}

QString findIn(const QDir& folder, const QStringList& names) {
    for (const QString& name : names) {
        const QFileInfo info(folder, name);
        if (runnable(info))
            return info.absoluteFilePath();
    }
    return {};
}

QString findOnPath(const QStringList& names) {
    const QStringList folders =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        const QString found = findIn(QDir(folder), names);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString characterMap() {
    for (const QString& name : {QStringLiteral("gucharmap"), QStringLiteral("kcharselect"),
                                QStringLiteral("gnome-characters")}) {
        const QString found = findOnPath({name});
        if (!found.isEmpty())
            return found;
    }
    return {};
}

struct Program {
    QString file;           // absolute; empty when the head names no program
    bool ownFolder = false; // named by a path, so it starts in its own folder
};

// The program a head of the line names. A relative name is taken from the current folder first,
// as Windows does.
Program resolveProgram(const QString& name) {
    if (name.isEmpty())
        return {};
    if (!hasFolder(name) && name.compare(QStringLiteral("charmap.exe"), Qt::CaseInsensitive) == 0)
        return {characterMap()};
    const QStringList names = candidates(name);
    const QString here = findIn(QDir(), names);
    if (!here.isEmpty())
        return {here, true};
    return {hasFolder(name) ? QString() : findOnPath(names)};
}

struct Parsed {
    Program program;
    QStringView rest;
};

Parsed parse(const QString& line) {
    const QStringView view(line);
    qsizetype start = 0;
    while (start < view.size() && isBlank(view[start]))
        ++start;

    if (start < view.size() && view[start] == u'"') {
        const qsizetype close = line.indexOf(u'"', start + 1);
        if (close < 0)
            return {resolveProgram(line.mid(start + 1)), {}};
        return {resolveProgram(line.mid(start + 1, close - start - 1)), view.mid(close + 1)};
    }

    for (qsizetype end = start + 1; end <= view.size(); ++end) {
        const bool headEnds = end == view.size() || (isBlank(view[end]) && !isBlank(view[end - 1]));
        if (!headEnds)
            continue;
        const Program program = resolveProgram(line.mid(start, end - start));
        if (!program.file.isEmpty())
            return {program, view.mid(end)};
    }
    return {};
}

} // namespace

QStringList splitArguments(QStringView text) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isBlank(c) && !quoted) {
            if (inArgument)
                arguments << std::exchange(current, QString());
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            qsizetype count = 0;
            while (i < text.size() && text[i] == u'\\') {
                ++count;
                ++i;
            }
            const bool beforeQuote = i < text.size() && text[i] == u'"';
            current += QString(beforeQuote ? count / 2 : count, u'\\');
            if (beforeQuote && count % 2 == 1) {
                current += u'"';
                ++i;
            }
            continue;
        }
        if (c == u'"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == u'"') {
                current += u'"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

StartResult SystemProgramStarter::start(const QString& commandLine) {
    using Outcome = StartResult::Outcome;
    const Parsed parsed = parse(commandLine);
    if (parsed.program.file.isEmpty())
        return {Outcome::NoProgram, commandLine, {}};

    QString program = parsed.program.file;
    QStringList arguments = splitArguments(parsed.rest);
    const QString folder =
        parsed.program.ownFolder ? QFileInfo(program).absolutePath() : QDir::currentPath();
#ifndef Q_OS_WIN
    if (isWindowsProgram(program)) {
        const QString wine = findOnPath({QStringLiteral("wine")});
        if (wine.isEmpty())
            return {Outcome::NoWine, program, {}};
        arguments.prepend(program);
        program = wine;
    }
#endif
    // The member start reports a failed exec (the static one only says false).
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    const DefaultSignalsForChildren defaults;
    if (process.startDetached())
        return {};
    // Qt puts the failing call before the system's words: "execv: Permission denied".
    const QString error = process.errorString();
    return {Outcome::Failed, program,
            error.mid(error.lastIndexOf(QStringLiteral(": ")) + 1).trimmed()};
}

} // namespace platform
