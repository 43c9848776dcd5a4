#include "addons/popup_creator.h"
#include "support/fake_popup_menu.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using support::FakeNativePopupMenu;

TEST(PopupCreator, BuildsTheFlagsOfEachItem) {
    struct Row {
        bool enabled, checked, separator;
        int flags;
    };
    const Row rows[] = {{true, false, false, 0},    {false, false, false, 3},
                        {true, true, false, 8},     {false, true, false, 11},
                        {true, false, true, 0x800}, {false, true, true, 0x800}};
    FakeNativePopupMenu native;
    PopupCreator popup(&native);
    for (const Row& row : rows)
        popup.AddMenu(u"item"_s, row.enabled, row.checked, row.separator);
    popup.OpenPopup(0, 0);
    const auto& items = native.shown().back().items;
    ASSERT_EQ(items.size(), std::size(rows));
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, int(i + 1));
        EXPECT_EQ(items[i].flags, rows[i].flags) << "item " << i + 1;
        EXPECT_EQ(items[i].caption, u"item"_s);
    }
}

TEST(PopupCreator, PlacesTheMenuAtFifteenTwipsPerPixelOrAtTheCursor) {
    struct Row {
        int x, y;
        QPoint at;
    };
    const QPoint cursor(640, 480);
    const Row rows[] = {{3000, 4515, {200, 301}}, {-2, 500, {0, 33}},  {-1, 500, cursor},
                        {500, -1, cursor},        {-1, -1, cursor},    {0, 0, {0, 0}},
                        {22, 23, {1, 2}},         {-15, -30, {-1, -2}}};
    for (const Row& row : rows) {
        FakeNativePopupMenu native;
        native.setCursorPosition(cursor);
        PopupCreator popup(&native);
        popup.AddMenu(u"a"_s, true, false, false);
        popup.OpenPopup(row.x, row.y);
        EXPECT_EQ(native.shown().back().topLeft, row.at) << row.x << ", " << row.y;
    }
}

TEST(PopupCreator, ReportsTheChoiceOfEveryOpeningAndZeroWhenDismissed) {
    FakeNativePopupMenu native;
    QWidget owner;
    PopupCreator popup(&native);
    popup.OwnerHwnd(&owner);
    EXPECT_EQ(popup.SelectedItem(), 0);
    popup.AddMenu(u"One"_s, true, false, false);
    popup.AddMenu(QString(), true, false, true);
    popup.AddMenu(u"Three"_s, true, true, false);

    native.choose(3);
    EXPECT_EQ(popup.OpenPopup(15, 15), 3);
    EXPECT_EQ(popup.SelectedItem(), 3);
    EXPECT_EQ(native.shown().back().owner, &owner);

    native.choose(0); // dismissed after an earlier choice
    EXPECT_EQ(popup.OpenPopup(15, 15), 0);
    EXPECT_EQ(popup.SelectedItem(), 0);

    // A second opening shows the same items.
    ASSERT_EQ(native.shown().size(), 2u);
    EXPECT_EQ(native.lastItems(), (QStringList{u"One"_s, u"-"_s, u"[x] Three"_s}));
}

TEST(PopupCreator, AnEmptyMenuOrNoMenuAtAllChoosesNothing) {
    FakeNativePopupMenu native;
    native.choose(1);
    PopupCreator empty(&native);
    EXPECT_EQ(empty.OpenPopup(100, 100), 0);
    EXPECT_EQ(empty.SelectedItem(), 0);
    EXPECT_TRUE(native.shown().back().items.empty());

    PopupCreator none(nullptr);
    none.AddMenu(u"a"_s, true, false, false);
    EXPECT_EQ(none.OpenPopup(100, 100), 0);
}

TEST(PopupCreator, SelectedCaptionCoversExactlyTheItems) {
    PopupCreator popup(nullptr);
    popup.AddMenu(u"One"_s, true, false, false);
    popup.AddMenu(u"Two"_s, false, false, false);
    EXPECT_EQ(popup.SelectedCaption(0), QString());
    EXPECT_EQ(popup.SelectedCaption(2), u"Two"_s);
    EXPECT_EQ(popup.SelectedCaption(3), std::nullopt);
    EXPECT_EQ(popup.SelectedCaption(-1), std::nullopt);
}

} // namespace
