#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

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
class GameServerPeer : public QObject {
    Q_OBJECT
public:
    enum class After { StayOpen, Close };

    static constexpr int kJoinRequestSize = 9;
    static constexpr int kProbeReplySize = 13;

    // `body` (the id and what follows it) behind its length.
    static QByteArray frame(const QByteArray& body);
    // A level packet as a game server sends one: its length, its id 0x10, a byte, the client
    // number, a byte, then the level file name and whatever follows it.
    static QByteArray levelPacket(quint8 clientId, const QByteArray& name,
                                  const QByteArray& after = {});
    // A player list: its length, its id 0x12, eight more bytes of head (the client number at 3 of
    // the short form), then for each player the name, a 0x00 and seven more bytes, then `after`.
    static QByteArray playerList(const QByteArrayList& names, quint8 clientId = 1,
                                 const QByteArray& after = {});

    GameServerPeer();
    ~GameServerPeer() override;

    quint16 port() const { return m_server.serverPort(); }

    // `after` applies once the last scripted reply is written: the player reply, or the level
    // reply when there is no player reply.
    void script(QByteArrayList onJoin, QByteArrayList onProbe = {}, After after = After::StayOpen);
    // The pause between two chunks of a reply, in milliseconds.
    void setPause(int milliseconds) { m_pauseMs = milliseconds; }

    int connections() const { return m_connections; }
    bool connected() const {
        return m_latest && m_latest->state() == QAbstractSocket::ConnectedState;
    }
    // Whether the newest connection has seen its client go (it closed or aborted).
    bool clientGone() const { return m_clientGone; }
    // What the client sent on the newest connection.
    const QByteArray& received() const { return m_received; }
    // Writes to the newest connection; false when there is none.
    bool send(const QByteArray& bytes);
    void closeConnection();

private:
    void accept();
    void take(QTcpSocket* socket, const QByteArray& bytes);

    QTcpServer m_server;
    QPointer<QTcpSocket> m_latest;
    QByteArrayList m_onJoin;
    QByteArrayList m_onProbe;
    After m_after = After::StayOpen;
    int m_pauseMs = 20;
    int m_connections = 0;
    bool m_clientGone = false;
    QByteArray m_received;
};

} // namespace support
