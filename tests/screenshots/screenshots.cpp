// Renders every window and page of the launcher to PNG files, offscreen, so a person can look.
// Usage: quillmere-screenshots OUTPUT_FOLDER
#include "launcher/about_window.h"
#include "launcher/character_page.h"
#include "launcher/color_table_window.h"
#include "addons/addon_editor.h"
#include "launcher/game_path_dialog.h"
#include "launcher/main_window.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"
#include "online/password_dialog.h"
#include "online/listing.h"
#include "online/listing_window.h"
#include "online/server_info_window.h"
#include "online/server_table_view.h"
#include "platform/gui/fonts.h"
#include "protocol/server_table_model.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

bool save(QWidget& w, const QString& folder, const QString& name) {
    w.show();
    QApplication::processEvents();
    const QString file = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = w.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
    return ok;
}

// A few servers from the sandbox's own list server, so the join page shows a filled table.
const QByteArray kSampleList =
    "203.0.113.5:10052 local public ctf 1.24   4 [1/12] |Sunday \xA7" "2CTF\r\n"
    "198.51.100.20:10052 local public battle 1.23   96 [7/32] Evening Battle\r\n"
    "192.0.2.44:10052 mirror private treasure 1.24   1800 [0/8] Gem Hunt\r\n"
    "203.0.113.77:10052 local public coop 1.24 x 30 [2/4] Carrotus Coop     Coop\r\n";

// Waits, bounded, until the join page has its rows; a missing peer only leaves the table empty.
void waitForRows(MainWindow& window) {
    if (QTest::qWaitFor([&] { return window.Frame1->serverTable().rowCount() > 0; }, 3000)) {
        window.Frame1->ListView1->selectRow(0);
        window.Frame1->ShowSelectedServer();
    }
}

// Waits, bounded, until the information window shows the players after its level line.
bool waitForAnswer(JoinPage& page) {
    return QTest::qWaitFor(
        [&] {
            const ServerInfoWindow* info = page.serverInfoWindow();
            return info && info->Text1->toPlainText().contains(QStringLiteral("\n\n"));
        },
        3000);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::loadTahoma();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(folder);

    support::Sandbox sandbox;
    // Paths are set, so the first-run dialog stays shut unless asked for.
    sandbox.settings().SaveSetting(QStringLiteral("Jazz2 Location"), QStringLiteral("C:\\Games\\Jazz2\\Jazz2.exe"));
    sandbox.settings().SaveSetting(QStringLiteral("Jazz2 TSF Location"), QStringLiteral("1.24"));

    sandbox.listServer().serve({kSampleList});

    bool ok = true;
    struct Page {
        const char* name;
        void (MainWindow::*open)();
    };
    const Page pages[] = {{"main-first-page", nullptr},
                          {"main-character-page", &MainWindow::opChar_DblClick},
                          {"main-join-page", &MainWindow::opJoin_DblClick},
                          {"main-serve-page", &MainWindow::opServ_DblClick}};
    for (const Page& page : pages) {
        MainWindow window(sandbox.services());
        window.Timer5->stop();
        if (page.open)
            (window.*page.open)();
        if (page.open == &MainWindow::opJoin_DblClick)
            waitForRows(window);
        ok &= save(window, folder, QString::fromLatin1(page.name));
    }

    // The serve page on other game types, each with a level title read from the game's folder.
    const QString game = sandbox.makeFile(QStringLiteral("Jazz2/Jazz2.exe"));
    const struct {
        const char* name;
        int tab;
        const char* level;
        QByteArray bytes;
    } types[] = {
        {"main-serve-page-coop", 2, "Jazz2/share1.j2l",
         QByteArrayLiteral("Jazz Jackrabbit 2 Level\x1a LEVL\x03\x00Shared |Caverns|\x00")},
        {"main-serve-page-race", 4, "Jazz2/race1.j2l",
         QByteArrayLiteral("Jazz Jackrabbit 2 Level\x1a LEVL\x03\x00Speedway\x00")},
    };
    for (const auto& type : types) {
        sandbox.makeFile(QString::fromLatin1(type.level), type.bytes);
        MainWindow window(sandbox.services());
        window.Timer5->stop();
        window.path = game;
        window.opServ_DblClick();
        window.Frame2->selectTab(type.tab);
        ok &= save(window, folder, QString::fromLatin1(type.name));
    }

    {
        // "Info" on a server of this machine, answered by the sandbox's game server.
        sandbox.listServer().serve(
            {"127.0.0.1:10052 local public battle 1.24   60 [3/16] Local Battle\r\n"});
        using support::GameServerPeer;
        sandbox.gameServer().script(
            {GameServerPeer::levelPacket(4, "castle1.j2l", QByteArray("\0\x1f\x2e", 3))},
            {GameServerPeer::playerList({"|Jazz", "\xA7" "2Spaz|Rabbit", "\xA7| ", "Lori"}, 4)});
        MainWindow window(sandbox.services());
        window.Timer5->stop();
        window.opJoin_DblClick();
        waitForRows(window);
        window.Frame1->mnuGetInfo_Click();
        if (!waitForAnswer(*window.Frame1))
            std::printf("no answer from the game server\n");
        ok &= window.Frame1->serverInfoWindow() &&
              save(*window.Frame1->serverInfoWindow(), folder, QStringLiteral("server-info"));
    }

    MainWindow window(sandbox.services());
    window.Timer5->stop();
    window.mnuChangeJj2Paths_Click();
    ok &= save(*window.gamePathDialog(), folder, QStringLiteral("game-path-dialog"));

    window.Command5_Click();
    ok &= save(*window.aboutWindow(), folder, QStringLiteral("about-window"));
    window.Frame3->Command17_Click();
    ok &= save(*window.Frame3->colorTableWindow(), folder, QStringLiteral("color-table-window"));
    // The add-on editor with a short list, one entry selected.
    sandbox.settings().SaveSetting(
        QStringLiteral("Addons"),
        QStringLiteral("Chat|C:\\Tools\\chat.exe@Level Editor|C:\\Games\\Jazz2\\JCS.exe@"
                       "Map Viewer|D:\\Map\\map.exe@"));
    AddonEditor editor({&sandbox.settings(), &sandbox.dialogs(), nullptr, nullptr});
    editor.List2->setCurrentRow(1);
    ok &= save(editor, folder, QStringLiteral("addon-editor"));
    OpenPasswordDialog(window);
    ok &= save(window.passwordDialog(), folder, QStringLiteral("password-dialog"));
    // "Game Started", as a listed serve opens it (towards the sandbox's own list server).
    MainWindow hosting(sandbox.services());
    hosting.Timer5->stop();
    hosting.opServ_DblClick();
    hosting.listing().StartListing();
    ok &= save(*hosting.listing().window(), folder, QStringLiteral("listing-window"));
    return ok ? 0 : 1;
}
