#include "protocol/server_list_parser.h"

#include <QByteArrayList>
#include <gtest/gtest.h>

// Shown by GoogleTest when a row differs.
inline void PrintTo(const ServerListRow& r, std::ostream* os) {
    *os << '{' << r.name.toStdString() << '|' << r.type.toStdString() << '|'
        << r.version.toStdString() << '|' << r.players.toStdString() << '|'
        << r.address.toStdString() << '}';
}

namespace {

// "§" in the list's single-byte text; kept apart from a following digit, which C would read as
// part of the escape.
#define SECTION "\xA7"

struct LineCase {
    const char* what;
    QByteArray line;
    ServerListRow row; // name, type, version, players, address
};

TEST(ServerListParser, ParsesEachFieldOfALine) {
    const LineCase cases[] = {
        {"a public server as today's list servers send it",
         "203.0.113.5:10052 local public ctf 1.24   4 [1/12] |Sunday " SECTION "2CTF\r",
         {"Sunday CTF", "CTF", "1.24", "1/12", "203.0.113.5"}},
        {"a private server",
         "192.0.2.44:10052 mirror private treasure 1.24   1800 [0/8] Gem Hunt\r",
         {"Gem Hunt", "Trs", "1.24", "0/8", "192.0.2.44%P"}},
        {"the word private in the name makes a private row",
         "192.0.2.7:10052 local public battle 1.24   9 [2/16] my private room\r",
         {"my private room", "Battle", "1.24", "2/16", "192.0.2.7%P"}},
        {"capitals set no type",
         "192.0.2.8:10052 local public Battle 1.24   9 [2/16] Battle CTF Treasure\r",
         {"Battle CTF Treasure", "", "1.24", "2/16", "192.0.2.8"}},
        {"of two type words the later in order wins",
         "192.0.2.9:10052 local public battle 1.24   9 [0/8] ctf practice\r",
         {"ctf practice", "CTF", "1.24", "0/8", "192.0.2.9"}},
        {"of two versions the later in order wins",
         "192.0.2.10:10052 local public ctf 1.24   9 [0/8] old 1.21 x server\r",
         {"old 1.21 x server", "CTF", "1.21 x", "0/8", "192.0.2.10"}},
        {"a coop name keeps one blank of its suffix",
         "203.0.113.77:10052 local public coop 1.24 x 30 [2/4] Carrotus     Coop\r",
         {"Carrotus ", "Coop", "1.24 x", "2/4", "203.0.113.77"}},
        {"a race name keeps one blank of its suffix",
         "203.0.113.78:10052 local public race 1.21 s 30 [1/4] Speedway     Race\r",
         {"Speedway ", "Race", "1.21 s", "1/4", "203.0.113.78"}},
        {"a bare CR is a row with no fields", "\r", {"", "", "", "", ""}},
        {"a line with no characters is a row with no fields", "", {"", "", "", "", ""}},
        {"without a ] the name is the line without its first character",
         "198.51.100.1:10052 no brackets\r",
         {"98.51.100.1:10052 no brackets", "", "", "", "198.51.100.1"}},
        {"a ] before the [ gives no players text",
         "198.51.100.2:10052 ]2/8[ Odd\r",
         {"/8[ Odd", "", "", "", "198.51.100.2"}},
        {"a ] without [ gives everything before it as players",
         "198.51.100.3:1 3/4] Name\r",
         {"Name", "", "", "198.51.100.3:1 3/4", "198.51.100.3"}},
        {"a ] as the last character gives no name",
         "198.51.100.4:1 [1/2]",
         {"", "", "", "1/2", "198.51.100.4"}},
        {"without a colon there is no address and no private marker",
         "private [1/2] Nameless\r",
         {"Nameless", "", "", "1/2", ""}},
        {"a colon first gives an empty address, still marked private",
         ":10052 private [1/2] x\r",
         {"x", "", "", "1/2", "%P"}},
        {"today's coop line: the mode word gives the type",
         "203.0.113.9:10052 local public coop 1.24   0 [0/16] Carrotus Coop\r",
         {"Carrotus Coop", "Coop", "1.24", "0/16", "203.0.113.9"}},
        {"today's private race line",
         "203.0.113.10:10052 local private race 1.23   0 [1/8] Speedway Race\r",
         {"Speedway Race", "Race", "1.21", "1/8", "203.0.113.10%P"}},
        {"a mode word counts only as a whole word",
         "203.0.113.11:10052 local public racer 1.24   0 [0/8] public coop\r",
         {"public coop", "", "1.24", "0/8", "203.0.113.11"}},
        {"each field keeps at most 256 bytes, the private marker after them",
         QByteArray(300, 'a') + ":1 private [" + QByteArray(300, 'p') + "] " +
             QByteArray(300, 'n') + "\r",
         {QByteArray(256, 'n'), "", "", QByteArray(256, 'p'), QByteArray(256, 'a') + "%P"}},
        {"the name ends one character before the end even without a CR",
         "198.51.100.5:1 [1/2] Name",
         {"Nam", "", "", "1/2", "198.51.100.5"}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParseServerListLine(c.line), c.row);
    }
}

TEST(ServerListParser, RecognisesEveryVersionTokenInOrder) {
    const struct {
        QByteArray field; // stands between the mode word and the uptime
        QByteArray version;
    } cases[] = {
        {"1.24  ", "1.24"},
        {"1.21  ", "1.21"},
        {"1.24 x", "1.24 x"},
        {"1.21 x", "1.21 x"},
        {"1.24 s", "1.24 s"},
        {"1.21 s", "1.21 s"},
        {"1.21\x14\x14", "1.21"},
        {"1.24\x14\x14", "1.24"},
        // The list servers write the 1.21 to 1.23 build as "1.23".
        {"1.23  ", "1.21"},
        {"1.23 x", "1.21 x"},
        {"1.23 s", "1.21 s"},
        {"1.23\x14\x14", "1.21"},
        // Near misses name no version.
        {"1.22  ", ""},
        {"1.24 X", ""},
        {"1.24", ""},
        {"1.24\x14 ", ""},
        {"1.2   ", ""},
    };
    for (const auto& c : cases) {
        const QByteArray line = "192.0.2.1:10052 local public battle " + c.field + " 1 [0/8] A\r";
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(ParseServerListLine(line).version, c.version);
    }
}

TEST(ServerListParser, TheLaterTokenInOrderWinsWhateverItsPlaceInTheLine) {
    const struct {
        QByteArray text;
        QByteArray version;
    } cases[] = {
        {"1.21 x  1.24   ", "1.21 x"}, // "1.24   " comes first in order
        {"1.24 x  1.23   ", "1.24 x"}, // the "1.23" twin sits right after "1.21   "
        {"1.23 x  1.24 s ", "1.24 s"},         {"1.21 s  1.23 s ", "1.21 s"},
        {"1.24\x14\x14 1.23\x14\x14", "1.24"}, {"1.23\x14\x14 1.21 s ", "1.21"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(ParseServerListLine("192.0.2.1:1 " + c.text + "[0/8] A\r").version, c.version);
    }
}

TEST(ServerListParser, RemovesNameCodesOneAfterAnother) {
    const struct {
        QByteArray name;
        QByteArray shown;
    } cases[] = {
        {"|Red|Blue|", "RedBlue"},
        {SECTION "1A" SECTION "2B" SECTION "3C" SECTION "4D" SECTION "5E", "ABCDE"},
        {SECTION "6F" SECTION "7G" SECTION "8H" SECTION "9I" SECTION "0J", "FGHIJ"},
        {"a " SECTION "x and " SECTION, "a " SECTION "x and " SECTION}, // no digit: kept
        {SECTION "|2joined by the colour code", "joined by the colour code"},
        // A code that a removal puts together stays when its own kind was removed already...
        {SECTION SECTION "11", SECTION "1"},
        {SECTION SECTION "21", SECTION "1"},
        // ...and goes when its kind comes later.
        {SECTION SECTION "12", ""},
        {SECTION SECTION "01", SECTION "1"}, // "0" comes last
        {"Fine    Coop and    Race inside", "Fine and inside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(ParseServerListLine("192.0.2.1:1 [0/8] " + c.name + '\r').name, c.shown);
    }
}

// ---- cutting the reply into lines -------------------------------------------------------------

QByteArrayList linesOf(QByteArrayView text) {
    QByteArrayList lines;
    QByteArrayView line;
    while (NextListLine(text, line))
        lines << line.toByteArray();
    return lines;
}

const QByteArray kReply = "203.0.113.5:10052 local public ctf 1.24   4 [1/12] Sunday CTF\r\n"
                          "\r\n"
                          "192.0.2.44:10052 mirror private treasure 1.23   1800 [0/8] Gem Hunt\r\n";

TEST(ServerListReply, CutsLinesAtLineFeedsKeepingTheirCarriageReturns) {
    EXPECT_EQ(linesOf("a\r\nb\n\nc"), (QByteArrayList{"a\r", "b", ""}));
    EXPECT_EQ(linesOf("no line feed"), QByteArrayList());
    EXPECT_EQ(linesOf(""), QByteArrayList());
}

TEST(ServerListReply, AReplySplitAnywhereGivesTheSameLines) {
    const QByteArrayList whole = linesOf(kReply);
    ASSERT_EQ(whole.size(), 3);
    for (qsizetype cut = 0; cut <= kReply.size(); ++cut) {
        SCOPED_TRACE(cut);
        ServerListReply reply;
        QByteArrayList lines = linesOf(reply.take(kReply.first(cut)));
        lines += linesOf(reply.take(kReply.sliced(cut)));
        EXPECT_EQ(lines, whole);
    }
    ServerListReply byteByByte;
    QByteArrayList lines;
    for (char c : kReply)
        lines += linesOf(byteByByte.take(QByteArrayView(&c, 1)));
    EXPECT_EQ(lines, whole);
}

TEST(ServerListReply, AnUnfinishedLastLineWaitsAndARestartForgetsIt) {
    ServerListReply reply;
    EXPECT_EQ(linesOf(reply.take("one\r\ntwo\r")), QByteArrayList{"one\r"});
    EXPECT_EQ(linesOf(reply.take("")), QByteArrayList());
    EXPECT_EQ(linesOf(reply.take("\nthree")), QByteArrayList{"two\r"});
    reply.restart();
    EXPECT_EQ(linesOf(reply.take("four\r\n")), QByteArrayList{"four\r"});
}

TEST(ServerListReply, AReplyIsCutAtItsSizeOrLineLimitAndTheLinesBeforeStay) {
    // Lines of 512 bytes reach the size limit first, bare line feeds the line limit.
    const QByteArray longLine =
        "203.0.113.5:10052 local public ctf 1.24   4 [1/12] " + QByteArray(512 - 53, 'N') + "\r\n";
    ASSERT_EQ(longLine.size(), 512);
    const struct {
        QByteArray read; // taken 20 times
        qsizetype lines;
    } cases[] = {{longLine.repeated(2049), 16 * 1024 * 1024 / 512},
                 {QByteArray(4000, '\n'), 65536}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        ServerListReply reply;
        qsizetype lines = 0;
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(reply.cut(), lines == c.lines);
            lines += linesOf(reply.take(c.read)).size();
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_TRUE(reply.cut());
        EXPECT_EQ(reply.room(), 0);
        EXPECT_EQ(linesOf(reply.take(longLine)), QByteArrayList());

        reply.restart();
        EXPECT_FALSE(reply.cut());
        EXPECT_EQ(reply.room(), 16 * 1024 * 1024);
        EXPECT_EQ(linesOf(reply.take(longLine)).size(), 1);
    }
    // Exactly as many lines as allowed is no cut.
    ServerListReply reply;
    EXPECT_EQ(linesOf(reply.take(QByteArray(65536, '\n'))).size(), 65536);
    EXPECT_FALSE(reply.cut());
    EXPECT_EQ(linesOf(reply.take("\n\n")).size(), 0);
    EXPECT_TRUE(reply.cut());
    // The last line that the limit lets through may have begun in an earlier read, and may be
    // longer than the read that ends it.
    for (const QByteArray& begun :
         {QByteArray("un"), "203.0.113.5:10052 " + QByteArray(400, 'N')}) {
        reply.restart();
        EXPECT_EQ(linesOf(reply.take(QByteArray(65535, '\n') + begun)).size(), 65535);
        EXPECT_EQ(reply.take("finished\r\nnext\r\n").toByteArray(), begun + "finished\r\n");
        EXPECT_TRUE(reply.cut());
    }
}

} // namespace
