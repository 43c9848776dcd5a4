#pragma once

#include "support/tcp_peer.h"

#include <QList>
#include <QMap>

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
//
// received() is everything the client sent on any connection (the list download sends nothing).
class ListServerPeer : public TcpPeer {
    Q_OBJECT
public:
    enum class Port { List, Listing };

    explicit ListServerPeer(Port port = Port::List);

    void serve(QByteArrayList chunks, After after = After::Close);
    void serveSilently() { serve({}, After::StayOpen); }
    // Answers every connection with listLines() of `listing` as they stand then.
    void serveRegistered(const ListServerPeer& listing) { m_registeredOf = &listing; }

    // Listing port: the list lines of the games registered now, in the order they came.
    QByteArray listLines() const;

private:
    void opened(QTcpSocket* socket) override;
    void read(QTcpSocket* socket, const QByteArray& bytes) override;
    void closed(QTcpSocket* socket) override;
    void takeRecord(QTcpSocket* socket, const QByteArray& first);

    QByteArrayList m_chunks;
    After m_after = After::StayOpen;
    Port m_port;
    const ListServerPeer* m_registeredOf = nullptr;
    // Listing port: each connection's list line, once its first record was taken.
    QMap<QTcpSocket*, QByteArray> m_registered;
    QList<QTcpSocket*> m_order;
};

} // namespace support
