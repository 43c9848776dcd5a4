#include "platform/gui/qt_popup_menus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Acts on the menu once it is open; gives up after a bounded number of tries.
void whenMenuOpens(std::function<void(QMenu&)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            act(*menu);
            return;
        }
        if (triesLeft > 0)
            whenMenuOpens(std::move(act), triesLeft - 1);
    });
}

class QtPopupMenusTest : public testing::Test {
protected:
    QtPopupMenusTest() {
        owner.resize(200, 100);
        owner.show();
        spy = new QAction(QStringLiteral("Spy Window"), &owner);
        spy->setCheckable(true);
        spy->setChecked(true);
        rule = new QAction(&owner);
        rule->setSeparator(true);
        paths = new QAction(QStringLiteral("Change Jazz2 Paths"), &owner);
    }
    QWidget owner;
    QAction* spy = nullptr;
    QAction* rule = nullptr;
    QAction* paths = nullptr;
    platform::QtPopupMenus menus;
};

TEST_F(QtPopupMenusTest, ShowsTheItemsWithTheirMarksAndReturnsTheChosenOneUntouched) {
    QStringList seen;
    QPoint seenAt;
    whenMenuOpens([&](QMenu& menu) {
        seenAt = menu.pos();
        for (QAction* a : menu.actions())
            seen << (a->isSeparator()
                         ? QStringLiteral("-")
                         : a->text() + (a->isChecked() ? QStringLiteral(" [x]") : QString()));
        QAction* first = menu.actions().front(); // "Spy Window"
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(first).center());
    });
    const QPoint at = owner.mapToGlobal(QPoint(10, 20));
    QAction* chosen = menus.popup({spy, rule, paths}, at, &owner);
    EXPECT_EQ(chosen, spy);
    EXPECT_TRUE(spy->isChecked()); // the caller's mark is left alone
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Spy Window [x]"), QStringLiteral("-"),
                                 QStringLiteral("Change Jazz2 Paths")}));
    EXPECT_EQ(seenAt, at);
}

TEST_F(QtPopupMenusTest, ADismissedMenuChoosesNothing) {
    int triggered = 0;
    QObject::connect(paths, &QAction::triggered, [&triggered] { ++triggered; });
    whenMenuOpens([](QMenu& menu) { menu.close(); });
    EXPECT_EQ(menus.popup({spy, rule, paths}, owner.mapToGlobal(QPoint()), &owner), nullptr);
    EXPECT_EQ(triggered, 0);
}

} // namespace
