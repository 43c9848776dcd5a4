#include "common/timing.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"
#include "online/listing.h"
#include "online/listing_window.h"
#include "platform/gui/check_value.h"
#include "protocol/server_table_model.h"
#include "support/main_window_fixture.h"
#include "support/tcp_peer.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <functional>

namespace {

constexpr int kWait = 5000; // ms; every wait is bounded

const QString kConnecting = QStringLiteral("Status: Connecting");
const QString kListing = QStringLiteral("Status: Listing Server");
const QString kListed = QStringLiteral("Status: Server Is Listed");
const QString kDelisted = QStringLiteral("Status: Server Delisted");

// A record as the list server reads it: the name and zero bytes to offset 35, then players 0,
// maximum players, flags, the build and two blanks.
QByteArray record(const QByteArray& name, char maxPlayers, char flags, const char* version) {
    return "D'" + name + QByteArray(33 - name.size(), '\0') + '\0' + maxPlayers + flags + version +
           "  ";
}

class ListingTest : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        openServePage(sandbox.services());
    }
    void openServePage(const Services& services) {
        m_window = std::make_unique<MainWindow>(services);
        m_window->show();
        window().Timer5->stop();
        doubleClick(window().opServ);
        platform::setCheckValue(serve().Check2, 1);
    }

    ServePage& serve() { return *window().Frame2; }
    Listing& listing() { return window().listing(); }
    support::ListServerPeer& peer() { return sandbox.listingServer(); }
    QString caption() {
        ListingWindow* w = listing().window();
        return w ? w->windowTitle() : QStringLiteral("(no window)");
    }
    bool chainRunning() {
        return listing().Timer1->isActive() || listing().Timer3->isActive() ||
               listing().Timer4->isActive() || listing().RecordTimer->isActive();
    }

    void finish() { click(window().Command8); }
    void waitForCaption(const QString& wanted) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return caption() == wanted; }, kWait))
            << qPrintable(caption());
    }
    void waitForStepOne() {
        waitForCaption(kListing);
        EXPECT_TRUE(QTest::qWaitFor([&] { return listing().Timer3->isActive(); }, kWait));
    }
    void waitForBytes(qsizetype count) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return peer().received().size() >= count; }, kWait))
            << peer().received().size() << " bytes";
    }
};

TEST_F(ListingTest, AListedServeIsAnnouncedFiveTimesSixSecondsAfterTheConnection) {
    // The window is open and the connection asked for before the game starts.
    struct WatchingStarter : platform::ProgramStarter {
        std::function<void()> onStart;
        platform::StartResult start(const QString&) override {
            onStart();
            return {};
        }
    } starter;
    Services services = sandbox.services();
    services.starter = &starter;
    openServePage(services);
    serve().Text1->setText(QStringLiteral("16"));
    int starts = 0;
    starter.onStart = [&] {
        ++starts;
        EXPECT_EQ(window().status().text(), QStringLiteral("Status: Hosting Game..."));
        EXPECT_EQ(caption(), kConnecting);
        EXPECT_TRUE(listing().window()->isVisible());
        EXPECT_NE(listing().Winsock1->state(), QAbstractSocket::UnconnectedState);
        EXPECT_EQ(window().MaxPlayersArg, QStringLiteral("16"));
    };
    finish();
    EXPECT_EQ(starts, 1);

    // The chain: 3000, 2000 and 1000 ms, each timer armed by the step before.
    waitForCaption(kListing);
    EXPECT_EQ(listing().Timer1->interval(), timing::scaled(3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return listing().Timer3->isActive(); }, kWait));
    EXPECT_EQ(listing().Timer3->interval(), timing::scaled(2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return listing().Timer4->isActive(); }, kWait));
    EXPECT_EQ(listing().Timer4->interval(), timing::scaled(1000));

    // One record per send, 50 ms apart, so that the list server takes the first on its own.
    EXPECT_TRUE(QTest::qWaitFor([&] { return listing().RecordTimer->isActive(); }, kWait));
    EXPECT_EQ(listing().RecordTimer->interval(), 50);
    EXPECT_EQ(caption(), kListing);
    waitForCaption(kListed);
    waitForBytes(210);
    EXPECT_EQ(peer().received(), record("Server Name", 16, 0x02, "21").repeated(5));
    EXPECT_EQ(peer().listLines(),
              "127.0.0.1:10052 local public battle 1.23   0 [0/16] Server Name\r\n");
    EXPECT_FALSE(chainRunning());
    EXPECT_TRUE(peer().connected()); // the listing lasts as long as the connection
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Hosting Game..."));
}

