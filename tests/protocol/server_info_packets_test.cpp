#include "protocol/server_info_packets.h"
#include "support/game_server_peer.h"

#include <gtest/gtest.h>

namespace {

// "§" in the game's single-byte text; kept apart from a following digit, which C would read as
// part of the escape.
#define SECTION "\xA7"

QByteArray bytes(const char* text, qsizetype size) {
    return QByteArray(text, size);
}
QByteArray hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

using support::GameServerPeer;
QByteArray levelPacket(quint8 clientId, const QByteArray& name, const QByteArray& after = {}) {
    return GameServerPeer::levelPacket(clientId, name, after);
}
QByteArray playerList(const QByteArrayList& names, const QByteArray& after = {}) {
    return GameServerPeer::playerList(names, 1, after);
}
// A long packet in the short form's layout: one header byte, then the id.
QByteArray shortLayout(const QByteArray& longPacket) {
    return '\0' + longPacket.sliced(3);
}

const QByteArray kProbe = SECTION "| ";

TEST(ServerInfoPackets, TheJoinRequestCarriesTheCodeOfTheServersVersion) {
    const struct {
        const char* version;
        const char* request;
    } cases[] = {
        {"1.21", "09 0F 01 04 32 31 20 20 01"},
        {"1.21 s", "09 0F 01 04 32 31 20 20 01"},
        {"1.24", "09 0F 01 04 32 34 20 20 01"},
        {"1.24 s", "09 0F 01 04 32 34 20 20 01"},
        {"1.21 x", "09 0F 01 04 32 31 20 78 01"},
        {"1.24 x", "09 0F 01 04 32 34 20 78 01"},
        {"1.20", "09 0F 01 04 32 30 20 20 01"},
        // Anything else, compared exactly: zero bytes for the digit and the flag.
        {"", "09 0F 01 04 32 00 20 00 01"},
        {"1.23", "09 0F 01 04 32 00 20 00 01"},
        {"1.24 X", "09 0F 01 04 32 00 20 00 01"},
        {" 1.24", "09 0F 01 04 32 00 20 00 01"},
        {"1.24 ", "09 0F 01 04 32 00 20 00 01"},
        {"1.21 x ", "09 0F 01 04 32 00 20 00 01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        EXPECT_EQ(JoinRequest(QString::fromLatin1(c.version)), hex(c.request));
        EXPECT_EQ(QueryVersionCode(QString::fromLatin1(c.version)), hex(c.request).sliced(4, 4));
    }
}

TEST(ServerInfoPackets, TheProbeReplyEchoesTheClientNumberUnderTheProbeName) {
    EXPECT_EQ(ProbeReply(0x05), hex("0D 0E 01 05 11 00 00 00 00 A7 7C 20 00"));
    EXPECT_EQ(ProbeReply(0x00), hex("0D 0E 01 00 11 00 00 00 00 A7 7C 20 00"));
    EXPECT_EQ(ProbeReply(0xFF), hex("0D 0E 01 FF 11 00 00 00 00 A7 7C 20 00"));
}

TEST(ServerInfoPackets, TheLevelFileNameIsTakenByTheLengthBeforeIt) {
    using enum InfoPacketKind;
    const QByteArray longest = QByteArray(251, 'n') + ".j2l";
    const struct {
        const char* what;
        QByteArray packet;
        InfoPacketKind kind;
        std::optional<QByteArray> name;
    } cases[] = {
        {"a level packet", levelPacket(5, "battle1.j2l", bytes("\x00\x12\x34\x56", 4)), Level,
         "battle1.j2l"},
        {"the name ends the packet", levelPacket(5, "battle1.j2l"), Level, "battle1.j2l"},
        {"capitals", levelPacket(5, "CASTLE1.J2L", hex("1f 2e 3d 4c")), Level, "CASTLE1.J2L"},
        {"no extension", levelPacket(5, "castle1", hex("1f 2e 3d 4c")), Level, "castle1"},
        {"an extension after the name is none of it", levelPacket(5, "a.j2l", "b.j2l"), Level,
         "a.j2l"},
        {"the length, not the first extension, ends it", levelPacket(5, "x.j2l.j2l"), Level,
         "x.j2l.j2l"},
        {"codes and high bytes stay in the name", levelPacket(5, SECTION "1|x\xE9.j2l"), Level,
         SECTION "1|x\xE9.j2l"},
        {"an empty name", levelPacket(5, "", hex("1f 2e")), Level, ""},
        {"the longest name: the length byte is unsigned",
         shortLayout(levelPacket(5, longest, hex("1f 2e"))), Level, longest},
        {"a length past the packet's end", hex("09 10 01 05 0c") + "batt", Level, "batt"},
        {"a length and nothing after it", hex("05 10 01 05 07"), Level, ""},
        {"no length", hex("04 10 01 05"), Level, std::nullopt},
        {"nothing but the length", hex("01"), Other, std::nullopt},
        {"empty", "", Other, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(KindOf(c.packet), c.kind);
        EXPECT_EQ(GetLevelFileName(c.packet), c.name);
    }
    // Told by its id, not by ".j2l".
    EXPECT_EQ(KindOf(playerList({"map.j2l fan"})), PlayerList);
}

TEST(ServerInfoPackets, ThePlayerListShowsEachNameOnALineWithoutCodesOrTheProbe) {
    const QByteArray jazzer = "\xA7"
                              "1Jazz|er"; // A7 31 4A 61 7A 7A 7C 65 72
    const QByteArray many = shortLayout(playerList(QByteArrayList(300, "Spaz")));
    const struct {
        const char* what;
        QByteArray packet;
        QByteArray names;
    } cases[] = {
        {"a name with codes and the probe", playerList({jazzer, kProbe}), "Jazzer\r\n"},
        {"several names in order", playerList({"Jazz", "Spaz", "Lori"}),
         "Jazz\r\nSpaz\r\nLori\r\n"},
        {"the probe between two names", playerList({"Jazz", kProbe, "Lori"}), "Jazz\r\nLori\r\n"},
        {"the probe name inside a name is no probe line", playerList({kProbe + "Bob"}), " Bob\r\n"},
        {"every spacing code, then lone section signs",
         playerList({SECTION "0a" SECTION "9b" SECTION "c||d" SECTION}), "abcd\r\n"},
        {"a code made by removing another", playerList({SECTION SECTION "1x"}), "x\r\n"},
        {"\"0\" comes first", playerList({SECTION SECTION "01x"}), "x\r\n"},
        {"an empty name makes an empty line", playerList({"", "Jazz"}), "\r\nJazz\r\n"},
        {"high bytes stay", playerList({"J\xE4zz"}), "J\xE4zz\r\n"},
        {"a last name without its 0x00 runs to the end", playerList({"Jazz"}) + "Spa",
         "Jazz\r\nSpa\r\n"},
        {"a last record short of its seven bytes", playerList({"Jazz"}).chopped(3), "Jazz\r\n"},
        {"a 0x00 as the very last byte", playerList({}) + "Jazz" + '\0', "Jazz\r\n"},
        {"the head alone", playerList({}), ""},
        {"shorter than the head", bytes("\x01\x02\x03\x04", 4), ""},
        {"empty", "", ""},
        {"three hundred players", many, QByteArray("Spaz\r\n").repeated(300)},
        {"a name is cut at 256 bytes", shortLayout(playerList({}, QByteArray(1000, 'x'))),
         QByteArray(256, 'x') + "\r\n"},
        {"so is one with its 0x00", shortLayout(playerList({QByteArray(257, 'y'), "Jazz"})),
         QByteArray(256, 'y') + "\r\nJazz\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParsePlayerList(c.packet), c.names);
    }
}

// Feeds the reads one after another and gives the packets that came whole, in order.
QByteArrayList packetsOf(InfoPacketReader& reader, const QByteArrayList& reads) {
    QByteArrayList packets;
    for (const QByteArray& read : reads) {
        reader.add(read);
        while (const std::optional<QByteArray> packet = reader.next())
            packets << *packet;
    }
    return packets;
}

TEST(InfoPacketReader, EachPacketComesInTheShortLayoutOnceItIsWhole) {
    const struct {
        const char* what;
        const char* stream;
        std::vector<const char*> packets;
        qsizetype pending;
    } cases[] = {
        {"one short packet", "03 10 aa", {"03 10 aa"}, 0},
        {"two in one read", "02 10 03 12 bb", {"02 10", "03 12 bb"}, 0},
        {"a long one: 0x00 before the id", "00 02 00 12 cc", {"00 12 cc"}, 0},
        {"a long one with nothing in it", "00 00 00 05", {"00"}, 1},
        {"a length byte alone", "01 05 10", {"01"}, 2},
        {"short of its length", "04 10 aa", {}, 3},
        {"a long head cut", "00 05", {}, 2},
        {"a long one short of its count", "00 03 00 12 aa", {}, 5},
        {"the count is little-endian", "00 00 01 12", {}, 4},
        {"empty", "", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InfoPacketReader reader;
        QByteArrayList expected;
        for (const char* packet : c.packets)
            expected << hex(packet);
        EXPECT_EQ(packetsOf(reader, {hex(c.stream)}), expected);
        EXPECT_EQ(reader.pending(), c.pending);
    }
}

TEST(InfoPacketReader, PacketsCutAnywhereArePutTogether) {
    const QByteArray level = levelPacket(9, "castle1.j2l", bytes("\x00\x11\x22", 3));
    QByteArrayList twenty;
    for (int i = 1; i <= 20; ++i)
        twenty << QByteArray("Player") + QByteArray::number(i).rightJustified(2, '0');
    const QByteArray list = playerList(twenty);
    // Nine bytes of head after the length, and sixteen for each player: 329 bytes after three.
    ASSERT_EQ(list.first(4), hex("00 49 01 12"));
    const QByteArrayList expected = {level, shortLayout(list)};
    const QByteArray stream = level + list;
    for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
        SCOPED_TRACE(cut);
        InfoPacketReader reader;
        EXPECT_EQ(packetsOf(reader, {stream.first(cut), stream.sliced(cut)}), expected);
        EXPECT_EQ(reader.pending(), 0);
    }
}

TEST(InfoPacketReader, HostileAndOversizedInput) {
    {
        SCOPED_TRACE("the largest packet the long form can say");
        InfoPacketReader reader;
        const QByteArray body(0xFFFF, '\xFF');
        EXPECT_EQ(
            packetsOf(reader, {hex("00 ff ff") + body.first(40000), body.sliced(40000) + 'x'}),
            QByteArrayList{QByteArray(1, '\0') + body});
        EXPECT_EQ(reader.pending(), 1);
    }
    {
        SCOPED_TRACE("a flood of small packets in one read");
        InfoPacketReader reader;
        EXPECT_EQ(packetsOf(reader, {hex("02 33").repeated(100000) + hex("05")}),
                  QByteArrayList(100000, hex("02 33")));
        EXPECT_EQ(reader.pending(), 1);
    }
    {
        SCOPED_TRACE("restart forgets a packet cut short");
        InfoPacketReader reader;
        packetsOf(reader, {hex("05 10 aa")});
        reader.restart();
        EXPECT_EQ(packetsOf(reader, {hex("02 12")}), QByteArrayList{hex("02 12")});
    }
}

} // namespace
