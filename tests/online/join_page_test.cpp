#include "online/join_page.h"
#include "online/server_table_view.h"
#include "platform/gui/check_value.h"
#include "protocol/server_table_model.h"
#include "support/main_window_fixture.h"
#include "support/tcp_peer.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

namespace {

#define SECTION "\xA7"

const QByteArray kAlpha =
    "203.0.113.5:10052 local public ctf 1.24   4 [1/12] |Alpha " SECTION "2CTF\r\n";
const QByteArray kBravo = "192.0.2.44:10052 mirror private treasure 1.24   1800 [0/8] Bravo\r\n";
const QByteArray kCharlie = "198.51.100.20:10052 local public battle 1.23   96 [7/32] Charlie\r\n";
const QByteArray kDelta = "203.0.113.77:10052 local public coop 1.24 x 30 [2/4] Delta     Coop\r\n";
const QByteArray kEcho = "198.51.100.9:10052 local public battle 9.99   5 [3/8] Echo\r\n";

const QString kAlphaRow = QStringLiteral("Alpha CTF|CTF|1.24|1/12|203.0.113.5");
const QString kBravoRow = QStringLiteral("Bravo|Trs|1.24|0/8|192.0.2.44%P");
const QString kCharlieRow = QStringLiteral("Charlie|Battle|1.21|7/32|198.51.100.20");

constexpr int kWait = 5000; // ms; every wait is bounded

class JoinPageTest : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        open();
        window().Timer5->stop();
    }

    support::ListServerPeer& peer() { return sandbox.listServer(); }
    JoinPage& join() { return *window().Frame1; }
    ServerTableModel& table() { return join().serverTable(); }

    // Opens the page and waits until the list server has the connection.
    void openJoinPage() {
        const int before = peer().connections();
        doubleClick(window().opJoin);
        waitForConnection(before + 1);
    }
    void refresh() {
        const int before = peer().connections();
        click(join().mnuRefreshSL);
        waitForConnection(before + 1);
    }
    void waitForConnection(int count) {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return peer().connections() == count && peer().connected(); }, kWait));
    }
    // Sends bytes from the list server and waits for the data event they cause.
    void deliver(const QByteArray& bytes) {
        QSignalSpy read(join().Winsock2, &QTcpSocket::readyRead);
        ASSERT_TRUE(peer().send(bytes));
        ASSERT_TRUE(read.wait(kWait));
    }
    void waitForRows(int count) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return table().rowCount() == count; }, kWait))
            << table().rowCount() << " rows";
    }

    QStringList rows() {
        QStringList all;
        for (int r = 0; r < table().rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < ServerTableModel::kColumns; ++c)
                cells << table().text(r, c);
            all << cells.join(u'|');
        }
        return all;
    }
    QStringList column(int c) {
        QStringList cells;
        for (int r = 0; r < table().rowCount(); ++r)
            cells << table().text(r, c);
        return cells;
    }
    int rowNamed(const QString& name) { return column(0).indexOf(name); }

    void clickRow(int row) {
        const QRect cell = join().ListView1->visualRect(table().index(row, 0));
        QTest::mouseClick(join().ListView1->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void clickHeader(int column) {
        QHeaderView* header = join().ListView1->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }

    QString refreshButton() {
        return join().mnuRefreshSL->text() +
               (join().mnuRefreshSL->isEnabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
    }
    QString statusText() { return window().status().text(); }
};

TEST_F(JoinPageTest, FormLoadSetsUpTheFiveColumnsWithTheAddressHidden) {
    const char* titles[] = {"Server Name", "Type", "Version", "Players", "IP Address"};
    const int widths[] = {140, 53, 50, 50}; // 2100, 800, 750, 750 twips
    for (int c = 0; c < ServerTableModel::kColumns; ++c) {
        EXPECT_EQ(table().headerData(c, Qt::Horizontal).toString(), QString::fromLatin1(titles[c]));
        EXPECT_EQ(join().ListView1->isColumnHidden(c), c == 4);
        if (c < 4) {
            EXPECT_EQ(join().ListView1->columnWidth(c), widths[c]);
        }
    }
    EXPECT_EQ(peer().connections(), 0); // nothing goes out at start-up
}

TEST_F(JoinPageTest, OpeningThePageDownloadsTheListWithoutSendingAnything) {
    peer().serve({kAlpha + kBravo + kCharlie});
    doubleClick(window().opJoin);
    EXPECT_EQ(refreshButton(), QStringLiteral("Retrieving off"));
    EXPECT_FALSE(join().mnuGetInfo->isEnabled());
    EXPECT_EQ(visiblePictures(), QStringLiteral("imgJoin"));
    EXPECT_EQ(statusText(), QStringLiteral("Status: Refreshing Server List"));
    EXPECT_EQ(table().rowCount(), 0);

    waitForRows(3);
    EXPECT_EQ(rows(), (QStringList{kAlphaRow, kBravoRow, kCharlieRow}));
    EXPECT_EQ(statusText(), QStringLiteral("Status: List Loaded"));
    EXPECT_EQ(refreshButton(), QStringLiteral("Refresh on"));
    EXPECT_EQ(peer().connections(), 1);
    EXPECT_TRUE(peer().received().isEmpty());
}

TEST_F(JoinPageTest, AReplyCutAnywhereInALineLosesNothing) {
    const QByteArray reply = kAlpha + kBravo + kCharlie;
    const qsizetype bravoAt = kAlpha.size();
    // Cuts inside the second line: its address, brackets, name, before the CR, before the LF.
    const qsizetype cuts[] = {bravoAt,
                              bravoAt + 1,
                              bravoAt + 10,
                              bravoAt + 48,
                              bravoAt + 60,
                              bravoAt + kBravo.size() - 2,
                              bravoAt + kBravo.size() - 1};
    openJoinPage();
    for (qsizetype cut : cuts) {
        SCOPED_TRACE(cut);
        if (cut != cuts[0])
            refresh();
        deliver(reply.first(cut));
        EXPECT_EQ(rows(), QStringList{kAlphaRow}); // each read adds its complete lines
        EXPECT_EQ(statusText(), QStringLiteral("Status: List Loaded"));
        EXPECT_EQ(refreshButton(), QStringLiteral("Refresh on"));
        deliver(reply.sliced(cut));
        waitForRows(3);
        EXPECT_EQ(rows(), (QStringList{kAlphaRow, kBravoRow, kCharlieRow}));
    }
}

TEST_F(JoinPageTest, ALastLineWithoutLineFeedMakesNoRow) {
    peer().serve({kAlpha + kBravo, "198.51.100.20:10052 local public battle 1.23   96 [7/32] Ch"});
    QSignalSpy closed(join().Winsock2, &QTcpSocket::disconnected);
    openJoinPage();
    ASSERT_TRUE(closed.wait(kWait));
    EXPECT_EQ(rows(), (QStringList{kAlphaRow, kBravoRow}));
}

TEST_F(JoinPageTest, AFieldThatIsNotThereShowsEmptyNotThePreviousLinesValue) {
    peer().serve({kAlpha + "\r\n" + "198.51.100.3 odd line\r\n"});
    openJoinPage();
    waitForRows(3);
    EXPECT_EQ(rows(), (QStringList{kAlphaRow, QStringLiteral("||||"),
                                   QStringLiteral("98.51.100.3 odd line||||")}));
}

TEST_F(JoinPageTest, RefreshEmptiesTheTableAndWaitsForData) {
    openJoinPage();
    deliver(kAlpha + kBravo);
    clickRow(0);
    join().TSCheck->setChecked(false);
    ASSERT_TRUE(join().mnuGetInfo->isEnabled());

    click(join().mnuRefreshSL);
    EXPECT_EQ(table().rowCount(), 0);
    EXPECT_EQ(refreshButton(), QStringLiteral("Retrieving off"));
    EXPECT_EQ(statusText(), QStringLiteral("Status: Refreshing Server List"));
    // The boxes and "Info" keep what the last selection gave them.
    EXPECT_EQ(join().Text4->text(), QStringLiteral("203.0.113.5"));
    EXPECT_EQ(join().Text5, QStringLiteral("203.0.113.5"));
    EXPECT_FALSE(join().TSCheck->isChecked());
    EXPECT_TRUE(join().mnuGetInfo->isEnabled());

    waitForConnection(2);
    EXPECT_EQ(refreshButton(), QStringLiteral("Retrieving off"));
    deliver(kCharlie);
    EXPECT_EQ(rows(), QStringList{kCharlieRow});
    EXPECT_EQ(refreshButton(), QStringLiteral("Refresh on"));
}

TEST_F(JoinPageTest, EveryDownloadEndsWithRefreshUsable) {
    using After = support::ListServerPeer::After;
    const support::UnreachablePort gone;
    const quint16 nobody = gone.port();
    const struct {
        const char* what;
        bool reachable;
        QByteArrayList reply;
        After after;
        const char* status;
        int rows;
    } cases[] = {
        {"nothing listens", false, {}, After::Close, "Status: List Server Unreachable", 0},
        {"a silent list server", true, {}, After::StayOpen, "Status: List Server Unreachable", 0},
        {"nobody is listed: it closes at once", true, {}, After::Close, "Status: List Loaded", 0},
        {"a list, then the close", true, {kAlpha, kBravo}, After::Close, "Status: List Loaded", 2},
        {"a list on a connection kept open",
         true,
         {kAlpha},
         After::StayOpen,
         "Status: List Loaded",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Services services = sandbox.services();
        if (!c.reachable)
            services.serverListPort = nobody;
        peer().serve(c.reply, c.after);
        m_window = std::make_unique<MainWindow>(services);
        m_window->Timer5->stop();
        m_window->show();
        // Opening the page, then "Refresh": each download ends the same way.
        for (bool refreshing : {false, true}) {
            refreshing ? click(join().mnuRefreshSL) : doubleClick(window().opJoin);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return statusText() == QLatin1StringView(c.status) &&
                           table().rowCount() == c.rows && !join().ReplyTimer->isActive();
                },
                kWait))
                << qPrintable(statusText()) << ", " << table().rowCount() << " rows";
            EXPECT_EQ(refreshButton(), QStringLiteral("Refresh on"));
        }
    }
}

