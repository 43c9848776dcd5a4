#include "launcher/about_window.h"

#include "common/timing.h"
#include "common/twips.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"

#include <QLabel>
#include <QTimer>

namespace {

constexpr int kBlack = 0;
constexpr int kRed = 255;

// The makers' web address.
const QString kWebsite = QStringLiteral("quillmere.example.org");

} // namespace

int foreColor(const QLabel* label) {
    const QColor c = label->palette().color(QPalette::WindowText);
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

void setForeColor(QLabel* label, int value) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText,
                 QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF));
    label->setPalette(pal);
}

AboutWindow::AboutWindow()
    : ToolWindow("Form4", QStringLiteral("About Quillmere"), QSize(px(4680), px(2550))) {
    using platform::paragraph;
    const QFont font = platform::tahoma(9);
    const QFont bold = platform::tahoma(9, true);
    Label1 = paragraph(this, "Label1", QStringLiteral("Quillmere version 1.1[b]"),
                       twipsRect(120, 120, 2415, 255), font);
    Label2 = paragraph(this, "Label2", QStringLiteral("\u00A9 Quillmere team"),
                       twipsRect(2760, 120, 1815, 255), font);
    Label4 = paragraph(this, "Label4", QString(), twipsRect(120, 480, 4455, 735), font);
    Label5 = paragraph(this, "Label5", QStringLiteral("Programming: the Quillmere team"),
                       twipsRect(120, 1200, 4455, 255), font);
    Label6 =
        paragraph(this, "Label6", QStringLiteral("Graphics, suggestions and help: our players"),
                  twipsRect(120, 1440, 4455, 255), font);
    Label7 = paragraph(this, "Label7",
                       QStringLiteral("Beta testers: everyone who tried the early builds and told "
                                      "us what broke"),
                       twipsRect(120, 1680, 4455, 495), font);
    Label8 =
        paragraph(this, "Label8", QStringLiteral("website:"), twipsRect(840, 2280, 780, 210), bold);
    // Clicking the address does nothing: it is plain text, neither a link nor selectable.
    Label3 = paragraph(this, "Label3", kWebsite, twipsRect(1680, 2280, 2925, 210), bold);
    Label3->setTextInteractionFlags(Qt::NoTextInteraction);
    setForeColor(Label3, kBlack);

    // Runs from the moment the window is loaded; it dies with the window.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &AboutWindow::Timer1_Timer);
    Timer1->start(timing::scaled(500));
}

void AboutWindow::Timer1_Timer() {
    // Only black and red take part in the blink; any other colour stays.
    const int colour = foreColor(Label3);
    if (colour == kRed)
        setForeColor(Label3, kBlack);
    else if (colour == kBlack)
        setForeColor(Label3, kRed);
}
