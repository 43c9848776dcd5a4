#pragma once

#include <QIcon>
#include <QLabel>

// The launcher's artwork, drawn from the SVG files built into the program. Everything is drawn
// at the scale of the screen it shows on, so it stays crisp at 125, 150 or 200 % as at 100 %.
namespace pictures {

inline constexpr QSize kSize(125, 228);

// An icon drawn afresh from an SVG resource at every size and scale it is asked for.
QIcon svgIcon(const QString& resource);
QIcon windowIcon();

// A hidden picture box showing `name` ("logo", "join", "battle", ...), at the picture area's place.
QLabel* makePictureBox(QWidget* parent, const QString& objectName, const QString& name);

} // namespace pictures
