#include "support/fake_popup_menus.h"

#include <QAction>
#include <QWidget>

namespace support {

QAction* FakePopupMenus::popup(const QList<QAction*>& items, QPoint globalPos, QWidget* owner) {
    Shown shown{{}, globalPos, owner ? owner->mapFromGlobal(globalPos) : globalPos};
    for (const QAction* item : items) {
        if (item->isSeparator())
            shown.items << QStringLiteral("-");
        else if (item->isCheckable())
            shown.items << (item->isChecked() ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) +
                               item->text();
        else
            shown.items << item->text();
    }
    m_shown.push_back(shown);

    if (m_choices.empty())
        return nullptr;
    const QString caption = m_choices.front();
    m_choices.pop_front();
    for (QAction* item : items)
        if (!caption.isEmpty() && !item->isSeparator() && item->text() == caption)
            return item;
    return nullptr;
}

} // namespace support
