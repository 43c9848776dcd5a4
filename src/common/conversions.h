#pragma once

#include <QString>
#include <optional>

// Conversions of stored or typed text. Each returns nullopt where the conversion fails, so the
// caller can skip the step and leave its control as it was.

// A whole number in the 16-bit range: blanks around it are allowed, a decimal or exponent form is
// rounded half to even ("2.5" -> 2, "3.5" -> 4, "1e2" -> 100), "&H1F" is hexadecimal.
// Empty text, other text and numbers outside -32768..32767 fail.
std::optional<int> ToWholeNumber(const QString& text);

// "True" and "False" in any letter case; a number is true when it is not zero ("000" is false).
std::optional<bool> ToTruthValue(const QString& text);

// "True" or "False", as truth values are stored.
QString TruthText(bool value);
