#include "platform/file_search.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace platform {

namespace {

QRegularExpression windowsWildcard(const QString& pattern) {
    QString rx;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        // A dot followed only by stars may also match the end of a name without a dot: "*.*"
        // matches "README", "Jazz2.*" matches "Jazz2".
        const QStringView rest = QStringView(pattern).mid(i + 1);
        if (c == u'.' && !rest.isEmpty() && rest.count(u'*') == rest.size()) {
            rx += QStringLiteral("(?:\\..*)?");
            break;
        }
        if (c == u'*')
            rx += QStringLiteral(".*");
        else if (c == u'?')
            rx += u'.';
        else
            rx += QRegularExpression::escape(QString(c));
    }
    // Windows file names match without regard to letter case.
    return QRegularExpression(QRegularExpression::anchoredPattern(rx),
                              QRegularExpression::CaseInsensitiveOption);
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(const QByteArray& a, const QByteArray& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

} // namespace

bool firstMatchExists(const QString& path) {
    // A path ending in a separator names no file; Windows' search finds nothing for it either.
    if (path.isEmpty() || path.endsWith(u'/') || path.endsWith(u'\\'))
        return false;
    if (QFileInfo::exists(path))
        return true;

    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = path.mid(cut + 1);
    if (!name.contains(u'*') && !name.contains(u'?'))
        return false;
    const QDir dir(cut < 0 ? QStringLiteral(".") : cut == 0 ? QStringLiteral("/") : path.left(cut));
    if (!dir.exists())
        return false;

    const QRegularExpression rx = windowsWildcard(name);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (rx.match(entry).hasMatch())
            return true;
    }
    return false;
}

QString pathIgnoringAsciiCase(const QString& folder, const QString& name) {
    const QString exact = folder + name;
    // A dangling link still holds its name: it is the exact entry, though it cannot be read.
    const QFileInfo info(exact);
    if (name.isEmpty() || info.exists() || info.isSymLink())
        return exact;

    // Names are compared as the bytes the file system holds, and only A-Z fold: the game's own
    // names are ASCII, and no other letter's case is guessed at.
    const QByteArray wanted = QFile::encodeName(name);
    std::optional<QByteArray> first;
    QDirIterator entries(folder.isEmpty() ? QStringLiteral(".") : folder,
                         QDir::Files | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        const QByteArray entry = QFile::encodeName(entries.fileName());
        if (equalIgnoringAsciiCase(entry, wanted) && (!first || entry < *first))
            first = entry;
    }
    return first ? folder + QFile::decodeName(*first) : exact;
}

} // namespace platform
