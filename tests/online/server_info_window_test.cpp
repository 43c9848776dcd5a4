#include "common/timing.h"
#include "online/join_page.h"
#include "online/server_info_window.h"
#include "online/server_table_view.h"
#include "protocol/server_info_packets.h"
#include "protocol/server_table_model.h"
#include "support/main_window_fixture.h"
#include "support/tcp_peer.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

namespace {

#define SECTION "\xA7"

using support::GameServerPeer;
using After = GameServerPeer::After;

constexpr int kWait = 5000; // ms; every wait is bounded

// Servers on this machine, so that a query reaches the sandbox's game server.
const QByteArray kList = "127.0.0.1:10052 local public coop 1.24 x 30 [2/4] Carrot     Coop\r\n"
                         "127.0.0.1:10052 local public battle 1.21   9 [1/8] Arena\r\n"
                         "127.0.0.1:10052 local private ctf 1.24   4 [0/8] Locked\r\n";
enum { kCarrot, kArena, kLocked };

const QByteArray kProbe = SECTION "| ";
const QByteArray kLevel =
    GameServerPeer::levelPacket(5, "battle1.j2l", QByteArray("\0\x12\x34", 3));
const QByteArray kPlayers = GameServerPeer::playerList({SECTION "1Jazz|er", kProbe, "Lori"}, 5);
const QString kAnswer = QStringLiteral("Level: battle1.j2l\n\nJazzer\nLori\n");
// Twenty players make a list of more than 255 bytes, which comes in the long form.
QByteArrayList twentyNames() {
    QByteArrayList names{kProbe};
    for (int i = 1; i <= 20; ++i)
        names << "Player" + QByteArray::number(i).rightJustified(2, '0');
    return names;
}
const QByteArray kTwenty = GameServerPeer::playerList(twentyNames(), 5);
const QString kTwentyAnswer = QStringLiteral(
    "Level: battle1.j2l\n\nPlayer01\nPlayer02\nPlayer03\nPlayer04\nPlayer05\nPlayer06\n"
    "Player07\nPlayer08\nPlayer09\nPlayer10\nPlayer11\nPlayer12\nPlayer13\nPlayer14\n"
    "Player15\nPlayer16\nPlayer17\nPlayer18\nPlayer19\nPlayer20\n");
const QString kNoAnswer = QStringLiteral("No answer from the server.");

class ServerInfoTest : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        sandbox.listServer().serve({kList});
        openWindow(sandbox.services());
    }

    void openWindow(const Services& services) {
        m_window = std::make_unique<MainWindow>(services);
        m_window->Timer5->stop();
        m_window->show();
        doubleClick(window().opJoin);
        ASSERT_TRUE(QTest::qWaitFor([&] { return join().serverTable().rowCount() == 3; }, kWait));
    }

    GameServerPeer& game() { return sandbox.gameServer(); }
    JoinPage& join() { return *window().Frame1; }
    ServerInfoWindow* form6() { return join().serverInfoWindow(); }
    QString text() { return form6() ? form6()->Text1->toPlainText() : QStringLiteral("<none>"); }
    QString infoButton() {
        return join().mnuGetInfo->text() +
               (join().mnuGetInfo->isEnabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
    }

    void selectRow(int row) {
        const QRect cell = join().ListView1->visualRect(join().serverTable().index(row, 0));
        QTest::mouseClick(join().ListView1->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Picks the row and clicks "Info", after ending a lock that may still run.
    void query(int row) {
        if (join().Infotimer->isActive())
            join().Infotimer_Timer();
        selectRow(row);
        ASSERT_EQ(infoButton(), QStringLiteral("Info on"));
        m_connections = game().connections() + 1;
        click(join().mnuGetInfo);
    }
    // Waits until the query's connection has come and both ends have let it go.
    void waitUntilClosed() {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return game().connections() == m_connections && game().clientGone() && !querying();
            },
            kWait))
            << text().toStdString();
    }
    void waitForJoinRequest() {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return game().connections() == m_connections &&
                       game().received().size() == GameServerPeer::kJoinRequestSize;
            },
            kWait));
    }
    int m_connections = 0;
    // A query under way always has its wait for the server running.
    bool querying() { return form6() && form6()->AnswerTimer->isActive(); }
};

