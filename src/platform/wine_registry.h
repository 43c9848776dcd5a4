#pragma once

#include "platform/registry.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace platform {

// The registry of a Wine prefix, which is where the game keeps its profile on Linux:
// HKEY_CURRENT_USER is the prefix's user.reg, HKEY_USERS\.DEFAULT its userdef.reg; other roots
// hold no keys. Values are written exactly as Wine itself stores what RegSetValueExA is given,
// and every other byte of the file is kept.
//
// Wine reads these files only when its server starts and overwrites them when it saves, so a
// value written while a program of the same prefix runs can be lost.
class WineRegistry final : public Registry {
public:
    using Clock = std::function<qint64()>; // milliseconds since 1970

    // $WINEPREFIX, else ~/.wine.
    static QString defaultPrefix();

    // Nothing is created: a prefix or file that does not exist simply holds no keys.
    explicit WineRegistry(QString prefix = defaultPrefix(), Clock clock = {});

    const QString& prefix() const { return m_prefix; }

    reg::Handle openKey(reg::Handle root, const QByteArray& subKey, quint32 access) override;
    bool setValue(reg::Handle key, const QByteArray& name, quint32 type,
                  const QByteArray& data) override;
    void closeKey(reg::Handle key) override;

private:
    struct OpenKey {
        QString file;
        QStringList path;
        quint32 access = 0;
    };

    QString m_prefix;
    Clock m_clock;
    std::map<reg::Handle, OpenKey> m_open;
    reg::Handle m_nextHandle = 1;
};

// Writes a registry file as Wine does: a temporary file in the same folder renamed over the old
// one, so that a reader never sees half a file; a symlink or a file with further hard links is
// rewritten in place instead, so that the link stays. False when nothing could be written.
bool writeRegistryFile(const QString& file, const QByteArray& bytes);

} // namespace platform
