#include "launcher/registry_routines.h"

#include "platform/windows_1252.h"

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

} // namespace

RegistryRoutines::RegistryRoutines(platform::Registry* registry) : m_registry(registry) {}

bool RegistryRoutines::OpenRegKey(quint32 hRoot, const QString& SubKey, quint32 Access) {
    if (!m_registry)
        return false;
    // Only one key is held at a time, so the one held so far is let go.
    if (hRegKey != 0)
        m_registry->closeKey(hRegKey);
    hRegKey = m_registry->openKey(hRoot, platform::toWindows1252(SubKey), Access);
    return hRegKey != 0;
}

bool RegistryRoutines::SetRegValue(quint32 hKey, const QString& ValueName, quint32 ValueType,
                                   const QString& Value) {
    if (!m_registry || hKey == 0)
        return false;
    QByteArray data;
    if (ValueType == platform::reg::TypeString) {
        data = platform::toWindows1252(Value);
    } else if (ValueType == platform::reg::TypeBinary) {
        const std::optional<QByteArray> bytes = binaryValue(Value);
        if (!bytes)
            return false;
        data = *bytes;
    } else {
        return false;
    }
    return m_registry->setValue(hKey, platform::toWindows1252(ValueName), ValueType, data);
}

void RegistryRoutines::beginWrites() {
    if (m_registry)
        m_registry->beginWrites();
}

void RegistryRoutines::storeWrites() {
    if (m_registry)
        m_registry->storeWrites();
}

void RegistryRoutines::endWrites(std::function<void(const platform::WriteReport&)> done) {
    if (m_registry)
        m_registry->endWrites(std::move(done));
}

std::optional<QByteArray> binaryValue(const QString& value) {
    const QString t = value.trimmed();
    quint32 bits = 0;
    if (t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        const QString digits = t.mid(2);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        for (const QChar c : digits) {
            const int d = hexDigit(c.unicode());
            if (d < 0)
                return std::nullopt;
            bits = bits << 4 | quint32(d);
        }
    } else {
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return std::nullopt;
        const double rounded = std::nearbyint(v); // the default rounding is halves to even
        if (rounded < -2147483648.0 || rounded > 2147483647.0)
            return std::nullopt;
        bits = quint32(qint32(rounded));
    }
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((bits >> shift) & 0xFF);
    return bytes;
}
