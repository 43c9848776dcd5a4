#include "common/app_settings.h"

#include <QCoreApplication>

AppSettings::AppSettings(platform::SettingsBackend backend, FolderProvider programFolder)
    : m_backend(std::move(backend)), m_programFolder(std::move(programFolder)) {
    if (!m_programFolder)
        m_programFolder = [] { return QCoreApplication::applicationDirPath(); };
}

QString AppSettings::section() const { return m_programFolder(); }

QString AppSettings::GetSetting(const QString& key) const { return GetSetting(key, QString()); }

QString AppSettings::GetSetting(const QString& key, const QString& fallback) const {
    return m_backend.read(section(), key).value_or(fallback);
}

bool AppSettings::SaveSetting(const QString& key, const QString& value) const {
    return m_backend.write(section(), key, value);
}

QString AppSettings::GetSetting(const SettingKey& key) const {
    return GetSetting(key.nameText(), key.defaultText());
}

QString AppSettings::GetSetting(const SettingKey& key, const QString& fallback) const {
    return GetSetting(key.nameText(), fallback);
}

bool AppSettings::SaveSetting(const SettingKey& key, const QString& value) const {
    return SaveSetting(key.nameText(), value);
}
