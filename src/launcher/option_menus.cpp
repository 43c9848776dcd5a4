// The main window's option menus: "Game Options" under the bottom row's button and "Options" on
// the serve page. Each item flips one of the window's hidden check boxes; the menus hold no state
// of their own beyond the marks, which every opening sets from the boxes.
#include "launcher/main_window.h"

#include "common/twips.h"
#include "launcher/serve_page.h"
#include "platform/gui/check_value.h"
#include "platform/gui/native_popup_menu.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

namespace {

QAction* menuItem(QObject* owner, const char* name, const QString& caption, bool checkable) {
    auto* item = new QAction(caption, owner);
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(checkable);
    return item;
}

} // namespace

void MainWindow::buildOptionMenus() {
    mnuSpyWindow = menuItem(this, "mnuSpyWindow", QStringLiteral("Spy Window"), true);
    mnuDashGO = menuItem(this, "mnuDashGO", QStringLiteral("-"), false);
    mnuDashGO->setSeparator(true);
    mnuChangeJj2Paths =
        menuItem(this, "mnuChangeJj2Paths", QStringLiteral("Change Jazz2 Paths"), false);
    mnuGameOptions = {mnuSpyWindow, mnuDashGO, mnuChangeJj2Paths};

    mnuListServer = menuItem(this, "mnuListServer", QStringLiteral("List Server"), true);
    mnuTSF = menuItem(this, "mnuTSF", QStringLiteral("TSF"), true);
    mnuServeOptions = {mnuListServer, mnuTSF};

    connect(Command14, &QPushButton::clicked, this, &MainWindow::Command14_Click);
    connect(Frame2->Command11, &QPushButton::clicked, this, &MainWindow::Command11_Click);
}

void MainWindow::openPopup(const QList<QAction*>& menu, QPoint clientPos) {
    using Popup = platform::NativePopupMenu;
    if (!m_services.popupMenu)
        return;
    // The menu is built afresh from the items, each numbered by its place; the marks are shown as
    // the items hold them and stay the window's to change.
    std::vector<Popup::Item> items;
    for (qsizetype i = 0; i < menu.size(); ++i) {
        const QAction* item = menu[i];
        const int flags = item->isSeparator() ? Popup::kSeparator
                          : item->isChecked() ? Popup::kChecked
                                              : 0;
        items.push_back({int(i) + 1, flags, item->text()});
    }
    const int id = m_services.popupMenu->track(items, mapToGlobal(clientPos), this);
    if (id < 1 || id > menu.size())
        return;
    const QAction* chosen = menu[id - 1];
    if (chosen == mnuSpyWindow)
        mnuSpyWindow_Click();
    else if (chosen == mnuChangeJj2Paths)
        mnuChangeJj2Paths_Click();
    else if (chosen == mnuListServer)
        mnuListServer_Click();
    else if (chosen == mnuTSF)
        mnuTSF_Click();
}

void MainWindow::Command14_Click() {
    mnuSpyWindow->setChecked(spyValue() == 1);
    // 15 twips left of the button and flush with its bottom edge.
    openPopup(mnuGameOptions,
              QPoint(Command14->x() - px(15), Command14->y() + Command14->height()));
}

void MainWindow::Command11_Click() {
    // A greyed box leaves its mark as the last opening left it.
    const int tsf = platform::checkValue(Frame2->Check1);
    if (tsf == 1)
        mnuTSF->setChecked(true);
    if (tsf == 0)
        mnuTSF->setChecked(false);
    const int list = platform::checkValue(Frame2->Check2);
    if (list == 1)
        mnuListServer->setChecked(true);
    if (list == 0)
        mnuListServer->setChecked(false);
    // The button's place within its page, shifted by fixed amounts and taken as a place in the
    // window: this lands the menu under the button.
    const QPushButton* options = Frame2->Command11;
    openPopup(mnuServeOptions,
              QPoint(options->x() + px(2400), options->y() + options->height() + px(120)));
}

void MainWindow::mnuSpyWindow_Click() {
    // The new value raises chSpy_Click, which reports it on the status line.
    if (mnuSpyWindow->isChecked()) {
        mnuSpyWindow->setChecked(false);
        platform::setCheckValue(chSpy, 0);
    } else {
        mnuSpyWindow->setChecked(true);
        platform::setCheckValue(chSpy, 1);
    }
}

// The two serve options leave their marks alone: the next opening sets them from the boxes.
void MainWindow::mnuListServer_Click() {
    platform::setCheckValue(Frame2->Check2, mnuListServer->isChecked() ? 0 : 1);
}

void MainWindow::mnuTSF_Click() {
    platform::setCheckValue(Frame2->Check1, mnuTSF->isChecked() ? 0 : 1);
}
