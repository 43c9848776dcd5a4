#include "protocol/password_datagram.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(const char* hex) {
    return QByteArray::fromHex(hex);
}

TEST(PasswordChecksum, KnownValues) {
    struct Row {
        const char* why;
        QByteArray password;
        const char* checksum;
    };
    const Row rows[] = {
        {"empty: the length byte counts too", "", "0b17"},
        {"one character", "a", "6d85"},
        {"two characters", "ab", "d05c"},
        {"three characters", "abc", "3998"},
        {"fourteen characters", QByteArray(14, 'a'), "801e"},
        {"the window's design text", "Text1", "eb43"},
        {"a NUL byte counts as code 0", QByteArray(1, '\0'), "0c24"},
        {"x reaching 256 is 5", bytes("f4"), "051d"},
        {"x reaching 253 is 2, not 253", "xx", "02a0"},
        {"y reaching 1008 is 4", "QoaF", "7b04"},
        {"x reaching 506 is 4, not 255", bytes("f7f6"), "0426"},
        {"bytes above 127 count unsigned", bytes("a7e9"), "a274"},
        {"the longest a length byte can say", QByteArray(255, '\xFF'), "1f7f"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(pwChecksum(row.password), bytes(row.checksum));
    }
}

TEST(PasswordDatagram, ChecksumLineFeedLengthPassword) {
    EXPECT_EQ(PasswordDatagram(""), bytes("0b170a00"));
    EXPECT_EQ(PasswordDatagram("abc"), bytes("39980a03") + "abc");
    EXPECT_EQ(PasswordDatagram("Text1"), bytes("eb430a05") + "Text1");

    const QByteArray longest(255, 'x');
    const std::optional<QByteArray> datagram = PasswordDatagram(longest);
    ASSERT_TRUE(datagram.has_value());
    EXPECT_EQ(datagram->size(), 259);
    EXPECT_EQ(quint8(datagram->at(3)), 255);
    // One more character and the length byte would wrap round: nothing is made.
    EXPECT_FALSE(PasswordDatagram(QByteArray(256, 'x')).has_value());
}

TEST(PasswordReply, OnlyTheExactRepliesOfTheServerCount) {
    const QHostAddress server(QStringLiteral("203.0.113.5"));
    const QHostAddress other(QStringLiteral("198.51.100.66"));
    const QHostAddress mapped(QStringLiteral("::ffff:203.0.113.5"));
    const QByteArray accepted = bytes("0d1a0b01");
    const QByteArray rejected = bytes("0c190b00");
    struct Row {
        const char* why;
        QByteArray datagram;
        QHostAddress sender;
        quint16 senderPort;
        PasswordReply reply;
    };
    using enum PasswordReply;
    const Row rows[] = {
        {"accepted", accepted, server, 10052, Accepted},
        {"rejected", rejected, server, 10052, Rejected},
        {"IPv4-mapped sender is the same host", accepted, mapped, 10052, Accepted},
        {"empty", "", server, 10052, Other},
        {"truncated accept", accepted.first(3), server, 10052, Other},
        {"truncated reject", rejected.first(1), server, 10052, Other},
        {"accept with a byte more", accepted + '\x00', server, 10052, Other},
        {"reject with a byte more", rejected + '\x01', server, 10052, Other},
        {"accept twice in one datagram", accepted + accepted, server, 10052, Other},
        {"reject bytes ending like accept", bytes("0c190b01"), server, 10052, Other},
        {"accept bytes ending like reject", bytes("0d1a0b00"), server, 10052, Other},
        {"accept as text", "\\r\\x1a\\v\\x01", server, 10052, Other},
        {"a large datagram", QByteArray(65507, '\x0D'), server, 10052, Other},
        {"accept from another host", accepted, other, 10052, Other},
        {"accept from the server's host but another port", accepted, server, 10053, Other},
        {"reject from another host", rejected, other, 10052, Other},
        {"accept from an unknown sender", accepted, QHostAddress(), 0, Other},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(ReadPasswordReply(row.datagram, row.sender, row.senderPort, server, 10052),
                  row.reply);
    }
    // No exchange was started: nothing is from "the server".
    EXPECT_EQ(ReadPasswordReply(accepted, QHostAddress(), 0, QHostAddress(), 0), Other);
}

} // namespace
