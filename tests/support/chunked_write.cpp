#include "support/chunked_write.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace support {

void writeInChunks(QTcpSocket* socket, QByteArrayList chunks, bool closeAfter, int pauseMs) {
    if (chunks.isEmpty()) {
        if (closeAfter)
            socket->disconnectFromHost();
        return;
    }
    socket->write(chunks.takeFirst());
    socket->flush();
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(pauseMs, socket, [alive, chunks, closeAfter, pauseMs] {
        if (alive && alive->state() == QAbstractSocket::ConnectedState)
            writeInChunks(alive, chunks, closeAfter, pauseMs);
    });
}

} // namespace support
