#include "platform/gui/place.h"

#include "platform/gui/typing_limit.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace platform {

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry,
              const std::optional<QFont>& font) {
    auto* l = control<QLabel>(parent, name, text, geometry, font);
    l->setTextFormat(Qt::PlainText); // level titles and names are shown as they stand
    return l;
}

QLabel* paragraph(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  const std::optional<QFont>& font) {
    auto* l = label(parent, name, text, geometry, font);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, int maxLength,
                   QRect geometry) {
    auto* box = place<QLineEdit>(parent, name, geometry);
    if (maxLength > 0)
        limitTyping(box, maxLength);
    box->setText(text);
    return box;
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace platform
