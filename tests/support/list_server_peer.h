#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace support {

// A list server on 127.0.0.1 (ephemeral port) for the server-list download. By default it takes
// connections and stays silent. A scripted reply is written to every new connection chunk by
// chunk, each chunk only once the one before has left and a moment has passed, so that the
// client sees several data events; then the connection closes or stays open.
// For full control a test can instead send() to the newest connection itself.
class ListServerPeer : public QObject {
    Q_OBJECT
public:
    enum class After { StayOpen, Close };

    ListServerPeer();
    ~ListServerPeer() override;

    quint16 port() const { return m_server.serverPort(); }

    void serve(QByteArrayList chunks, After after = After::Close);
    void serveSilently() { serve({}, After::StayOpen); }

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

private:
    void accept();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_latest;
    QByteArrayList m_chunks;
    After m_after = After::StayOpen;
    int m_connections = 0;
    bool m_clientGone = false;
    int m_connectionsEnded = 0;
    QByteArray m_received;
};

} // namespace support
