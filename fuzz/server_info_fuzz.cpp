// Feeds arbitrary bytes to the server-information reader, cut into reads at arbitrary places, and
// checks that no byte is lost or invented and that the parsers stay inside the packets.
#include "online/server_info_packets.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(const QByteArray& packet) {
    if (const std::optional<QByteArray> name = GetLevelFileName(packet)) {
        if (!name->endsWith(".j2l") || packet.size() < 5 + name->size() ||
            packet.sliced(5, name->size()) != *name)
            std::abort();
    }
    const QByteArray names = ParsePlayerList(packet);
    if (names.contains('|') || names.contains('\xA7') || names.contains('\0'))
        std::abort();
    if (ClientIdOf(packet).has_value() != (packet.size() > 3))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the size of the reads.
    const qsizetype step = 1 + data[0] % 32;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    InfoPacketReader reader;
    QByteArray seen;
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        reader.add(bytes.sliced(at, qMin(step, bytes.size() - at)));
        // As the window does: a whole packet at once, a level packet once the reads pause.
        const InfoPacketReader::State state = reader.state();
        if (state == InfoPacketReader::State::Whole || state == InfoPacketReader::State::Level) {
            const QByteArray packet = reader.take();
            check(packet);
            seen += packet;
        }
    }
    const QByteArray rest = reader.take();
    check(rest);
    seen += rest;
    if (bytes.size() <= InfoPacketReader::kMaxBytes && seen != bytes)
        std::abort();
    return 0;
}
