#include "launcher/character_page.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"
#include "platform/gui/check_value.h"
#include "support/main_window_fixture.h"

#include <QStatusBar>
#include <QTest>

namespace {

using support::MainWindowTest;

class Wizard : public MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        open();
    }
    QString captions() const {
        return m_window->Command7->text() + u'|' + m_window->Command8->text();
    }
    bool optionsShown() const {
        return visibleFlag(m_window->opServ) && visibleFlag(m_window->opJoin) &&
               visibleFlag(m_window->opChar);
    }
    QString selected() const {
        if (m_window->opServ->isChecked())
            return QStringLiteral("serve");
        if (m_window->opJoin->isChecked())
            return QStringLiteral("join");
        return m_window->opChar->isChecked() ? QStringLiteral("character") : QStringLiteral("none");
    }
};

TEST_F(Wizard, OpensOnTheFirstPageWithServeSelected) {
    EXPECT_EQ(page(), QStringLiteral("first"));
    EXPECT_EQ(selected(), QStringLiteral("serve"));
    EXPECT_EQ(captions(), QStringLiteral("Cancel|Next >"));
    EXPECT_TRUE(optionsShown());
    EXPECT_FALSE(visibleFlag(window().chSpy));
    EXPECT_EQ(visiblePictures(), QStringLiteral("imgQuillmere"));
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Program Loaded"));
    EXPECT_EQ(window().findChild<QLabel*>(QStringLiteral("StatText"))->text(),
              QStringLiteral("Status: Program Loaded"));
    EXPECT_EQ(window().SpySwitch, QString());
    EXPECT_EQ(window().size(), QSize(468, 292));
    // The status bar lies in front of the lowest pixels of the buttons above it and hides them,
    // its text whole.
    const QRect button = window().Command20->geometry();
    EXPECT_EQ(window().grab().toImage().pixelColor(button.center().x(), button.bottom()),
              window().Stat->palette().color(QPalette::Window));
    const QLabel* text = window().findChild<QLabel*>(QStringLiteral("StatText"));
    EXPECT_GE(text->height(), text->fontMetrics().height());
    EXPECT_TRUE(window().Stat->rect().contains(text->geometry()));
}

TEST_F(Wizard, NextAndDoubleClickOpenTheSelectedOptionsPage) {
    struct Row {
        QRadioButton* MainWindow::*option;
        const char* page;
        const char* pictures;
    };
    const Row rows[] = {
        {&MainWindow::opChar, "character", "imgQuillmere"},
        {&MainWindow::opJoin, "join", "imgJoin"},
        {&MainWindow::opServ, "serve", "imgBattle"},
    };
    for (const Row& row : rows) {
        for (bool byDoubleClick : {false, true}) {
            SCOPED_TRACE(std::string(row.page) + (byDoubleClick ? " double-click" : " next"));
            open();
            if (byDoubleClick) {
                doubleClick(window().*row.option);
            } else {
                click(window().*row.option);
                click(window().Command8);
            }
            EXPECT_EQ(page(), QString::fromLatin1(row.page));
            EXPECT_EQ(captions(), QStringLiteral("< Back|Finish"));
            EXPECT_FALSE(optionsShown());
            EXPECT_FALSE(visibleFlag(window().chSpy));
            EXPECT_EQ(visiblePictures(), QString::fromLatin1(row.pictures));
            EXPECT_TRUE((window().*row.option)->isChecked());
            // Opening a page finishes nothing: no game starts.
            EXPECT_EQ(sandbox.starter().lines(), QStringList());
        }
    }
}

TEST_F(Wizard, NextWithoutTouchingTheOptionsOpensTheServePage) {
    click(window().Command8);
    EXPECT_EQ(page(), QStringLiteral("serve"));
}

TEST_F(Wizard, BackReturnsToTheFirstPageWithThePagesOptionSelected) {
    for (QRadioButton* MainWindow::*option :
         {&MainWindow::opChar, &MainWindow::opJoin, &MainWindow::opServ}) {
        open();
        doubleClick(window().*option);
        // Another option selected behind the page's back must not survive "< Back".
        (window().*option == window().opServ ? window().opJoin : window().opServ)->setChecked(true);
        click(window().Command7);
        EXPECT_EQ(page(), QStringLiteral("first"));
        EXPECT_EQ(captions(), QStringLiteral("Cancel|Next >"));
        EXPECT_TRUE(optionsShown());
        EXPECT_EQ(visiblePictures(), QStringLiteral("imgQuillmere"));
        EXPECT_TRUE((window().*option)->isChecked()) << (window().*option)->objectName().toStdString();
        EXPECT_EQ(sandbox.endProgramCalls(), 0);
    }
}

TEST_F(Wizard, FinishOnTheCharacterPageReturnsToTheFirstPage) {
    doubleClick(window().opChar);
    click(window().Command8);
    EXPECT_EQ(page(), QStringLiteral("first"));
    EXPECT_EQ(captions(), QStringLiteral("Cancel|Next >"));
    EXPECT_EQ(selected(), QStringLiteral("character"));
    EXPECT_EQ(sandbox.endProgramCalls(), 0);
}

