#include "support/tcp_peer.h"

#include <QTimer>

namespace support {

namespace {

void writeChunks(QTcpSocket* socket, QByteArrayList chunks, bool closeAfter, int pauseMs) {
    if (chunks.isEmpty()) {
        if (closeAfter)
            socket->disconnectFromHost();
        return;
    }
    socket->write(chunks.takeFirst());
    socket->flush();
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(pauseMs, socket, [alive, chunks, closeAfter, pauseMs] {
        if (alive && alive->state() == QAbstractSocket::ConnectedState)
            writeChunks(alive, chunks, closeAfter, pauseMs);
    });
}

} // namespace

TcpPeer::TcpPeer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &TcpPeer::accept);
}

// Connections still open are closed by their destruction, which must not reach this peer any more.
TcpPeer::~TcpPeer() {
    for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>())
        socket->disconnect(this);
}

void TcpPeer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_connections;
        m_latest = socket;
        m_clientGone = false;
        connect(socket, &QTcpSocket::readyRead, this,
                [this, socket] { read(socket, socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket == m_latest)
                m_clientGone = true;
            ++m_connectionsEnded;
            closed(socket);
            socket->deleteLater();
        });
        opened(socket);
    }
}

bool TcpPeer::send(const QByteArray& bytes) {
    if (!connected())
        return false;
    m_latest->write(bytes);
    m_latest->flush();
    return true;
}

void TcpPeer::closeConnection() {
    if (m_latest)
        m_latest->disconnectFromHost();
}

void TcpPeer::writeInChunks(QTcpSocket* socket, QByteArrayList chunks, After after) const {
    writeChunks(socket, std::move(chunks), after == After::Close, m_pauseMs);
}

UnreachablePort::UnreachablePort() {
    // Not shared: a port bound without SO_REUSEADDR is given to no one else.
    if (!m_socket.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress))
        qFatal("UnreachablePort: no port to bind: %s", qPrintable(m_socket.errorString()));
}

} // namespace support
