// Feeds arbitrary bytes to the level-title reader as a level file, and checks that a title is
// always a run of the file's own bytes with the colour bars taken out.
#include "common/level_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QByteArray> title = level_file::title(text);
    if (!title)
        return 0;
    if (title->contains('|') || title->contains('\0') || title->size() > text.size())
        std::abort();
    QByteArray withoutBars = text;
    withoutBars.removeIf([](char c) { return c == '|'; });
    if (!withoutBars.contains(*title))
        std::abort();
    return 0;
}
