#include "platform/wine_registry.h"

#include "platform/read_file.h"
#include "platform/windows_1252.h"
#include "platform/wine_registry_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <iterator>
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
    return wine_reg::utf16Bytes(fromWindows1252(ansi));
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
    // In a batch, where the values go (and so which keys exist) is known only when they are
    // stored.
    if (!m_batch) {
        const std::optional<QByteArray> text = readWholeFile(where->file);
        if (!text || !wine_reg::File(*text).hasKey(where->path))
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

    if (m_batch) {
        m_batch->values << Pending{k, fromWindows1252(name), type, stored};
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

struct WineRegistry::Outcome {
    WriteReport report;
    std::set<QString> keys; // case-folded full names, over every store of the batch
    bool anyThroughWine = false;
    int wineCalls = 0; // stores handed to Wine and not yet answered
    bool ended = false;
    std::function<void(const WriteReport&)> done;

    void fail(const QString& why, bool byWine) {
        if (!report.failure.isEmpty())
            return;
        report.failure = why;
        report.throughWine = byWine;
    }
};

void WineRegistry::beginWrites() {
    m_batch.emplace();
    m_batch->outcome = std::make_shared<Outcome>();
}

void WineRegistry::storeWrites() {
    store(false);
}

void WineRegistry::endWrites(std::function<void(const WriteReport&)> done) {
    if (!m_batch)
        beginWrites();
    store(true);
    const std::shared_ptr<Outcome> outcome = std::move(m_batch->outcome);
    m_batch.reset();
    outcome->report.store = m_prefix;
    outcome->report.storeExists = QFileInfo(m_prefix).isDir();
    outcome->done = std::move(done);
    outcome->ended = true;
    report(outcome);
}

bool WineRegistry::busy() const {
    return m_wine && m_wine->busy();
}

void WineRegistry::whenIdle(std::function<void()> then) {
    if (m_wine)
        m_wine->whenIdle(std::move(then));
    else
        then();
}

void WineRegistry::store(bool last) {
    if (!m_batch || m_batch->values.isEmpty())
        return;
    // Values still on their way through Wine go first, so later ones follow them there. While
    // Wine holds the registry nothing is gained by storing before the end: one import then
    // takes the whole batch.
    if (!busy() && !wineServerRuns(m_prefix))
        storeInFiles(m_batch->values, last);
    else if (last)
        storeThroughWine(std::exchange(m_batch->values, {}));
}

void WineRegistry::storeInFiles(QList<Pending>& values, bool last) {
    Outcome& outcome = *m_batch->outcome;
    QStringList files;
    for (const Pending& v : std::as_const(values))
        if (!files.contains(v.key.file))
            files << v.key.file;
    QList<Pending> kept;
    for (const QString& path : std::as_const(files)) {
        const auto ofFile = [&](const Pending& v) { return v.key.file == path; };
        // Read afresh: Wine may have saved over the file since the last store.
        const std::optional<QByteArray> text = readWholeFile(path);
        QString error;
        bool written = false;
        if (text) {
            wine_reg::File file(*text);
            std::set<QString> keys;
            for (const Pending& v : std::as_const(values))
                if (ofFile(v) && file.setValue(v.key.path, v.name, v.type, v.stored, m_clock()))
                    keys.insert(v.key.name.toCaseFolded());
            written = keys.empty() || writeRegistryFile(path, file.text(), &error);
            if (written)
                outcome.keys.insert(keys.begin(), keys.end());
        } else if (!QFileInfo::exists(path)) {
            written = true; // no file, no keys: a build or prefix that is not there
        }
        if (written)
            continue;
        if (!last) {
            std::copy_if(values.begin(), values.end(), std::back_inserter(kept), ofFile);
        } else if (!text) {
            if (outcome.report.unreadable.isEmpty())
                outcome.report.unreadable = path;
        } else {
            outcome.fail(error, false);
        }
    }
    values = kept;
}

void WineRegistry::storeThroughWine(QList<Pending> values) {
    QList<WineValue> forWine;
    for (const Pending& v : values)
        forWine << WineValue{v.key.name, v.name, v.type, v.stored};
    if (!m_wine)
        m_wine = std::make_unique<WineImport>(m_prefix);
    const std::shared_ptr<Outcome> outcome = m_batch->outcome;
    outcome->anyThroughWine = true;
    ++outcome->wineCalls;
    m_wine->enqueue(std::move(forWine), [outcome](const QStringList& keys, const QString& failure) {
        for (const QString& key : keys)
            outcome->keys.insert(key.toCaseFolded());
        if (!failure.isEmpty())
            outcome->fail(failure, true);
        --outcome->wineCalls;
        report(outcome);
    });
}

// Once the batch has ended and Wine has answered for every store of it.
void WineRegistry::report(const std::shared_ptr<Outcome>& outcome) {
    if (!outcome->ended || outcome->wineCalls > 0)
        return;
    WriteReport report = outcome->report;
    report.keysWritten = int(outcome->keys.size());
    if (report.failure.isEmpty())
        report.throughWine = outcome->anyThroughWine;
    if (const auto done = std::exchange(outcome->done, {}))
        done(report);
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
