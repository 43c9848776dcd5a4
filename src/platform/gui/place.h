#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;

// The factories every window builds its controls with: each control is named (its objectName,
// by which tests and the launcher's code find it) and put at its place inside `parent`.
namespace platform {

// A new control of type W inside `parent`, named `name` and put at `geometry`.
template <typename W> W* place(QWidget* parent, const char* name, QRect geometry) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

// A control with a caption (a button, an option, a text box's text), in `font` when one is
// given, else in its window's font.
template <typename W>
W* control(QWidget* parent, const char* name, const QString& text, QRect geometry,
           const std::optional<QFont>& font = std::nullopt) {
    W* w = place<W>(parent, name, geometry);
    w->setText(text);
    if (font)
        w->setFont(*font);
    return w;
}

// A label that shows its text as it stands, never as rich text.
QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry,
              const std::optional<QFont>& font = std::nullopt);
// The same, its text wrapped into lines from the top left corner.
QLabel* paragraph(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  const std::optional<QFont>& font = std::nullopt);
// A text box that takes at most `maxLength` typed characters (0: any number); a longer text
// put in from code still stays whole.
QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, int maxLength,
                   QRect geometry);

// Moves a top-level window to the middle of the primary screen.
void centreOnScreen(QWidget* window);

} // namespace platform
