#include "platform/settings_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace platform {

namespace {

// The store holds the paths of programs the launcher starts, so nobody else may write it: the
// file, its folder, and the lock and temporary files QSettings makes beside it are created for
// the owner only, whatever the umask. A file that exists keeps its mode (QSettings copies it).
// The umask is the process's, which is safe here: one thread.
class OwnerOnlyFiles {
public:
    OwnerOnlyFiles() : m_old(::umask(S_IRWXG | S_IRWXO)) {}
    ~OwnerOnlyFiles() { ::umask(m_old); }
    OwnerOnlyFiles(const OwnerOnlyFiles&) = delete;
    OwnerOnlyFiles& operator=(const OwnerOnlyFiles&) = delete;

private:
    mode_t m_old;
};

// QSettings treats "/" and "\" in a key as group separators. A section is a folder path, which
// must stay one group, so it is stored percent-encoded.
QString groupName(const QString& section) {
    return QString::fromLatin1(QUrl::toPercentEncoding(section));
}

QString keyPath(const QString& section, const QString& key) {
    return groupName(section) + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(key, " "));
}

// QSettings saves under a QLockFile, which fills its file only a moment after creating it: a
// program killed in between leaves an empty lock, which Qt takes for a living one until it is
// 30 s old, and the save (and the window) waits that long. A living QLockFile holds a flock on
// its file, so one that nobody holds and that is at least a second old has been abandoned.
void removeAbandonedLock(const QString& lockFile) {
    const QByteArray path = QFile::encodeName(lockFile);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat held {};
    struct stat named {};
    timespec now{};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        ::clock_gettime(CLOCK_REALTIME, &now) == 0) {
        const qint64 ageMs = (qint64(now.tv_sec) - held.st_mtim.tv_sec) * 1000 +
                             (now.tv_nsec - held.st_mtim.tv_nsec) / 1000000;
        // Still the file that was judged: not released and replaced by its owner meanwhile.
        if (ageMs >= 1000 && ::lstat(path.constData(), &named) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlink(path.constData());
    }
    ::close(fd);
}

} // namespace

QString SettingsBackend::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quillmere/Quillmere.ini");
}

SettingsBackend::SettingsBackend(QString filePath) : m_filePath(std::move(filePath)) {}

std::optional<QString> SettingsBackend::read(const QString& section, const QString& key) const {
    QSettings store(m_filePath, QSettings::IniFormat);
    const QVariant value = store.value(keyPath(section, key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

bool SettingsBackend::write(const QString& section, const QString& key,
                            const QString& value) const {
    {
        const OwnerOnlyFiles ownerOnly;
        QDir().mkpath(QFileInfo(m_filePath).absolutePath());
        removeAbandonedLock(m_filePath + QStringLiteral(".lock")); // the name QSettings locks
        QSettings store(m_filePath, QSettings::IniFormat);
        // A status is kept from the first error on: a file damaged by hand reports its format
        // error after every write, so only a sound file's status tells how the write went.
        const bool readCleanly = store.status() == QSettings::NoError;
        store.setValue(keyPath(section, key), value);
        store.sync(); // QSettings writes through a temporary file and renames it over the old one
        if (readCleanly)
            return store.status() == QSettings::NoError;
    }
    return read(section, key) == value;
}

} // namespace platform
