#include "launcher/game_path_dialog.h"

#include "common/file_found.h"
#include "common/game_paths.h"
#include "common/timing.h"
#include "common/twips.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using platform::control;

GamePathDialog::GamePathDialog(GamePathDialogHost& host, Services services)
    : m_host(host), m_services(std::move(services)) {
    // A window of its own, not a child of the main window: the main window is disabled while this
    // is open, and a child would be disabled with it.
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Welcome to Quillmere"));
    setWindowIcon(host.programIcon());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(platform::tahoma(8.25));
    setFixedSize(px(4905), px(1485));

    Label1 = platform::paragraph(this, "Label1",
                                 QStringLiteral("Welcome to Quillmere. Please specify the Jazz "
                                                "Jackrabbit 2 file you will be using with "
                                                "Quillmere."),
                                 twipsRect(120, 120, 4695, 495));
    JazzPath =
        control<QLineEdit>(this, "JazzPath", game_paths::hint(), twipsRect(120, 720, 2535, 285));
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("Browse"),
                                    twipsRect(2760, 720, 975, 285));
    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("Accept"),
                                    twipsRect(3840, 720, 975, 285));
    JazzPathTSF = control<QLineEdit>(this, "JazzPathTSF", game_paths::tsfHint(),
                                     twipsRect(120, 1080, 2535, 285));
    Command4 = control<QPushButton>(this, "Command4", QStringLiteral("Browse"),
                                    twipsRect(2760, 1080, 975, 285));
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("Cancel"),
                                    twipsRect(3840, 1080, 975, 285));
    // The sentence above both boxes names neither; each is named for the build it points to.
    JazzPath->setAccessibleName(QStringLiteral("Jazz2 path for 1.21, 1.22, or 1.23"));
    JazzPathTSF->setAccessibleName(QStringLiteral("Jazz2 path for 1.24"));

    Timer3 = timing::oneShot(this, "Timer3");

    connect(Command1, &QPushButton::clicked, this, &GamePathDialog::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &GamePathDialog::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &GamePathDialog::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &GamePathDialog::Command2_Click);
    connect(Timer3, &QTimer::timeout, this, &GamePathDialog::Timer3_Timer);

    Form_Load();
}

GamePathDialog::~GamePathDialog() = default;

void GamePathDialog::Form_Load() {
    const AppSettings& settings = *m_services.settings;
    JazzPath->setText(settings.GetSetting(setting_keys::kJazz2Location, game_paths::hint()));
    JazzPathTSF->setText(
        settings.GetSetting(setting_keys::kJazz2TsfLocation, game_paths::tsfHint()));
}

void GamePathDialog::showEvent(QShowEvent* event) {
    // Centred on the screen when first shown; a caller may move it afterwards.
    if (!m_placed) {
        m_placed = true;
        platform::centreOnScreen(this);
    }
    QWidget::showEvent(event);
}

std::optional<QString> GamePathDialog::browse() {
    return m_services.dialogs->openFile(QStringLiteral("Select Jazz2 Path"),
                                        QStringLiteral("Jazz2 Executable [*.exe]|*.exe"),
                                        QString());
}

void GamePathDialog::Command1_Click() {
    const std::optional<QString> chosen = browse();
    if (!chosen)
        return;
    // The main window takes the file at once, even if this dialog is cancelled later.
    JazzPath->setText(*chosen);
    m_host.setGameExecutable(JazzPath->text());
}

void GamePathDialog::Command4_Click() {
    if (const std::optional<QString> chosen = browse())
        JazzPathTSF->setText(*chosen);
}

void GamePathDialog::Command3_Click() {
    if (!FileFound(JazzPath->text()))
        JazzPath->setText(game_paths::hint());
    if (!FileFound(JazzPathTSF->text()))
        JazzPathTSF->setText(game_paths::tsfHint());
    if (JazzPath->text() == game_paths::hint() && JazzPathTSF->text() == game_paths::tsfHint()) {
        m_services.dialogs->messageBox(QStringLiteral("Please enter your Jazz Jackrabbit 2 path."),
                                       applicationTitle());
        return;
    }
    AppSettings& settings = *m_services.settings;
    m_host.enableMainWindow();
    bool saved = settings.SaveSetting(setting_keys::kJazz2Location, JazzPath->text());
    m_host.setGameExecutable(JazzPath->text());
    saved = settings.SaveSetting(setting_keys::kJazz2TsfLocation, JazzPathTSF->text()) && saved;
    tfc = JazzPathTSF->text();
    // Said before the timers run: this window must not close under the box.
    ReportUnsavedSettings(*m_services.dialogs, saved);
    // The main window takes tfc at 100 ms; this window closes at 200 ms, after it.
    m_host.startTimer6(timing::scaled(100));
    Timer3->start(timing::scaled(200));
}

void GamePathDialog::Command2_Click() {
    m_host.enableMainWindow();
    unload();
}

void GamePathDialog::Timer3_Timer() { unload(); }

void GamePathDialog::unload() {
    // Whatever closes this window, the main window must not stay disabled without it.
    m_host.enableMainWindow();
    m_host.gamePathDialogUnloaded();
    hide();
    deleteLater();
}

void GamePathDialog::closeEvent(QCloseEvent* event) {
    // Closing the window by its frame is a "Cancel": the main window must not stay disabled.
    event->ignore();
    Command2_Click();
}
