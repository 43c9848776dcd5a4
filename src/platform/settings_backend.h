#pragma once

#include <QString>
#include <optional>

namespace platform {

// Per-user text values addressed by section and key, kept in one INI file.
// Every call opens the file afresh, so a value written by another process (or another window)
// is seen at once; every write is synced to disk immediately and replaces the file atomically,
// and only once the new file has been read back whole: a failed or cut write changes nothing.
// A new file (and its folder) is private to the user; an existing file keeps its mode.
class SettingsBackend {
public:
    // The user's own store: <config folder>/Quillmere/Quillmere.ini.
    static QString defaultFilePath();

    explicit SettingsBackend(QString filePath = defaultFilePath());

    const QString& filePath() const { return m_filePath; }

    // nullopt when the key was never written (an empty stored text is a value).
    std::optional<QString> read(const QString& section, const QString& key) const;
    // False only when the value could not be stored.
    bool write(const QString& section, const QString& key, const QString& value) const;

private:
    QString m_filePath;
};

} // namespace platform
