#pragma once

#include <QCheckBox>

namespace platform {

// A check box's value as the launcher stores it: 0 clear, 1 ticked, 2 greyed (the third state).
inline int checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

// Sets the value; false (and no change) for anything but 0, 1 and 2. A change of value emits
// the box's stateChanged signal, which is where the launcher's click handlers hang.
inline bool setCheckValue(QCheckBox* box, int value) {
    switch (value) {
    case 0:
        box->setCheckState(Qt::Unchecked);
        return true;
    case 1:
        box->setCheckState(Qt::Checked);
        return true;
    case 2:
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        return true;
    default:
        return false;
    }
}

} // namespace platform
