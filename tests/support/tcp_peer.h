#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace support {

// What the TCP peers share: a server on 127.0.0.1 (ephemeral port) that takes every connection,
// keeps the newest one for send() and closeConnection(), counts them, and notes when the client of
// the newest one goes. A peer says what it does with a connection and its bytes through the three
// hooks.
class TcpPeer : public QObject {
    Q_OBJECT
public:
    // What a scripted reply does once its last chunk is written.
    enum class After { StayOpen, Close };

    ~TcpPeer() override;

    quint16 port() const { return m_server.serverPort(); }

    int connections() const { return m_connections; }
    // How many connections have ended so far, whichever side closed them.
    int connectionsEnded() const { return m_connectionsEnded; }
    bool connected() const {
        return m_latest && m_latest->state() == QAbstractSocket::ConnectedState;
    }
    // Whether the newest connection has seen its client go (it closed or aborted).
    bool clientGone() const { return m_clientGone; }
    // Whether everything written to the newest connection has left for the client.
    bool flushed() const { return m_latest && m_latest->bytesToWrite() == 0; }
    // What the client sent, as the peer records it.
    const QByteArray& received() const { return m_received; }

    // Writes to the newest connection; false when there is none.
    bool send(const QByteArray& bytes);
    void closeConnection();
    // The pause between two chunks of a reply, in milliseconds.
    void setPause(int milliseconds) { m_pauseMs = milliseconds; }

protected:
    TcpPeer();

    virtual void opened(QTcpSocket* socket) = 0;
    virtual void read(QTcpSocket* socket, const QByteArray& bytes) = 0;
    virtual void closed(QTcpSocket*) {}

    QTcpSocket* latest() const { return m_latest; }
    void record(const QByteArray& bytes) { m_received += bytes; }
    void clearRecord() { m_received.clear(); }

    // Writes `chunks` one at a time, a pause apart, so that each arrives as a read of its own;
    // then closes the connection when `after` says so. Stops when the socket goes away.
    void writeInChunks(QTcpSocket* socket, QByteArrayList chunks, After after) const;

private:
    void accept();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_latest;
    int m_connections = 0;
    int m_connectionsEnded = 0;
    bool m_clientGone = false;
    int m_pauseMs = 20;
    QByteArray m_received;
};

// A port on 127.0.0.1 where nothing listens, for as long as this lives. The port stays bound
// without a listen, so a connection to it is refused, and no other server of a test running
// meanwhile, nor the source port of an outgoing connection, can take it. (Closing a server and
// reusing its port leaves both open.)
class UnreachablePort {
public:
    UnreachablePort();
    quint16 port() const { return m_socket.localPort(); }

private:
    QTcpSocket m_socket;
};

} // namespace support
