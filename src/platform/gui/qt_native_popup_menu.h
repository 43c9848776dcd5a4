#pragma once

#include "platform/gui/native_popup_menu.h"

namespace platform {

// The real popup: a QMenu run with exec() at the given position. Its nested event loop keeps
// timers and sockets running while the menu is open.
class QtNativePopupMenu final : public NativePopupMenu {
public:
    QPoint cursorPosition() override;
    int track(const std::vector<Item>& items, QPoint topLeft, QWidget* owner) override;
};

} // namespace platform
