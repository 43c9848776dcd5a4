#include "online/server_info_packets.h"

#include <algorithm>

namespace {

constexpr QByteArrayView kLevelExtension(".j2l");
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

bool IsLevelPacket(QByteArrayView packet) {
    return packet.contains(kLevelExtension);
}

std::optional<quint8> ClientIdOf(QByteArrayView packet) {
    if (packet.size() <= kClientIdAt)
        return std::nullopt;
    return quint8(packet[kClientIdAt]);
}

std::optional<QByteArray> GetLevelFileName(QByteArrayView packet) {
    if (packet.size() < kLevelNameAt)
        return std::nullopt;
    const qsizetype at = packet.indexOf(kLevelExtension, kLevelNameAt);
    if (at < 0)
        return std::nullopt;
    return packet.sliced(kLevelNameAt, at + kLevelExtension.size() - kLevelNameAt).toByteArray();
}

QByteArray ParsePlayerList(QByteArrayView packet) {
    QByteArray names;
    for (qsizetype at = kPlayersAt; at < packet.size();) {
        const qsizetype next = nextRecord(packet, at);
        const qsizetype end = next < 0 ? packet.size() : next - 1 - kRecordRest;
        names += packet.sliced(at, end - at);
        names += "\r\n";
        if (next < 0)
            break;
        at = next;
    }

    QByteArray probeLine = kProbeName.toByteArray();
    probeLine += "\r\n";
    removeAll(names, probeLine);
    removeAll(names, "|");
    for (char digit = '0'; digit <= '9'; ++digit) {
        const char code[] = {'\xA7', digit};
        removeAll(names, QByteArrayView(code, 2));
    }
    removeAll(names, "\xA7");
    return names;
}

bool IsWholePlayerList(QByteArrayView packet) {
    // The probe itself is always listed, so a head without records is not all of it.
    if (packet.size() <= kPlayersAt)
        return false;
    qsizetype at = kPlayersAt;
    while (at < packet.size()) {
        at = nextRecord(packet, at);
        if (at < 0)
            return false;
    }
    return at == packet.size();
}

void InfoPacketReader::add(QByteArrayView read) {
    const qsizetype room = kMaxBytes - m_bytes.size();
    m_bytes += read.first(std::min(room, read.size()));
}

InfoPacketReader::State InfoPacketReader::state() const {
    if (m_bytes.isEmpty())
        return State::Empty;
    if (m_bytes.size() >= kMaxBytes)
        return State::Whole;
    if (IsLevelPacket(m_bytes))
        return State::Level;
    return IsWholePlayerList(m_bytes) ? State::Whole : State::Unfinished;
}
