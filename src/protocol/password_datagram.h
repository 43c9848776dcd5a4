#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <optional>

// The password check of a private game server: one UDP datagram out, one 4-byte reply back.
// Bytes in, bytes out; nothing here knows about sockets or widgets.

// The 2-byte checksum that opens the datagram: x = y = 1, then for every byte that follows it
// (0x0A, the length, the password) x += byte, y += x; the bytes are x and y modulo 251.
QByteArray pwChecksum(QByteArrayView password);

// Checksum, 0x0A, the length in one byte, then the password. nullopt for a password longer than
// one length byte can say.
std::optional<QByteArray> PasswordDatagram(QByteArrayView password);

enum class PasswordReply { Rejected, Accepted, Other };

// What a received datagram says. Only the exact 4-byte replies count, and only when they come
// from the address and port the password was sent to: anyone else on the network could otherwise
// accept on the server's behalf and send the game to a host of their choosing.
PasswordReply ReadPasswordReply(QByteArrayView datagram, const QHostAddress& sender,
                                quint16 senderPort, const QHostAddress& server, quint16 serverPort);
