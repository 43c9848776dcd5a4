#include "support/list_server_peer.h"

#include "support/chunked_write.h"


namespace support {

ListServerPeer::ListServerPeer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &ListServerPeer::accept);
}

// Connections still open are closed by their destruction, which must not reach this peer any more.
ListServerPeer::~ListServerPeer() {
    for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>())
        socket->disconnect(this);
}

void ListServerPeer::serve(QByteArrayList chunks, After after) {
    m_chunks = std::move(chunks);
    m_after = after;
}

void ListServerPeer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_connections;
        m_latest = socket;
        m_clientGone = false;
        connect(socket, &QTcpSocket::readyRead, this,
                [this, socket] { m_received += socket->readAll(); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket == m_latest)
                m_clientGone = true;
            ++m_connectionsEnded;
            socket->deleteLater();
        });
        writeInChunks(socket, m_chunks, m_after == After::Close);
    }
}

bool ListServerPeer::send(const QByteArray& bytes) {
    if (!connected())
        return false;
    m_latest->write(bytes);
    m_latest->flush();
    return true;
}

void ListServerPeer::closeConnection() {
    if (m_latest)
        m_latest->disconnectFromHost();
}

} // namespace support
