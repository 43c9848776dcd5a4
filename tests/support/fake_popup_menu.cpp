#include "support/fake_popup_menu.h"

namespace support {

int FakeNativePopupMenu::track(const std::vector<Item>& items, QPoint topLeft, QWidget* owner) {
    m_shown.push_back({items, topLeft, owner});
    if (m_choices.empty())
        return 0;
    const Choice choice = m_choices.front();
    m_choices.pop_front();
    for (const Item& item : items) {
        const bool wanted =
            choice.caption.isEmpty() ? item.id == choice.id : item.caption == choice.caption;
        if (wanted && !(item.flags & (kGrayed | kDisabled | kSeparator)))
            return item.id;
    }
    return 0;
}

QStringList FakeNativePopupMenu::lastItems() const {
    QStringList out;
    if (m_shown.empty())
        return out;
    for (const Item& item : m_shown.back().items) {
        if (item.flags & kSeparator)
            out << QStringLiteral("-");
        else if (item.flags & (kGrayed | kDisabled))
            out << u'(' + item.caption + u')';
        else if (item.flags & kChecked)
            out << QStringLiteral("[x] ") + item.caption;
        else
            out << item.caption;
    }
    return out;
}

} // namespace support
