#include "common/conversions.h"

#include <cmath>

namespace {

std::optional<double> toNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        bool ok = false;
        const qlonglong v = t.mid(2).toLongLong(&ok, 16);
        if (!ok || t.size() > 6)
            return std::nullopt;
        // Four hex digits are a 16-bit pattern: &HFFFF is -1.
        return double(t.size() > 5 ? qint16(v) : v);
    }
    bool ok = false;
    const double v = t.toDouble(&ok); // C locale: "." is the decimal point
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

std::optional<int> ToWholeNumber(const QString& text) {
    const std::optional<double> v = toNumber(text);
    if (!v)
        return std::nullopt;
    const double rounded = std::nearbyint(*v); // the default rounding mode is half to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return int(rounded);
}

std::optional<bool> ToTruthValue(const QString& text) {
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> v = toNumber(text);
    if (!v)
        return std::nullopt;
    return *v != 0.0;
}

QString TruthText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
