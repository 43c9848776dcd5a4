#pragma once

#include <QPoint>
#include <QString>
#include <vector>

class QWidget;

namespace platform {

// A popup menu of the platform, built afresh for every showing. The application uses
// QtNativePopupMenu (platform/gui/qt_native_popup_menu.h); tests script the choice instead, so
// no test waits in a menu's event loop.
class NativePopupMenu {
public:
    // Item flags, with the values Windows gives its menu flags.
    static constexpr int kGrayed = 0x1;
    static constexpr int kDisabled = 0x2;
    static constexpr int kChecked = 0x8;
    static constexpr int kSeparator = 0x800;

    struct Item {
        int id = 0; // what track() returns when the item is chosen; never 0
        int flags = 0;
        QString caption; // unused for a separator
    };

    virtual ~NativePopupMenu() = default;

    // The mouse cursor's position on the screen, in pixels.
    virtual QPoint cursorPosition() = 0;

    // Shows the items in order with the menu's top-left corner at `topLeft` (screen pixels) and
    // waits until it closes. Returns the chosen item's id, or 0 when it was dismissed; grayed,
    // disabled and separator items cannot be chosen.
    virtual int track(const std::vector<Item>& items, QPoint topLeft, QWidget* owner) = 0;
};

} // namespace platform