TEST_F(ServerInfoTest, AQueryShowsTheLevelAndThePlayersAndLocksTheButton) {
    game().script({kLevel}, {kPlayers});
    query(kCarrot);
    EXPECT_EQ(infoButton(), QStringLiteral("Wait off"));
    ASSERT_TRUE(form6());
    EXPECT_TRUE(form6()->isVisible());
    EXPECT_EQ(form6()->objectName(), QStringLiteral("Form6"));
    EXPECT_EQ(form6()->windowTitle(), QStringLiteral("Server Information"));
    EXPECT_EQ(form6()->size(), QSize(177, 186));
    EXPECT_EQ(form6()->Text2, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(form6()->Text3, QStringLiteral("1.24 x"));

    waitUntilClosed();
    EXPECT_EQ(text(), kAnswer);
    EXPECT_EQ(game().received(), JoinRequest(QStringLiteral("1.24 x")) + ProbeReply(5));
    EXPECT_EQ(form6()->ClientId, 5);
    EXPECT_FALSE(form6()->Timer2->isActive());
    EXPECT_FALSE(form6()->AnswerTimer->isActive());

    // The lock holds against selections and ends by itself.
    selectRow(kArena);
    EXPECT_EQ(infoButton(), QStringLiteral("Wait off"));
    QSignalSpy unlocked(join().Infotimer, &QTimer::timeout);
    ASSERT_TRUE(unlocked.wait(kWait));
    EXPECT_EQ(infoButton(), QStringLiteral("Info on"));
    EXPECT_FALSE(join().Infotimer->isActive());
    EXPECT_TRUE(form6()->isVisible()); // the answer stays, on other pages too
    click(window().Command7);
    EXPECT_EQ(page(), QStringLiteral("first"));
    EXPECT_TRUE(form6()->isVisible());
}

TEST_F(ServerInfoTest, PacketsCutAcrossReadsAreReadAsWhole) {
    // However late the rest of a packet comes, it is waited for.
    game().setPause(60);
    const struct {
        const char* what;
        QByteArrayList level;
        QByteArrayList players;
        QString answer = kAnswer;
    } cases[] = {
        {"whole", {kLevel}, {kPlayers}},
        {"the level cut inside its name", {kLevel.first(9), kLevel.sliced(9)}, {kPlayers}},
        {"the level cut after its name", {kLevel.first(16), kLevel.sliced(16)}, {kPlayers}},
        {"the level head a byte at a time",
         {kLevel.first(1), kLevel.sliced(1, 1), kLevel.sliced(2, 1), kLevel.sliced(3, 1),
          kLevel.sliced(4)},
         {kPlayers}},
        {"the list cut inside its head", {kLevel}, {kPlayers.first(4), kPlayers.sliced(4)}},
        {"the list cut inside a name", {kLevel}, {kPlayers.first(13), kPlayers.sliced(13)}},
        {"the list cut after a terminator",
         {kLevel},
         {kPlayers.first(19), kPlayers.sliced(19, 3), kPlayers.sliced(22)}},
        {"twenty players", {kLevel}, {kTwenty}, kTwentyAnswer},
        {"twenty players cut inside the long length and inside a name",
         {kLevel},
         {kTwenty.first(2), kTwenty.sliced(2, 200), kTwenty.sliced(202)},
         kTwentyAnswer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game().script(c.level, c.players);
        query(kCarrot);
        waitUntilClosed();
        EXPECT_EQ(text(), c.answer);
        EXPECT_EQ(game().received(), JoinRequest(QStringLiteral("1.24 x")) + ProbeReply(5));
    }
}

TEST_F(ServerInfoTest, NoServerOrAPrivateOneIsRefusedWithAMessage) {
    const struct {
        const char* what;
        std::function<void()> select;
        const char* message;
    } cases[] = {
        {"no row selected", [&] { join().ListView1->clearSelection(); }, "No server selected!"},
        {"a private row", [&] { selectRow(kLocked); }, "Server is Private!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sandbox.dialogs().clear();
        c.select();
        join().mnuGetInfo->setEnabled(true); // as a selection before may have left it
        click(join().mnuGetInfo);
        ASSERT_EQ(sandbox.dialogs().shown().size(), 1u);
        EXPECT_EQ(sandbox.dialogs().shown()[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(sandbox.dialogs().shown()[0].title, QStringLiteral("Error"));
        EXPECT_EQ(infoButton(), QStringLiteral("Info on"));
        EXPECT_FALSE(join().Infotimer->isActive());
        ASSERT_TRUE(form6()); // loaded all the same, but not shown
        EXPECT_FALSE(form6()->isVisible());
    }
    QTest::qWait(50);
    EXPECT_EQ(game().connections(), 0);
}

TEST_F(ServerInfoTest, ARefusedQueryClosesTheConnectionOfTheOneBeforeAndKeepsTheWindowOpen) {
    query(kArena); // the game server stays silent
    ASSERT_TRUE(QTest::qWaitFor([&] { return game().connected(); }, kWait));
    join().Infotimer_Timer();
    join().ListView1->clearSelection();
    click(join().mnuGetInfo);
    EXPECT_EQ(sandbox.dialogs().messages(), QStringList{QStringLiteral("No server selected!")});
    waitUntilClosed();
    EXPECT_TRUE(form6()->isVisible());
    EXPECT_FALSE(querying());
    EXPECT_FALSE(form6()->Timer2->isActive());
}

TEST_F(ServerInfoTest, AServerThatNeverAnswersEndsInANoteNotAnEndlessWait) {
    query(kArena); // accepted, and then nothing
    waitForJoinRequest();
    EXPECT_EQ(game().received(), JoinRequest(QStringLiteral("1.21")));
    waitUntilClosed(); // after the answer wait
    EXPECT_EQ(text(), kNoAnswer);
    EXPECT_FALSE(form6()->Timer2->isActive());
    EXPECT_FALSE(form6()->AnswerTimer->isActive());
}

TEST_F(ServerInfoTest, AnUnreachableServerEndsInANoteNotAnEndlessPoll) {
    const support::UnreachablePort closed;
    Services services = sandbox.services();
    services.gamePort = closed.port();
    openWindow(services);

    for (const QString& before : {QString(), QStringLiteral("Level: old.j2l")}) {
        SCOPED_TRACE(before.toStdString());
        // A previous answer, of another server, must not stand as this one's.
        if (form6())
            form6()->Text1->setPlainText(before);
        query(kArena);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form6()->Timer2->isActive(); }, kWait));
        EXPECT_EQ(text(), kNoAnswer);
        EXPECT_FALSE(querying());
    }
}

TEST_F(ServerInfoTest, OddAnswersAreShownAsTheyStand) {
    const QByteArray other = GameServerPeer::frame("\x13\x01\x05 raw bytes, no names");
    const QByteArray checksums("\x1f\x2e\x3d\x4c\x5b\x6a\x79\x88", 8);
    const QString players = QStringLiteral("\n\nJazzer\nLori\n");
    const struct {
        const char* what;
        QByteArrayList level;
        QByteArrayList players;
        After after;
        QString text;
        std::optional<QByteArray> sent; // none: whether the reply got out before the close
    } cases[] = {
        {"the level, then the server closes",
         {kLevel},
         {},
         After::Close,
         QStringLiteral("Level: battle1.j2l"),
         std::nullopt},
        {"a level name in capitals",
         {GameServerPeer::levelPacket(5, "CASTLE1.J2L", checksums)},
         {kPlayers},
         After::StayOpen,
         QStringLiteral("Level: CASTLE1.J2L") + players,
         ProbeReply(5)},
        {"a level name without an extension",
         {GameServerPeer::levelPacket(5, "castle1", checksums)},
         {kPlayers},
         After::StayOpen,
         QStringLiteral("Level: castle1") + players,
         ProbeReply(5)},
        // Follows a level: the last server's level line must not stand beside these players.
        {"players without a level packet", {kPlayers}, {}, After::StayOpen, players, QByteArray()},
        // The earlier answer goes also when this one has no level line.
        {"a level packet too short for a name",
         {GameServerPeer::frame(QByteArray("\x10\x01\x05", 3))},
         {kPlayers},
         After::StayOpen,
         players,
         ProbeReply(5)},
        {"level and players in one read",
         {kLevel + kPlayers},
         {},
         After::StayOpen,
         kAnswer,
         std::nullopt},
        {"a player named after a level is a name",
         {kLevel},
         {GameServerPeer::playerList({"Jazz", "map.j2l fan"}, 7)},
         After::StayOpen,
         QStringLiteral("Level: battle1.j2l\n\nJazz\nmap.j2l fan\n"),
         ProbeReply(5)},
        {"packets of other kinds are passed over",
         {other, kLevel},
         {kPlayers + other},
         After::StayOpen,
         kAnswer,
         ProbeReply(5)},
        {"nothing but other packets, then close",
         {other, QByteArray("\x04\x0D\x01\x02", 4)},
         {},
         After::Close,
         kNoAnswer,
         QByteArray()},
        {"a list whose last name never ends",
         {kLevel},
         {GameServerPeer::playerList({"Jazz"}, 5, "Spa")},
         After::StayOpen,
         QStringLiteral("Level: battle1.j2l\n\nJazz\nSpa\n"),
         ProbeReply(5)},
        {"a 64 KiB list of one endless name: the name is cut",
         {kLevel},
         {GameServerPeer::playerList({}, 5, QByteArray(0xFFFF - 9, 'x'))},
         After::StayOpen,
         QStringLiteral("Level: battle1.j2l\n\n") + QString(256, u'x') + u'\n',
         ProbeReply(5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game().script(c.level, c.players, c.after);
        query(kArena);
        form6()->Text1->setPlainText(QStringLiteral("<before>"));
        waitUntilClosed();
        EXPECT_EQ(text(), c.text);
        if (c.sent) {
            EXPECT_EQ(game().received(), JoinRequest(QStringLiteral("1.21")) + *c.sent);
        }
        EXPECT_FALSE(querying());
    }
}

TEST_F(ServerInfoTest, TheWholeQueryEndsInTenSecondsWhateverArrives) {
    // The level, then a long list that comes a byte every 0.9 s and would take minutes.
    QByteArrayList drip{kLevel};
    for (const char byte : QByteArray("\x00\xFF\xFF\x12\x01\x05", 6) + QByteArray(200, 'x'))
        drip << QByteArray(1, byte);
    game().setPause(timing::scaled(900));
    game().script(drip);
    query(kArena);
    waitUntilClosed(); // well within the drip
    EXPECT_EQ(text(), QStringLiteral("Level: battle1.j2l"));
    EXPECT_EQ(game().received(), JoinRequest(QStringLiteral("1.21")) + ProbeReply(5));
}

TEST_F(ServerInfoTest, ANewQueryKeepsThePreviousAnswerUntilTheNewLevelReplacesIt) {
    game().script({kLevel}, {kPlayers});
    query(kCarrot);
    waitUntilClosed();
    ASSERT_EQ(text(), kAnswer);

    game().script({}); // the next server waits to be told
    query(kArena);
    waitForJoinRequest();
    EXPECT_EQ(text(), kAnswer);
    ASSERT_TRUE(game().send(GameServerPeer::levelPacket(2, "race3.j2l")));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return text() == QStringLiteral("Level: race3.j2l"); }, kWait))
        << text().toStdString();
}

TEST_F(ServerInfoTest, ClosingTheWindowEndsTheQueryAndTheNextOneStartsEmpty) {
    query(kArena); // the server stays silent
    ASSERT_TRUE(QTest::qWaitFor([&] { return game().connected(); }, kWait));
    form6()->Text1->setPlainText(QStringLiteral("something"));
    form6()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form6(); }, kWait));
    waitUntilClosed();

    game().script({kLevel}, {kPlayers});
    query(kCarrot);
    ASSERT_TRUE(form6());
    EXPECT_EQ(text(), QString());
    waitUntilClosed();
    EXPECT_EQ(text(), kAnswer);
}

} // namespace
