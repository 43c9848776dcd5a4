#include "support/game_server_peer.h"

#include "support/chunked_write.h"

namespace support {

GameServerPeer::GameServerPeer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &GameServerPeer::accept);
}

// Connections still open are closed by their destruction, which must not reach this peer any more.
GameServerPeer::~GameServerPeer() {
    for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>())
        socket->disconnect(this);
}

QByteArray GameServerPeer::frame(const QByteArray& body) {
    if (body.size() < 255)
        return char(body.size() + 1) + body;
    return QByteArray(1, '\0') + char(body.size() & 0xFF) + char(body.size() >> 8) + body;
}

QByteArray GameServerPeer::levelPacket(quint8 clientId, const QByteArray& name,
                                       const QByteArray& after) {
    return frame(QByteArray("\x10\x01", 2) + char(clientId) + '\x00' + name + after);
}

QByteArray GameServerPeer::playerList(const QByteArrayList& names, quint8 clientId,
                                      const QByteArray& after) {
    QByteArray body("\x12\x01\x00\x00\x00\x00\x00\x00\x00", 9);
    body[2] = char(clientId);
    for (const QByteArray& name : names)
        body += name + QByteArray("\x00\x01\x02\x03\x04\x05\x06\x07", 8);
    return frame(body + after);
}

void GameServerPeer::script(QByteArrayList onJoin, QByteArrayList onProbe, After after) {
    m_onJoin = std::move(onJoin);
    m_onProbe = std::move(onProbe);
    m_after = after;
}

void GameServerPeer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_connections;
        m_latest = socket;
        m_clientGone = false;
        m_received.clear();
        connect(socket, &QTcpSocket::readyRead, this,
                [this, socket] { take(socket, socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket == m_latest)
                m_clientGone = true;
            socket->deleteLater();
        });
    }
}

// Answers a request once all of its bytes are in, however they were cut.
void GameServerPeer::take(QTcpSocket* socket, const QByteArray& bytes) {
    if (socket != m_latest)
        return;
    const qsizetype before = m_received.size();
    m_received += bytes;
    const qsizetype after = m_received.size();
    const bool close = m_after == After::Close;
    const auto crossed = [&](qsizetype size) { return before < size && after >= size; };
    if (crossed(kJoinRequestSize))
        writeInChunks(socket, m_onJoin, close && m_onProbe.isEmpty(), m_pauseMs);
    if (crossed(kJoinRequestSize + kProbeReplySize) && !m_onProbe.isEmpty())
        writeInChunks(socket, m_onProbe, close, m_pauseMs);
}

bool GameServerPeer::send(const QByteArray& bytes) {
    if (!connected())
        return false;
    m_latest->write(bytes);
    m_latest->flush();
    return true;
}

void GameServerPeer::closeConnection() {
    if (m_latest)
        m_latest->disconnectFromHost();
}

} // namespace support
