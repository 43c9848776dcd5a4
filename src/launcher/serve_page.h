#pragma once

#include "launcher/serve_page_host.h"
#include "launcher/services.h"

#include <QFrame>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

// The serve page (Frame2): game type, level, limits and the options of a hosted game. The page's
// values live in its controls and in its host's GameType and CoopDifficulty; "Finish" and the
// listing read them as they stand.
class ServePage : public QFrame {
    Q_OBJECT
public:
    using AddressSource = std::function<std::optional<QString>()>;

    ServePage(ServePageHost& host, Services services, QWidget* parent = nullptr);

    void ShowServePage();
    void SaveServePage();

    // The defaults of game type `tab` (1 Battle, 2 Coop, 3 Capture, 4 Race, 5 Treasure).
    void ApplyGameTypeDefaults(int tab);
    // Puts the title of a level file into Label13. False, and the label left alone, when the
    // file holds a first NUL but no second one. A file that cannot be read has an empty title.
    bool ReadLevelTitle(const QString& file);

    void Tabb_Click();
    void Option2_Click(int index);
    void Command1_Click();

    // The selected tab, 1 to 5.
    int selectedTab() const;
    // Selects tab `tab` (1 to 5) from code; Tabb_Click runs when the selection changes. False
    // for a number that names no tab.
    bool selectTab(int tab);
    // A coop button's value set from code: True selects it and runs Option2_Click even when it
    // was selected already; False clears it.
    void setOption2(int index, bool value);

    // Where "Your IP: " takes the machine's address from until the route to the list server is
    // known; the platform's by default.
    void setLocalAddressSource(AddressSource source);

    QTabWidget* Tabb = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Level = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* reQ = nullptr;
    QLineEdit* Text3 = nullptr;
    std::array<QRadioButton*, 3> Option2{}; // "Easy", "Medium", "Hard"
    QLabel* Label4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label14 = nullptr;
    QPushButton* Command11 = nullptr;
    QCheckBox* Check1 = nullptr; // "TSF": host with the 1.24 build
    QCheckBox* Check2 = nullptr; // "List Server": announce the hosted game

private:
    void buildTabs();
    void buildFields();
    QString gameFolder() const;
    void showDefaultLevelTitle();

    ServePageHost& m_host;
    Services m_services;
    QButtonGroup* m_coopGroup = nullptr;
    AddressSource m_localAddress;
};
