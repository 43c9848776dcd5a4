#include "launcher/game_path_dialog.h"
#include "launcher/serve_page.h"
#include "platform/gui/check_value.h"
#include "support/main_window_fixture.h"

namespace {

const QString kOn = QStringLiteral("Status: Spy Window Toggled to ON");
const QString kOff = QStringLiteral("Status: Spy Window Toggled to OFF");

class OptionMenus : public support::MainWindowTest {
protected:
    void SetUp() override { storePaths(); }
    support::FakeNativePopupMenu& menus() { return sandbox.popupMenu(); }
    QPoint lastClientPos() { return window().mapFromGlobal(menus().shown().back().topLeft); }
    static QString marked(const char* mark, const char* caption) {
        const QString c = QString::fromLatin1(caption);
        return QByteArray(mark) == "[x]" ? QStringLiteral("[x] ") + c : c;
    }
    QStringList gameOptions(const char* spyMark) const {
        return {marked(spyMark, "Spy Window"), QStringLiteral("-"),
                QStringLiteral("Change Jazz2 Paths")};
    }
    QStringList serveOptions(const char* listMark, const char* tsfMark) const {
        return {marked(listMark, "List Server"), marked(tsfMark, "TSF")};
    }
    ServePage& openServe() {
        open();
        doubleClick(window().opServ);
        return *window().Frame2;
    }
};

TEST_F(OptionMenus, SpyWindowTurnsTheSpyStateOnAndOffWithMarksThatFollowIt) {
    open();
    menus().choose(QStringLiteral("Spy Window"));
    click(window().Command14);
    EXPECT_EQ(menus().lastItems(), gameOptions("[ ]"));
    EXPECT_EQ(window().spyValue(), 1);
    EXPECT_EQ(window().status().text(), kOn);

    menus().choose(QStringLiteral("Spy Window"));
    click(window().Command14);
    EXPECT_EQ(menus().lastItems(), gameOptions("[x]"));
    EXPECT_EQ(window().spyValue(), 0);
    EXPECT_EQ(window().status().text(), kOff);

    // Dismissed: nothing changes.
    window().status().setText(QStringLiteral("Status: List Loaded"));
    menus().dismiss();
    click(window().Command14);
    EXPECT_EQ(menus().lastItems(), gameOptions("[ ]"));
    EXPECT_EQ(window().spyValue(), 0);
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: List Loaded"));
    EXPECT_EQ(menus().shown().size(), 3u);

    // The state reaches the game's command line and the store.
    click(window().Command8);
    EXPECT_EQ(window().SpySwitch, QStringLiteral(" -NoSpy"));
}

TEST_F(OptionMenus, AGreyedSpyStateShowsNoMarkAndTurnsOn) {
    sandbox.settings().SaveSetting(QStringLiteral("Spy"), QStringLiteral("2"));
    open();
    ASSERT_EQ(window().spyValue(), 2);
    EXPECT_EQ(window().status().text(), QStringLiteral("Status: Program Loaded"));
    menus().choose(QStringLiteral("Spy Window"));
    click(window().Command14);
    EXPECT_EQ(menus().lastItems(), gameOptions("[ ]"));
    EXPECT_EQ(window().spyValue(), 1);
    EXPECT_EQ(window().status().text(), kOn);
    click(window().Command7); // "Cancel" stores the state the menu set
    EXPECT_EQ(sandbox.settings().GetSetting(QStringLiteral("Spy")), QStringLiteral("1"));
}

TEST_F(OptionMenus, ChangeJazz2PathsOpensThePathDialog) {
    open();
    menus().choose(QStringLiteral("Change Jazz2 Paths"));
    click(window().Command14);
    ASSERT_NE(window().gamePathDialog(), nullptr);
    EXPECT_TRUE(window().gamePathDialog()->isVisible());
    EXPECT_FALSE(window().isEnabled());
    EXPECT_EQ(window().spyValue(), 0);
}

TEST_F(OptionMenus, MenusOpenUnderTheirButtons) {
    open();
    menus().dismiss();
    click(window().Command14);
    // 15 twips left of the button, flush with its bottom edge.
    EXPECT_EQ(lastClientPos(), QPoint((1440 - 15) / 15, (3840 + 375) / 15));
    EXPECT_EQ(menus().shown().back().owner, &window());

    doubleClick(window().opServ);
    menus().dismiss();
    click(window().Frame2->Command11);
    EXPECT_EQ(lastClientPos(), QPoint((3480 + 2400) / 15, (3120 + 375 + 120) / 15));
}

TEST_F(OptionMenus, ServeOptionsFlipTheirBoxesAndMarkThemAtTheNextOpening) {
    ServePage& serve = openServe();
    ASSERT_EQ(platform::checkValue(serve.Check1), 0);
    ASSERT_EQ(platform::checkValue(serve.Check2), 1);

    menus().choose(QStringLiteral("List Server"));
    click(serve.Command11);
    EXPECT_EQ(menus().lastItems(), serveOptions("[x]", "[ ]"));
    EXPECT_EQ(platform::checkValue(serve.Check2), 0);

    menus().choose(QStringLiteral("TSF"));
    click(serve.Command11);
    EXPECT_EQ(menus().lastItems(), serveOptions("[ ]", "[ ]"));
    EXPECT_EQ(platform::checkValue(serve.Check1), 1);
    EXPECT_EQ(platform::checkValue(serve.Check2), 0);

    menus().choose(QStringLiteral("TSF"));
    click(serve.Command11);
    EXPECT_EQ(menus().lastItems(), serveOptions("[ ]", "[x]"));
    EXPECT_EQ(platform::checkValue(serve.Check1), 0);

    menus().dismiss();
    click(serve.Command11);
    EXPECT_EQ(menus().lastItems(), serveOptions("[ ]", "[ ]"));
    EXPECT_EQ(platform::checkValue(serve.Check1), 0);
    EXPECT_EQ(platform::checkValue(serve.Check2), 0);

    // What the menu set is what the page stores.
    menus().choose(QStringLiteral("TSF"));
    click(serve.Command11);
    click(window().Command7);
    EXPECT_EQ(sandbox.settings().GetSetting(QStringLiteral("Version")), QStringLiteral("1"));
    EXPECT_EQ(sandbox.settings().GetSetting(QStringLiteral("List")), QStringLiteral("0"));
}

TEST_F(OptionMenus, AGreyedServeOptionKeepsTheMarkOfTheLastOpening) {
    ServePage& serve = openServe();
    menus().dismiss();
    click(serve.Command11); // marks: List Server set, TSF clear
    platform::setCheckValue(serve.Check2, 2);
    platform::setCheckValue(serve.Check1, 2);
    menus().choose(QStringLiteral("List Server"));
    click(serve.Command11);
    EXPECT_EQ(menus().lastItems(), serveOptions("[x]", "[ ]"));
    EXPECT_EQ(platform::checkValue(serve.Check2), 0); // the kept mark was set
    menus().choose(QStringLiteral("TSF"));
    click(serve.Command11);
    EXPECT_EQ(menus().lastItems(), serveOptions("[ ]", "[ ]"));
    EXPECT_EQ(platform::checkValue(serve.Check1), 1); // the kept mark was clear
}

} // namespace
