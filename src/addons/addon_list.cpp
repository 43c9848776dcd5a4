#include "addons/addon_list.h"

namespace {

constexpr QChar kEnd = u'@';
constexpr QChar kBar = u'|';

} // namespace

QStringList ReadAddonList(const QString& setting) {
    QStringList entries = setting.split(kEnd);
    // An empty entry in the middle would otherwise end the list there, and the editor's next
    // "Save" would drop every entry behind it.
    entries.removeAll(QString());
    return entries;
}

QString WriteAddonList(const QStringList& entries) {
    QString setting;
    for (const QString& entry : entries)
        setting += entry + kEnd;
    return setting;
}

AddonEntry SplitAddonEntry(const QString& entry) {
    const qsizetype bar = entry.indexOf(kBar);
    if (bar < 0)
        return {std::nullopt, entry};
    return {entry.left(bar), entry.mid(bar + 1)};
}

QString JoinAddonEntry(const QString& name, const QString& path) {
    return name + kBar + path;
}

bool StorableAddonEntry(const QString& name, const QString& path) {
    return !name.contains(kBar) && !name.contains(kEnd) && !path.contains(kEnd);
}
