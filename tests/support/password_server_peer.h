#pragma once

#include <QByteArrayList>
#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

namespace support {

// A private game server's password check on 127.0.0.1 (ephemeral UDP port). Like the real one it
// silently drops a datagram whose first two bytes are not the server's checksum of the rest; it
// records every other datagram and answers each with the scripted datagrams, one after another
// from its own port. By default it stays silent.
class PasswordServerPeer : public QObject {
    Q_OBJECT
public:
    static const QByteArray kAccepted;
    static const QByteArray kRejected;

    PasswordServerPeer();

    quint16 port() const { return m_socket.localPort(); }

    void answer(QByteArrayList replies) { m_replies = std::move(replies); }
    void accept() { answer({kAccepted}); }
    void reject() { answer({kRejected}); }
    void silence() { answer({}); }

    // Sends from the server's port to 127.0.0.1:`port`, unasked.
    bool send(const QByteArray& bytes, quint16 port);

    // The datagrams that passed the checksum.
    const QByteArrayList& received() const { return m_received; }

private:
    void read();

    QUdpSocket m_socket;
    QByteArrayList m_replies;
    QByteArrayList m_received;
};

} // namespace support
