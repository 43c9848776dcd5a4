#include "platform/file_search.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

namespace {

QRegularExpression windowsWildcard(const QString& pattern) {
    QString rx;
    for (const QChar c : pattern) {
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
    if (path.isEmpty())
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
