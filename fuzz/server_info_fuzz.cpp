// Feeds arbitrary bytes to the server-information reader, cut into reads at arbitrary places, and
// checks that no byte is lost or invented, that every packet is whole and that the parsers stay
// inside the packets and inside their bounds.
#include "protocol/server_info_packets.h"
#include "require.h"

#include <QByteArrayList>

#include <cstddef>
#include <cstdint>

namespace {

// The packet as it came: a short one as it is, a long one behind 0x00 and its 16-bit count.
QByteArray framed(const QByteArray& packet) {
    require(!packet.isEmpty());
    const quint8 length = quint8(packet[0]);
    if (length > 0) {
        require(packet.size() == length);
        return packet;
    }
    const qsizetype body = packet.size() - 1;
    require(body <= 0xFFFF);
    return QByteArray(1, '\0') + char(body & 0xFF) + char(body >> 8) + packet.sliced(1);
}

void check(const QByteArray& packet) {
    const InfoPacketKind kind = KindOf(packet);
    require((kind == InfoPacketKind::Level) == (packet.size() > 1 && packet[1] == '\x10'));
    require((kind == InfoPacketKind::PlayerList) == (packet.size() > 1 && packet[1] == '\x12'));
    // The level name: as many bytes from offset 5 as the byte at 4 says, or as the packet holds.
    const std::optional<QByteArray> name = GetLevelFileName(packet);
    require(name.has_value() == (packet.size() > 4));
    if (name)
        require(name->size() == qMin(qsizetype(quint8(packet[4])), packet.size() - 5) &&
                packet.sliced(5, name->size()) == *name);
    const QByteArray names = ParsePlayerList(packet);
    require(!names.contains('|') && !names.contains('\xA7') && !names.contains('\0'));
    for (const QByteArray& line : names.split('\n'))
        require(line.size() <= kMaxNameBytes + 1); // with its CR
    require(ClientIdOf(packet).has_value() == (packet.size() > 3));
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
        while (const std::optional<QByteArray> packet = reader.next()) {
            check(*packet);
            seen += framed(*packet);
        }
    }
    // The packets as they came and the start of one not yet whole make the input.
    require(seen.size() + reader.pending() == bytes.size() && bytes.startsWith(seen));
    require(reader.pending() < InfoPacketReader::kMaxPacket);
    return 0;
}
