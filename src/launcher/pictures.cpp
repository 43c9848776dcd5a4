#include "launcher/pictures.h"

#include "common/twips.h"

#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

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

namespace {

class SvgIconEngine final : public QIconEngine {
public:
    explicit SvgIconEngine(const QString& resource)
        : m_renderer(std::make_shared<QSvgRenderer>(resource)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        if (m_renderer->isValid())
            m_renderer->render(painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, pixmap.rect(), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    bool isNull() override { return !m_renderer->isValid(); }
    QIconEngine* clone() const override { return new SvgIconEngine(*this); }

private:
    std::shared_ptr<QSvgRenderer> m_renderer;
};

// A label that draws its picture on every paint at the device's own scale; a pixmap made once
// would be blurred wherever the screen scales it.
class PictureBox final : public QLabel {
public:
    PictureBox(QWidget* parent, QIcon picture) : QLabel(parent), m_picture(std::move(picture)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_picture.paint(&painter, rect());
    }

private:
    QIcon m_picture;
};

} // namespace

QIcon svgIcon(const QString& resource) {
    return QIcon(new SvgIconEngine(resource));
}

QIcon windowIcon() {
    registerPictures();
    return svgIcon(QStringLiteral(":/pictures/icon.svg"));
}

QLabel* makePictureBox(QWidget* parent, const QString& objectName, const QString& name) {
    registerPictures();
    auto* box = new PictureBox(parent, svgIcon(QStringLiteral(":/pictures/%1.svg").arg(name)));
    box->setObjectName(objectName);
    box->setGeometry(QRect(twipsRect(120, 120, 0, 0).topLeft(), kSize));
    box->hide();
    return box;
}

} // namespace pictures
