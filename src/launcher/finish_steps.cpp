// "Finish" on the join and serve pages: start the game with its command line.
#include "common/launch_game.h"
#include "launcher/command_lines.h"
#include "launcher/main_window.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"
#include "online/password_dialog.h"
#include "online/listing.h"
#include "platform/gui/check_value.h"

#include <QCheckBox>
#include <QLineEdit>

void MainWindow::JoinFinish() {
    // A missing path opens the dialog, but the start below is still tried with what is there.
    const QString location = CheckGamePaths(false);
    path->setText(location);
    jpath->setText(location);
    m_status.setText(QStringLiteral("Status: Launching Jazz2 via Server List"));

    const QString address = Frame1->Text4->text();
    // What the list server sent goes on the line as one argument, or nothing starts.
    if (Frame1->joinsUnsafeListAddress()) {
        m_services.dialogs->messageBox(QStringLiteral("This server's address is not valid."),
                                       QStringLiteral("Error"));
        return;
    }
    if (address == QStringLiteral("Private")) {
        OpenPasswordDialog(*this);
        return;
    }

    const JoinValues values{path->text(), TSFPath->text(), platform::checkValue(Frame1->TSCheck),
                            address, SpySwitch};
    if (const std::optional<QString> line = JoinCommandLine(values))
        LaunchGame(m_services.starter, *line);
}

void MainWindow::ServeFinish() {
    const QString location = CheckGamePaths(true);
    path->setText(location);
    jpath->setText(location);

    const int listed = platform::checkValue(Frame2->Check2);
    if (listed != 0 && listed != 1)
        return;
    if (listed == 1)
        listing().StartListing(); // announced before the game starts; the listing follows later
    MaxPlayersArg = Frame2->Text1->text();
    const ServeValues values{
        path->text(),  TSFPath->text(),       platform::checkValue(Frame2->Check1),
        GameType,      CoopDifficulty,        Frame2->Text3->text(),
        MaxPlayersArg, Frame2->Level->text(), SpySwitch};
    if (const std::optional<QString> line = ServerCommandLine(values))
        LaunchGame(m_services.starter, *line);
}
