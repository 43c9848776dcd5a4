// Feeds arbitrary bytes to the level-title reader as a level file, and checks that a title is
// always a run of the file's own bytes with the colour bars taken out.
#include "common/level_file.h"
#include "require.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QByteArray> title = level_file::title(text);
    if (!title)
        return 0;
    require(!title->contains('|') && !title->contains('\0') && title->size() <= text.size());
    QByteArray withoutBars = text;
    withoutBars.removeIf([](char c) { return c == '|'; });
    require(withoutBars.contains(*title));
    return 0;
}
