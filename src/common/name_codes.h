#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

// The game's name mark-up in a player name: "§" and a digit "1" to "9" in front of a name set its
// spacing, a trailing "§" suppresses the colon after it, "|" toggles colours. The section sign is
// one character here and the byte 0xA7 in the game's single-byte text, so lengths count the same
// in both.
namespace name_codes {

inline constexpr QChar kSectionSign{0xA7};

// The longest name the game takes, codes included.
inline constexpr qsizetype kMaxNameLength = 14;

// Which codes a stripping takes out, in this order: every "|" when `bars` is set, then "§" with
// each of `digits` in turn, then every "§" left when `loneSigns` is set. Each removal scans once
// from the left and does not rescan the joins it makes, so the order decides what a join leaves.
struct Codes {
    bool bars = false;
    std::string_view digits = "123456789";
    bool loneSigns = true;
};

// The launcher's own: the spacing codes digit by digit, then any "§" on its own; "|" stays.
inline constexpr Codes kSpacingCodes{};

QString stripped(QString name, Codes codes = kSpacingCodes);
// The same in the game's single-byte text, where "§" is the byte 0xA7.
QByteArray stripped(QByteArray name, Codes codes);

// Whether `text` is exactly one of the digits "1" to "9".
bool isSpacingDigit(const QString& text);

// The name with its code added: a trailing "§", or "§" and the digit in front. Neither checks
// the room; see fitsColonCode and fitsSpacingCode.
QString withoutColon(const QString& name);
QString withSpacing(const QString& name, const QString& digit);

// Whether a name (already stripped) leaves room for the code.
bool fitsColonCode(const QString& name);
bool fitsSpacingCode(const QString& name);

} // namespace name_codes
