#include "common/app_settings.h"
#include "launcher/main_window.h"
#include "platform/gui/fonts.h"
#include "platform/gui/qt_dialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    platform::loadTahoma();

    AppSettings settings;
    platform::QtDialogs dialogs;
    MainWindow window(Services{&settings, &dialogs});
    window.show();
    return app.exec();
}
