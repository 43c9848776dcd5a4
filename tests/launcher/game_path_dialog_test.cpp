#include "common/timing.h"
#include "launcher/game_path_dialog.h"
#include "support/main_window_fixture.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {

using support::MainWindowTest;

class GamePaths : public MainWindowTest {
protected:
    GamePathDialog* dialog() { return window().gamePathDialog(); }
    GamePathDialog& waitForDialog() {
        [&] { QTRY_VERIFY_WITH_TIMEOUT(dialog() != nullptr, 2000); }();
        return *dialog();
    }
    void accept(const QString& location, const QString& tsf) {
        dialog()->JazzPath->setText(location);
        dialog()->JazzPathTSF->setText(tsf);
        click(dialog()->Command3);
    }
    QString stored(const char* key) {
        return sandbox.settings().GetSetting(QString::fromLatin1(key), QStringLiteral("(missing)"));
    }
};

TEST_F(GamePaths, FirstRunOpensTheDialogAfterLoadAndDisablesTheWindow) {
    open();
    EXPECT_EQ(dialog(), nullptr); // not at once: 250 ms after load
    GamePathDialog& d = waitForDialog();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(window().isEnabled());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Welcome to Quillmere"));
    EXPECT_EQ(d.JazzPath->text(), QStringLiteral("1.21, 1.22, or 1.23"));
    EXPECT_EQ(d.JazzPathTSF->text(), QStringLiteral("1.24"));
    EXPECT_EQ(window().jpath, QString());
    EXPECT_EQ(window().path, QString());
    EXPECT_FALSE(window().Timer5->isActive());
}

TEST_F(GamePaths, EitherMissingPathOpensTheDialogButHintTextsDoNot) {
    struct Row {
        const char* location;
        const char* tsf;
        bool opens;
    };
    const Row rows[] = {{"/g/jazz2.exe", nullptr, true},
                        {nullptr, "/g/tsf.exe", true},
                        {"", "/g/tsf.exe", true},
                        {"1.21, 1.22, or 1.23", "/g/tsf.exe", false},
                        {"/g/jazz2.exe", "1.24", false}};
    for (const Row& row : rows) {
        support::Sandbox fresh;
        if (row.location)
            fresh.settings().SaveSetting(QStringLiteral("Jazz2 Location"), QString::fromLatin1(row.location));
        if (row.tsf)
            fresh.settings().SaveSetting(QStringLiteral("Jazz2 TSF Location"), QString::fromLatin1(row.tsf));
        MainWindow w(fresh.services());
        w.Timer5_Timer();
        EXPECT_EQ(w.gamePathDialog() != nullptr, row.opens) << row.location << " / " << row.tsf;
        EXPECT_EQ(w.isEnabled(), !row.opens);
        EXPECT_EQ(w.path, QString::fromLatin1(row.location ? row.location : ""));
        EXPECT_EQ(w.jpath, w.path);
    }
}

TEST_F(GamePaths, AcceptWithNoValidFileSavesNothingAndKeepsTheDialog) {
    open();
    waitForDialog();
    accept(QStringLiteral("/no/such/jazz2.exe"), QString());
    EXPECT_EQ(sandbox.dialogs().messages(),
              QStringList{QStringLiteral("Please enter your Jazz Jackrabbit 2 path.")});
    EXPECT_EQ(sandbox.dialogs().shown().back().title, QStringLiteral("Quillmere"));
    EXPECT_EQ(dialog()->JazzPath->text(), QStringLiteral("1.21, 1.22, or 1.23"));
    EXPECT_EQ(dialog()->JazzPathTSF->text(), QStringLiteral("1.24"));
    EXPECT_EQ(stored("Jazz2 Location"), QStringLiteral("(missing)"));
    EXPECT_EQ(stored("Jazz2 TSF Location"), QStringLiteral("(missing)"));
    EXPECT_FALSE(window().isEnabled());
    QTest::qWait(60); // longer than the scaled close delay: the dialog must stay
    ASSERT_NE(dialog(), nullptr);
    EXPECT_TRUE(dialog()->isVisible());
}

