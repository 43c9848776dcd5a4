#include "protocol/password_datagram.h"

namespace {

const QByteArray kRejected = QByteArrayLiteral("\x0C\x19\x0B\x00");
const QByteArray kAccepted = QByteArrayLiteral("\x0D\x1A\x0B\x01");

constexpr char kPasswordTag = '\x0A';

} // namespace

// The game server's own sum: it drops a datagram whose first two bytes do not match it.
QByteArray pwChecksum(QByteArrayView password) {
    const char head[] = {kPasswordTag, char(password.size())};
    quint32 x = 1;
    quint32 y = 1;
    for (QByteArrayView part : {QByteArrayView(head, 2), password})
        for (const char byte : part) {
            x = (x + static_cast<unsigned char>(byte)) % 251;
            y = (y + x) % 251;
        }
    QByteArray sum(2, '\0');
    sum[0] = char(x);
    sum[1] = char(y);
    return sum;
}

std::optional<QByteArray> PasswordDatagram(QByteArrayView password) {
    if (password.size() > 255)
        return std::nullopt;
    QByteArray datagram = pwChecksum(password);
    datagram += kPasswordTag;
    datagram += char(password.size());
    datagram += password;
    return datagram;
}

PasswordReply ReadPasswordReply(QByteArrayView datagram, const QHostAddress& sender,
                                quint16 senderPort, const QHostAddress& server,
                                quint16 serverPort) {
    if (senderPort != serverPort || server.isNull() ||
        !sender.isEqual(server, QHostAddress::ConvertV4MappedToIPv4))
        return PasswordReply::Other;
    if (datagram == kRejected)
        return PasswordReply::Rejected;
    if (datagram == kAccepted)
        return PasswordReply::Accepted;
    return PasswordReply::Other;
}