TEST_F(ListingTest, TheRecordHoldsTheValuesAsTheyStandAtEachStep) {
    const QByteArray twenty = "ABCDEFGHIJKLMNOPQRST";
    const struct {
        const char* what;
        std::function<void(ServePage&)> atFinish, afterConnect, afterStepOne;
        QByteArray expected;
    } cases[] = {
        {"a battle keeps the name of the connect event and the type of step one", [](ServePage&) {},
         [](ServePage& p) { p.Text2->setText(QStringLiteral("Renamed")); },
         [](ServePage& p) {
             p.selectTab(2);
             platform::setCheckValue(p.Check1, 1); // the build counts at the last step
         },
         record("Server Name", 32, 0x02, "24")},
        {"a coop game takes its name again at step one", [](ServePage&) {},
         [](ServePage& p) {
             p.selectTab(2);
             p.Text2->setText(QStringLiteral("Carrotus"));
         },
         [](ServePage& p) { p.Text2->setText(QStringLiteral("Too Late")); },
         record("Carrotus", 32, 0x0A, "21")},
        {"the longest race name",
         [&](ServePage& p) {
             p.selectTab(4);
             p.Text2->clear();
             QTest::keyClicks(p.Text2, QString::fromLatin1(twenty + "overflow")); // typed: cut
         },
         [](ServePage&) {}, [](ServePage&) {}, record(twenty, 32, 0x08, "21")},
        {"the maximum players of the command line, whatever the box holds later",
         [](ServePage& p) { p.Text1->setText(QStringLiteral("40")); },
         [](ServePage& p) { p.Text1->setText(QStringLiteral("8")); }, [](ServePage&) {},
         record("Server Name", 40, 0x02, "21")},
        {"single-byte text",
         [](ServePage& p) {
             p.selectTab(5);
             p.Text2->setText(QStringLiteral("§1Jazz €é ✓"));
         },
         [](ServePage&) {}, [](ServePage&) {}, record("\xA7\x31Jazz \x80\xE9 ?", 32, 0x04, "21")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const qsizetype before = peer().received().size();
        platform::setCheckValue(serve().Check1, 0);
        c.atFinish(serve());
        finish();
        waitForCaption(kListing);
        c.afterConnect(serve());
        waitForStepOne();
        c.afterStepOne(serve());
        waitForCaption(kListed);
        waitForBytes(before + 210);
        EXPECT_EQ(peer().received().mid(before), c.expected.repeated(5));
        doubleClick(window().opServ); // back to the page's defaults for the next case
        platform::setCheckValue(serve().Check2, 1);
    }
}

TEST_F(ListingTest, DelistClosesTheConnectionAndTheWindowAtAnyStep) {
    const struct {
        const char* when;
        std::function<void()> waitFor;
        qsizetype sent;
    } moments[] = {
        {"while connecting", [] {}, 0},
        {"before step one", [this] { waitForCaption(kListing); }, 0},
        {"after step one", [this] { waitForStepOne(); }, 0},
        {"once listed", [this] { waitForCaption(kListed); }, 210},
    };
    for (const auto& m : moments) {
        SCOPED_TRACE(m.when);
        const qsizetype before = peer().received().size();
        const int ended = peer().connectionsEnded();
        finish();
        m.waitFor();
        ASSERT_NE(listing().window(), nullptr);
        click(listing().window()->Command1);
        EXPECT_EQ(window().status().text(), kDelisted);
        EXPECT_FALSE(chainRunning()); // nothing left to send
        EXPECT_TRUE(QTest::qWaitFor([&] { return listing().window() == nullptr; }, kWait));
        if (m.sent > 0) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return peer().connectionsEnded() > ended; }, kWait));
        }
        EXPECT_EQ(peer().received().size() - before, m.sent);
        EXPECT_EQ(listing().Winsock1->state(), QAbstractSocket::UnconnectedState);
    }
}

