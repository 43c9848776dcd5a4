#include "platform/gui/place.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace platform
