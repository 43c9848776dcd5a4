#include "platform/gui/fonts.h"

#include <QFontDatabase>

namespace platform {

namespace {
// Only the regular face: Wine's separate bold file draws its strokes hardly thicker than the
// regular ones, so bold text would not look bold. With the regular face alone, bold is
// emboldened from it and reads as bold.
const char* const kTahomaFile = "/usr/share/wine/fonts/tahoma.ttf";
} // namespace

bool loadTahoma() {
    static const bool loaded =
        QFontDatabase::addApplicationFont(QString::fromLatin1(kTahomaFile)) >= 0;
    return loaded;
}

QFont tahoma(qreal pointSize, bool bold) {
    QFont font(loadTahoma() ? QStringLiteral("Tahoma") : QStringLiteral("Sans Serif"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace platform
