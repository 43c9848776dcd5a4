#include "common/app_settings.h"
#include "launcher/main_window.h"
#include "platform/gui/fonts.h"
#include "platform/gui/qt_dialogs.h"
#include "platform/gui/qt_native_popup_menu.h"
#include "platform/program_start.h"
#include "platform/signal_actions.h"
#include "platform/wine_registry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    platform::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLMERE_APP_ID));
    platform::loadTahoma();

    AppSettings settings;
    platform::QtDialogs dialogs;
    platform::SystemProgramStarter starter;
    platform::WineRegistry registry;
    platform::QtNativePopupMenu popupMenu;
    Services services{&settings, &dialogs, &starter, &registry};
    services.popupMenu = &popupMenu;
    MainWindow window(services);
    // A request to end from outside ends the program as closing its window does.
    platform::TerminationSignals endRequests([&window] { window.close(); });
    window.show();
    return app.exec();
}
