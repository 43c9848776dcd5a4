// Feeds arbitrary text to the add-on list reader as the stored setting, and checks that what it
// reads is written back unchanged and that an entry the editor would store reads back whole.
#include "addons/addon_list.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString setting = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList entries = ReadAddonList(setting);
    for (const QString& entry : entries) {
        if (entry.isEmpty() || entry.contains(u'@'))
            std::abort();
        const AddonEntry split = SplitAddonEntry(entry);
        if (split.name && JoinAddonEntry(*split.name, split.path) != entry)
            std::abort();
        if (!split.name && split.path != entry)
            std::abort();
    }
    if (ReadAddonList(WriteAddonList(entries)) != entries)
        std::abort();

    // The same text cut in two as a name and a path the user typed into the editor.
    const qsizetype half = setting.size() / 2;
    const QString name = setting.left(half);
    const QString path = setting.mid(half);
    if (StorableAddonEntry(name, path)) {
        const QStringList back = ReadAddonList(WriteAddonList({JoinAddonEntry(name, path)}));
        if (back.size() != 1)
            std::abort();
        const AddonEntry split = SplitAddonEntry(back.first());
        if (split.name != name || split.path != path)
            std::abort();
    }
    return 0;
}
