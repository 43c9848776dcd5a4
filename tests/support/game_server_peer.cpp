#include "support/game_server_peer.h"

namespace support {

QByteArray GameServerPeer::frame(const QByteArray& body) {
    if (body.size() < 255)
        return char(body.size() + 1) + body;
    return QByteArray(1, '\0') + char(body.size() & 0xFF) + char(body.size() >> 8) + body;
}

QByteArray GameServerPeer::levelPacket(quint8 clientId, const QByteArray& name,
                                       const QByteArray& after) {
    if (name.size() > 255)
        qFatal("a level name has a one-byte length");
    return frame(QByteArray("\x10\x01", 2) + char(clientId) + char(name.size()) + name + after);
}

QByteArray GameServerPeer::playerList(const QByteArrayList& names, quint8 clientId,
                                      const QByteArray& after) {
    QByteArray body("\x12\x01\x00\x00\x00\x00\x00\x00\x00", 9);
    body[2] = char(clientId);
    for (const QByteArray& name : names)
        body += name + QByteArray("\x00\x01\x02\x03\x04\x05\x06\x07", 8);
    return frame(body + after);
}

void GameServerPeer::script(QByteArrayList onJoin, QByteArrayList onProbe, After after) {
    m_onJoin = std::move(onJoin);
    m_onProbe = std::move(onProbe);
    m_after = after;
}

void GameServerPeer::opened(QTcpSocket*) {
    clearRecord();
}

// Answers a request once all of its bytes are in, however they were cut.
void GameServerPeer::read(QTcpSocket* socket, const QByteArray& bytes) {
    if (socket != latest())
        return;
    const qsizetype before = received().size();
    record(bytes);
    const qsizetype after = received().size();
    const auto crossed = [&](qsizetype size) { return before < size && after >= size; };
    if (crossed(kJoinRequestSize))
        writeInChunks(socket, m_onJoin, m_onProbe.isEmpty() ? m_after : After::StayOpen);
    if (crossed(kJoinRequestSize + kProbeReplySize) && !m_onProbe.isEmpty())
        writeInChunks(socket, m_onProbe, m_after);
}

} // namespace support