TEST_F(ListingTest, ClosingTheWindowOtherwiseLeavesTheConnectionAndSendsNothing) {
    finish();
    waitForCaption(kListing);
    QSignalSpy stepThree(listing().Timer4, &QTimer::timeout);
    listing().window()->close();
    ASSERT_TRUE(stepThree.wait(kWait));
    EXPECT_TRUE(peer().received().isEmpty());
    EXPECT_FALSE(chainRunning());
    EXPECT_TRUE(peer().connected());
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Hosting Game..."));

    // "Finish" again withdraws the old listing and makes a new one in a new window.
    finish();
    EXPECT_EQ(caption(), kConnecting);
    waitForCaption(kListed);
    waitForBytes(210);
    EXPECT_EQ(peer().connections(), 2);
    EXPECT_EQ(peer().connectionsEnded(), 1);
}

TEST_F(ListingTest, ALostConnectionIsReportedAndEndsTheChain) {
    // The list server drops the connection before the records, after them, and after talking
    // back at length, which the listing reads and drops instead of keeping.
    const struct {
        const char* when;
        bool listed;
        qsizetype talkBack;
    } moments[] = {{"before the records", false, 0},
                   {"after the records", true, 0},
                   {"after talking back", true, 8 * 1024 * 1024}};
    for (const auto& m : moments) {
        SCOPED_TRACE(m.when);
        const qsizetype before = peer().received().size();
        finish();
        waitForCaption(m.listed ? kListed : kListing);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return peer().received().size() == before + (m.listed ? 210 : 0); }, kWait));
        if (m.talkBack > 0) {
            ASSERT_TRUE(peer().send(QByteArray(m.talkBack, 'x')));
        }
        peer().closeConnection();
        waitForCaption(kDelisted);
        EXPECT_EQ(listing().Winsock1->bytesAvailable(), 0);
        EXPECT_EQ(window().status().text(), kDelisted);
        EXPECT_FALSE(chainRunning());
        EXPECT_NE(listing().window(), nullptr); // the window stays for the user to read
    }
}

TEST_F(ListingTest, AListedGameIsInTheListUntilItIsDelisted) {
    sandbox.listServer().serveRegistered(peer());
    serve().selectTab(2); // coop
    serve().Text2->setText(QStringLiteral("Coop Corner"));
    serve().Text1->setText(QStringLiteral("16"));
    platform::setCheckValue(serve().Check1, 1);
    finish();
    waitForCaption(kListed);
    EXPECT_EQ(peer().listLines(),
              "127.0.0.1:10052 local public coop 1.24   0 [0/16] Coop Corner\r\n");

    click(window().Command7);
    doubleClick(window().opJoin);
    ServerTableModel& table = window().Frame1->serverTable();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.rowCount() == 1; }, kWait));
    QStringList row;
    for (int c = 0; c < ServerTableModel::kColumns; ++c)
        row << table.text(0, c);
    EXPECT_EQ(row.join(u'|'), QStringLiteral("Coop Corner|Coop|1.24|0/16|127.0.0.1"));

    click(listing().window()->Command1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer().listLines().isEmpty(); }, kWait));
    click(window().Frame1->mnuRefreshSL);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window().status().text() == QStringLiteral("Status: List Loaded"); }, kWait));
    EXPECT_EQ(table.rowCount(), 0);
}

TEST_F(ListingTest, AnUnreachableListServerIsReportedAndTheGameStillStarts) {
    const support::UnreachablePort gone;
    Services services = sandbox.services();
    services.listingPort = gone.port();
    openServePage(services);
    finish();
    EXPECT_EQ(sandbox.starter().lines().size(), 1);
    waitForCaption(kDelisted);
    EXPECT_EQ(window().status().text(), kDelisted);
    EXPECT_FALSE(chainRunning());
}

} // namespace
