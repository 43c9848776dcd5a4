#include "launcher/registry_routines.h"

#include "common/conversions.h"
#include "platform/windows_1252.h"

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
    const std::optional<int> number = ToWholeNumber(value, 32);
    if (!number)
        return std::nullopt;
    const quint32 bits = quint32(*number);
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((bits >> shift) & 0xFF);
    return bytes;
}
