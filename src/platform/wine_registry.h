#pragma once

#include "platform/registry.h"
#include "platform/wine_registry_import.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace platform {

namespace wine_reg {
class File;
}

// The registry of a Wine prefix, which is where the game keeps its profile on Linux:
// HKEY_CURRENT_USER is the prefix's user.reg, HKEY_USERS\.DEFAULT its userdef.reg; other roots
// hold no keys. Values are written exactly as Wine itself stores what RegSetValueExA is given,
// and every other byte of the file is kept.
//
// Wine reads these files only when its server starts and overwrites them when it saves, so a
// batch begun while a wineserver runs for the prefix goes through that Wine instead (see
// WineImport): its keys open without looking, and the report tells which of them existed.
class WineRegistry final : public Registry {
public:
    using Clock = std::function<qint64()>; // milliseconds since 1970

    // $WINEPREFIX, else ~/.wine.
    static QString defaultPrefix();

    // Nothing is created: a prefix or file that does not exist simply holds no keys.
    explicit WineRegistry(QString prefix = defaultPrefix(), Clock clock = {});
    ~WineRegistry() override;
    WineRegistry(WineRegistry&&) noexcept;

    const QString& prefix() const { return m_prefix; }

    reg::Handle openKey(reg::Handle root, const QByteArray& subKey, quint32 access) override;
    bool setValue(reg::Handle key, const QByteArray& name, quint32 type,
                  const QByteArray& data) override;
    void closeKey(reg::Handle key) override;

    void beginWrites() override;
    void storeWrites() override;
    void endWrites(std::function<void(const WriteReport&)> done) override;

private:
    struct OpenKey {
        QString file;
        QStringList path;
        QString name; // in full, root included, as Wine's tools take it
        quint32 access = 0;
    };
    struct Loaded {
        std::unique_ptr<wine_reg::File> file; // null: the file could not be read
        bool changed = false;
    };
    struct Batch {
        // Declared here and made where File is complete; clang also needs it declared to see
        // that the batch can be made inside this class.
        Batch();
        bool throughWine = false;
        std::map<QString, Loaded> files;
        QList<WineValue> values; // for Wine
        std::set<QString> keysWritten;
        QString failure;
    };

    wine_reg::File* batchFile(const QString& file);

    QString m_prefix;
    Clock m_clock;
    std::map<reg::Handle, OpenKey> m_open;
    reg::Handle m_nextHandle = 1;
    std::optional<Batch> m_batch;
    std::unique_ptr<WineImport> m_wine; // made when first needed
};

// Writes a registry file as Wine does: a temporary file beside it renamed over it, so that a
// reader never sees half a file and a failed write leaves it whole. Through a symlink the file it
// leads to is replaced and the link stays; a file with further hard links is replaced too (its
// other names keep the old content). False when it was not written, with the file and the reason
// in `error`.
bool writeRegistryFile(const QString& file, const QByteArray& bytes, QString* error = nullptr);

} // namespace platform
