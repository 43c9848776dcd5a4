#pragma once

#include "common/status_line.h"
#include "launcher/character_page_host.h"
#include "launcher/game_path_dialog_host.h"
#include "launcher/serve_page_host.h"
#include "launcher/services.h"
#include "online/join_page_host.h"
#include "online/listing_host.h"
#include "online/password_dialog_host.h"

#include <QPointer>
#include <QWidget>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTimer;

class AboutWindow;
class AddonStarter;
class CharacterPage;
class GamePathDialog;
class JoinPage;
class Listing;
class ServePage;

// The main window "Form1": a short wizard. The first page offers three paths (serve, join,
// character); each path has a page that ends in "Finish". There is no page variable: which page
// is open follows from the selected option, the caption of the right button and which page
// panel is visible, all read afresh at every step.
//
// The window's controls and form-level values are public, named as the launcher's code calls them;
// its pages and dialogs reach it only through the host interfaces it implements.
class MainWindow : public QWidget,
                   public CharacterPageHost,
                   public JoinPageHost,
                   public ServePageHost,
                   public GamePathDialogHost,
                   public PasswordDialogHost,
                   public ListingHost {
    Q_OBJECT
public:
    explicit MainWindow(Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    const Services& services() const { return m_services; }
    StatusLine& status() override { return m_status; }

    // The wizard.
    void Command8_Click();
    void Command7_Click() override;
    void opChar_DblClick();
    void opJoin_DblClick();
    void opServ_DblClick();
    void ShowChoicePage();
    void UpdateSpySwitch();
    void Text4_Click() override;

    // Spy state.
    void chSpy_Click();
    int spyValue() const;

    // Option menus.
    void Command14_Click();
    void Command11_Click();
    void mnuSpyWindow_Click();
    void mnuListServer_Click();
    void mnuTSF_Click();

    // Game paths and their dialog.
    struct GamePathCheck {
        QString location;          // the 1.21 to 1.23 build's setting
        bool dialogOpened = false; // either path was never set, so the dialog was opened
    };
    // Opens the game-path dialog when either path was never set.
    GamePathCheck CheckGamePaths(bool centre = false);
    void OpenPathDialog(bool centre);
    void mnuChangeJj2Paths_Click();
    GamePathDialog* gamePathDialog() const; // null while the dialog is not loaded

    // "About".
    void Command5_Click();
    AboutWindow* aboutWindow() const; // null while the About window is not loaded

    // Page routines the wizard calls.
    void ShowCharacterPage();
    void ShowJoinPage();
    void ShowServePage();
    void WriteProfile();
    void SaveCharacterPage();
    void SaveServePage();
    void JoinFinish();
    void ServeFinish();

    // The "Add-ons" button's popup menu and the add-on editor it opens.
    void Command20_Click();
    AddonStarter& addonStarter() const { return *m_addons; }

    // Timers.
    void Timer2_Timer();
    void Timer5_Timer();
    void Timer6_Timer();

    // What the pages ask of the window.
    void hideChoiceOptions() override;
    void selectCharacterOption() override;
    void selectServeOption() override;
    void setPictureVisible(Picture picture, bool visible) override;
    void setGameType(const QString& word) override;
    void setCoopDifficulty(const QString& word) override;
    void showJoinPicture() override;
    void enableFinish() override;
    platform::Dialogs& dialogs() override { return *m_services.dialogs; }
    quint16 gamePort() const override { return m_services.gamePort; }

    // What the password window takes from the window when it opens.
    QString privateServerAddress() const override;
    std::optional<QString> selectedServerVersion() const override;
    QString tsfExecutable() const override;
    QString gameExecutable() const override;
    PasswordDialog& passwordDialog() override;
    // The listing of a hosted game, and what it reads of the serve page.
    Listing& listing();
    QString serverNameText() const override;
    QString maxPlayersText() const override;
    int tsfValue() const override;
    QString gameTypeWord() const override;
    void setMaxPlayersArg(const QString& value) override;
    QString maxPlayersArg() const override;
    QIcon programIcon() const override;

    // What the game-path dialog asks of the window.
    void setGameExecutable(const QString& file) override;
    void enableMainWindow() override;
    void startTimer6(int msec) override;
    void gamePathDialogUnloaded() override;

    // First page.
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QRadioButton* opServ = nullptr;
    QRadioButton* opJoin = nullptr;
    QRadioButton* opChar = nullptr;
    QCheckBox* chSpy = nullptr;

    // Pictures, in stacking order from bottom to top (imgQuillmere on top).
    QLabel* imgJoin = nullptr;
    QLabel* imgBattle = nullptr;
    QLabel* imgTreasure = nullptr;
    QLabel* imgRace = nullptr;
    QLabel* imgCTF = nullptr;
    QLabel* imgCoop = nullptr;
    QLabel* imgQuillmere = nullptr;

    // Page panels.
    CharacterPage* Frame3 = nullptr;
    JoinPage* Frame1 = nullptr;
    ServePage* Frame2 = nullptr;

    // Bottom row.
    QFrame* Line2 = nullptr;
    QFrame* Line1 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command20 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QStatusBar* Stat = nullptr;

    // Working copies of the game paths (the 1.21 to 1.23 build's in jpath and path, the 1.24
    // build's in TSFPath).
    QString TSFPath;
    QString jpath;
    QString path;

    QTimer* Timer2 = nullptr;
    QTimer* Timer5 = nullptr;
    QTimer* Timer6 = nullptr;

    // The window's menus, never shown as a menu bar: only their items appear, as popups under
    // "Game Options" and the serve page's "Options". The marks are set afresh at every opening.
    QAction* mnuSpyWindow = nullptr;
    QAction* mnuDashGO = nullptr;
    QAction* mnuChangeJj2Paths = nullptr;
    QList<QAction*> mnuGameOptions;
    QAction* mnuListServer = nullptr;
    QAction* mnuTSF = nullptr;
    QList<QAction*> mnuServeOptions;

    // " -spy" or " -NoSpy", appended last to the game's join and serve command lines.
    QString SpySwitch;
    // The maximum-players value of the last hosted game's command line.
    QString MaxPlayersArg;

    // The served game's type word ("Battle", "Coop", "Capture", "Race", "Treasure") and its coop
    // difficulty ("easy", "medium", "hard"; empty until a difficulty button has been chosen).
    QString GameType;
    QString CoopDifficulty;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFirstPage();
    void buildBottomRow();
    void buildHiddenState();
    void buildOptionMenus();
    void openPopup(const QList<QAction*>& menu, QPoint clientPos);
    void Form_Load();
    void Form_Unload();
    void endProgram();
    void setWizardCaptionsForPage();
    GamePathDialog& loadPathDialog();
    void reportFailedStart(const GamePathCheck& paths, const platform::StartResult& result);

    Services m_services;
    StatusLine m_status;
    QPointer<GamePathDialog> m_form3;
    QPointer<AboutWindow> m_form4;
    AddonStarter* m_addons = nullptr;
    QPointer<PasswordDialog> m_form9;
    Listing* m_listing = nullptr;
};

// Whether a control's own visibility flag is set, whatever its window shows.
bool visibleFlag(const QWidget* widget);
