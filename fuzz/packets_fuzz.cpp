// Feeds arbitrary bytes to the codecs of the password check and of the listing record, and
// checks that every datagram and record they make has the layout the servers read, and that no
// reply but the exact accepting one from the server lets a player in.
#include "protocol/password_datagram.h"
#include "protocol/registration_packet.h"
#include "require.h"

#include <cstddef>
#include <cstdint>

namespace {

void checkPassword(QByteArrayView password) {
    const std::optional<QByteArray> datagram = PasswordDatagram(password);
    require(datagram.has_value() == (password.size() <= 255));
    if (!datagram)
        return;
    require(datagram->size() == 4 + password.size());
    require(quint8(datagram->at(0)) < 251 && quint8(datagram->at(1)) < 251);
    require(datagram->at(2) == '\x0A' && quint8(datagram->at(3)) == password.size());
    require(datagram->sliced(4) == password);
}

void checkReply(QByteArrayView datagram) {
    const QHostAddress server(QHostAddress::LocalHost);
    const QHostAddress other(QStringLiteral("127.0.0.2"));
    const bool accepting = datagram == QByteArrayView("\x0D\x1A\x0B\x01", 4);
    require((ReadPasswordReply(datagram, server, 10052, server, 10052) ==
             PasswordReply::Accepted) == accepting);
    require(ReadPasswordReply(datagram, other, 10052, server, 10052) != PasswordReply::Accepted);
    require(ReadPasswordReply(datagram, server, 10053, server, 10052) != PasswordReply::Accepted);
}

void checkRecord(QByteArrayView bytes) {
    // The first bytes choose the flags, the build and the max-players text; the rest is the name.
    if (bytes.size() < 3)
        return;
    const char flags = bytes[0];
    const QByteArrayView version = bytes.sliced(1, qMin(qsizetype(bytes[1] & 3), bytes.size() - 1));
    const QByteArrayView name = bytes.sliced(1 + version.size());
    const quint8 maxPlayers = registration::ListMaxPlayers(QString::fromLatin1(name));
    require(maxPlayers > 0);

    const QByteArray record = registration::RegistrationPacket(name, maxPlayers, flags, version);
    require(record.size() == 42 && record.startsWith("D'"));
    const qsizetype kept = qMin(name.size(), qsizetype(33));
    require(record.sliced(2, kept) == name.first(kept));
    for (qsizetype at = 2 + kept; at < 36; ++at)
        require(record[at] == '\0');
    require(quint8(record[36]) == maxPlayers && record[37] == flags);
    // The build fills its two bytes, blank-filled when shorter.
    const QByteArray build = version.first(qMin(version.size(), qsizetype(2))).toByteArray();
    require(record.sliced(38, 2) == build.leftJustified(2, ' '));
    require(record.endsWith("  "));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkPassword(bytes);
    checkReply(bytes);
    checkRecord(bytes);
    return 0;
}
