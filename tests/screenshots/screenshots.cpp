// Renders every window and page of the launcher to PNG files, offscreen, so a person can look.
// Usage: quillmere-screenshots OUTPUT_FOLDER
#include "launcher/game_path_dialog.h"
#include "launcher/main_window.h"
#include "launcher/serve_page.h"
#include "platform/gui/fonts.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
        window.path->setText(game);
        window.opServ_DblClick();
        window.Frame2->selectTab(type.tab);
        ok &= save(window, folder, QString::fromLatin1(type.name));
    }

    MainWindow window(sandbox.services());
    window.Timer5->stop();
    window.mnuChangeJj2Paths_Click();
    ok &= save(*window.gamePathDialog(), folder, QStringLiteral("game-path-dialog"));
    return ok ? 0 : 1;
}
