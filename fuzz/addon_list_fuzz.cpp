// Feeds arbitrary text to the add-on list reader as the stored setting, and checks that what it
// reads is written back unchanged and that an entry the editor would store reads back whole.
#include "addons/addon_list.h"
#include "require.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString setting = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList entries = ReadAddonList(setting);
    for (const QString& entry : entries) {
        require(!entry.isEmpty() && !entry.contains(u'@'));
        const AddonEntry split = SplitAddonEntry(entry);
        require(!split.name || JoinAddonEntry(*split.name, split.path) == entry);
        require(split.name || split.path == entry);
    }
    require(ReadAddonList(WriteAddonList(entries)) == entries);

    // The same text cut in two as a name and a path the user typed into the editor.
    const qsizetype half = setting.size() / 2;
    const QString name = setting.left(half);
    const QString path = setting.mid(half);
    if (StorableAddonEntry(name, path)) {
        const QStringList back = ReadAddonList(WriteAddonList({JoinAddonEntry(name, path)}));
        require(back.size() == 1);
        const AddonEntry split = SplitAddonEntry(back.first());
        require(split.name == name && split.path == path);
    }
    return 0;
}