TEST_F(JoinPageTest, SelectingARowFillsTheJoinBoxes) {
    openJoinPage();
    deliver(kAlpha + kBravo + kCharlie + kDelta + kEcho);
    window().Command8->setEnabled(false); // to see whether a selection enables it

    struct Step {
        const char* what;
        std::function<void()> before; // what the user does first
        int row;
        const char* text4;
        const char* text5;
        bool info;
        bool tsf;
        bool finishEnabled;
        const char* selVersion;
    };
    const Step steps[] = {
        {"a private row", {}, 1, "Private", "192.0.2.44", false, true, false, "1.24"},
        {"a 1.21 row", {}, 2, "198.51.100.20", "198.51.100.20", true, false, true, "1.21"},
        {"a 1.24 x row leaves TSF clear",
         {},
         3,
         "203.0.113.77",
         "203.0.113.77",
         true,
         false,
         true,
         "1.24 x"},
        {"a 1.24 x row leaves TSF as the user ticked it", [&] { join().TSCheck->setChecked(true); },
         3, "203.0.113.77", "203.0.113.77", true, true, true, "1.24 x"},
        {"a row without version", {}, 4, "198.51.100.9", "198.51.100.9", false, true, true, ""},
        {"a 1.24 row", [&] { join().TSCheck->setChecked(false); }, 0, "203.0.113.5", "203.0.113.5",
         true, true, true, "1.24"},
        {"a row while the Info lock runs",
         [&] {
             join().mnuGetInfo->setEnabled(false);
             join().Infotimer->start(60000);
         },
         2, "198.51.100.20", "198.51.100.20", false, false, true, "1.21"},
        {"the same row once the lock is over", [&] { join().Infotimer->stop(); }, 2,
         "198.51.100.20", "198.51.100.20", true, false, true, "1.21"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.before)
            step.before();
        clickRow(step.row);
        EXPECT_EQ(join().selectedRow(), step.row);
        EXPECT_EQ(join().Text4->text(), QString::fromLatin1(step.text4));
        EXPECT_EQ(join().Text5, QString::fromLatin1(step.text5));
        EXPECT_EQ(join().mnuGetInfo->isEnabled(), step.info);
        EXPECT_EQ(join().TSCheck->isChecked(), step.tsf);
        EXPECT_EQ(window().Command8->isEnabled(), step.finishEnabled);
        EXPECT_EQ(join().SelVersion, QString::fromLatin1(step.selVersion));
    }
}

