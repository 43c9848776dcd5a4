#pragma once

#include "common/app_settings.h"
#include "launcher/services.h"
#include "support/fake_dialogs.h"
#include "support/fake_popup_menu.h"
#include "support/game_server_peer.h"
#include "support/list_server_peer.h"
#include "support/password_server_peer.h"
#include "support/recording_starter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>

namespace support {

// Shrinks every launcher delay tenfold for the whole run (their order is kept).
class QuietEnvironment : public testing::Environment {
public:
    void SetUp() override;
};

// A fresh world for one test: a settings store in a temporary folder, a program folder of its
// own, scripted dialogs, and an end-of-program handler that only counts.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();

    AppSettings& settings() { return *m_settings; }
    FakeDialogs& dialogs() { return m_dialogs; }
    RecordingStarter& starter() { return m_starter; }
    FakeNativePopupMenu& popupMenu() { return m_popupMenu; }
    // Services whose list server is the sandbox's own peer: nothing leaves this machine.
    Services services();
    ListServerPeer& listServer() { return m_listServer; }
    PasswordServerPeer& passwordServer() { return m_passwordServer; }
    // The list server's listing port, where hosted games are registered.
    ListServerPeer& listingServer() { return m_listingServer; }
    // The game server that the services' game port leads to.
    GameServerPeer& gameServer() { return m_gameServer; }

    // The folder the program "runs from"; change it to pretend another installed copy.
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    const QString& programFolder() const { return m_programFolder; }

    QString tempPath(const QString& name) const { return m_dir.filePath(name); }
    QString makeFile(const QString& name, const QByteArray& bytes = {}) const;

    int endProgramCalls() const { return m_endProgramCalls; }

private:
    QTemporaryDir m_dir;
    QString m_programFolder;
    std::unique_ptr<AppSettings> m_settings;
    FakeDialogs m_dialogs;
    RecordingStarter m_starter;
    FakeNativePopupMenu m_popupMenu;
    ListServerPeer m_listServer;
    PasswordServerPeer m_passwordServer;
    ListServerPeer m_listingServer{ListServerPeer::Port::Listing};
    GameServerPeer m_gameServer;
    int m_endProgramCalls = 0;
    std::function<void()> m_previousEndProgram;
};

// While it lives, this process may write no file past `bytes` (RLIMIT_FSIZE), and SIGXFSZ is
// ignored as the launcher ignores it, so that such a write fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool set() const { return m_set; }

private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
    bool m_set = false;
};

} // namespace support
