#pragma once

#include "platform/gui/popup_menus.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace support {

// Popup menus that never block: each opening records what it showed and where, and returns the
// item with the next scripted caption (or nothing, as when the menu is dismissed).
class FakePopupMenus final : public platform::PopupMenus {
public:
    struct Shown {
        // One entry per item: "-" for a separator, "[x] Caption" / "[ ] Caption" for an item with
        // a mark, the bare caption otherwise.
        QStringList items;
        QPoint globalPos;
        QPoint clientPos; // globalPos in the owner's client coordinates
    };

    QAction* popup(const QList<QAction*>& items, QPoint globalPos, QWidget* owner) override;

    void choose(const QString& caption) { m_choices.push_back(caption); }
    void dismiss() { m_choices.push_back(QString()); }

    const std::vector<Shown>& shown() const { return m_shown; }
    // The items of the latest opening; empty when none opened.
    QStringList lastItems() const { return m_shown.empty() ? QStringList() : m_shown.back().items; }

private:
    std::deque<QString> m_choices;
    std::vector<Shown> m_shown;
};

} // namespace support
