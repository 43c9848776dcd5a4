#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <utility>

// The server-information query: the launcher joins a game server as a probe client, takes the
// level file name out of the server's level packet and the player names out of the next packet.
// Single-byte text throughout; nothing here knows about sockets or widgets.

// The player name the probe joins under, "§| "; its own line is left out of the player list.
inline constexpr QByteArrayView kProbeName("\xA7| ", 3);

// "2", a digit, a blank and a flag: which build of the game the probe speaks. The
// version is a server version as the server table shows it; one the game has no code for gives
// zero bytes in place of the digit and the flag.
QByteArray QueryVersionCode(const QString& version);

// The 9-byte join request.
QByteArray JoinRequest(const QString& version);

// The 13-byte answer to a level packet, echoing the client number the server gave the probe.
QByteArray ProbeReply(quint8 clientId);

// A packet holding ".j2l" anywhere is the level packet.
bool IsLevelPacket(QByteArrayView packet);

// The client number at offset 3; none in a packet shorter than 4 bytes.
std::optional<quint8> ClientIdOf(QByteArrayView packet);

// The level file name: from offset 5 through the first ".j2l" that begins there or later.
// None when there is no such ".j2l".
std::optional<QByteArray> GetLevelFileName(QByteArrayView packet);

// The player names of a player-list packet, one a line, each line ended by CR LF: records from
// offset 10, each a name up to its 0x00 and then 7 bytes; a name without its 0x00 runs to the end.
// The probe's own line and the game's name codes ("|", "§" with or without a digit) are removed.
QByteArray ParsePlayerList(QByteArrayView packet);

// Whether a player list has come whole: its 10-byte head, and records that end with the data,
// each with its 0x00 and the 7 bytes after it. There is at least one record, the probe's own.
bool IsWholePlayerList(QByteArrayView packet);

// Puts the server's packets together across reads. TCP may cut a packet anywhere, and nothing in
// them that the launcher knows tells where one ends, so what the bytes so far make is judged anew
// at every read (state()), and the caller takes them as one packet (take()) when they are a whole
// player list at once, and otherwise once no more bytes have come for a while:
// - bytes that hold ".j2l" are the level packet; the server sends nothing else until it has the
//   probe reply, so whatever follows soon after is the rest of it;
// - other bytes are the player list; it is whole when its records end with the data, each with
//   its 0x00 and the 7 bytes after it (IsWholePlayerList); an unfinished one waits for the rest.
// The bytes grow to kMaxBytes at most; the rest of a read that passes it is dropped.
class InfoPacketReader {
public:
    static constexpr qsizetype kMaxBytes = 64 * 1024;

    enum class State {
        Empty,      // nothing is waiting
        Level,      // the level packet, perhaps with more to come
        Unfinished, // the start of a player list, or of something unknown
        Whole,      // a whole player list, or bytes that have reached kMaxBytes
    };

    // Adds one read.
    void add(QByteArrayView read);
    State state() const;
    // The bytes so far, as one packet; the reader is empty again.
    QByteArray take() { return std::exchange(m_bytes, QByteArray()); }
    void restart() { m_bytes.clear(); }

private:
    QByteArray m_bytes;
};
