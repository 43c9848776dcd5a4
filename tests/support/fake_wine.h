#pragma once

#include "support/recording_program.h"

#include <QByteArray>
#include <QLocalServer>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

namespace support {

// A `wine` first on PATH for its lifetime that records each call ("<WINEPREFIX>|<arguments>",
// one a line), answers `reg query KEY` with 0 for the keys it is given (any letter case) and 1 for
// others, and keeps what `regedit /S -` reads, exiting with `regeditExit`.
class FakeWine {
public:
    explicit FakeWine(const QStringList& existingKeys, int regeditExit = 0);

    QStringList calls() const;
    // What the last import read, waited for at most 5 s; nullopt when none came.
    std::optional<QByteArray> waitForImport() const;

private:
    QTemporaryDir m_bin;
    std::optional<ScopedEnvironment> m_path;
};

// A wineserver as Debian's Wine leaves one for `prefix`: the name of a folder of its own in the
// prefix's file "wineserver", and a socket that accepts connections at
// /tmp/<that name>/server-<device>-<inode>/socket. All of it goes with the object.
class FakeWineServer {
public:
    explicit FakeWineServer(const QString& prefix);
    ~FakeWineServer();
    FakeWineServer(const FakeWineServer&) = delete;
    FakeWineServer& operator=(const FakeWineServer&) = delete;

    bool listening() const { return m_server.isListening(); }

private:
    QString m_folder;
    QLocalServer m_server;
};

} // namespace support
