#include "launcher/color_table_window.h"

#include "common/twips.h"
#include "launcher/fur_color_table.h"
#include "platform/gui/place.h"

#include <QLabel>
#include <QPixmap>

ColorTableWindow::ColorTableWindow()
    : ToolWindow("Form5", QStringLiteral("Fur Color Table"), QSize(px(5640), px(1635))) {
    // The picture is one pixel wider than the window; its last column is cut off.
    Image1 = platform::place<QLabel>(this, "Image1", twipsRect(0, 0, 5655, 1635));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap::fromImage(fur_color_table::picture(devicePixelRatioF())));
}
