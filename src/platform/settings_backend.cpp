#include "platform/settings_backend.h"

#include "platform/read_file.h"
#include "platform/write_all.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace platform {

namespace {

// The store holds the paths of programs the launcher starts, so nobody else may write it: the
// file, its folder, the lock, and the copies and temporary files made beside it are created for
// the owner only, whatever the umask. A file that exists keeps its mode (the save copies it).
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

// A save runs under a QLockFile, which fills its file only a moment after creating it: a
// program killed in between leaves an empty lock, which Qt takes for a living one until it is
// 30 s old, and the save (and the window) waits that long. A living QLockFile holds a flock on
// its file, so one that nobody holds and that is at least a second old has been abandoned.
// Qt's lock is always a regular file: a symbolic link there was not made by a living launcher,
// and Qt can neither read nor date it (it waited for ever on a dangling one), so the link itself
// goes, never what it names.
void removeAbandonedLock(const QString& lockFile) {
    const QByteArray path = QFile::encodeName(lockFile);
    struct stat named {};
    if (::lstat(path.constData(), &named) == 0 && S_ISLNK(named.st_mode)) {
        ::unlink(path.constData());
        return;
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat held {};
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

// The file a chain of symbolic links ends in: the store is written there and the links stay, as
// QSaveFile does. Empty for a chain without end.
QString linkTarget(QString path) {
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            return path;
        path = info.symLinkTarget();
    }
    return {};
}

// A file of our own beside `beside` (same folder, so it can be renamed over it), owner-only and
// holding `bytes` whole (or not made at all), and removed again unless it was renamed away.
class OwnFile {
public:
    explicit OwnFile(const QString& beside, const QByteArray& bytes = {})
        : m_path(QFile::encodeName(beside) + ".XXXXXX") {
        const int fd = ::mkstemp(m_path.data());
        if (fd < 0) {
            m_path.clear();
            return;
        }
        const int failure = writeAll(fd, bytes);
        if (::close(fd) != 0 || failure != 0) {
            ::unlink(m_path.constData());
            m_path.clear();
        }
    }
    ~OwnFile() {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    OwnFile(const OwnFile&) = delete;
    OwnFile& operator=(const OwnFile&) = delete;

    bool made() const { return !m_path.isEmpty(); }
    QString name() const { return QFile::decodeName(m_path); }
    const QByteArray& path() const { return m_path; }
    bool renameOver(const QByteArray& other) {
        if (::rename(m_path.constData(), other.constData()) != 0)
            return false;
        m_path.clear();
        return true;
    }

private:
    QByteArray m_path;
};

using Values = QMap<QString, QVariant>;

// Every value a store holds under a key QSettings can look up. A file edited by hand can hold
// others ("=x", "[]" and "[%2Fp]" make "", "/x" and "/p/..."), which Qt keeps but cannot read.
Values valuesOf(const QSettings& store) {
    Values values;
    for (const QString& key : store.allKeys())
        if (!key.isEmpty() && key.split(u'/', Qt::SkipEmptyParts).join(u'/') == key)
            values.insert(key, store.value(key));
    return values;
}

// Qt neither notices a write that came up short (it commits the cut file) nor reads back what it
// wrote (it trusts its cache of a file it wrote itself), so the file is parsed afresh, under a
// name Qt has never seen, and must hold every value; a whole file ends with a line end.
bool holdsAll(const QString& file, const Values& expected) {
    QFile raw(file);
    if (!raw.open(QIODevice::ReadOnly) || !raw.readAll().endsWith('\n'))
        return false;
    const Values found = valuesOf(QSettings(file, QSettings::IniFormat));
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const auto same = found.constFind(it.key());
        if (same == found.constEnd() || *same != *it)
            return false;
    }
    return true;
}

// Qt knows a file it has read by its size and modification time in milliseconds, so a save of
// the same size within the same millisecond would leave this process reading the old values.
bool datedAfter(const QByteArray& path, const struct stat& old) {
    struct stat now {};
    if (::stat(path.constData(), &now) != 0)
        return false;
    const auto ms = [](const timespec& t) { return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000; };
    const qint64 after = ms(old.st_mtim) + 1;
    if (ms(now.st_mtim) >= after)
        return true;
    // Only an old file dated now or ahead of the clock gets here: `after` is well past 1970.
    const timespec times[2] = {{0, UTIME_OMIT},
                               {time_t(after / 1000), long(after % 1000) * 1000000}};
    return ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
}

// QSettings writes the new value into a copy of the file beside it, exactly as it would have
// written the file itself; the copy must then hold every value the file held and the new one
// before it is renamed over the file: a failed or cut write leaves the file as it was.
// Runs under the store's lock, so no QSettings may write `file` meanwhile.
bool replaceStore(const QString& file, const QString& key, const QString& value) {
    const QString target = linkTarget(file);
    if (target.isEmpty())
        return false;
    const QByteArray targetPath = QFile::encodeName(target);
    struct stat old {};
    const bool exists = ::stat(targetPath.constData(), &old) == 0;
    // A file the user made read-only stays as it is (QSettings refused to write it too).
    if ((!exists && errno != ENOENT) || (exists && ::access(targetPath.constData(), W_OK) != 0))
        return false;

    Values expected;
    {
        // Read only: it takes no lock. A file damaged by hand yields what can be read of it.
        const QSettings current(file, QSettings::IniFormat);
        if (current.status() == QSettings::AccessError)
            return false;
        expected = valuesOf(current);
    }
    expected.insert(key, value);

    const std::optional<QByteArray> bytes = exists ? readWholeFile(target) : QByteArray();
    if (!bytes)
        return false;
    OwnFile copy(target, *bytes);
    if (!copy.made())
        return false;
    {
        QSettings store(copy.name(), QSettings::IniFormat);
        store.setValue(key, value);
        store.sync();
    }
    OwnFile fresh(target);
    if (!fresh.made() || !copy.renameOver(fresh.path()) || !holdsAll(fresh.name(), expected))
        return false;
    if (::chmod(fresh.path().constData(), exists ? old.st_mode & 07777 : S_IRUSR | S_IWUSR) != 0)
        return false;
    if (exists && !datedAfter(fresh.path(), old))
        return false;
    return fresh.renameOver(targetPath);
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
    const OwnerOnlyFiles ownerOnly;
    const QString file = QFileInfo(m_filePath).absoluteFilePath();
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString lockFile = file + QStringLiteral(".lock"); // the name QSettings locks
    removeAbandonedLock(lockFile);
    // Held for the whole save, so that a second running copy's save cannot fall in between.
    QLockFile lock(lockFile);
    if (!lock.lock())
        return false;
    return replaceStore(file, keyPath(section, key), value);
}

} // namespace platform
