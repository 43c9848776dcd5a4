#pragma once

#include "common/setting_keys.h"
#include "platform/settings_backend.h"

#include <QString>
#include <functional>

// The launcher's settings: text values under application "Quillmere", one section per folder the
// program runs from, so every installed copy keeps its own values.
class AppSettings {
public:
    using FolderProvider = std::function<QString()>;

    // The program's folder is asked afresh at every call; by default it is the folder of the
    // running executable.
    explicit AppSettings(platform::SettingsBackend backend = platform::SettingsBackend(),
                         FolderProvider programFolder = {});

    // The stored text, the stored empty text included; the empty text when the key is missing.
    QString GetSetting(const QString& key) const;
    // The stored text, the stored empty text included; `fallback` when the key is missing.
    QString GetSetting(const QString& key, const QString& fallback) const;
    // Stores the text, creating the key when missing. False when the store could not be written.
    bool SaveSetting(const QString& key, const QString& value) const;

    // The launcher's own keys come from the one table (setting_keys.h): the stored text, or the
    // key's default when it is missing; or a default of the reader's own.
    QString GetSetting(const SettingKey& key) const;
    QString GetSetting(const SettingKey& key, const QString& fallback) const;
    bool SaveSetting(const SettingKey& key, const QString& value) const;

    QString section() const;

private:
    platform::SettingsBackend m_backend;
    FolderProvider m_programFolder;
};