TEST_F(Wizard, FinishOnTheJoinAndServePagesKeepsThePageOpen) {
    for (QRadioButton* MainWindow::*option : {&MainWindow::opJoin, &MainWindow::opServ}) {
        open();
        doubleClick(window().*option);
        const QString opened = page();
        click(window().Command8);
        click(window().Command8);
        EXPECT_EQ(page(), opened);
        EXPECT_EQ(captions(), QStringLiteral("< Back|Finish"));
    }
}

TEST_F(Wizard, CancelStoresTheSpyStateAndEndsClosingStoresNothing) {
    platform::setCheckValue(window().chSpy, 1);
    click(window().Command7);
    EXPECT_EQ(sandbox.endProgramCalls(), 1);
    EXPECT_EQ(sandbox.settings().GetSetting(QStringLiteral("Spy")), QStringLiteral("1"));

    open();
    platform::setCheckValue(window().chSpy, 0);
    window().close();
    EXPECT_EQ(sandbox.endProgramCalls(), 2);
    EXPECT_EQ(sandbox.settings().GetSetting(QStringLiteral("Spy")), QStringLiteral("1"));
}

TEST_F(Wizard, SpyStateIsRestoredFromTheStore) {
    struct Row {
        const char* stored; // nullptr: missing
        int value;
        const char* status;
        const char* spySwitch;
    };
    const Row rows[] = {
        {"1", 1, "Status: Spy Window Toggled to ON", " -spy"},
        {"2", 2, "Status: Program Loaded", ""},
        {"0", 0, "Status: Program Loaded", " -NoSpy"},
        {nullptr, 0, "Status: Program Loaded", " -NoSpy"},
        {"", 0, "Status: Program Loaded", " -NoSpy"},
        {"x", 0, "Status: Program Loaded", " -NoSpy"},
        {"7", 0, "Status: Program Loaded", " -NoSpy"},
        {" 1 ", 1, "Status: Spy Window Toggled to ON", " -spy"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored ? row.stored : "(missing)");
        support::Sandbox fresh;
        fresh.settings().SaveSetting(QStringLiteral("Jazz2 Location"), QStringLiteral("x"));
        fresh.settings().SaveSetting(QStringLiteral("Jazz2 TSF Location"), QStringLiteral("y"));
        if (row.stored)
            fresh.settings().SaveSetting(QStringLiteral("Spy"), QString::fromLatin1(row.stored));
        MainWindow w(fresh.services());
        EXPECT_EQ(w.spyValue(), row.value);
        EXPECT_EQ(w.status().text(), QString::fromLatin1(row.status));
        w.Command8_Click();
        EXPECT_EQ(w.SpySwitch, QString::fromLatin1(row.spySwitch));
        // "Cancel" on the first page stores the state as it stands, greyed included.
        w.Command7_Click();
        w.Command7_Click();
        EXPECT_EQ(fresh.settings().GetSetting(QStringLiteral("Spy")), QString::number(row.value));
    }
}

TEST_F(Wizard, SpySwitchIsRecomputedOnEveryClick) {
    doubleClick(window().opJoin);
    EXPECT_EQ(window().SpySwitch, QStringLiteral(" -NoSpy"));
    platform::setCheckValue(window().chSpy, 1);
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Spy Window Toggled to ON"));
    click(window().Command8);
    EXPECT_EQ(window().SpySwitch, QStringLiteral(" -spy"));
    window().status().setText(QStringLiteral("Status: List Loaded"));
    platform::setCheckValue(window().chSpy, 2); // greyed: no message, and the switch stays
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: List Loaded"));
    click(window().Command8);
    EXPECT_EQ(window().SpySwitch, QStringLiteral(" -spy"));
    platform::setCheckValue(window().chSpy, 0);
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Spy Window Toggled to OFF"));
}

TEST_F(Wizard, ClickIntoTheAddressBoxBringsTheLogoBack) {
    doubleClick(window().opJoin);
    window().imgBattle->show();
    window().Text4_Click();
    EXPECT_EQ(page(), QStringLiteral("join"));
    EXPECT_EQ(visiblePictures(), QStringLiteral("imgJoin imgQuillmere"));
    // The logo lies above the join picture, so the logo is what the picture area shows.
    EXPECT_EQ(window().childAt(window().imgJoin->geometry().center()), window().imgQuillmere);
}

TEST_F(Wizard, StartUpPictureTimerShowsTheLogoOnce) {
    open(true);
    window().imgQuillmere->hide();
    window().imgBattle->show();
    ASSERT_TRUE(window().Timer2->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!window().Timer2->isActive(), 2000);
    EXPECT_EQ(visiblePictures(), QStringLiteral("imgQuillmere"));
}

TEST_F(Wizard, PagePanelsCoverTheWelcomeText) {
    doubleClick(window().opServ);
    const QPoint insideLabel = window().Label9->geometry().center();
    EXPECT_EQ(window().childAt(insideLabel)->window(), &window());
    EXPECT_NE(window().childAt(insideLabel), window().Label9);
}

} // namespace
