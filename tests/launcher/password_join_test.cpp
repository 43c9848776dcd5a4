#include "launcher/game_path_dialog.h"
#include "online/join_page.h"
#include "online/password_dialog.h"
#include "online/server_table_view.h"
#include "platform/gui/check_value.h"
#include "protocol/server_table_model.h"
#include "support/main_window_fixture.h"

#include <QApplication>
#include <QTest>

namespace {

constexpr int kWait = 5000; // ms; every wait is bounded

const QString kJazz = QStringLiteral("/games/Jazz 2/Jazz2.exe");
const QString kTsf = QStringLiteral("/games/Jazz2 TSF/Jazz2+.exe");

// Private servers, all at the sandbox's own game server, one per version.
const QByteArray kPrivateList = "127.0.0.1:10052 local private battle 1.24   4 [1/8] Plain\r\n"
                                "127.0.0.1:10052 local private ctf 1.24 x 4 [1/8] Plus\r\n"
                                "127.0.0.1:10052 local private ctf 1.24 s 4 [1/8] Special\r\n"
                                "127.0.0.1:10052 local private battle 1.23   4 [1/8] Older\r\n";

PasswordDialog* loadedForm9() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("Form9"))
            return qobject_cast<PasswordDialog*>(w);
    return nullptr;
}

class PasswordJoin : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths(kJazz, kTsf);
        sandbox.listServer().serve({kPrivateList});
        open();
        window().Timer5->stop();
        doubleClick(window().opJoin);
        ASSERT_TRUE(QTest::qWaitFor([&] { return join().serverTable().rowCount() == 4; }, kWait));
    }

    JoinPage& join() { return *window().Frame1; }
    void selectRow(int row) {
        join().ListView1->selectRow(row);
        join().ShowSelectedServer();
    }
    // "Finish" on the join page; the password window it opened.
    PasswordDialog* finish() {
        click(window().Command8);
        return loadedForm9();
    }
};

TEST_F(PasswordJoin, APrivateServerIsJoinedOnceItAcceptsThePassword) {
    platform::setCheckValue(window().chSpy, 1);
    selectRow(0);
    ASSERT_EQ(join().Text4->text(), QStringLiteral("Private"));
    PasswordDialog* form9 = finish();
    ASSERT_NE(form9, nullptr);
    EXPECT_TRUE(form9->isVisible());
    EXPECT_EQ(form9->IP, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(form9->Version, kTsf);
    EXPECT_TRUE(sandbox.starter().lines().isEmpty());
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Launching Jazz2 via Server List"));

    sandbox.passwordServer().accept();
    form9->Text1->setText(QStringLiteral("carrot"));
    QTest::mouseClick(form9->Command1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([] { return loadedForm9() == nullptr; }, kWait));
    EXPECT_EQ(sandbox.passwordServer().received(), QByteArrayList{*PasswordDatagram("carrot")});
    // The spy window is on, yet this line carries no spy switch.
    EXPECT_EQ(sandbox.starter().lines(), QStringList{kTsf + QStringLiteral(" -connect 127.0.0.1")});
}

TEST_F(PasswordJoin, OnlyAPlain124RowGetsThe124Executable) {
    const struct {
        int row;
        QString executable;
    } rows[] = {{0, kTsf}, {1, kJazz}, {2, kJazz}, {3, kJazz}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        selectRow(row.row);
        PasswordDialog* form9 = finish();
        ASSERT_NE(form9, nullptr);
        EXPECT_EQ(form9->Version, row.executable);
    }
}

TEST_F(PasswordJoin, WithoutASelectedRowTheVersionTestCountsAsPassed) {
    join().ListView1->clearSelection();
    join().Text4->setText(QStringLiteral("Private"));
    PasswordDialog* form9 = finish();
    ASSERT_NE(form9, nullptr);
    EXPECT_EQ(form9->Version, kTsf);
    EXPECT_EQ(form9->IP, QStringLiteral("Text5")); // no row ever filled it
}

TEST_F(PasswordJoin, OpeningAgainKeepsThePasswordAndTheLastResult) {
    sandbox.passwordServer().reject();
    selectRow(0);
    PasswordDialog* form9 = finish();
    ASSERT_NE(form9, nullptr);
    form9->Text1->setText(QStringLiteral("guess"));
    QTest::mouseClick(form9->Command1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return form9->windowTitle() == QStringLiteral("SWP: Rejected"); }, kWait));

    selectRow(3);
    EXPECT_EQ(finish(), form9);
    EXPECT_EQ(form9->windowTitle(), QStringLiteral("SWP: Rejected"));
    EXPECT_EQ(form9->Text1->text(), QStringLiteral("guess"));
    EXPECT_EQ(form9->Version, kJazz);
}

TEST_F(PasswordJoin, TheWindowStaysUsableWhileTheMainWindowIsDisabled) {
    sandbox.settings().SaveSetting(QStringLiteral("Jazz2 TSF Location"), QString());
    selectRow(0);
    PasswordDialog* form9 = finish();
    ASSERT_NE(window().gamePathDialog(), nullptr);
    EXPECT_FALSE(window().isEnabled());
    ASSERT_NE(form9, nullptr);
    EXPECT_TRUE(form9->isEnabled());
    EXPECT_TRUE(form9->Command1->isEnabled());
}

} // namespace
