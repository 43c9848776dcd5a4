#pragma once

#include "platform/gui/native_popup_menu.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace support {

// A popup menu that never opens: it records every showing and returns the next scripted choice
// (0, "dismissed", when none is left). Like a real menu, it never returns an item that cannot be
// chosen (grayed, disabled, a separator) or that it was not given.
class FakeNativePopupMenu final : public platform::NativePopupMenu {
public:
    struct Shown {
        std::vector<Item> items;
        QPoint topLeft;
        QWidget* owner = nullptr;
    };

    QPoint cursorPosition() override { return m_cursor; }
    int track(const std::vector<Item>& items, QPoint topLeft, QWidget* owner) override;

    // The next showing returns the item with this id (0: the menu is dismissed).
    void choose(int id) { m_choices.push_back({id, QString()}); }
    // The next showing returns the first item with this caption.
    void choose(const QString& caption) { m_choices.push_back({0, caption}); }
    void dismiss() { choose(0); }
    void setCursorPosition(QPoint at) { m_cursor = at; }

    const std::vector<Shown>& shown() const { return m_shown; }
    // The last showing's items as text: a caption, "-" for a separator, "(caption)" for an item
    // that cannot be chosen and "[x] caption" for a checked one.
    QStringList lastItems() const;

private:
    struct Choice {
        int id;
        QString caption; // chosen by caption when not empty
    };
    std::deque<Choice> m_choices;
    std::vector<Shown> m_shown;
    QPoint m_cursor;
};

} // namespace support
