#pragma once

#include <QIcon>
#include <QLabel>
#include <QPixmap>

// The launcher's artwork, drawn from the SVG files built into the program.
namespace pictures {

inline constexpr QSize kSize(125, 228);

QPixmap render(const QString& name, QSize size = kSize); // name: "logo", "join", "battle", ...
QIcon windowIcon();

// A hidden picture box showing `name`, at the picture area's place.
QLabel* makePictureBox(QWidget* parent, const QString& objectName, const QString& name);

} // namespace pictures
