#include "support/password_server_peer.h"

#include <QNetworkDatagram>

namespace support {

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
        m_received << datagram.data();
        for (const QByteArray& reply : std::as_const(m_replies))
            m_socket.writeDatagram(reply, datagram.senderAddress(), quint16(datagram.senderPort()));
    }
}

} // namespace support
