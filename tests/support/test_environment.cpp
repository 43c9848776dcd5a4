#include "support/test_environment.h"

#include <csignal>

#include "common/timing.h"
#include "platform/program_exit.h"

#include <QDir>
#include <QFile>

namespace support {

void QuietEnvironment::SetUp() {
    timing::setScale(0.1);
}

Sandbox::Sandbox() {
    m_programFolder = m_dir.filePath(QStringLiteral("Program Files/Quillmere"));
    m_settings = std::make_unique<AppSettings>(
        platform::SettingsBackend(m_dir.filePath(QStringLiteral("config/Quillmere.ini"))),
        [this] { return m_programFolder; });
    m_previousEndProgram = platform::setEndProgramHandler([this] { ++m_endProgramCalls; });
}

Services Sandbox::services() {
    Services services{m_settings.get(), &m_dialogs, &m_starter};
    services.listServerHost = QStringLiteral("127.0.0.1");
    services.serverListPort = m_listServer.port();
    services.popupMenu = &m_popupMenu;
    // The password check sends to the sandbox's game server and never binds the game's port.
    services.passwordServerPort = m_passwordServer.port();
    services.passwordLocalPort = 0;
    services.listingPort = m_listingServer.port();
    services.gamePort = m_gameServer.port();
    return services;
}

Sandbox::~Sandbox() {
    platform::setEndProgramHandler(std::move(m_previousEndProgram));
}

QString Sandbox::makeFile(const QString& name, const QByteArray& bytes) const {
    const QString file = m_dir.filePath(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return file;
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &m_before) != 0)
        return;
    m_signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_before;
    limit.rlim_cur = rlim_t(bytes);
    m_set = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (m_set)
        ::setrlimit(RLIMIT_FSIZE, &m_before);
    if (m_signal)
        std::signal(SIGXFSZ, m_signal);
}

} // namespace support
