#include "common/app_settings.h"
#include "launcher/main_window.h"
#include "platform/gui/fonts.h"
#include "platform/gui/qt_dialogs.h"
#include "platform/program_start.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    platform::loadTahoma();

    AppSettings settings;
    platform::QtDialogs dialogs;
    platform::SystemProgramStarter starter;
    MainWindow window(Services{&settings, &dialogs, &starter});
    window.show();
    return app.exec();
}
