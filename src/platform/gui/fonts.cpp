#include "platform/gui/fonts.h"

#include <QFontDatabase>

namespace platform {

namespace {
const char* const kFontFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};
} // namespace

bool loadTahoma() {
    static const bool loaded = [] {
        bool any = false;
        for (const char* file : kFontFiles)
            any |= QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0;
        return any;
    }();
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
