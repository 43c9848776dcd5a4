#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace platform {

// While a wineserver runs for a prefix, it holds the prefix's registry and writes its own copy
// over user.reg when it saves: values must then go through Wine itself.

// Where the wineserver of `prefix` listens: /tmp/<dir>/server-<dev>-<inode>/socket, <dir> being
// the name in the prefix's file "wineserver" (Debian's Wine), else ".wine-<uid>" (upstream Wine).
// Empty when the prefix does not exist.
QString wineServerSocket(const QString& prefix);

// A wineserver runs for the prefix: its socket accepts a connection.
bool wineServerRuns(const QString& prefix);

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

// Hands values to the Wine of a prefix, one batch after the other, never blocking: `wine reg
// query` tells which keys exist, and one `wine regedit /S` stores the values of those (an import
// would create the others). The program "wine" is looked up on PATH.
class WineImport {
public:
    // How many keys took values, and why values were lost (empty when none were).
    using Done = std::function<void(int keysWritten, const QString& failure)>;

    explicit WineImport(QString prefix);
    // Finishes what is queued (bounded), so that a closing program loses nothing; reports nothing.
    ~WineImport();
    WineImport(const WineImport&) = delete;
    WineImport& operator=(const WineImport&) = delete;

    void enqueue(QList<WineValue> values, Done done);
    bool busy() const;

private:
    struct State;
    std::unique_ptr<State> m;
};

} // namespace platform
