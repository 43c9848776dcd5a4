#pragma once

#include "launcher/game_path_dialog_host.h"
#include "launcher/services.h"

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// "Welcome to Quillmere" (Form3): asks for the executables of the game's two builds. It is not a
// blocking modal dialog; the main window disables itself while it is open.
class GamePathDialog : public QWidget {
    Q_OBJECT
public:
    GamePathDialog(GamePathDialogHost& host, Services services);
    ~GamePathDialog() override;

    void Command1_Click(); // "Browse" for the 1.21 to 1.23 build
    void Command4_Click(); // "Browse" for the 1.24 build
    void Command3_Click(); // "Accept"
    void Command2_Click(); // "Cancel"
    void Timer3_Timer();

    QLabel* Label1 = nullptr;
    QLineEdit* JazzPath = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QLineEdit* JazzPathTSF = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command2 = nullptr;
    QTimer* Timer3 = nullptr;
    QString tfc; // carries the accepted 1.24 path to the main window

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    std::optional<QString> browse();
    void unload();

    GamePathDialogHost& m_host;
    Services m_services;
    bool m_placed = false;
};
