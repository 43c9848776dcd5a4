#pragma once

#include <QString>

// A key of the settings store, with what its readers get while it was never written.
struct SettingKey {
    const char* name;
    const char* fallback = ""; // the key's default; the empty text for a key without one

    QString nameText() const { return QString::fromLatin1(name); }
    QString defaultText() const { return QString::fromLatin1(fallback); }
};

// Every key the launcher keeps (blanks and capitals matter), with its default. Values are text;
// each reader converts its own (whole numbers, "True"/"False") and skips what does not convert.
namespace setting_keys {

// The first page's spy check box: "0", "1" or "2".
inline constexpr SettingKey kSpy{"Spy"};
// The game's executables, 1.21 to 1.23 build and 1.24 build. A build accepted without a valid
// file is stored as its hint text; only a missing one counts as unset, so there is no default.
inline constexpr SettingKey kJazz2Location{"Jazz2 Location"};
inline constexpr SettingKey kJazz2TsfLocation{"Jazz2 TSF Location"};

// The character page. The characters are "True" or "False"; their default reads as false.
inline constexpr SettingKey kAlias{"Alias", "Your Name"};
inline constexpr SettingKey kSpacing{"Spacing", "1-9"};
inline constexpr SettingKey kFur1{"Fur1", "000"};
inline constexpr SettingKey kFur2{"Fur2", "000"};
inline constexpr SettingKey kFur3{"Fur3", "000"};
inline constexpr SettingKey kFur4{"Fur4", "000"};
inline constexpr SettingKey kJazz{"Jazz", "000"};
inline constexpr SettingKey kSpaz{"Spaz", "000"};
inline constexpr SettingKey kLori{"Lori", "000"};

// The serve page. Its empty boxes are filled by the page's own rule; "Level Name" is only written.
inline constexpr SettingKey kServerName{"Server Name"};
inline constexpr SettingKey kServerLevel{"Server Level"};
inline constexpr SettingKey kMaxPlayers{"Max Players"};
inline constexpr SettingKey kVersion{"Version"}; // the TSF box: "0" or "1"
inline constexpr SettingKey kList{"List"};       // the List Server box: "0" or "1"
inline constexpr SettingKey kRoastsRequired{"Roasts Required"};
inline constexpr SettingKey kCoopEasy{"Coop Easy"};
inline constexpr SettingKey kCoopMed{"Coop Med"};
inline constexpr SettingKey kCoopHard{"Coop Hard"};
inline constexpr SettingKey kTabItem{"Tab Item"}; // the game-type tab, "1" to "5"
inline constexpr SettingKey kLevelName{"Level Name"};

// The add-on list, as one text.
inline constexpr SettingKey kAddons{"Addons"};

} // namespace setting_keys
