#include "platform/gui/qt_popup_menus.h"

#include <QAction>
#include <QHash>
#include <QMenu>

namespace platform {

QAction* QtPopupMenus::popup(const QList<QAction*>& items, QPoint globalPos, QWidget* owner) {
    // Copies are shown, not the items themselves: a checkable action flips its own mark when it
    // is chosen, and the marks belong to the caller.
    QMenu menu(owner);
    QHash<const QAction*, QAction*> itemOf;
    for (QAction* item : items) {
        if (item->isSeparator()) {
            menu.addSeparator();
            continue;
        }
        QAction* shown = menu.addAction(item->text());
        shown->setCheckable(item->isCheckable());
        shown->setChecked(item->isChecked());
        shown->setEnabled(item->isEnabled());
        shown->setVisible(item->isVisible());
        itemOf.insert(shown, item);
    }
    return itemOf.value(menu.exec(globalPos), nullptr);
}

} // namespace platform