TEST_F(JoinPageTest, SelectingInAnEmptyTableKeepsTheAddressAndRestoresTsfFromTheLastVersion) {
    openJoinPage();
    deliver(kBravo);
    clickRow(0); // a private 1.24 row
    ASSERT_EQ(join().Text4->text(), QStringLiteral("Private"));
    refresh();
    join().TSCheck->setChecked(false);
    join().mnuGetInfo->setEnabled(true);
    window().Command8->setEnabled(false);

    QTest::mouseClick(join().ListView1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(join().selectedRow(), -1);
    EXPECT_EQ(join().Text4->text(), QStringLiteral("Private"));
    EXPECT_EQ(join().Text5, QStringLiteral("Private"));
    EXPECT_TRUE(window().Command8->isEnabled());
    EXPECT_FALSE(join().mnuGetInfo->isEnabled());
    EXPECT_EQ(join().SelVersion, QStringLiteral("1.24"));
    EXPECT_TRUE(join().TSCheck->isChecked());

    // A typed address that ends in the private marker is taken as one.
    join().Text4->setText(QStringLiteral("192.0.2.99%P"));
    join().ShowSelectedServer();
    EXPECT_EQ(join().Text4->text(), QStringLiteral("Private"));
    EXPECT_EQ(join().Text5, QStringLiteral("192.0.2.99"));
}

TEST_F(JoinPageTest, TheBoxesFollowTheSelectionMovedByKeys) {
    openJoinPage();
    deliver(kAlpha + kBravo + kCharlie);
    clickRow(0);
    QSignalSpy down(join().ListView1, &ServerTableView::keyDown);
    QSignalSpy up(join().ListView1, &ServerTableView::keyUp);
    QTest::keyClick(join().ListView1, Qt::Key_Down);
    EXPECT_EQ(join().selectedRow(), 1);
    EXPECT_EQ(join().Text4->text(), QStringLiteral("Private"));
    QTest::keyClick(join().ListView1, Qt::Key_Down);
    EXPECT_EQ(join().Text4->text(), QStringLiteral("198.51.100.20"));
    EXPECT_EQ(down.count(), 2);
    EXPECT_EQ(up.count(), 2);
}

TEST_F(JoinPageTest, ColumnClicksToggleTheOrderOnlyForTheSameColumn) {
    openJoinPage();
    deliver(kEcho + kAlpha + kDelta + kBravo + kCharlie);
    const QStringList byTypeUp = {QStringLiteral("Battle"), QStringLiteral("Battle"),
                                  QStringLiteral("Coop"), QStringLiteral("CTF"),
                                  QStringLiteral("Trs")};
    QStringList byTypeDown = byTypeUp;
    std::reverse(byTypeDown.begin(), byTypeDown.end());

    clickHeader(1); // "Type": another column than the last key, so ascending
    EXPECT_EQ(column(1), byTypeUp);
    EXPECT_EQ(join().LastSortKey, 1);
    clickHeader(1); // the same column again: descending
    EXPECT_EQ(column(1), byTypeDown);
    clickHeader(3); // "Players": the order stays descending
    EXPECT_EQ(column(3),
              (QStringList{QStringLiteral("7/32"), QStringLiteral("3/8"), QStringLiteral("2/4"),
                           QStringLiteral("1/12"), QStringLiteral("0/8")}));
    EXPECT_EQ(join().LastSortKey, 3);
}

TEST_F(JoinPageTest, AFirstClickOnServerNameSortsDescending) {
    openJoinPage();
    deliver(kBravo + kAlpha + kCharlie);
    clickHeader(0);
    EXPECT_EQ(column(0), (QStringList{QStringLiteral("Charlie"), QStringLiteral("Bravo"),
                                      QStringLiteral("Alpha CTF")}));
    clickHeader(0);
    EXPECT_EQ(column(0), (QStringList{QStringLiteral("Alpha CTF"), QStringLiteral("Bravo"),
                                      QStringLiteral("Charlie")}));
}

TEST_F(JoinPageTest, LaterRowsTakeTheirSortedPlacesAndTheSelectionStaysWithItsServer) {
    openJoinPage();
    deliver(kCharlie + kAlpha);
    clickHeader(0);
    clickHeader(0); // by name, ascending
    clickRow(rowNamed(QStringLiteral("Charlie")));
    deliver("192.0.2.1:10052 local public ctf 1.24   1 [0/8] able\r\n" + kBravo +
            "192.0.2.2:10052 local public ctf 1.24   1 [0/8] Zulu\r\n");
    EXPECT_EQ(column(0), (QStringList{QStringLiteral("able"), QStringLiteral("Alpha CTF"),
                                      QStringLiteral("Bravo"), QStringLiteral("Charlie"),
                                      QStringLiteral("Zulu")}));
    EXPECT_EQ(join().selectedRow(), 3);
    EXPECT_EQ(table().text(join().selectedRow(), 0), QStringLiteral("Charlie"));

    // A refresh keeps the sorting on.
    refresh();
    deliver(kCharlie + kAlpha);
    EXPECT_EQ(column(0), (QStringList{QStringLiteral("Alpha CTF"), QStringLiteral("Charlie")}));
}

TEST_F(JoinPageTest, AClickIntoTheAddressBoxBringsTheLogoBack) {
    openJoinPage();
    ASSERT_EQ(visiblePictures(), QStringLiteral("imgJoin"));
    QTest::mouseClick(join().Text4, Qt::LeftButton);
    EXPECT_EQ(page(), QStringLiteral("join"));
    EXPECT_EQ(visiblePictures(), QStringLiteral("imgJoin imgQuillmere"));
}

TEST_F(JoinPageTest, BackLeavesTheDownloadAndTheTableAsTheyAre) {
    openJoinPage();
    deliver(kAlpha);
    click(window().Command7);
    EXPECT_EQ(page(), QStringLiteral("first"));
    EXPECT_TRUE(peer().connected());
    deliver(kBravo);
    EXPECT_EQ(rows(), (QStringList{kAlphaRow, kBravoRow}));
    EXPECT_EQ(statusText(), QStringLiteral("Status: List Loaded"));
}

TEST_F(JoinPageTest, AReplyIsCutAtSixteenMebibytesOrAtTheLineLimitAndItsRowsStay) {
    const QByteArray longLine =
        "203.0.113.5:10052 local public ctf 1.24   4 [1/12] " + QByteArray(1000, 'N') + "\r\n";
    const qsizetype limit = 16 * 1024 * 1024;
    const struct {
        const char* what;
        QByteArray reply;
        bool cut; // else the list server closes after it
        int rows;
        const char* status;
    } cases[] = {
        {"16 MiB of long lines", longLine.repeated(limit / longLine.size() + 100), true,
         int(limit / longLine.size()), "Status: List Loaded (cut short)"},
        {"a flood of line feeds", QByteArray(100000, '\n'), true, 65536,
         "Status: List Loaded (cut short)"},
        {"65,536 lines and no more", QByteArray(65536, '\n'), false, 65536, "Status: List Loaded"},
    };
    openJoinPage();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.what != cases[0].what)
            refresh();
        ASSERT_TRUE(peer().send(c.reply));
        if (!c.cut)
            peer().closeConnection();
        // A cut reply ends its connection there.
        ASSERT_TRUE(QTest::qWaitFor([&] { return peer().clientGone(); }, 4 * kWait));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return statusText() == QLatin1StringView(c.status) && table().rowCount() == c.rows;
            },
            kWait))
            << qPrintable(statusText()) << ", " << table().rowCount() << " rows";
        EXPECT_EQ(refreshButton(), QStringLiteral("Refresh on"));
    }
    // A name of 1000 bytes is shown with its first 256.
    refresh();
    deliver(longLine);
    EXPECT_EQ(table().text(0, 0), QString(256, u'N'));
}

