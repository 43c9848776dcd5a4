#include "platform/wine_registry.h"

#include "platform/read_file.h"
#include "platform/windows_1252.h"
#include "platform/wine_registry_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct Location {
    QString file;
    QStringList path; // within that file
    QString name;     // the key's full name
};

// Which file of the prefix holds the key, and its names within that file.
std::optional<Location> locate(const QString& prefix, reg::Handle root, const QByteArray& subKey) {
    QStringList path = fromWindows1252(subKey).split(u'\\', Qt::SkipEmptyParts);
    QString file;
    QString name;
    if (root == reg::CurrentUser) {
        file = QStringLiteral("user.reg");
        name = QStringLiteral("HKEY_CURRENT_USER");
    } else if (root == reg::Users && !path.isEmpty() &&
               path.front().compare(QStringLiteral(".DEFAULT"), Qt::CaseInsensitive) == 0) {
        file = QStringLiteral("userdef.reg");
        name = QStringLiteral("HKEY_USERS");
    } else {
        return std::nullopt;
    }
    name += u'\\' + path.join(u'\\');
    if (file == QStringLiteral("userdef.reg"))
        path.removeFirst();
    if (path.isEmpty())
        return std::nullopt;
    return Location{QDir(prefix).filePath(file), path, name};
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

WineRegistry::~WineRegistry() = default;
WineRegistry::WineRegistry(WineRegistry&&) noexcept = default;

reg::Handle WineRegistry::openKey(reg::Handle root, const QByteArray& subKey, quint32 access) {
    const std::optional<Location> where = locate(m_prefix, root, subKey);
    if (!where)
        return 0;
    // While Wine runs, it alone knows which keys exist; it is asked when the batch ends.
    if (!m_batch || !m_batch->throughWine) {
        std::optional<wine_reg::File> fresh;
        const wine_reg::File* file = nullptr;
        if (m_batch) {
            file = batchFile(where->file);
        } else if (const std::optional<QByteArray> text = readWholeFile(where->file)) {
            fresh.emplace(*text);
            file = &*fresh;
        }
        if (!file || !file->hasKey(where->path))
            return 0;
    }
    reg::Handle handle = 0;
    do {
        handle = m_nextHandle++;
        if (m_nextHandle >= 0x80000000u) // handles stay clear of the root keys' numbers
            m_nextHandle = 1;
    } while (m_open.count(handle) != 0);
    m_open[handle] = {where->file, where->path, where->name, access};
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
    const OpenKey& k = open->second;

    if (m_batch && m_batch->throughWine) {
        m_batch->values << WineValue{k.name, fromWindows1252(name), type, stored};
        return true;
    }
    if (m_batch) {
        wine_reg::File* file = batchFile(k.file);
        if (!file || !file->setValue(k.path, fromWindows1252(name), type, stored, m_clock()))
            return false;
        m_batch->files[k.file].changed = true;
        m_batch->keysWritten.insert(k.name.toCaseFolded());
        return true;
    }
    // The file is read afresh: Wine may have rewritten it since the key was opened.
    const std::optional<QByteArray> text = readWholeFile(k.file);
    if (!text)
        return false;
    wine_reg::File file(*text);
    if (!file.setValue(k.path, fromWindows1252(name), type, stored, m_clock()))
        return false;
    return writeRegistryFile(k.file, file.text());
}

void WineRegistry::closeKey(reg::Handle key) {
    m_open.erase(key);
}

WineRegistry::Batch::Batch() = default;

wine_reg::File* WineRegistry::batchFile(const QString& file) {
    auto [at, added] = m_batch->files.try_emplace(file);
    if (added)
        if (const std::optional<QByteArray> text = readWholeFile(file))
            at->second.file = std::make_unique<wine_reg::File>(*text);
    return at->second.file.get();
}

void WineRegistry::beginWrites() {
    m_batch.emplace();
    // Values still on their way through Wine go first, so a later batch follows them there.
    m_batch->throughWine = (m_wine && m_wine->busy()) || wineServerRuns(m_prefix);
}

void WineRegistry::storeWrites() {
    if (!m_batch || m_batch->throughWine)
        return;
    for (auto& [path, loaded] : m_batch->files) {
        if (!loaded.changed)
            continue;
        QString error;
        if (writeRegistryFile(path, loaded.file->text(), &error))
            loaded.changed = false; // else it is tried again at the end
        else if (m_batch->failure.isEmpty())
            m_batch->failure = error;
    }
}

void WineRegistry::endWrites(std::function<void(const WriteReport&)> done) {
    if (!m_batch)
        m_batch.emplace();
    storeWrites();
    Batch batch = std::move(*m_batch);
    m_batch.reset();
    WriteReport report;
    report.store = m_prefix;
    report.storeExists = QFileInfo(m_prefix).isDir();
    report.throughWine = batch.throughWine;
    if (!batch.throughWine) {
        report.keysWritten = int(batch.keysWritten.size());
        report.failure = batch.failure;
        if (done)
            done(report);
        return;
    }
    if (!m_wine)
        m_wine = std::make_unique<WineImport>(m_prefix);
    m_wine->enqueue(std::move(batch.values),
                    [report, done = std::move(done)](int keys, const QString& failure) mutable {
                        report.keysWritten = keys;
                        report.failure = failure;
                        if (done)
                            done(report);
                    });
}

bool writeRegistryFile(const QString& file, const QByteArray& bytes, QString* error) {
    // Through a link, the file it leads to is replaced and the link stays.
    const QString target = QFileInfo(file).canonicalFilePath();
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("\"%1\": %2").arg(target.isEmpty() ? file : target, why);
        return false;
    };
    struct stat st {};
    if (target.isEmpty() || ::stat(QFile::encodeName(target).constData(), &st) != 0)
        return fail(QStringLiteral("it does not exist"));
    QByteArray temporary = QFile::encodeName(target) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return fail(qt_error_string(errno));
    int failure = ::fchmod(fd, st.st_mode & 07777) == 0 ? 0 : errno;
    for (qsizetype done = 0; !failure && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            failure = n == 0 ? EIO : errno;
    }
    if (!failure && ::fdatasync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && !failure)
        failure = errno;
    if (!failure && ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0)
        failure = errno;
    if (!failure)
        return true;
    ::unlink(temporary.constData());
    return fail(qt_error_string(failure));
}

} // namespace platform
