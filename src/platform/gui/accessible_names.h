#pragma once

#include <QLabel>
#include <initializer_list>

namespace platform {

// The caption of the label beside a box names the box for assistive tools, so a screen reader
// can tell the boxes apart. As the label's buddy the box follows a caption that changes later.
inline void nameByLabel(QLabel* label, QWidget* box) {
    label->setBuddy(box);
}

// Boxes that share one label are named by its caption and their number: "Your Fur Colors 1", ...
inline void nameByLabel(QLabel* label, std::initializer_list<QWidget*> boxes) {
    int number = 0;
    for (QWidget* box : boxes)
        box->setAccessibleName(label->text() + u' ' + QString::number(++number));
}

} // namespace platform
