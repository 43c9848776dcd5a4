#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

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

// What a packet is, by the id byte after its length.
enum class InfoPacketKind { Level, PlayerList, Other };
InfoPacketKind KindOf(QByteArrayView packet);

// The client number at offset 3; none in a packet shorter than 4 bytes.
std::optional<quint8> ClientIdOf(QByteArrayView packet);

// Player names longer than this are no real ones; past it a name is cut, so that a hostile server
// cannot make the window lay out one line of many kilobytes.
inline constexpr qsizetype kMaxNameBytes = 256;

// The level file name of a level packet: after the id come the client id, the player id, the
// name's length (offset 4) and the name (from offset 5), then the level's and tileset's checksums.
// The name is taken by its length, whatever its case or extension, and never past the packet's
// end. None in a packet too short to hold the length.
std::optional<QByteArray> GetLevelFileName(QByteArrayView packet);

// The player names of a player-list packet, one a line, each line ended by CR LF: records from
// offset 10, each a name up to its 0x00 and then 7 bytes; a name without its 0x00 runs to the end.
// Each name is cut at kMaxNameBytes. The probe's own line and the game's name codes ("|", "§" with
// or without a digit) are removed.
QByteArray ParsePlayerList(QByteArrayView packet);

// Splits what the game server sends into its packets. Each starts with its length: one byte that
// counts the whole packet, or, for longer packets, 0x00 and then a 16-bit little-endian count of
// the bytes after those three. The id follows the length. A packet is handed on in the short
// form's layout (one header byte, then the id), so the readers' offsets hold for long ones too; the
// header byte of a long one is 0x00. A packet cut across reads waits for its rest.
class InfoPacketReader {
public:
    // The largest packet the long form can say, with its three header bytes.
    static constexpr qsizetype kMaxPacket = 3 + 0xFFFF;

    void add(QByteArrayView read) { m_bytes += read; }
    // The next whole packet; none until one has come whole.
    std::optional<QByteArray> next();
    // The bytes of a packet not yet whole.
    qsizetype pending() const { return m_bytes.size() - m_at; }
    void restart();

private:
    QByteArray m_bytes;
    qsizetype m_at = 0; // where the next packet begins
};
