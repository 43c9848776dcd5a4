#include "protocol/registration_packet.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace registration;

QByteArray zeros(int count) {
    return QByteArray(count, '\0');
}

// The six bytes after the name: players 0, maximum players, flags, version code, two blanks.
QByteArray tail(char maxPlayers, char flags, const char* version) {
    return QByteArray(1, '\0') + maxPlayers + flags + version + "  ";
}

TEST(RegistrationPacket, LaysOutEveryField) {
    const QByteArray twenty = "ABCDEFGHIJKLMNOPQRST";
    const QByteArray kSingleByte = "\xA7\x31J\x80zz \xFF\x7F"; // "§1J€zz ÿ" and DEL
    const QByteArray thirtyThree = twenty + "UVWXYZ1234567";
    const struct {
        const char* what;
        QByteArray name;
        quint8 maxPlayers;
        char flags;
        QByteArray version;
        QByteArray expected; // the whole record
    } cases[] = {
        {"a battle", "Server Name", 16, 0x02, "21",
         "D'Server Name" + zeros(22) + tail(0x10, 0x02, "21")},
        {"a coop game carries its mode, and no type word", "Server Name", 32, 0x0A, "21",
         "D'Server Name" + zeros(22) + tail(0x20, 0x0A, "21")},
        {"an empty name", "", 255, 0x02, "24", "D'" + zeros(33) + tail('\xFF', 0x02, "24")},
        {"the longest race name the server-name box allows", twenty, 8, 0x08, "24",
         "D'" + twenty + zeros(13) + tail(0x08, 0x08, "24")},
        {"a name of 33 bytes fills its field", thirtyThree, 1, 0x04, "21",
         "D'" + thirtyThree + tail(0x01, 0x04, "21")},
        {"a longer name is cut, the bytes after it keep their places", thirtyThree + "!?!", 2, 0x06,
         "21", "D'" + thirtyThree + tail(0x02, 0x06, "21")},
        {"single-byte text goes in byte for byte", kSingleByte, 32, 0x02, "21",
         "D'" + kSingleByte + zeros(24) + tail(0x20, 0x02, "21")},
        {"a short version code is filled with blanks", "x", 32, 0x02, "2",
         "D'x" + zeros(32) + tail(0x20, 0x02, "2 ")},
        {"a long one is cut", "x", 32, 0x02, "2124", "D'x" + zeros(32) + tail(0x20, 0x02, "21")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray packet = RegistrationPacket(c.name, c.maxPlayers, c.flags, c.version);
        ASSERT_EQ(c.expected.size(), 42);
        EXPECT_EQ(packet, c.expected);
        EXPECT_EQ(qFromLittleEndian<quint16>(packet.constData()), 10052);
    }
}

TEST(RegistrationPacket, MaximumPlayersFromTheCommandLineValue) {
    const std::pair<const char*, int> cases[] = {
        {"16", 16}, {"1", 1}, {" 8 ", 8}, {"255", 255}, {"256", 255}, {"99999", 255},
        {"0", 32},  {"", 32}, {"-4", 32}, {"abc", 32},  {"2.5", 32},  {"1e2", 32},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ListMaxPlayers(QString::fromLatin1(text)), expected) << text;
}

TEST(RegistrationPacket, GameTypeWordsAndVersionCodes) {
    const struct {
        const char* word;
        bool nameReadAgain;
        char flags;
    } listed[] = {{"Battle", false, 0x02},
                  {"Treasure", false, 0x04},
                  {"Capture", false, 0x06},
                  {"Coop", true, 0x0A},
                  {"Race", true, 0x08}};
    for (const auto& t : listed) {
        SCOPED_TRACE(t.word);
        const std::optional<GameTypeListing> got = ListingOfGameType(QString::fromLatin1(t.word));
        ASSERT_TRUE(got);
        EXPECT_EQ(got->nameReadAgain, t.nameReadAgain);
        EXPECT_EQ(got->flags, t.flags);
    }
    for (const char* word : {"battle", "COOP", "CTF", "Trs", "", "Race "})
        EXPECT_FALSE(ListingOfGameType(QString::fromLatin1(word))) << word;

    EXPECT_EQ(ListVersionCode(0), QByteArray("21"));
    EXPECT_EQ(ListVersionCode(1), QByteArray("24"));
    EXPECT_FALSE(ListVersionCode(2));
    EXPECT_FALSE(ListVersionCode(-1));
}

} // namespace
