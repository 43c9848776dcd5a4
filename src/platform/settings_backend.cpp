#include "platform/settings_backend.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

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
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSettings store(m_filePath, QSettings::IniFormat);
    store.setValue(keyPath(section, key), value);
    store.sync(); // QSettings writes through a temporary file and renames it over the old one
    return store.status() == QSettings::NoError;
}

} // namespace platform
