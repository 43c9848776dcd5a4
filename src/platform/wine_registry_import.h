#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

// While a wineserver runs for a prefix, it holds the prefix's registry and writes its own copy
// over user.reg when it saves: values must then go through Wine itself.

// Where the wineserver of `prefix` listens: /tmp/<dir>/server-<dev>-<inode>/socket, <dir> being
// the name in the prefix's file "wineserver" (Debian's Wine), else ".wine-<uid>" (upstream Wine).
// Empty when the prefix does not exist.
QString wineServerSocket(const QString& prefix);

// A wineserver runs for the prefix: its socket accepts a connection.
bool wineServerRuns(const QString& prefix);

// Whether Wine holds the prefix's registry, as far as the files are concerned. A wineserver holds
// an fcntl write lock on the file "lock" beside its socket for its whole life: it takes it before
// it listens, and lets go only after its last save of the registry, which comes about half a
// second after its socket has stopped accepting.
enum class WineServerState {
    Absent,  // no wineserver: the files are the registry
    Running, // it accepts: values go through Wine
    Ending,  // it refuses but holds its lock: starting, or about to save over the files and exit
};
WineServerState wineServerState(const QString& prefix);

// One value for Wine to store: the key's full name ("HKEY_CURRENT_USER\..."), and the bytes as
// the registry keeps them.
struct WineValue {
    QString key;
    QString name;
    quint32 type = 0;
    QByteArray stored;
};

// The values as a "Windows Registry Editor Version 5.00" file, UTF-16LE with its byte-order
// mark, each value as hex data so that Wine stores exactly these bytes.
QByteArray regeditFile(const QList<WineValue>& values);

// The values of `key` (its own, not its subkeys') in a file that `wine reg export` wrote:
// UTF-16LE text in the same format, strings quoted, other types as hex or dword data. Strings
// come back as the registry keeps them (UTF-16LE with a terminating NUL). Nothing when the file
// is no export or does not hold the key.
std::optional<QList<WineValue>> exportedValues(const QByteArray& file, const QString& key);

// Why the values that Wine holds for a key differ from those sent to it; empty when it holds
// every one of them as sent. A text type compares up to its first NUL, as Wine exports it.
QString storedDifference(const QList<WineValue>& sent, const QList<WineValue>& held);

// Hands values to the Wine of a prefix, one batch after the other, never blocking: `wine reg
// query` tells which keys exist, one `wine regedit /S` stores the values of those (an import
// would create the others), and `wine reg export` reads each key back, since regedit reports
// success also when it stored nothing (a cut file, a wineserver ended meanwhile); the keys found
// missing are asked for once more. The program "wine" is looked up on PATH.
class WineImport {
public:
    // The keys that took their values, and why values were lost (empty when none were).
    using Done = std::function<void(const QStringList& keysWritten, const QString& failure)>;

    explicit WineImport(QString prefix);
    // Finishes what is queued (bounded), so that a closing program loses nothing; reports nothing.
    ~WineImport();
    WineImport(const WineImport&) = delete;
    WineImport& operator=(const WineImport&) = delete;

    void enqueue(QList<WineValue> values, Done done);
    // A batch is queued or under way, or its `done` has not yet returned.
    bool busy() const;
    // Calls `then` once nothing is busy any more: at once when nothing is.
    void whenIdle(std::function<void()> then);

private:
    struct State;
    std::unique_ptr<State> m;
};

} // namespace platform
