#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The "Addons" setting: every entry is a name, "|", a path and "@", with nothing in between,
// e.g. "Chat|C:\Tools\chat.exe@Map|D:\Map\map.exe@". There is no escaping, so a name may hold
// neither "|" nor "@" and a path may not hold "@". Nothing here knows about widgets or settings.

// The setting's entries in order, each without its "@". Empty entries (a doubled "@", the end
// behind the final "@") are passed over; a last entry without its "@" still counts.
QStringList ReadAddonList(const QString& setting);

// Every entry followed by "@"; no entries give the empty text.
QString WriteAddonList(const QStringList& entries);

// One entry cut at its first "|". An entry without "|" has no name, and its whole text is the
// path.
struct AddonEntry {
    std::optional<QString> name;
    QString path;

    // What the popup shows for the entry: its name, or the whole entry when it has none.
    QString caption(const QString& entry) const { return name.value_or(entry); }
};
AddonEntry SplitAddonEntry(const QString& entry);

// The entry the editor makes of a name and a path: name, "|", path.
QString JoinAddonEntry(const QString& name, const QString& path);

// Whether the entry made of `name` and `path` reads back as the same name and path.
bool StorableAddonEntry(const QString& name, const QString& path);
