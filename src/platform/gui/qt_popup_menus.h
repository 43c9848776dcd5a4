#pragma once

#include "platform/gui/popup_menus.h"

namespace platform {

// The real menus: a QMenu built afresh from the items at every opening. Its nested event loop
// keeps timers and sockets running while the menu is open.
class QtPopupMenus final : public PopupMenus {
public:
    QAction* popup(const QList<QAction*>& items, QPoint globalPos, QWidget* owner) override;
};

} // namespace platform
