// What the listing of a hosted game reads of the main window and its serve page.
#include "launcher/main_window.h"
#include "launcher/serve_page.h"
#include "online/listing.h"
#include "platform/gui/check_value.h"

#include <QCheckBox>
#include <QLineEdit>

Listing& MainWindow::listing() {
    if (!m_listing)
        m_listing = new Listing(*this, m_services.listServerHost, m_services.listingPort, this);
    return *m_listing;
}

QString MainWindow::serverNameText() const {
    return Frame2->Text2->text();
}
QString MainWindow::maxPlayersText() const {
    return Frame2->Text1->text();
}
int MainWindow::tsfValue() const {
    return platform::checkValue(Frame2->Check1);
}
QString MainWindow::gameTypeWord() const {
    return GameType;
}
void MainWindow::setMaxPlayersArg(const QString& value) {
    MaxPlayersArg = value;
}
QString MainWindow::maxPlayersArg() const {
    return MaxPlayersArg;
}
QIcon MainWindow::programIcon() const {
    return windowIcon();
}
