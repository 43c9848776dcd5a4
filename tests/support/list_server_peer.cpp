#include "support/list_server_peer.h"

#include "support/chunked_write.h"

#include <QtEndian>

namespace support {

namespace {

// The list server's mode numbers (bits 1 to 5 of the flags byte).
QByteArray modeWord(char flags) {
    static const char* const words[] = {"unknown", "battle", "treasure", "ctf", "race", "coop"};
    const int mode = (quint8(flags) >> 1) & 0x1F;
    return mode < 6 ? words[mode] : "unknown";
}

// Runs of blanks in a listed name come out as one.
QByteArray squeezeBlanks(QByteArray name) {
    qsizetype at = 0;
    while ((at = name.indexOf("  ", at)) >= 0)
        name.remove(at, 1);
    return name;
}

} // namespace

ListServerPeer::ListServerPeer(Port port) : m_port(port) {
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
    m_registeredOf = nullptr;
}

void ListServerPeer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_connections;
        m_latest = socket;
        m_clientGone = false;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            const QByteArray read = socket->readAll();
            const bool first = m_port == Port::Listing && !m_order.contains(socket);
            m_received += read;
            if (first)
                takeRecord(socket, read);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket == m_latest)
                m_clientGone = true;
            ++m_connectionsEnded;
            m_registered.remove(socket);
            m_order.removeAll(socket);
            socket->deleteLater();
        });
        if (m_registeredOf)
            writeInChunks(socket, {m_registeredOf->listLines()}, true);
        else if (m_port == Port::List)
            writeInChunks(socket, m_chunks, m_after == After::Close);
    }
}

void ListServerPeer::takeRecord(QTcpSocket* socket, const QByteArray& first) {
    m_order << socket;
    if (first.size() != 42) {
        socket->write("Invalid data received");
        socket->disconnectFromHost();
        return;
    }
    const quint8 maxPlayers = quint8(first.at(36));
    if (maxPlayers == 0)
        return; // registered, but never shown
    QByteArray name = first.mid(2, 33);
    if (const qsizetype end = name.indexOf('\0'); end >= 0)
        name.truncate(end);
    const char flags = first.at(37);
    const QByteArray version = first.mid(38, 2) == "24" ? "1.24" : "1.23";
    m_registered[socket] = socket->peerAddress().toString().toLatin1() + ':' +
                           QByteArray::number(qFromLittleEndian<quint16>(first.constData())) +
                           " local " + ((flags & 1) ? "private " : "public ") + modeWord(flags) +
                           ' ' + version + "   0 [" + QByteArray::number(quint8(first.at(35))) +
                           '/' + QByteArray::number(maxPlayers) + "] " + squeezeBlanks(name) +
                           "\r\n";
}

QByteArray ListServerPeer::listLines() const {
    QByteArray lines;
    for (QTcpSocket* socket : m_order)
        lines += m_registered.value(socket);
    return lines;
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
