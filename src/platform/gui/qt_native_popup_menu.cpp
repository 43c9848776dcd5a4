#include "platform/gui/qt_native_popup_menu.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace platform {

QPoint QtNativePopupMenu::cursorPosition() {
    return QCursor::pos();
}

int QtNativePopupMenu::track(const std::vector<Item>& items, QPoint topLeft, QWidget* owner) {
    if (items.empty())
        return 0; // an empty menu offers nothing to choose
    QMenu menu(owner);
    menu.setObjectName(QStringLiteral("NativePopupMenu"));
    // Every separator shows, also one at the end or next to another, as in a Windows menu.
    menu.setSeparatorsCollapsible(false);
    for (const Item& item : items) {
        if (item.flags & kSeparator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.caption);
        action->setData(item.id);
        action->setEnabled(!(item.flags & (kGrayed | kDisabled)));
        if (item.flags & kChecked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    const QAction* chosen = menu.exec(topLeft);
    return chosen ? chosen->data().toInt() : 0;
}

} // namespace platform
