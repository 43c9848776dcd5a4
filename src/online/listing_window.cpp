#include "online/listing_window.h"

#include "common/twips.h"
#include "online/listing.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

using platform::place;

constexpr int kIconSide = 32; // pixels

QLabel* picture(QWidget* parent, const char* name, const QIcon& icon, int left, int top) {
    auto* p = place<QLabel>(parent, name, QRect(px(left), px(top), kIconSide, kIconSide));
    p->setPixmap(icon.pixmap(kIconSide, kIconSide));
    return p;
}

} // namespace

ListingWindow::ListingWindow(Listing& listing, const QIcon& icon) : m_listing(listing) {
    // A window of its own, not a child of the main window, so that it stays usable while the
    // main window is disabled.
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Game Started"));
    setWindowIcon(icon);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose); // closed is unloaded: a later listing opens a new one
    setFont(platform::tahoma(8.25));
    setFixedSize(px(5400), px(1800));

    Image2 = picture(this, "Image2", windowIcon(), 120, 120);
    Label1 = platform::paragraph(
        this, "Label1", QStringLiteral("Your server has been listed in the list servers. "),
        twipsRect(720, 120, 3960, 255));
    Label2 = platform::paragraph(
        this, "Label2",
        QStringLiteral("If Jazz Jackrabbit 2 has not begun, please delist your server "
                       "and check your Jazz Jackrabbit 2 directory in the main window."),
        twipsRect(720, 435, 3960, 735));
    Image1 = picture(this, "Image1", icon, 4800, 120);

    Command1 = platform::control<QPushButton>(this, "Command1", QStringLiteral("Delist my server!"),
                                              twipsRect(120, 1320, 5160, 375));
    connect(Command1, &QPushButton::clicked, this, &ListingWindow::Command1_Click);
}

ListingWindow::~ListingWindow() = default;

void ListingWindow::Command1_Click() {
    m_listing.Delist();
}
