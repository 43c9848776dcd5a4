#include "protocol/server_info_packets.h"

#include "common/name_codes.h"

#include <algorithm>

namespace {

constexpr qsizetype kIdAt = 1;
constexpr char kLevelId = '\x10';
constexpr char kPlayerListId = '\x12';
constexpr qsizetype kLongHead = 3; // 0x00 and a 16-bit length
constexpr qsizetype kLevelNameLengthAt = 4;
constexpr qsizetype kLevelNameAt = 5;
constexpr qsizetype kClientIdAt = 3;
constexpr qsizetype kPlayersAt = 10;
constexpr qsizetype kRecordRest = 7; // the bytes after a name's terminator

// Where the next record begins after the one at `at`; -1 when its name has no terminator.
qsizetype nextRecord(QByteArrayView packet, qsizetype at) {
    const qsizetype terminator = packet.indexOf('\0', at);
    return terminator < 0 ? -1 : terminator + 1 + kRecordRest;
}

void removeAll(QByteArray& text, QByteArrayView what) {
    text.replace(what, QByteArrayView());
}

} // namespace

QByteArray QueryVersionCode(const QString& version) {
    static const struct {
        const char* version;
        char digit;
        char flag;
    } codes[] = {
        {"1.21", '1', ' '},   {"1.21 s", '1', ' '}, {"1.24", '4', ' '}, {"1.24 s", '4', ' '},
        {"1.21 x", '1', 'x'}, {"1.24 x", '4', 'x'}, {"1.20", '0', ' '},
    };
    char digit = '\0';
    char flag = '\0';
    for (const auto& code : codes)
        if (version == QLatin1StringView(code.version)) {
            digit = code.digit;
            flag = code.flag;
            break;
        }
    const char bytes[] = {'2', digit, ' ', flag};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray JoinRequest(const QString& version) {
    QByteArray request("\x09\x0F\x01\x04", 4);
    request += QueryVersionCode(version);
    request += '\x01';
    return request;
}

QByteArray ProbeReply(quint8 clientId) {
    QByteArray reply("\x0D\x0E\x01", 3);
    reply += char(clientId);
    reply += QByteArrayView("\x11\x00\x00\x00\x00", 5);
    reply += kProbeName;
    reply += '\0';
    return reply;
}

InfoPacketKind KindOf(QByteArrayView packet) {
    if (packet.size() <= kIdAt)
        return InfoPacketKind::Other;
    switch (packet[kIdAt]) {
    case kLevelId:
        return InfoPacketKind::Level;
    case kPlayerListId:
        return InfoPacketKind::PlayerList;
    default:
        return InfoPacketKind::Other;
    }
}

std::optional<quint8> ClientIdOf(QByteArrayView packet) {
    if (packet.size() <= kClientIdAt)
        return std::nullopt;
    return quint8(packet[kClientIdAt]);
}

std::optional<QByteArray> GetLevelFileName(QByteArrayView packet) {
    if (packet.size() <= kLevelNameLengthAt)
        return std::nullopt;
    const qsizetype length = quint8(packet[kLevelNameLengthAt]);
    return packet.sliced(kLevelNameAt)
        .first(std::min(length, packet.size() - kLevelNameAt))
        .toByteArray();
}

QByteArray ParsePlayerList(QByteArrayView packet) {
    QByteArray names;
    for (qsizetype at = kPlayersAt; at < packet.size();) {
        const qsizetype next = nextRecord(packet, at);
        const qsizetype end = next < 0 ? packet.size() : next - 1 - kRecordRest;
        names += packet.sliced(at, std::min(end - at, kMaxNameBytes));
        names += "\r\n";
        if (next < 0)
            break;
        at = next;
    }

    QByteArray probeLine = kProbeName.toByteArray();
    probeLine += "\r\n";
    removeAll(names, probeLine);
    return name_codes::stripped(std::move(names),
                                {.bars = true, .digits = "0123456789", .loneSigns = true});
}

std::optional<QByteArray> InfoPacketReader::next() {
    const QByteArrayView rest = QByteArrayView(m_bytes).sliced(m_at);
    if (rest.isEmpty())
        return std::nullopt;
    const quint8 shortLength = quint8(rest[0]);
    QByteArray packet;
    if (shortLength > 0) {
        if (rest.size() < shortLength)
            return std::nullopt;
        packet = rest.first(shortLength).toByteArray();
        m_at += shortLength;
    } else {
        if (rest.size() < kLongHead)
            return std::nullopt;
        const qsizetype body = quint8(rest[1]) | quint8(rest[2]) << 8;
        if (rest.size() < kLongHead + body)
            return std::nullopt;
        packet = '\0' + rest.sliced(kLongHead, body).toByteArray();
        m_at += kLongHead + body;
    }
    // What is taken goes once it is half of what is held, so a read of many packets costs no more
    // than its size.
    if (m_at >= m_bytes.size() - m_at) {
        m_bytes.remove(0, m_at);
        m_at = 0;
    }
    return packet;
}

void InfoPacketReader::restart() {
    m_bytes.clear();
    m_at = 0;
}
