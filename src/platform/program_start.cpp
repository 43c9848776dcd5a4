#include "platform/program_start.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
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

QString findOnPath(const QString& name) {
    const QStringList folders =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        const QFileInfo info(QDir(folder), name);
        if (runnable(info))
            return info.absoluteFilePath();
    }
    return {};
}

QString characterMap() {
    for (const QString& name : {QStringLiteral("gucharmap"), QStringLiteral("kcharselect"),
                                QStringLiteral("gnome-characters")}) {
        const QString found = findOnPath(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

// The program a head of the line names, as an absolute path; empty when it names none. A
// relative name is taken from the current folder first, as Windows does.
QString resolveProgram(const QString& name) {
    if (name.isEmpty())
        return {};
    if (!hasFolder(name) && name.compare(QStringLiteral("charmap.exe"), Qt::CaseInsensitive) == 0)
        return characterMap();
    const QFileInfo info(name);
    if (info.isFile())
        return info.absoluteFilePath();
    return hasFolder(name) ? QString() : findOnPath(name);
}

struct Parsed {
    QString program;
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
        const QString program = resolveProgram(line.mid(start, end - start));
        if (!program.isEmpty())
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

bool SystemProgramStarter::start(const QString& commandLine) {
    const Parsed parsed = parse(commandLine);
    if (parsed.program.isEmpty())
        return false;

    QString program = parsed.program;
    QStringList arguments = splitArguments(parsed.rest);
#ifndef Q_OS_WIN
    if (isWindowsProgram(program)) {
        const QString wine = findOnPath(QStringLiteral("wine"));
        if (wine.isEmpty())
            return false;
        arguments.prepend(program);
        program = wine;
    }
#endif
    return QProcess::startDetached(program, arguments, QDir::currentPath());
}

} // namespace platform
