#include "addons/popup_creator.h"

#include "platform/gui/native_popup_menu.h"

#include <cmath>

using platform::NativePopupMenu;

PopupCreator::PopupCreator(platform::NativePopupMenu* native) : m_native(native) {}

std::optional<QString> PopupCreator::SelectedCaption(qint32 x) const {
    if (x < 0 || x >= mCaptions.size())
        return std::nullopt;
    return mCaptions[x];
}

void PopupCreator::AddMenu(const QString& strMenuName, bool blnEnabled, bool blnChecked,
                           bool blnIsSeparator) {
    mCaptions.append(strMenuName);
    qint32 flags = 0;
    if (!blnEnabled)
        flags = NativePopupMenu::kGrayed | NativePopupMenu::kDisabled;
    if (blnChecked)
        flags |= NativePopupMenu::kChecked;
    if (blnIsSeparator)
        flags = NativePopupMenu::kSeparator;
    mFlags.push_back(flags);
}

qint32 PopupCreator::OpenPopup(qint32 x, qint32 y) {
    qint32 chosen = 0;
    if (m_native) {
        std::vector<NativePopupMenu::Item> items;
        for (qsizetype k = 1; k < mCaptions.size(); ++k)
            items.push_back({int(k), mFlags[size_t(k)], mCaptions[k]});
        QPoint at;
        if (x == -1 || y == -1)
            at = m_native->cursorPosition();
        else // a fixed 15 twips per pixel, whatever the display
            at = QPoint(int(std::lround(x / 15.0)), int(std::lround(y / 15.0)));
        chosen = m_native->track(items, at, mOwnerHwnd);
    }
    mSelectedItem = chosen;
    return chosen;
}
