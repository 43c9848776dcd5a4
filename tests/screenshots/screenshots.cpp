// Renders every window and page of the launcher to PNG files, offscreen, so a person can look.
// Usage: quillmere-screenshots OUTPUT_FOLDER
#include "launcher/game_path_dialog.h"
#include "launcher/main_window.h"
#include "platform/gui/fonts.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QDir>
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

    MainWindow window(sandbox.services());
    window.Timer5->stop();
    window.mnuChangeJj2Paths_Click();
    ok &= save(*window.gamePathDialog(), folder, QStringLiteral("game-path-dialog"));
    return ok ? 0 : 1;
}
