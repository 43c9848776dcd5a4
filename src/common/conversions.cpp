#include "common/conversions.h"

#include <cmath>

namespace {

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// "&H" and its digits, hexadecimal digits only: no sign, blank or "0x" after the prefix.
std::optional<qint64> hexPattern(QStringView digits, int bits) {
    if (digits.isEmpty() || digits.size() > bits / 4)
        return std::nullopt;
    quint32 pattern = 0;
    for (const QChar c : digits) {
        const int d = hexDigit(c.unicode());
        if (d < 0)
            return std::nullopt;
        pattern = pattern << 4 | quint32(d);
    }
    const quint32 sign = quint32(1) << (bits - 1);
    return qint64(pattern & (sign - 1)) - qint64(pattern & sign);
}

// The number a text stands for, not yet rounded.
std::optional<double> legacyNumber(const QString& text, int bits) {
    const QString t = text.trimmed();
    if (t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        const std::optional<qint64> v = hexPattern(QStringView(t).sliced(2), bits);
        return v ? std::optional<double>(double(*v)) : std::nullopt;
    }
    return ToDecimalNumber(t);
}

} // namespace

std::optional<double> ToDecimalNumber(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok); // C locale: "." is the decimal point
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint64> RoundedInRange(double value, qint64 low, qint64 high) {
    const double rounded = std::nearbyint(value); // the default rounding mode is half to even
    if (!(rounded >= double(low) && rounded <= double(high)))
        return std::nullopt;
    return qint64(rounded);
}

std::optional<int> ToWholeNumber(const QString& text, int bits) {
    Q_ASSERT(bits == 16 || bits == 32);
    const std::optional<double> v = legacyNumber(text, bits);
    if (!v)
        return std::nullopt;
    const qint64 limit = qint64(1) << (bits - 1);
    const std::optional<qint64> whole = RoundedInRange(*v, -limit, limit - 1);
    return whole ? std::optional<int>(int(*whole)) : std::nullopt;
}

std::optional<bool> ToTruthValue(const QString& text) {
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> v = legacyNumber(text, 16);
    if (!v)
        return std::nullopt;
    return *v != 0.0;
}

QString TruthText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