TEST_F(JoinPageTest, AListAddressThatWouldNotStayOneArgumentIsRefusedAtFinish) {
    const struct {
        const char* what;
        QByteArray address; // as the list server sends it, before ":10052"
        const char* access; // "public" or "private"
        const char* typed;  // typed into the box after the selection
        const char* started;
    } cases[] = {
        {"blanks and a quote", "1.2.3.4 -server -Battle \"x", "public", nullptr, nullptr},
        {"a double quote alone", "1.2.3.4\"-x", "public", nullptr, nullptr},
        {"a single quote alone", "1.2.3.4'-x", "public", nullptr, nullptr},
        {"a tab", "1.2.3.4\t-x", "public", nullptr, nullptr},
        {"a NUL", QByteArray("1.2.3.4\0-x", 10), "public", nullptr, nullptr},
        {"a leading dash", "-server", "public", nullptr, nullptr},
        {"a leading slash", "/x", "public", nullptr, nullptr},
        {"a private row, joined after the password", "1.2.3.4 -x", "private", nullptr, nullptr},
        {"a plain address", "203.0.113.5", "public", nullptr,
         "/games/jazz2.exe -connect 203.0.113.5 -NoSpy"},
        {"what the player types is the player's own", "1.2.3.4 -x", "public", "1.2.3.4 -mine",
         "/games/jazz2.exe -connect 1.2.3.4 -mine -NoSpy"},
    };
    openJoinPage();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.what != cases[0].what)
            refresh();
        deliver(c.address + ":10052 local " + c.access + " battle 1.21   0 [0/16] Hostile\r\n");
        clickRow(0);
        if (c.typed)
            join().Text4->setText(QString::fromLatin1(c.typed));
        sandbox.dialogs().clear();
        sandbox.starter().clear();
        click(window().Command8);
        if (c.started) {
            EXPECT_EQ(sandbox.starter().lines(), QStringList{QString::fromLatin1(c.started)});
            EXPECT_TRUE(sandbox.dialogs().shown().empty());
            continue;
        }
        EXPECT_TRUE(sandbox.starter().lines().isEmpty());
        ASSERT_EQ(sandbox.dialogs().shown().size(), 1u);
        EXPECT_EQ(sandbox.dialogs().shown().front().text,
                  QStringLiteral("This server's address is not valid."));
        EXPECT_EQ(sandbox.dialogs().shown().front().title, QStringLiteral("Error"));
    }
}

} // namespace
