#include "addons/addon_editor.h"
#include "addons/addon_starter.h"
#include "support/main_window_fixture.h"

#include <QListWidget>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;
using support::MainWindowTest;

class AddonsButton : public MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        open();
    }
    void storeAddons(const QString& setting) {
        sandbox.settings().SaveSetting(u"Addons"_s, setting);
    }
    // Clicks "Add-ons"; the popup answers with item `choice` (0: dismissed).
    QStringList clickAddons(int choice = 0) {
        sandbox.popupMenu().choose(choice);
        click(window().Command20);
        return sandbox.popupMenu().lastItems();
    }
    QStringList starterPaths() const { return m_window->addonStarter().List2; }
    AddonEditor* editor() { return window().addonStarter().editor(); }
};

TEST_F(AddonsButton, OffersOnlyTheAddonsWhoseFilesExistInListOrder) {
    const QString chat = sandbox.makeFile(u"tools/chat.exe"_s);
    const QString map = sandbox.makeFile(u"my tools/map editor.exe"_s);
    const QString plain = sandbox.makeFile(u"tools/plain.exe"_s);
    const QString gone = sandbox.tempPath(u"tools/gone.exe"_s);
    struct Row {
        QString setting;
        QStringList items;
        QStringList paths;
    };
    const Row rows[] = {
        {QString(), {u"Menu Configuration"_s, u"-"_s, u"(Please Configure Addons)"_s}, {}},
        {u"Gone|"_s + gone + u"@Also gone|/no/such.exe@"_s, {u"Menu Configuration"_s, u"-"_s}, {}},
        {u"Gone|"_s + gone + u"@Map|"_s + map + u"@"_s,
         {u"Menu Configuration"_s, u"-"_s, u"Map"_s},
         {map}},
        // without "|" the whole entry is caption and path; a leading "|" gives an empty caption
        {plain + u"@|"_s + chat + u"@Chat|"_s + chat,
         {u"Menu Configuration"_s, u"-"_s, plain, QString(), u"Chat"_s},
         {plain, chat, chat}},
        // only "@": not empty, but no entries either
        {u"@@"_s, {u"Menu Configuration"_s, u"-"_s}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setting.toStdString());
        storeAddons(row.setting);
        EXPECT_EQ(clickAddons(), row.items);
        EXPECT_EQ(starterPaths(), row.paths);
    }
    EXPECT_TRUE(sandbox.starter().lines().isEmpty());
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(AddonsButton, StartsTheChosenAddonByItsPathAlone) {
    const QString map = sandbox.makeFile(u"my tools/map editor.exe"_s);
    const QString chat = sandbox.makeFile(u"tools/chat.exe"_s);
    storeAddons(u"Gone|/no/such.exe@Map|"_s + map + u"@Chat|"_s + chat + u"@"_s);
    clickAddons(4);
    EXPECT_EQ(sandbox.starter().lines(), QStringList{chat});
    clickAddons(3);
    EXPECT_EQ(sandbox.starter().lines(), (QStringList{chat, map}));

    // A start that fails says why.
    sandbox.starter().setResult(false);
    clickAddons(3);
    EXPECT_EQ(sandbox.starter().lines().size(), 3);
    EXPECT_EQ(sandbox.dialogs().messages(),
              QStringList{u"Could not find a program to start in: "_s + map});
}

TEST_F(AddonsButton, OpensTheMenuJustBelowTheButton) {
    clickAddons();
    const auto& shown = sandbox.popupMenu().shown().back();
    EXPECT_EQ(shown.topLeft,
              window().Command20->mapToGlobal(QPoint(0, window().Command20->height())));
    EXPECT_EQ(shown.owner, &window());
}

TEST_F(AddonsButton, MenuConfigurationLoadsTheEditorOnceAndShowsItAgain) {
    const QString chat = sandbox.makeFile(u"tools/chat.exe"_s);
    storeAddons(u"Chat|"_s + chat + u"@"_s);
    clickAddons(1);
    AddonEditor* first = editor();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->List2->count(), 1);
    EXPECT_TRUE(window().isEnabled()); // modeless

    // While it is open the popup shows the saved list, and the editor is not read again.
    first->List2->addItem(u"Edited|"_s + chat);
    first->hide();
    EXPECT_EQ(clickAddons(1), (QStringList{u"Menu Configuration"_s, u"-"_s, u"Chat"_s}));
    EXPECT_EQ(editor(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->List2->count(), 2);

    // Once closed, the next "Menu Configuration" loads a fresh one from the setting.
    click(first->Command6);
    EXPECT_EQ(editor(), nullptr);
    clickAddons(1);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->List2->count(), 1);
}

TEST_F(AddonsButton, SavedChangesShowAtTheNextClick) {
    const QString chat = sandbox.makeFile(u"tools/chat.exe"_s);
    clickAddons(1);
    ASSERT_NE(editor(), nullptr);
    sandbox.dialogs().answerOpenFile(chat);
    click(editor()->Command2);
    editor()->Text1->setText(u"Chat"_s);
    click(editor()->Command1);
    click(editor()->Command5);
    EXPECT_EQ(clickAddons(3), (QStringList{u"Menu Configuration"_s, u"-"_s, u"Chat"_s}));
    EXPECT_EQ(sandbox.starter().lines(), QStringList{chat});
}

} // namespace
