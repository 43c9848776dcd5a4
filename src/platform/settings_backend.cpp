#include "platform/settings_backend.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <sys/stat.h>

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
