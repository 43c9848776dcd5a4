#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <vector>

namespace platform {
class NativePopupMenu;
}

// Collects the items of a popup menu, shows them at a screen position given in twips, waits for
// the choice and reports the chosen item's number. Items are numbered from 1 in the order they
// were added; a separator takes a number too. Use: set the owner, add the items, open, read the
// choice.
class PopupCreator {
public:
    // `native` shows the menu; without one every opening reports "nothing chosen".
    explicit PopupCreator(platform::NativePopupMenu* native);

    // The number the last OpenPopup returned; 0 before the first and after a dismissed menu.
    qint32 SelectedItem() const { return mSelectedItem; }

    // The caption of item `x`; the empty text for 0, which holds no item; nullopt beyond the
    // last item or below 0.
    std::optional<QString> SelectedCaption(qint32 x) const;

    // Shows the menu with its top-left corner at (x, y) twips on the screen, at a fixed 15 twips
    // per pixel; -1 in either means "at the mouse cursor". Returns the chosen item's number or 0.
    qint32 OpenPopup(qint32 x, qint32 y);

    // Appends an item. A separator ignores the other two flags (its caption is not shown).
    void AddMenu(const QString& strMenuName, bool blnEnabled, bool blnChecked, bool blnIsSeparator);

    void OwnerHwnd(QWidget* vData) { mOwnerHwnd = vData; }
    QWidget* OwnerHwnd() const { return mOwnerHwnd; }

private:
    platform::NativePopupMenu* m_native;
    QPointer<QWidget> mOwnerHwnd;
    // Index 0 of both holds no item, so an item's number is its index.
    QStringList mCaptions{QString()};
    std::vector<qint32> mFlags{0};
    qint32 mSelectedItem = 0;
};
