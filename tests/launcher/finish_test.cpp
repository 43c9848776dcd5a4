#include "launcher/game_path_dialog.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"
#include "online/listing.h"
#include "platform/gui/check_value.h"
#include "support/main_window_fixture.h"

#include <QTabWidget>
#include <QTcpSocket>
#include <QTest>

namespace {

using support::MainWindowTest;

const QString kJazz = QStringLiteral("/games/Jazz 2/Jazz2.exe");
const QString kTsf = QStringLiteral("/games/Jazz2 TSF/Jazz2+.exe");

class Finish : public MainWindowTest {
protected:
    void SetUp() override { storePaths(kJazz, kTsf); }
    QStringList started() { return sandbox.starter().lines(); }
    void openJoin(const QString& address, int tsCheck) {
        open();
        doubleClick(window().opJoin);
        window().Frame1->Text4->setText(address);
        platform::setCheckValue(window().Frame1->TSCheck, tsCheck);
    }
    void openServe() {
        open();
        doubleClick(window().opServ);
    }
};

TEST_F(Finish, JoinStartsTheChosenBuildAtTheTypedAddress) {
    struct Row {
        const char* address;
        int tsCheck;
        int spy;
        QString line;
    };
    const Row rows[] = {
        {"203.0.113.5", 0, 0, kJazz + QStringLiteral(" -connect 203.0.113.5 -NoSpy")},
        {"203.0.113.5:10055", 1, 1, kTsf + QStringLiteral(" -connect 203.0.113.5:10055 -spy")},
        {" host name ", 0, 1, kJazz + QStringLiteral(" -connect  host name  -spy")},
        {"private", 0, 0, kJazz + QStringLiteral(" -connect private -NoSpy")},
    };
    for (const Row& row : rows) {
        sandbox.starter().clear();
        openJoin(QString::fromLatin1(row.address), row.tsCheck);
        platform::setCheckValue(window().chSpy, row.spy);
        click(window().Command8);
        EXPECT_EQ(started(), QStringList{row.line});
        EXPECT_EQ(window().status().text(), QStringLiteral("Status: Launching Jazz2 via Server List"));
        EXPECT_EQ(page(), QStringLiteral("join"));
    }
}

TEST_F(Finish, JoinToAPrivateServerStartsNothing) {
    openJoin(QStringLiteral("Private"), 0);
    click(window().Command8);
    EXPECT_TRUE(started().isEmpty());
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Launching Jazz2 via Server List"));
}

TEST_F(Finish, AFailedStartSaysWhyAndChangesNothingElse) {
    using Outcome = platform::StartResult::Outcome;
    storePaths(kJazz, QStringLiteral("1.24"));
    struct Row {
        platform::StartResult result;
        QString text;
    };
    const Row rows[] = {
        {{Outcome::NoProgram, {}, {}},
         QStringLiteral("Could not find a program to start in: 1.24 -connect 10.0.0.1 -NoSpy")},
        {{Outcome::NoWine, QStringLiteral("/g/Jazz2.exe"), {}},
         QStringLiteral("Wine is needed to start /g/Jazz2.exe. Install Wine and try again.")},
        {{Outcome::Failed, QStringLiteral("/usr/bin/wine"), QStringLiteral("Permission denied")},
         QStringLiteral("Could not start /usr/bin/wine: Permission denied")},
    };
    for (const Row& row : rows) {
        sandbox.dialogs().clear();
        sandbox.starter().setResult(row.result);
        openJoin(QStringLiteral("10.0.0.1"), 1);
        click(window().Command8);
        EXPECT_EQ(started(), QStringList{QStringLiteral("1.24 -connect 10.0.0.1 -NoSpy")});
        EXPECT_EQ(sandbox.dialogs().messages(), QStringList{row.text});
        EXPECT_EQ(sandbox.dialogs().shown().back().title, QStringLiteral("Error"));
        EXPECT_EQ(window().status().text(),
                  QStringLiteral("Status: Launching Jazz2 via Server List"));
        EXPECT_EQ(page(), QStringLiteral("join"));
        sandbox.starter().clear();
    }
}

TEST_F(Finish, FinishReloadsThePathsFromTheStore) {
    openJoin(QStringLiteral("10.0.0.1"), 0);
    window().path = QStringLiteral("/browsed/but/cancelled.exe");
    window().jpath = QStringLiteral("/browsed/but/cancelled.exe");
    click(window().Command8);
    EXPECT_EQ(started(), QStringList{kJazz + QStringLiteral(" -connect 10.0.0.1 -NoSpy")});
    EXPECT_EQ(window().jpath, kJazz);
}

TEST_F(Finish, BeforeThePathsWereAcceptedTheDialogOpensAndTheStartIsStillTried) {
    support::Sandbox& s = sandbox;
    s.settings().SaveSetting(QStringLiteral("Jazz2 Location"), QString());
    openJoin(QStringLiteral("10.0.0.1"), 0);
    window().Timer5->stop();
    sandbox.starter().setResult(false);
    click(window().Command8);
    EXPECT_EQ(started(), QStringList{QStringLiteral(" -connect 10.0.0.1 -NoSpy")});
    ASSERT_NE(window().gamePathDialog(), nullptr);
    EXPECT_FALSE(window().isEnabled());
    EXPECT_TRUE(sandbox.dialogs().shown().empty()); // the dialog is the answer

    // On the serve page the dialog opens halfway down the main window.
    window().gamePathDialog()->Command2_Click();
    window().ShowChoicePage();
    window().opServ_DblClick();
    window().move(40, 300);
    window().Command8_Click();
    ASSERT_NE(window().gamePathDialog(), nullptr);
    const QRect main = window().frameGeometry();
    EXPECT_NEAR(window().gamePathDialog()->frameGeometry().top(),
                main.top() + main.height() / 2 - window().gamePathDialog()->frameGeometry().height() / 2, 1);
}

TEST_F(Finish, ServeBuildsTheOrdinaryAndCoopLines) {
    openServe();
    ServePage& serve = *window().Frame2;
    serve.Text3->setText(QStringLiteral("10"));
    serve.Text1->setText(QStringLiteral("16"));
    serve.Level->setText(QStringLiteral("battle1.j2l"));
    platform::setCheckValue(serve.Check2, 0); // unlisted: no status text
    const QString before = window().status().text();
    click(window().Command8);
    EXPECT_EQ(started(), QStringList{kJazz + QStringLiteral(" -server -Battle -Counts 10 -Maxplayers 16 battle1.j2l -NoSpy")});
    EXPECT_EQ(window().MaxPlayersArg, QStringLiteral("16"));
    EXPECT_EQ(window().status().text(), before);

    // Coop with "medium", hosted with the 1.24 build, "Finish" twice: two starts.
    sandbox.starter().clear();
    serve.selectTab(2);
    serve.setOption2(1, true);
    serve.Text3->setText(QStringLiteral("10"));
    serve.Text1->setText(QStringLiteral("32"));
    serve.Level->setText(QStringLiteral("coop1.j2l"));
    platform::setCheckValue(serve.Check1, 1);
    click(window().Command8);
    click(window().Command8);
    const QString coop = kTsf + QStringLiteral(" -server -Coop -medium -Counts 10 -Maxplayers 32 coop1.j2l -NoSpy");
    EXPECT_EQ(started(), (QStringList{coop, coop}));
    EXPECT_EQ(page(), QStringLiteral("serve"));
}

TEST_F(Finish, AListedServeStillStartsTheGame) {
    openServe();
    ServePage& serve = *window().Frame2;
    platform::setCheckValue(serve.Check2, 1);
    serve.Text1->setText(QStringLiteral("8"));
    click(window().Command8);
    ASSERT_EQ(started().size(), 1);
    EXPECT_TRUE(started().front().startsWith(kJazz + QStringLiteral(" -server -Battle -Counts ")));
    EXPECT_TRUE(started().front().contains(QStringLiteral(" -Maxplayers 8 ")));
}

TEST_F(Finish, AListedServeWhoseGameDidNotStartIsWithdrawnAtOnce) {
    openServe();
    platform::setCheckValue(window().Frame2->Check2, 1);
    sandbox.starter().setResult(false);
    click(window().Command8);
    ASSERT_EQ(started().size(), 1);
    Listing& listing = window().listing();
    EXPECT_TRUE(QTest::qWaitFor([&] { return listing.window() == nullptr; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return listing.Winsock1->state() == QAbstractSocket::UnconnectedState; }, 2000));
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Server Delisted"));
    EXPECT_EQ(
        sandbox.dialogs().messages(),
        QStringList{QStringLiteral("Could not find a program to start in: ") + started().front()});
}

TEST_F(Finish, AGreyedTsfOrListBoxStartsNothing) {
    openServe();
    platform::setCheckValue(window().Frame2->Check1, 2);
    click(window().Command8);
    platform::setCheckValue(window().Frame2->Check1, 0);
    platform::setCheckValue(window().Frame2->Check2, 2);
    click(window().Command8);
    EXPECT_TRUE(started().isEmpty());
}

} // namespace
