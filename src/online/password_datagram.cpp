#include "online/password_datagram.h"

namespace {

const QByteArray kRejected = QByteArrayLiteral("\x0C\x19\x0B\x00");
const QByteArray kAccepted = QByteArrayLiteral("\x0D\x1A\x0B\x01");

// Takes 251 off until the value fits a byte: 256 gives 5, 506 gives 255.
qint32 foldIntoByte(qint32 value) {
    if (value > 255)
        value -= 251 * ((value - 255 + 250) / 251);
    return value;
}

} // namespace

QByteArray pwChecksum(QByteArrayView password) {
    const qint32 n = qint32(password.size());
    qint32 a = n + 11;
    qint32 b = 15 * n + 21;
    for (qint32 i = 0; i < n; ++i) {
        const qint32 code = static_cast<unsigned char>(password[i]);
        a += code;
        b += (n - i) * code; // the first character weighs n, the last 1
    }
    if (n > 2)
        b += (n - 2) * (n - 1);
    QByteArray sum(2, '\0');
    sum[0] = char(foldIntoByte(a));
    sum[1] = char(foldIntoByte(b));
    return sum;
}

std::optional<QByteArray> PasswordDatagram(QByteArrayView password) {
    if (password.size() > 255)
        return std::nullopt;
    QByteArray datagram = pwChecksum(password);
    datagram += '\x0A';
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
