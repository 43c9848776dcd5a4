#pragma once

#include <QImage>

// The picture of the fur colour table: what the game shows for fur-colour numbers 0 to 95, as
// 377 x 109 pixels of 24-bit colour with swatches in six rows of sixteen on a white ground, each
// row named by its range of numbers. `scale` is the device-pixel ratio it is drawn for: the image
// then has that many pixels per picture pixel.
namespace fur_color_table {

QImage picture(qreal scale = 1.0);

} // namespace fur_color_table
