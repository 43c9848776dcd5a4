#pragma once

#include "platform/registry.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// The registry routines the profile writer works through. One key is open at a time: its handle
// is kept in hRegKey, and a failed opening leaves no usable handle, so that the writes after it
// fail instead of reaching the key opened before.
class RegistryRoutines {
public:
    // Without a registry no key opens.
    explicit RegistryRoutines(platform::Registry* registry);

    // Opens SubKey under hRoot into hRegKey; true when it opened.
    bool OpenRegKey(quint32 hRoot, const QString& SubKey, quint32 Access);

    // ValueType 1: Value as single-byte text, one byte per character, no NUL added.
    // ValueType 3: Value read as a 32-bit number (decimal, or hexadecimal after "&H"), written as
    // 4 bytes, little-endian. Any other type writes nothing. True when the value was stored.
    bool SetRegValue(quint32 hKey, const QString& ValueName, quint32 ValueType,
                     const QString& Value);

    quint32 GetRegKeyHandle() const { return hRegKey; }

    // One batch of writes (see platform::Registry); without a registry `done` is never called.
    void beginWrites();
    void storeWrites();
    void endWrites(std::function<void(const platform::WriteReport&)> done);

private:
    platform::Registry* m_registry;
    quint32 hRegKey = 0;
};

// The 4 bytes of a number given as text: a decimal number rounded to a whole one (halves to the
// even neighbour), or "&H" and one to eight hexadecimal digits, all 32 bits of them; nullopt for
// any other text and for numbers outside the 32-bit range.
std::optional<QByteArray> binaryValue(const QString& value);
