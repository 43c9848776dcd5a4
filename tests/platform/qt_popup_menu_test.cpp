#include "platform/gui/qt_native_popup_menu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using platform::NativePopupMenu;

struct Seen {
    bool open = false;
    QPoint pos;
    QStringList actions; // "text enabled checked", "-" for a separator, "" for a collapsed one
};

// Runs `act` on the menu once it is open; a guard closes any menu left open after two seconds,
// so a menu that never reacts cannot hang the test.
int trackAndAct(const std::vector<NativePopupMenu::Item>& items, QPoint at, Seen& seen,
                std::function<void(QMenu&)> act) {
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible())
            return;
        poll.stop();
        seen.open = true;
        seen.pos = menu->pos();
        for (QAction* a : menu->actions())
            seen.actions << (a->isSeparator()
                                 ? (menu->actionGeometry(a).height() > 0 ? QStringLiteral("-")
                                                                         : QString())
                                 : QStringLiteral("%1 %2 %3")
                                       .arg(a->text())
                                       .arg(a->isEnabled())
                                       .arg(a->isChecked()));
        act(*menu);
    });
    poll.start();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    guard.start(2000);
    platform::QtNativePopupMenu native;
    return native.track(items, at, nullptr);
}

QAction* actionNamed(QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

const std::vector<NativePopupMenu::Item> kItems = {{1, 0, QStringLiteral("Run")},
                                                   {2, 0x800, QString()},
                                                   {3, 3, QStringLiteral("Greyed")},
                                                   {4, 8, QStringLiteral("Ticked")},
                                                   {5, 11, QStringLiteral("Both")}};

TEST(QtPopupMenu, ShowsEveryKindOfItemAtThePositionAndReturnsTheClickedId) {
    Seen seen;
    const int chosen = trackAndAct(kItems, QPoint(200, 301), seen, [](QMenu& menu) {
        QTest::mouseClick(
            &menu, Qt::LeftButton, {},
            menu.actionGeometry(actionNamed(menu, QStringLiteral("Ticked"))).center());
    });
    ASSERT_TRUE(seen.open);
    EXPECT_EQ(seen.pos, QPoint(200, 301));
    EXPECT_EQ(seen.actions, (QStringList{QStringLiteral("Run 1 0"), QStringLiteral("-"),
                                         QStringLiteral("Greyed 0 0"), QStringLiteral("Ticked 1 1"),
                                         QStringLiteral("Both 0 1")}));
    EXPECT_EQ(chosen, 4);
}

TEST(QtPopupMenu, EscapeAndAClickOnADisabledItemChooseNothing) {
    Seen seen;
    EXPECT_EQ(trackAndAct(kItems, QPoint(10, 10), seen,
                          [](QMenu& menu) { QTest::keyClick(&menu, Qt::Key_Escape); }),
              0);
    EXPECT_TRUE(seen.open);

    Seen again;
    EXPECT_EQ(
        trackAndAct(
            kItems, QPoint(10, 10), again,
            [](QMenu& menu) {
                QTest::mouseClick(
                    &menu, Qt::LeftButton, {},
                    menu.actionGeometry(actionNamed(menu, QStringLiteral("Greyed"))).center());
                if (menu.isVisible())
                    QTest::keyClick(&menu, Qt::Key_Escape);
            }),
        0);
    EXPECT_TRUE(again.open);
}

TEST(QtPopupMenu, SeparatorsAtTheEndAndSideBySideAreShown) {
    Seen seen;
    trackAndAct({{1, 0, QStringLiteral("Menu Configuration")}, {2, 0x800, {}}, {3, 0x800, {}}},
                QPoint(10, 10), seen, [](QMenu& menu) { QTest::keyClick(&menu, Qt::Key_Escape); });
    EXPECT_EQ(seen.actions, (QStringList{QStringLiteral("Menu Configuration 1 0"),
                                         QStringLiteral("-"), QStringLiteral("-")}));
}

TEST(QtPopupMenu, AnEmptyMenuReturnsAtOnce) {
    platform::QtNativePopupMenu native;
    EXPECT_EQ(native.track({}, QPoint(0, 0), nullptr), 0);
}

} // namespace
