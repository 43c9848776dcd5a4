#include "platform/wine_registry.h"

#include "platform/read_file.h"
#include "platform/windows_1252.h"
#include "platform/wine_registry_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <optional>
#include <sys/stat.h>

namespace platform {

namespace {

// Which file of the prefix holds the key, and its names within that file.
std::optional<std::pair<QString, QStringList>> locate(const QString& prefix, reg::Handle root,
                                                      const QByteArray& subKey) {
    QStringList path = fromWindows1252(subKey).split(u'\\', Qt::SkipEmptyParts);
    QString file;
    if (root == reg::CurrentUser) {
        file = QStringLiteral("user.reg");
    } else if (root == reg::Users && !path.isEmpty() &&
               path.front().compare(QStringLiteral(".DEFAULT"), Qt::CaseInsensitive) == 0) {
        file = QStringLiteral("userdef.reg");
        path.removeFirst();
    } else {
        return std::nullopt;
    }
    if (path.isEmpty())
        return std::nullopt;
    return std::pair{QDir(prefix).filePath(file), path};
}

// What the registry keeps of a text handed to RegSetValueExA: the single-byte text as UTF-16LE,
// with the terminating NUL that the caller's count left out added, as Windows and Wine add it.
QByteArray storedText(QByteArray ansi) {
    if (!ansi.isEmpty() && ansi.back() != '\0')
        ansi += '\0';
    QByteArray stored;
    for (const QChar c : fromWindows1252(ansi)) {
        stored += static_cast<char>(c.unicode() & 0xFF);
        stored += static_cast<char>(c.unicode() >> 8);
    }
    return stored;
}

} // namespace

QString WineRegistry::defaultPrefix() {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() ? QDir::home().filePath(QStringLiteral(".wine")) : prefix;
}

WineRegistry::WineRegistry(QString prefix, Clock clock)
    : m_prefix(std::move(prefix)), m_clock(std::move(clock)) {
    if (!m_clock)
        m_clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

reg::Handle WineRegistry::openKey(reg::Handle root, const QByteArray& subKey, quint32 access) {
    const auto where = locate(m_prefix, root, subKey);
    if (!where)
        return 0;
    const std::optional<QByteArray> text = readWholeFile(where->first);
    if (!text || !wine_reg::File(*text).hasKey(where->second))
        return 0;
    reg::Handle handle = 0;
    do {
        handle = m_nextHandle++;
        if (m_nextHandle >= 0x80000000u) // handles stay clear of the root keys' numbers
            m_nextHandle = 1;
    } while (m_open.count(handle) != 0);
    m_open[handle] = {where->first, where->second, access};
    return handle;
}

bool WineRegistry::setValue(reg::Handle key, const QByteArray& name, quint32 type,
                            const QByteArray& data) {
    const auto open = m_open.find(key);
    if (open == m_open.end() || !(open->second.access & reg::SetValueAccess))
        return false;
    QByteArray stored;
    if (type == reg::TypeString)
        stored = storedText(data);
    else if (type == reg::TypeBinary)
        stored = data;
    else
        return false;

    // The file is read afresh: Wine may have rewritten it since the key was opened.
    const std::optional<QByteArray> text = readWholeFile(open->second.file);
    if (!text)
        return false;
    wine_reg::File file(*text);
    if (!file.setValue(open->second.path, fromWindows1252(name), type, stored, m_clock()))
        return false;
    return writeRegistryFile(open->second.file, file.text());
}

void WineRegistry::closeKey(reg::Handle key) {
    m_open.erase(key);
}

bool writeRegistryFile(const QString& file, const QByteArray& bytes) {
    struct stat st {};
    if (::lstat(QFile::encodeName(file).constData(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode) || st.st_nlink > 1) {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        return f.write(bytes) == bytes.size() && f.flush();
    }
    QSaveFile f(file);
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace platform
