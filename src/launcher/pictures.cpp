#include "launcher/pictures.h"

#include "common/twips.h"

#include <QPainter>
#include <QSvgRenderer>

// The pictures are compiled into the launcher's static library, whose resource registration the
// linker would drop unless something refers to it.
static void registerPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)registered;
}

namespace pictures {

QPixmap render(const QString& name, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    registerPictures();
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    return pixmap;
}

QIcon windowIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64})
        icon.addPixmap(render(QStringLiteral("icon"), QSize(side, side)));
    return icon;
}

QLabel* makePictureBox(QWidget* parent, const QString& objectName, const QString& name) {
    auto* box = new QLabel(parent);
    box->setObjectName(objectName);
    box->setGeometry(QRect(twipsRect(120, 120, 0, 0).topLeft(), kSize));
    box->setPixmap(render(name));
    box->hide();
    return box;
}

} // namespace pictures
