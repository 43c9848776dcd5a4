#include "common/timing.h"
#include "launcher/about_window.h"
#include "launcher/character_page.h"
#include "launcher/color_table_window.h"
#include "support/main_window_fixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <stdexcept>

namespace {

// Records any attempt to open a web address, so a test sees one instead of a browser starting.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        for (const char* scheme : kSchemes)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : kSchemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }

private:
    static constexpr const char* kSchemes[] = {"http", "https"};
};

// The window a button has just shown; none ends the test as a failure.
template <typename W> W& loaded(W* form) {
    if (!form)
        throw std::runtime_error("the button showed no window");
    return *form;
}

// Top-level windows of that name that are still up once pending deletions have run.
int openWindows(const QString& name) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->objectName() == name && !w->isHidden();
    return count;
}

class AboutWindowTest : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        open();
    }
    AboutWindow& about() {
        click(window().Command5);
        return loaded(window().aboutWindow());
    }
    // Waits for the next blink step and returns the link's colour after it.
    static int afterNextBlink(AboutWindow& form4) {
        QSignalSpy tick(form4.Timer1, &QTimer::timeout);
        EXPECT_TRUE(tick.wait(2000));
        return foreColor(form4.Label3);
    }
};

TEST_F(AboutWindowTest, AboutOpensOneModelessFixedToolWindow) {
    AboutWindow& form4 = about();
    EXPECT_EQ(form4.objectName(), QStringLiteral("Form4"));
    EXPECT_EQ(form4.windowTitle(), QStringLiteral("About Quillmere"));
    EXPECT_EQ(form4.size(), QSize(312, 170));
    EXPECT_EQ(form4.minimumSize(), form4.maximumSize());
    EXPECT_EQ(form4.windowType(), Qt::Tool);
    EXPECT_FALSE(form4.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    // A second "About" brings up no second window, and the blink runs on undisturbed.
    const int colour = afterNextBlink(form4);
    EXPECT_EQ(colour, 255);
    click(window().Command5);
    EXPECT_EQ(window().aboutWindow(), &form4);
    EXPECT_EQ(foreColor(form4.Label3), colour);
    EXPECT_EQ(openWindows(QStringLiteral("Form4")), 1);

    // Not modal: the wizard goes on while the window is open.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    click(window().opChar);
    click(window().Command8);
    EXPECT_EQ(page(), QStringLiteral("character"));
    EXPECT_TRUE(visibleFlag(&form4));
}

TEST_F(AboutWindowTest, ClosingUnloadsAndReopeningStartsTheBlinkFromBlack) {
    // Reopened at once, before the closed window's deletion has run, and after it.
    for (bool deletionRunFirst : {false, true}) {
        SCOPED_TRACE(deletionRunFirst ? "after deletion" : "before deletion");
        AboutWindow& first = about();
        ASSERT_EQ(afterNextBlink(first), 255);
        first.close();
        if (deletionRunFirst) {
            EXPECT_EQ(openWindows(QStringLiteral("Form4")), 0);
        }
        EXPECT_EQ(window().aboutWindow(), nullptr);

        AboutWindow& second = about();
        EXPECT_EQ(foreColor(second.Label3), 0);
        EXPECT_TRUE(second.Timer1->isActive());
        EXPECT_EQ(openWindows(QStringLiteral("Form4")), 1);
        // The window pressed up is the one left standing once deletions have run.
        EXPECT_EQ(window().aboutWindow(), &second);
        second.close();
    }
}

TEST_F(AboutWindowTest, LinkBlinksBetweenBlackAndRedOnlyEveryHalfSecond) {
    AboutWindow& form4 = about();
    EXPECT_EQ(form4.Timer1->interval(), timing::scaled(500));
    EXPECT_EQ(foreColor(form4.Label3), 0);
    for (int expected : {255, 0, 255})
        EXPECT_EQ(afterNextBlink(form4), expected);

    form4.Timer1->stop();
    const struct {
        int before;
        int after;
    } steps[] = {
        {0x000000, 0x0000FF}, {0x0000FF, 0x000000},
        {0xFF0000, 0xFF0000}, // pure blue in 0x00BBGGRR: not part of the blink
        {0x0000FE, 0x0000FE}, {0x000001, 0x000001},
    };
    for (const auto& step : steps) {
        setForeColor(form4.Label3, step.before);
        form4.Timer1_Timer();
        EXPECT_EQ(foreColor(form4.Label3), step.after) << std::hex << step.before;
    }
}

TEST_F(AboutWindowTest, ClickingTheLinkOpensNothing) {
    UrlCatcher urls;
    AboutWindow& form4 = about();
    const int colour = foreColor(form4.Label3);
    QTest::mouseClick(form4.Label3, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseDClick(form4.Label3, Qt::LeftButton, {}, QPoint(10, 5));
    QApplication::processEvents();
    EXPECT_TRUE(urls.opened.isEmpty());
    EXPECT_TRUE(sandbox.starter().lines().isEmpty());
    EXPECT_TRUE(sandbox.dialogs().shown().empty());
    EXPECT_EQ(foreColor(form4.Label3), colour);
    EXPECT_EQ(window().aboutWindow(), &form4);
}

TEST_F(AboutWindowTest, EveryLabelFitsItsPlace) {
    AboutWindow& form4 = about();
    for (QLabel* label : form4.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QRect need = label->fontMetrics().boundingRect(
            QRect(0, 0, label->width(), 1000), Qt::AlignLeft | Qt::TextWordWrap, label->text());
        EXPECT_LE(need.width(), label->width());
        EXPECT_LE(need.height(), label->height() + 1); // a line's leading may spill by a pixel
        EXPECT_TRUE(form4.rect().contains(label->geometry()));
    }
}

// ---- the fur colour table --------------------------------------------------------------------

class ColorTableTest : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        open();
        click(window().opChar);
        click(window().Command8);
    }
    ColorTableWindow& table() {
        click(window().Frame3->Command17);
        return loaded(window().Frame3->colorTableWindow());
    }
    QImage shown() { return table().Image1->pixmap().toImage(); }
};

