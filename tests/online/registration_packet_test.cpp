#include "online/registration_packet.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace registration;

QByteArray zeros(int count) {
    return QByteArray(count, '\0');
}

TEST(RegistrationPacket, LaysOutEveryField) {
    const QByteArray twenty = "ABCDEFGHIJKLMNOPQRST";
    const QByteArray kSingleByte = "\xA7\x31J\x80zz \xFF\x7F"; // "§1J€zz ÿ" and DEL
    const QByteArray thirtyFive = twenty + "UVWXYZ123456789";
    const struct {
        const char* what;
        QByteArray name;
        char typeByte;
        QByteArray version;
        QByteArray nameField; // the 36 bytes expected at offset 2
    } cases[] = {
        {"a battle", "Server Name", 0x02, "21", "Server Name" + zeros(24) + "\x02"},
        {"a coop name carries its type word; the type byte is a zero", "Server Name     Coop", 0x00,
         "21", "Server Name     Coop" + zeros(16)},
        {"an empty name", "", 0x02, "24", zeros(35) + "\x02"},
        {"the longest race name the server-name box allows", twenty + "     Race", 0x00, "24",
         twenty + "     Race" + zeros(7)},
        {"a name of 35 bytes leaves just the type byte", thirtyFive, 0x04, "21",
         thirtyFive + "\x04"},
        {"a name of 36 bytes is cut, the type byte keeps its place", thirtyFive + "!", 0x06, "21",
         thirtyFive + "\x06"},
        {"a far longer name is cut alike", thirtyFive + thirtyFive, 0x06, "24",
         thirtyFive + "\x06"},
        {"single-byte text goes in byte for byte", kSingleByte, 0x02, "21",
         kSingleByte + zeros(26) + "\x02"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray packet = RegistrationPacket(c.name, c.typeByte, c.version);
        ASSERT_EQ(packet.size(), 42);
        EXPECT_EQ(packet.first(2), QByteArray("\x44\x27"));
        EXPECT_EQ(qFromLittleEndian<quint16>(packet.constData()), 10052);
        EXPECT_EQ(packet.mid(2, 36), c.nameField);
        EXPECT_EQ(packet.at(37), c.typeByte);
        EXPECT_EQ(packet.mid(38, 2), c.version);
        EXPECT_EQ(packet.mid(40, 2), QByteArray("  "));
    }
}

TEST(RegistrationPacket, KeepsItsSizeWhateverVersionCodeItIsGiven) {
    EXPECT_EQ(RegistrationPacket("x", 0x02, "").mid(37), QByteArray("\x02    "));
    EXPECT_EQ(RegistrationPacket("x", 0x02, "2").mid(37), QByteArray("\x02\x32   "));
    EXPECT_EQ(RegistrationPacket("x", 0x02, "2124").mid(37), QByteArray("\x02\x32\x31  "));
}

TEST(RegistrationPacket, GameTypeWordsAndVersionCodes) {
    const struct {
        const char* word;
        const char* suffix;
        char typeByte;
    } listed[] = {{"Battle", nullptr, 0x02},
                  {"Treasure", nullptr, 0x04},
                  {"Capture", nullptr, 0x06},
                  {"Coop", "     Coop", 0x00},
                  {"Race", "     Race", 0x00}};
    for (const auto& t : listed) {
        SCOPED_TRACE(t.word);
        const std::optional<GameTypeListing> got = ListingOfGameType(QString::fromLatin1(t.word));
        ASSERT_TRUE(got);
        EXPECT_EQ(QByteArray(got->nameSuffix), QByteArray(t.suffix));
        EXPECT_EQ(got->typeByte, t.typeByte);
    }
    for (const char* word : {"battle", "COOP", "CTF", "Trs", "", "Race "})
        EXPECT_FALSE(ListingOfGameType(QString::fromLatin1(word))) << word;

    EXPECT_EQ(ListVersionCode(0), QByteArray("21"));
    EXPECT_EQ(ListVersionCode(1), QByteArray("24"));
    EXPECT_FALSE(ListVersionCode(2));
    EXPECT_FALSE(ListVersionCode(-1));
}

} // namespace
