#pragma once

#include <QList>
#include <QPoint>

class QAction;
class QWidget;

namespace platform {

// The windows' popup menus. The application shows them with QMenu (platform/gui/qt_popup_menus.h);
// tests script the choice instead, so no test ever waits in a menu's loop.
class PopupMenus {
public:
    virtual ~PopupMenus() = default;

    // Shows `items` in their order (a separator action as a rule) with the menu's top-left corner
    // at `globalPos`, in screen pixels, and returns the item chosen; null when the menu was
    // dismissed. The items' check marks are shown as the items hold them and are left alone:
    // choosing an item neither toggles nor triggers it, the caller acts on the answer.
    virtual QAction* popup(const QList<QAction*>& items, QPoint globalPos, QWidget* owner) = 0;
};

} // namespace platform
