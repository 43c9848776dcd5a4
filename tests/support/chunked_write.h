#pragma once

#include <QByteArrayList>

class QTcpSocket;

namespace support {

// Writes `chunks` to `socket` one at a time, `pauseMs` apart, so that each arrives as a read of its
// own; then closes the connection when `closeAfter` is set. Stops when the socket goes away.
void writeInChunks(QTcpSocket* socket, QByteArrayList chunks, bool closeAfter, int pauseMs = 20);

} // namespace support
