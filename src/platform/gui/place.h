#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

namespace platform {

// A new control of type W inside `parent`, named `name` (its objectName, by which tests and the
// launcher's code find it) and put at `geometry`.
template <typename W> W* place(QWidget* parent, const char* name, QRect geometry) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

// Moves a top-level window to the middle of the primary screen.
void centreOnScreen(QWidget* window);

} // namespace platform