// Dark enough to be ink of a row label, not white ground.
bool ink(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 160;
}

TEST_F(ColorTableTest, ViewColorTableOpensOneModelessFixedToolWindow) {
    ColorTableWindow& form5 = table();
    EXPECT_EQ(form5.objectName(), QStringLiteral("Form5"));
    EXPECT_EQ(form5.windowTitle(), QStringLiteral("Fur Color Table"));
    EXPECT_EQ(form5.size(), QSize(376, 109));
    EXPECT_EQ(form5.minimumSize(), form5.maximumSize());
    EXPECT_EQ(form5.windowType(), Qt::Tool);
    EXPECT_EQ(form5.Image1->geometry(), QRect(0, 0, 377, 109));

    EXPECT_EQ(&table(), &form5);
    EXPECT_EQ(openWindows(QStringLiteral("Form5")), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    form5.close();
    EXPECT_EQ(window().Frame3->colorTableWindow(), nullptr);
    EXPECT_NE(&table(), nullptr);
    EXPECT_EQ(openWindows(QStringLiteral("Form5")), 1);
}

TEST_F(ColorTableTest, SwatchesShowTheFurColoursOnWhite) {
    const QImage image = shown();
    ASSERT_EQ(image.size(), QSize(377, 109));

    const struct {
        int number;
        QRgb rgb;
    } swatches[] = {
        {0, 0x000000},  {7, 0x000000},  {15, 0x000000}, {16, 0xC7FF00}, {23, 0x000B00},
        {24, 0xFF0000}, {31, 0x0B0000}, {32, 0xBBE3FF}, {35, 0x008BFF}, {40, 0xFFFF00},
        {47, 0x0B0000}, {48, 0xFB8BB7}, {56, 0xE3B3FF}, {57, 0xE3B3FF}, {58, 0xE3B3FF},
        {59, 0xC7C700}, {63, 0x0B0B00}, {64, 0xFFF3D3}, {72, 0xD3E7FF}, {79, 0x07070B},
        {80, 0x00FFD3}, {88, 0xDB7FFF}, {95, 0x07070B},
    };
    for (const auto& s : swatches) {
        SCOPED_TRACE(s.number);
        const int x = 2 + 18 * (s.number % 16);
        const int y = 2 + 18 * (s.number / 16);
        // Solid over its 14 x 14 pixels, with white ground on every side.
        for (QPoint p : {QPoint(x, y), QPoint(x + 13, y), QPoint(x, y + 13), QPoint(x + 13, y + 13),
                         QPoint(x + 7, y + 7)})
            EXPECT_EQ(image.pixel(p) & 0xFFFFFF, s.rgb) << p.x() << ',' << p.y();
        for (QPoint p : {QPoint(x - 1, y), QPoint(x + 14, y), QPoint(x, y - 1), QPoint(x, y + 14)})
            EXPECT_EQ(image.pixel(p) & 0xFFFFFF, 0xFFFFFFu) << p.x() << ',' << p.y();
    }
}

TEST_F(ColorTableTest, EachRowIsNamedBesideItsSwatchesWithinTheWindow) {
    const QImage image = shown();
    const int visibleWidth = table().width(); // the picture's last column is cut off
    int inkPerRow[6] = {};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 2 + 18 * 15 + 14; x < image.width(); ++x) {
            if (!ink(image, x, y))
                continue;
            SCOPED_TRACE(testing::Message() << x << ',' << y);
            // Right of the swatches, clear of the window's edge, and off the lines between
            // two rows' bands, so that no label is cut off and no two touch.
            EXPECT_GE(x, 289);
            EXPECT_LT(x, visibleWidth - 1);
            EXPECT_NE(y % 18, 0);
            EXPECT_LT(y, 6 * 18);
            ++inkPerRow[std::min(y / 18, 5)];
        }
    }
    for (int row = 0; row < 6; ++row)
        EXPECT_GT(inkPerRow[row], 30) << "row " << row;
}

} // namespace

#include "about_and_color_table_test.moc"
