#include "platform/file_search.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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

} // namespace platform
