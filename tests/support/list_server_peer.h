#pragma once

#include <QByteArrayList>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace support {

// A list server on 127.0.0.1 (ephemeral port), on one of its two ports.
//
// The list port: by default it takes connections and stays silent. A scripted reply is written to
// every new connection chunk by chunk, each chunk only once the one before has left and a moment
// has passed, so that the client sees several data events; then the connection closes or stays
// open. Or it answers with the games registered on a listing port, in today's line shape, and
// closes. For full control a test can instead send() to the newest connection itself.
//
// The listing port, as strict as the real one: a connection whose first read is not exactly one
// 42-byte record is answered "Invalid data received" and closed. A game is registered while its
// connection lasts, and listed only when its maximum players (byte 36) is above 0.
class ListServerPeer : public QObject {
    Q_OBJECT
public:
    enum class After { StayOpen, Close };
    enum class Port { List, Listing };

    explicit ListServerPeer(Port port = Port::List);
    ~ListServerPeer() override;

    quint16 port() const { return m_server.serverPort(); }

    void serve(QByteArrayList chunks, After after = After::Close);
    void serveSilently() { serve({}, After::StayOpen); }
    // Answers every connection with listLines() of `listing` as they stand then.
    void serveRegistered(const ListServerPeer& listing) { m_registeredOf = &listing; }

    // Listing port: the list lines of the games registered now, in the order they came.
    QByteArray listLines() const;

    int connections() const { return m_connections; }
    bool connected() const {
        return m_latest && m_latest->state() == QAbstractSocket::ConnectedState;
    }
    // Writes to the newest connection; false when there is none.
    bool send(const QByteArray& bytes);
    void closeConnection();
    // Whether the newest connection has seen its client go (it closed or aborted).
    bool clientGone() const { return m_clientGone; }
    // How many connections have ended so far, whichever side closed them.
    int connectionsEnded() const { return m_connectionsEnded; }
    // Everything the client sent on any connection (the list download sends nothing).
    const QByteArray& received() const { return m_received; }

    // Whether everything written to the newest connection has left for the client.
    bool flushed() const { return m_latest && m_latest->bytesToWrite() == 0; }

private:
    void accept();
    void takeRecord(QTcpSocket* socket, const QByteArray& first);

    QTcpServer m_server;
    QPointer<QTcpSocket> m_latest;
    QByteArrayList m_chunks;
    After m_after = After::StayOpen;
    int m_connections = 0;
    bool m_clientGone = false;
    int m_connectionsEnded = 0;
    QByteArray m_received;
    Port m_port;
    const ListServerPeer* m_registeredOf = nullptr;
    // Listing port: each connection's list line, once its first record was taken.
    QMap<QTcpSocket*, QByteArray> m_registered;
    QList<QTcpSocket*> m_order;
};

} // namespace support
