#include "launcher/fur_color_table.h"

#include "platform/gui/fonts.h"

#include <QPainter>
#include <array>

namespace fur_color_table {

namespace {

constexpr int kColors = 96;
constexpr int kPerRow = 16;
constexpr int kRows = kColors / kPerRow;
constexpr int kSwatchSize = 14;
constexpr int kPitch = 18; // from one swatch's top-left pixel to the next one's
constexpr int kMargin = 2; // top-left pixel of colour 0
constexpr int kLabelLeft = 290;
constexpr QSize kPictureSize(377, 109);

// clang-format off
constexpr std::array<QRgb, kColors> kSwatches = {
    0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000,
    0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000,

    0xC7FF00, 0x93DF00, 0x6BBF00, 0x47A300, 0x2B8300, 0x136700, 0x073700, 0x000B00,
    0xFF0000, 0xE30000, 0xC70000, 0xAB0000, 0x8F0000, 0x730000, 0x3F0000, 0x0B0000,

    0xBBE3FF, 0x7BC7FF, 0x3BABFF, 0x008BFF, 0x006BCB, 0x004F97, 0x002F63, 0x00172F,
    0xFFFF00, 0xFFC700, 0xFF9300, 0xFF5F00, 0xCB3700, 0x9B1B00, 0x530700, 0x0B0000,

    0xFB8BB7, 0xF76FA3, 0xF33383, 0xEF0063, 0xBF004B, 0x930037, 0x4F000B, 0x0B0000,
    0xE3B3FF, 0xE3B3FF, 0xE3B3FF, 0xC7C700, 0x9B9B00, 0x737300, 0x3F3F00, 0x0B0B00,

    0xFFF3D3, 0xDBCFAF, 0xBBAF93, 0x9B8B73, 0x776B57, 0x574B3F, 0x2F231F, 0x0B0000,
    0xD3E7FF, 0xABC3DB, 0x8B9FBB, 0x6B7F9B, 0x4B5F77, 0x333F57, 0x1B1F2F, 0x07070B,

    0x00FFD3, 0x00E3AF, 0x00C793, 0x00AF77, 0x008F63, 0x006F53, 0x003B2B, 0x000B00,
    0xDB7FFF, 0xCB3FFF, 0xBB00FF, 0xA300D3, 0x8B00AB, 0x6B007F, 0x330043, 0x07070B,
};
// clang-format on

QPoint swatchOrigin(int number) {
    return QPoint(kMargin + kPitch * (number % kPerRow), kMargin + kPitch * (number / kPerRow));
}

QString rowLabel(int row) {
    return QStringLiteral("Colors %1 to %2").arg(row * kPerRow).arg(row * kPerRow + kPerRow - 1);
}

} // namespace

QImage picture(qreal scale) {
    // Drawn at the screen's scale: a picture drawn at 1x would blur when the screen scales it.
    QImage image(kPictureSize * scale, QImage::Format_RGB888);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int n = 0; n < kColors; ++n)
        painter.fillRect(QRect(swatchOrigin(n), QSize(kSwatchSize, kSwatchSize)),
                         QColor(kSwatches[n]));

    // A pixel size, not a point size, so the labels keep their place whatever the screen's DPI.
    QFont font = platform::tahoma(8);
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int row = 0; row < kRows; ++row) {
        const QRect band(kLabelLeft, kMargin + kPitch * row, kPictureSize.width() - kLabelLeft,
                         kSwatchSize);
        painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, rowLabel(row));
    }
    return image;
}

} // namespace fur_color_table
