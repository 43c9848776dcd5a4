#pragma once

#include "support/tcp_peer.h"

namespace support {

// A game server on 127.0.0.1 (ephemeral port) for the server-information query. It answers the
// 9-byte join request with the scripted level reply and the 13-byte probe reply that follows with
// the scripted player reply. Each reply is written chunk by chunk, each chunk once the one before
// has left and a pause has passed, so that the client sees several reads. By default it takes
// connections and says nothing.
//
// Its packets are framed as a game server frames them: a length byte that counts the whole packet,
// or, for packets over 255 bytes, 0x00 and a 16-bit little-endian count of the bytes after those
// three; then the id.
//
// received() is what the client sent on the newest connection.
class GameServerPeer : public TcpPeer {
    Q_OBJECT
public:
    static constexpr int kJoinRequestSize = 9;
    static constexpr int kProbeReplySize = 13;

    // `body` (the id and what follows it) behind its length.
    static QByteArray frame(const QByteArray& body);
    // A level packet as a game server sends one: its length, its id 0x10, a byte, the client
    // number, the name's length, then the level file name (at most 255 bytes) and whatever
    // follows it (the level's and tileset's checksums).
    static QByteArray levelPacket(quint8 clientId, const QByteArray& name,
                                  const QByteArray& after = {});
    // A player list: its length, its id 0x12, eight more bytes of head (the client number at 3 of
    // the short form), then for each player the name, a 0x00 and seven more bytes, then `after`.
    static QByteArray playerList(const QByteArrayList& names, quint8 clientId = 1,
                                 const QByteArray& after = {});

    // `after` applies once the last scripted reply is written: the player reply, or the level
    // reply when there is no player reply.
    void script(QByteArrayList onJoin, QByteArrayList onProbe = {}, After after = After::StayOpen);

private:
    void opened(QTcpSocket* socket) override;
    void read(QTcpSocket* socket, const QByteArray& bytes) override;

    QByteArrayList m_onJoin;
    QByteArrayList m_onProbe;
    After m_after = After::StayOpen;
};

} // namespace support
