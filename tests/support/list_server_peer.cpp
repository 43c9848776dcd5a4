#include "support/list_server_peer.h"

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

ListServerPeer::ListServerPeer(Port port) : m_port(port) {}

void ListServerPeer::serve(QByteArrayList chunks, After after) {
    m_chunks = std::move(chunks);
    m_after = after;
    m_registeredOf = nullptr;
}

void ListServerPeer::opened(QTcpSocket* socket) {
    if (m_registeredOf)
        writeInChunks(socket, {m_registeredOf->listLines()}, After::Close);
    else if (m_port == Port::List)
        writeInChunks(socket, m_chunks, m_after);
}

void ListServerPeer::read(QTcpSocket* socket, const QByteArray& bytes) {
    const bool first = m_port == Port::Listing && !m_order.contains(socket);
    record(bytes);
    if (first)
        takeRecord(socket, bytes);
}

void ListServerPeer::closed(QTcpSocket* socket) {
    m_registered.remove(socket);
    m_order.removeAll(socket);
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

} // namespace support
