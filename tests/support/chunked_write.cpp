#include "support/chunked_write.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace support {

void writeInChunks(QTcpSocket* socket, QByteArrayList chunks, bool closeAfter) {
    if (chunks.isEmpty()) {
        if (closeAfter)
            socket->disconnectFromHost();
        return;
    }
    socket->write(chunks.takeFirst());
    socket->flush();
    QPointer<QTcpSocket> alive(socket);
    QTimer::singleShot(20, socket, [alive, chunks, closeAfter] {
        if (alive && alive->state() == QAbstractSocket::ConnectedState)
            writeInChunks(alive, chunks, closeAfter);
    });
}

} // namespace support
