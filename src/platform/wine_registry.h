#pragma once

#include "platform/registry.h"
#include "platform/wine_registry_import.h"

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QTimer;

namespace platform {

// The registry of a Wine prefix, which is where the game keeps its profile on Linux:
// HKEY_CURRENT_USER is the prefix's user.reg, HKEY_USERS\.DEFAULT its userdef.reg; other roots
// hold no keys. Values are written exactly as Wine itself stores what RegSetValueExA is given,
// and every other byte of the file is kept.
//
// Wine reads these files only when its server starts and overwrites them when it saves, so what
// a batch stores while a wineserver runs for the prefix goes through that Wine instead (see
// WineImport), and what it stores while one is ending waits until that one has saved and gone.
// Whether one runs is asked at each store of a batch, since a Wine program may start or end
// while the batch is open; in a batch keys therefore open without looking, and the report tells
// which of them existed.
class WineRegistry final : public Registry {
public:
    using Clock = std::function<qint64()>; // milliseconds since 1970

    // $WINEPREFIX, else ~/.wine.
    static QString defaultPrefix();

    // How long values wait for a wineserver that is ending; past it they are reported lost. A
    // wineserver saves about half a second after it has stopped accepting.
    static constexpr std::chrono::milliseconds kWineEndLimit{10000};

    // Nothing is created: a prefix or file that does not exist simply holds no keys.
    explicit WineRegistry(QString prefix = defaultPrefix(), Clock clock = {},
                          std::chrono::milliseconds wineEndLimit = kWineEndLimit);
    ~WineRegistry() override;
    WineRegistry(const WineRegistry&) = delete;
    WineRegistry& operator=(const WineRegistry&) = delete;

    const QString& prefix() const { return m_prefix; }

    reg::Handle openKey(reg::Handle root, const QByteArray& subKey, quint32 access) override;
    bool setValue(reg::Handle key, const QByteArray& name, quint32 type,
                  const QByteArray& data) override;
    void closeKey(reg::Handle key) override;

    void beginWrites() override;
    void storeWrites() override;
    void endWrites(std::function<void(const WriteReport&)> done) override;
    bool busy() const override;
    void whenIdle(std::function<void()> then) override;

private:
    struct OpenKey {
        QString file;
        QStringList path;
        QString name; // in full, root included, as Wine's tools take it
        quint32 access = 0;
    };
    // A value set in a batch and not yet stored.
    struct Pending {
        OpenKey key;
        QString name;
        quint32 type = 0;
        QByteArray stored;
    };
    struct Outcome; // what became of a batch's stores, shared with the Wine calls still under way
    struct Batch {
        QList<Pending> values;
        std::shared_ptr<Outcome> outcome;
    };
    // The rest of an ended batch, waiting for a wineserver that is ending.
    struct Waiting {
        Batch batch;
        QDeadlineTimer deadline;
    };

    void store(bool last);
    // Writes the values into the files; those of a file that could not be read or written stay
    // in `values` (unless this is the last store, which reports them).
    void storeInFiles(QList<Pending>& values, bool last, Outcome& outcome);
    void storeThroughWine(QList<Pending> values, const std::shared_ptr<Outcome>& outcome);
    void waitForWineEnd(Batch batch);
    // Looks at the ending wineserver once more and sends on what no longer needs to wait.
    void checkWineEnd();
    static void report(const std::shared_ptr<Outcome>& outcome);
    void notifyIdle();
    void watchIdle();

    QString m_prefix;
    Clock m_clock;
    std::chrono::milliseconds m_wineEndLimit;
    std::map<reg::Handle, OpenKey> m_open;
    reg::Handle m_nextHandle = 1;
    std::optional<Batch> m_batch;
    std::unique_ptr<WineImport> m_wine; // made when first needed
    std::deque<Waiting> m_waiting;
    std::unique_ptr<QTimer> m_wineEndCheck; // made when first needed
    int m_delivering = 0;                   // reports being delivered by checkWineEnd()
    std::vector<std::function<void()>> m_idle;
};

// Writes a registry file as Wine does: a temporary file beside it renamed over it, so that a
// reader never sees half a file and a failed write leaves it whole. Through a symlink the file it
// leads to is replaced and the link stays; a file with further hard links is replaced too (its
// other names keep the old content). False when it was not written, with the file and the reason
// in `error`.
bool writeRegistryFile(const QString& file, const QByteArray& bytes, QString* error = nullptr);

} // namespace platform
