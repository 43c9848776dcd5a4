#pragma once

#include <QString>

// The game's name mark-up in a player name: "§" and a digit "1" to "9" in front of a name set its
// spacing, a trailing "§" suppresses the colon after it ("|" toggles colours and is no concern
// here). The section sign is one character here and the byte 0xA7 in the game's single-byte text,
// so lengths count the same in both.
namespace name_codes {

inline constexpr QChar kSectionSign{0xA7};

// The longest name the game takes, codes included.
inline constexpr qsizetype kMaxNameLength = 14;

// The name with every "§1" to "§9" removed, digit by digit in that order, then every remaining
// "§" on its own. Each removal scans once from the left and does not rescan the joins it makes.
QString stripped(const QString& name);

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
