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
    const GamePathCheck paths = CheckGamePaths(false);
    path = paths.location;
    jpath = paths.location;
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

    const JoinValues values{path, TSFPath, platform::checkValue(Frame1->TSCheck), address,
                            SpySwitch};
    if (const std::optional<QString> line = JoinCommandLine(values))
        reportFailedStart(paths, LaunchGame(m_services.starter, *line));
}

void MainWindow::ServeFinish() {
    const GamePathCheck paths = CheckGamePaths(true);
    path = paths.location;
    jpath = paths.location;

    const int listed = platform::checkValue(Frame2->Check2);
    if (listed != 0 && listed != 1)
        return;
    if (listed == 1)
        listing().StartListing(); // announced before the game starts; the listing follows later
    MaxPlayersArg = Frame2->Text1->text();
    const ServeValues values{path,
                             TSFPath,
                             platform::checkValue(Frame2->Check1),
                             GameType,
                             CoopDifficulty,
                             Frame2->Text3->text(),
                             MaxPlayersArg,
                             Frame2->Level->text(),
                             SpySwitch};
    std::optional<platform::StartResult> result;
    if (const std::optional<QString> line = ServerCommandLine(values))
        result = LaunchGame(m_services.starter, *line);
    // The list server must not keep offering a game that never ran.
    if (listed == 1 && !(result && result->started()))
        listing().Delist();
    if (result)
        reportFailedStart(paths, *result);
}

void MainWindow::reportFailedStart(const GamePathCheck& paths,
                                   const platform::StartResult& result) {
    // A path that was never set has just opened its dialog: that is the answer to this start.
    if (!paths.dialogOpened)
        ReportStartFailure(*m_services.dialogs, result);
}
