#pragma once

#include <QString>
#include <optional>

// Conversions of stored or typed text. Each returns nullopt where the conversion fails, so the
// caller can skip the step and leave its control as it was.

// A decimal number as typed: blanks around it, a fraction and an exponent are allowed ("." is the
// decimal point). Empty text, other text, infinities and NaN fail.
std::optional<double> ToDecimalNumber(const QString& text);

// `value` rounded to a whole number, halves to the even neighbour, when that lies in low..high.
std::optional<qint64> RoundedInRange(double value, qint64 low, qint64 high);

// A whole number of `bits` bits (16 or 32): blanks around it are allowed, a decimal or exponent
// form is rounded half to even ("2.5" -> 2, "3.5" -> 4, "1e2" -> 100), and "&H" with one to
// bits/4 hexadecimal digits is a bit pattern whose top bit is the sign ("&HFFFF" is -1 in 16 bits).
// Empty text, other text and numbers outside the signed range of `bits` bits fail.
std::optional<int> ToWholeNumber(const QString& text, int bits = 16);

// "True" and "False" in any letter case; a number is true when it is not zero ("000" is false).
std::optional<bool> ToTruthValue(const QString& text);

// "True" or "False", as truth values are stored.
QString TruthText(bool value);
