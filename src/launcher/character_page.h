#pragma once

#include "common/setting_keys.h"
#include "launcher/character_page_host.h"
#include "launcher/registry_routines.h"
#include "launcher/services.h"

#include <QFrame>
#include <QPointer>
#include <array>
#include <optional>
#include <utility>

class ColorTableWindow;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The character page (Frame3): alias, fur colours and character, kept in the settings between
// runs and written as the game's player profile, for both builds of the game, on "Finish".
class CharacterPage : public QFrame {
    Q_OBJECT
public:
    CharacterPage(CharacterPageHost& host, Services services, QWidget* parent = nullptr);
    ~CharacterPage() override;

    void ShowCharacterPage();
    void SaveCharacterPage();
    void WriteProfile();

    // Brings each fur box into 0..255: above it, or no number at all, gives "255"; below, "0".
    void FurCorrection();
    // "&H" and two hex digits per fur, fur 4 first, each rounded halves to even; nullopt while a
    // box holds no number in 0..255.
    std::optional<QString> ColorText() const;

    void Command2_Click();
    void Command17_Click();
    ColorTableWindow* colorTableWindow() const; // null while the colour table is not loaded

    // Name tools: "Remove Colon", "Set Name Spacing" and the stripping both start with.
    void Command15_Click();
    void Command16_Click();
    void StripNameCodes();

    RegistryRoutines& registryRoutines() { return m_module; }

    QLabel* Label7 = nullptr;
    QLineEdit* Alias = nullptr;
    QPushButton* Command15 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* spacing = nullptr;
    QPushButton* Command16 = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* Fur1 = nullptr;
    QLineEdit* Fur2 = nullptr;
    QLineEdit* Fur3 = nullptr;
    QLineEdit* Fur4 = nullptr;
    QPushButton* Command17 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label12 = nullptr;
    QRadioButton* Jazz = nullptr;
    QRadioButton* Spaz = nullptr;
    QRadioButton* Lori = nullptr;

private:
    // Each box and option with its setting, in the order they are read and stored.
    std::array<std::pair<QLineEdit*, SettingKey>, 4> furKeys() const;
    std::array<std::pair<QRadioButton*, SettingKey>, 3> characterKeys() const;
    void openKey(quint32 root, const QString& subKey);
    void writeValue(const QString& name, quint32 type, const QString& value);
    void writeName();
    void writeColor();
    void writeCharacter(const std::optional<QString>& code);
    std::optional<QString> characterCode123(std::optional<QString>& loriAnswer);
    std::optional<QString> characterCode124() const;
    QString askLoriQuestion();
    void reportProfile(const platform::WriteReport& report);

    CharacterPageHost& m_host;
    Services m_services;
    RegistryRoutines m_module;
    QPointer<ColorTableWindow> m_form5;
};
