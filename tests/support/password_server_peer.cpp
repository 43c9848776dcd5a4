#include "support/password_server_peer.h"

#include <QNetworkDatagram>

namespace support {

namespace {

// The game server's sum over everything after the two checksum bytes, written out apart from the
// launcher's own.
bool checksumHolds(const QByteArray& datagram) {
    if (datagram.size() < 2)
        return false;
    int x = 1;
    int y = 1;
    for (qsizetype i = 2; i < datagram.size(); ++i) {
        x += quint8(datagram[i]);
        y += x;
    }
    return quint8(datagram[0]) == x % 251 && quint8(datagram[1]) == y % 251;
}

} // namespace

const QByteArray PasswordServerPeer::kAccepted = QByteArrayLiteral("\x0D\x1A\x0B\x01");
const QByteArray PasswordServerPeer::kRejected = QByteArrayLiteral("\x0C\x19\x0B\x00");

PasswordServerPeer::PasswordServerPeer() {
    m_socket.bind(QHostAddress::LocalHost, 0);
    connect(&m_socket, &QUdpSocket::readyRead, this, &PasswordServerPeer::read);
}

bool PasswordServerPeer::send(const QByteArray& bytes, quint16 port) {
    return m_socket.writeDatagram(bytes, QHostAddress(QHostAddress::LocalHost), port) ==
           bytes.size();
}

void PasswordServerPeer::read() {
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (!checksumHolds(datagram.data()))
            continue;
        m_received << datagram.data();
        for (const QByteArray& reply : std::as_const(m_replies))
            m_socket.writeDatagram(reply, datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}

} // namespace support
