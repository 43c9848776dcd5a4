#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace platform {

// The registry as the game's player profile needs it: open an existing key, set a value in it.
// Numbers are those of the Windows registry, so that handles, roots, types and access masks pass
// through unchanged on Windows.
namespace reg {
using Handle = quint32; // 0: no key

constexpr Handle CurrentUser = 0x80000001u; // HKEY_CURRENT_USER
constexpr Handle Users = 0x80000003u;       // HKEY_USERS

constexpr quint32 TypeString = 1; // REG_SZ
constexpr quint32 TypeBinary = 3; // REG_BINARY

constexpr quint32 SetValueAccess = 0x0002u; // KEY_SET_VALUE
constexpr quint32 AllAccess = 0xF003Fu;     // KEY_ALL_ACCESS
} // namespace reg

// What became of the values set in one batch of writes.
struct WriteReport {
    QString store;            // where they were to go (the Wine prefix)
    bool storeExists = true;  // false: there is no such store, so no key could open
    int keysWritten = 0;      // keys that took at least one value
    bool throughWine = false; // the failure (else: any write) was Wine's, which runs for the prefix
    QString failure;          // why values were lost; empty when none were
    QString unreadable;       // a file of the store that exists but could not be read
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens an existing key (never creates one). `subKey` is single-byte text, its names joined
    // by "\". 0 when the key does not exist or cannot be opened.
    virtual reg::Handle openKey(reg::Handle root, const QByteArray& subKey, quint32 access) = 0;

    // Stores a value as the Windows call RegSetValueExA is given it: single-byte name, the type,
    // and the data bytes (for a text type: single-byte text). False when nothing was stored.
    virtual bool setValue(reg::Handle key, const QByteArray& name, quint32 type,
                          const QByteArray& data) = 0;

    // Forgets a handle; later calls with it fail.
    virtual void closeKey(reg::Handle key) = 0;

    // The writes up to endWrites() are one batch, held in memory and stored only at
    // storeWrites() and endWrites(), each time where the values must then go (the store may
    // have been taken over by another program meanwhile). Outside a batch every value is stored
    // at once.
    virtual void beginWrites() = 0;
    // Stores what the batch holds so far; what could not be stored is tried again at the end.
    virtual void storeWrites() = 0;
    // Stores the rest and ends the batch; `done` learns what became of all of it, at once or,
    // where values go through another program, later from the event loop.
    virtual void endWrites(std::function<void(const WriteReport&)> done) = 0;

    // Values of ended batches are still on their way, or their reports not yet delivered.
    virtual bool busy() const = 0;
    // Calls `then` once nothing is busy any more: at once when nothing is.
    virtual void whenIdle(std::function<void()> then) = 0;
};

} // namespace platform
