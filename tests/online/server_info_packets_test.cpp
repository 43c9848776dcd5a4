#include "online/server_info_packets.h"
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
QByteArray playerList(const QByteArrayList& names) {
    return GameServerPeer::playerList(names);
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

TEST(ServerInfoPackets, TheLevelFileNameRunsFromOffsetFiveThroughTheFirstJ2lThere) {
    const struct {
        const char* what;
        QByteArray packet;
        bool level;
        std::optional<QByteArray> name;
    } cases[] = {
        {"a level packet", levelPacket(5, "battle1.j2l", bytes("\x00\x12\x34\x56", 4)), true,
         "battle1.j2l"},
        {"the name ends the packet", levelPacket(5, "battle1.j2l"), true, "battle1.j2l"},
        {"a name of the extension alone", levelPacket(5, ".j2l"), true, ".j2l"},
        {"two names: the first", levelPacket(5, "a.j2l", "b.j2l"), true, "a.j2l"},
        {"codes and high bytes stay in the name", levelPacket(5, SECTION "1|x\xE9.j2l"), true,
         SECTION "1|x\xE9.j2l"},
        {"capitals are no level packet", levelPacket(5, "BATTLE1.J2L"), false, std::nullopt},
        {"a name cut before its extension", levelPacket(5, "battle1.j2"), false, std::nullopt},
        {"the only .j2l begins before offset 5", bytes("\x00.j2l\x00\x00", 7), true, std::nullopt},
        {"one before offset 5 and one after", bytes("\x00.j2lxyz.j2l", 12), true, "xyz.j2l"},
        {"one straddling offset 5 and one after", bytes("\x00\x00\x00.j2l.j2l", 11), true,
         "2l.j2l"},
        {"nothing but the extension", ".j2l", true, std::nullopt},
        {"empty", "", false, std::nullopt},
        {"shorter than the name's offset", bytes("\x00\x01", 2), false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsLevelPacket(c.packet), c.level);
        EXPECT_EQ(GetLevelFileName(c.packet), c.name);
    }
}

TEST(ServerInfoPackets, ThePlayerListShowsEachNameOnALineWithoutCodesOrTheProbe) {
    const QByteArray jazzer = "\xA7"
                              "1Jazz|er"; // A7 31 4A 61 7A 7A 7C 65 72
    const QByteArray many = playerList(QByteArrayList(300, "Spaz"));
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParsePlayerList(c.packet), c.names);
    }
}

TEST(ServerInfoPackets, APlayerListIsWholeWhenItsRecordsEndWithTheData) {
    const QByteArray two = playerList({"Jazz", "Spaz"});
    const struct {
        const char* what;
        QByteArray packet;
        bool whole;
    } cases[] = {
        {"two records", two, true},
        {"one record", playerList({kProbe}), true},
        // The probe is always listed: a head alone is the start of a level packet as likely.
        {"the head alone", playerList({}), false},
        {"short of the head", playerList({}).chopped(1), false},
        {"empty", "", false},
        {"a record short of a byte", two.chopped(1), false},
        {"a name without its 0x00", two.first(two.size() - 9), false},
        {"a byte past the last record", two + 'x', false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsWholePlayerList(c.packet), c.whole);
    }
}

using State = InfoPacketReader::State;

// Feeds the reads one after another and tells what the reader made of each.
std::vector<State> feed(InfoPacketReader& reader, const QByteArrayList& reads) {
    std::vector<State> states;
    for (const QByteArray& read : reads) {
        reader.add(read);
        states.push_back(reader.state());
    }
    return states;
}

TEST(InfoPacketReader, APlayerListCutInsideARecordWaitsForItsRest) {
    const QByteArray list = playerList({"Jazz", kProbe, "Lori"});
    const qsizetype firstRecordEnd = 10 + 5 + 7;
    const qsizetype secondRecordEnd = firstRecordEnd + 4 + 7;
    for (qsizetype cut = 1; cut < list.size(); ++cut) {
        SCOPED_TRACE(cut);
        InfoPacketReader reader;
        const std::vector<State> states = feed(reader, {list.first(cut), list.sliced(cut)});
        // At a record's end the list so far is whole, as far as anyone can tell.
        const bool atRecordEnd = cut == firstRecordEnd || cut == secondRecordEnd;
        EXPECT_EQ(states.front(), atRecordEnd ? State::Whole : State::Unfinished);
        if (atRecordEnd)
            continue;
        EXPECT_EQ(states.back(), State::Whole);
        EXPECT_EQ(reader.take(), list);
        EXPECT_EQ(reader.state(), State::Empty);
    }
}

TEST(InfoPacketReader, ALevelPacketCutBeforeItsNameEndsIsPutTogether) {
    const QByteArray level = levelPacket(9, "castle1.j2l", bytes("\x00\x11\x22", 3));
    const qsizetype nameEnd = 5 + 11;
    for (qsizetype cut = 1; cut < level.size(); ++cut) {
        SCOPED_TRACE(cut);
        InfoPacketReader reader;
        const std::vector<State> states = feed(reader, {level.first(cut), level.sliced(cut)});
        EXPECT_EQ(states.front(), cut < nameEnd ? State::Unfinished : State::Level);
        EXPECT_EQ(states.back(), State::Level);
        EXPECT_EQ(reader.take(), level);
    }
}

TEST(InfoPacketReader, HostileAndOversizedInput) {
    {
        SCOPED_TRACE("bytes without any 0x00 stay unfinished until they reach the limit");
        InfoPacketReader reader;
        const QByteArray junk(InfoPacketReader::kMaxBytes / 2, 'x');
        EXPECT_EQ(feed(reader, {junk, junk.first(junk.size() - 1)}).back(), State::Unfinished);
        reader.add("yz");
        EXPECT_EQ(reader.state(), State::Whole);
        const QByteArray taken = reader.take();
        EXPECT_EQ(taken.size(), InfoPacketReader::kMaxBytes);
        EXPECT_TRUE(taken.endsWith("xy"));
    }
    {
        SCOPED_TRACE("one read far past the limit is cut there");
        InfoPacketReader reader;
        reader.add(QByteArray(4 * InfoPacketReader::kMaxBytes, '\0'));
        EXPECT_EQ(reader.state(), State::Whole);
        EXPECT_EQ(reader.take().size(), InfoPacketReader::kMaxBytes);
        EXPECT_EQ(reader.state(), State::Empty);
    }
    {
        SCOPED_TRACE("a whole list followed by more bytes is no longer whole");
        InfoPacketReader reader;
        EXPECT_EQ(feed(reader, {playerList({"A"}) + "\x05\x06"}).back(), State::Unfinished);
    }
    {
        SCOPED_TRACE("a list that gains a .j2l name becomes a level packet");
        InfoPacketReader reader;
        EXPECT_EQ(feed(reader, {playerList({"A"}).chopped(4), bytes("\0\0\0\0", 4), "x.j2l"}),
                  (std::vector<State>{State::Unfinished, State::Whole, State::Level}));
    }
    {
        SCOPED_TRACE("empty reads change nothing; restart forgets");
        InfoPacketReader reader;
        EXPECT_EQ(feed(reader, {"", "ab", ""}),
                  (std::vector<State>{State::Empty, State::Unfinished, State::Unfinished}));
        reader.restart();
        EXPECT_EQ(reader.state(), State::Empty);
        EXPECT_EQ(reader.take(), QByteArray());
    }
}

} // namespace