TEST_F(GamePaths, AcceptWithOnlyTheTsfFileStoresTheHintAndHandsOverBeforeClosing) {
    const QString tsf = sandbox.makeFile(QStringLiteral("Jazz2 TSF/Jazz2+.exe"));
    open();
    waitForDialog();
    accept(QStringLiteral("1.21, 1.22, or 1.23"), tsf);

    EXPECT_TRUE(window().isEnabled());
    EXPECT_EQ(stored("Jazz2 Location"), QStringLiteral("1.21, 1.22, or 1.23"));
    EXPECT_EQ(stored("Jazz2 TSF Location"), tsf);
    EXPECT_EQ(window().jpath, QStringLiteral("1.21, 1.22, or 1.23"));
    EXPECT_EQ(window().path, QStringLiteral("1.21, 1.22, or 1.23"));
    EXPECT_EQ(window().TSFPath, QString()); // taken over only when Timer6 runs

    // The main window takes the 1.24 path while the dialog is still there, then it closes.
    bool dialogWasLoaded = false;
    QObject::connect(window().Timer6, &QTimer::timeout, &window(),
                     [&] { dialogWasLoaded = dialog() != nullptr; });
    QTRY_COMPARE_WITH_TIMEOUT(window().TSFPath, tsf, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(dialog() == nullptr, 2000);
    EXPECT_TRUE(dialogWasLoaded);

    // At the next start neither setting is empty, so the dialog does not open.
    open();
    window().Timer5_Timer();
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(window().TSFPath, tsf);
}

TEST_F(GamePaths, AcceptTakesAnyExistingEntryAsTyped) {
    sandbox.makeFile(QStringLiteral("games/readme.txt"));
    const QString folder = sandbox.tempPath(QStringLiteral("games"));
    const QString inputs[] = {folder, folder + QStringLiteral("/*.txt"),
                              folder + QStringLiteral("/readme.txt")};
    for (const QString& typed : inputs) {
        open();
        window().OpenPathDialog(false);
        accept(typed, QStringLiteral("/nowhere/tsf.exe"));
        EXPECT_EQ(stored("Jazz2 Location"), typed);
        EXPECT_EQ(stored("Jazz2 TSF Location"), QStringLiteral("1.24"));
        EXPECT_EQ(window().jpath, typed);
    }
}

TEST_F(GamePaths, CancelAtFirstRunSavesNothingAndEnablesTheWindow) {
    open();
    waitForDialog();
    click(dialog()->Command2);
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_TRUE(window().isEnabled());
    EXPECT_EQ(stored("Jazz2 Location"), QStringLiteral("(missing)"));
    EXPECT_EQ(stored("Jazz2 TSF Location"), QStringLiteral("(missing)"));
}

TEST_F(GamePaths, ClosingTheDialogByItsFrameActsAsCancel) {
    open();
    waitForDialog().close();
    EXPECT_TRUE(window().isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(dialog() == nullptr, 2000);
}

TEST_F(GamePaths, BrowseHandsTheFileToTheMainWindowEvenWhenCancelledLater) {
    storePaths(QStringLiteral("/stored/jazz2.exe"), QStringLiteral("/stored/tsf.exe"));
    open();
    window().mnuChangeJj2Paths_Click();
    ASSERT_NE(dialog(), nullptr);
    EXPECT_FALSE(window().isEnabled());
    EXPECT_EQ(dialog()->JazzPath->text(), QStringLiteral("/stored/jazz2.exe"));
    EXPECT_EQ(dialog()->JazzPathTSF->text(), QStringLiteral("/stored/tsf.exe"));

    sandbox.dialogs().answerOpenFile(QStringLiteral("/browsed/Jazz2.exe"));
    click(dialog()->Command1);
    const auto& asked = sandbox.dialogs().shown().back();
    EXPECT_EQ(asked.title, QStringLiteral("Select Jazz2 Path"));
    EXPECT_EQ(asked.filter, QStringLiteral("Jazz2 Executable [*.exe]|*.exe"));
    EXPECT_EQ(asked.initialFolder, QString());
    EXPECT_EQ(dialog()->JazzPath->text(), QStringLiteral("/browsed/Jazz2.exe"));
    EXPECT_EQ(window().jpath, QStringLiteral("/browsed/Jazz2.exe"));
    EXPECT_EQ(window().path, QStringLiteral("/browsed/Jazz2.exe"));

    // The 1.24 browse fills its own box only; a cancelled browse changes nothing.
    sandbox.dialogs().answerOpenFile(QStringLiteral("/browsed/Jazz2+.exe"));
    click(dialog()->Command4);
    EXPECT_EQ(dialog()->JazzPathTSF->text(), QStringLiteral("/browsed/Jazz2+.exe"));
    EXPECT_EQ(window().TSFPath, QStringLiteral("/stored/tsf.exe"));
    click(dialog()->Command1);
    EXPECT_EQ(dialog()->JazzPath->text(), QStringLiteral("/browsed/Jazz2.exe"));

    click(dialog()->Command2);
    EXPECT_EQ(window().path, QStringLiteral("/browsed/Jazz2.exe"));
    EXPECT_EQ(stored("Jazz2 Location"), QStringLiteral("/stored/jazz2.exe"));
}

TEST_F(GamePaths, CentredOpeningPutsTheDialogHalfwayDownTheMainWindow) {
    storePaths();
    open();
    window().move(100, 200);
    window().OpenPathDialog(true);
    ASSERT_NE(dialog(), nullptr);
    const QRect main = window().frameGeometry();
    const int expectedTop = main.top() + main.height() / 2 - dialog()->frameGeometry().height() / 2;
    EXPECT_NEAR(dialog()->frameGeometry().top(), expectedTop, 1);
}

TEST_F(GamePaths, ADialogOpenedAgainBeforeItClosesStays) {
    const QString tsf = sandbox.makeFile(QStringLiteral("Jazz2 TSF/Jazz2+.exe"));
    storePaths();
    open();
    window().mnuChangeJj2Paths_Click();
    accept(QStringLiteral("1.21, 1.22, or 1.23"), tsf);
    window().mnuChangeJj2Paths_Click(); // within the 200 ms before "Accept" closes it

    QTimer past; // runs out well after the close would have happened
    past.setSingleShot(true);
    QSignalSpy ran(&past, &QTimer::timeout);
    past.start(timing::scaled(400));
    ASSERT_TRUE(ran.wait(2000));
    ASSERT_NE(dialog(), nullptr);
    EXPECT_TRUE(dialog()->isVisible());
    EXPECT_FALSE(window().isEnabled());
    EXPECT_EQ(window().TSFPath, tsf); // the hand-over still happened
    click(dialog()->Command2);
    EXPECT_TRUE(window().isEnabled());
}

TEST_F(GamePaths, SettingsThatCannotBeStoredAreSaidOncePerAction) {
    const QString tsf = sandbox.makeFile(QStringLiteral("Jazz2 TSF/Jazz2+.exe"));
    storePaths();
    open();
    window().Timer5->stop();
    // The store's folder becomes a plain file: no write goes through.
    QDir(sandbox.tempPath(QStringLiteral("config"))).removeRecursively();
    sandbox.makeFile(QStringLiteral("config"));
    const QStringList once{QStringLiteral("Sorry, the settings could not be saved.")};

    for (QRadioButton* option : {window().opServ, window().opChar}) {
        sandbox.dialogs().clear();
        doubleClick(option);
        click(window().Command7); // "< Back" stores the page
        EXPECT_EQ(sandbox.dialogs().messages(), once) << option->objectName().toStdString();
    }
    sandbox.dialogs().clear();
    window().mnuChangeJj2Paths_Click();
    accept(QStringLiteral("1.21, 1.22, or 1.23"), tsf);
    EXPECT_EQ(sandbox.dialogs().messages(), once);
    EXPECT_EQ(sandbox.dialogs().shown().back().title, QStringLiteral("Error"));
}

} // namespace
