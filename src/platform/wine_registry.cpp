#include "platform/wine_registry.h"

#include "platform/read_file.h"
#include "platform/windows_1252.h"
#include "platform/wine_registry_file.h"
#include "platform/write_all.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// How often an ending wineserver is looked at: it saves within about half a second.
constexpr int kWineEndCheckMs = 20;

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

WineRegistry::WineRegistry(QString prefix, Clock clock, std::chrono::milliseconds wineEndLimit)
    : m_prefix(std::move(prefix)), m_clock(std::move(clock)), m_wineEndLimit(wineEndLimit) {
    if (!m_clock)
        m_clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

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
    int stillOnTheirWay = 0; // stores handed to Wine, or waiting for it to end, not yet done
    bool ended = false;
    std::function<void(const WriteReport&)> done;

    void fail(const QString& why, bool byWine) {
        if (!report.failure.isEmpty())
            return;
        report.failure = why;
        report.throughWine = byWine;
    }
};

// What waits for an ending wineserver is still stored before the program goes, as far as the
// limit allows; nobody is told any more.
WineRegistry::~WineRegistry() {
    m_idle.clear();
    for (Waiting& w : m_waiting)
        w.batch.outcome->done = {};
    while (!m_waiting.empty()) {
        checkWineEnd();
        if (!m_waiting.empty())
            QThread::msleep(kWineEndCheckMs);
    }
}

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
    return m_delivering > 0 || !m_waiting.empty() || (m_wine && m_wine->busy());
}

void WineRegistry::whenIdle(std::function<void()> then) {
    if (!busy()) {
        then();
        return;
    }
    m_idle.push_back(std::move(then));
    watchIdle();
}

// The wait for an ending wineserver reports by itself; Wine's queue is asked to say when it is
// done.
void WineRegistry::watchIdle() {
    if (m_delivering == 0 && m_waiting.empty() && m_wine && m_wine->busy())
        m_wine->whenIdle([this] { notifyIdle(); });
}

void WineRegistry::notifyIdle() {
    if (m_idle.empty())
        return;
    if (busy()) {
        watchIdle();
        return;
    }
    for (const auto& call : std::exchange(m_idle, {}))
        call();
}

void WineRegistry::store(bool last) {
    if (!m_batch || m_batch->values.isEmpty())
        return;
    // Values still on their way go first, so that later ones follow them there: behind a Wine
    // import, or behind a wait for a wineserver that is ending. While Wine holds the registry
    // nothing is gained by storing before the end: one import then takes the whole batch.
    const WineServerState route = m_wine && m_wine->busy() ? WineServerState::Running
                                  : !m_waiting.empty()     ? WineServerState::Ending
                                                           : wineServerState(m_prefix);
    switch (route) {
    case WineServerState::Absent:
        storeInFiles(m_batch->values, last, *m_batch->outcome);
        break;
    case WineServerState::Running:
        if (last)
            storeThroughWine(std::exchange(m_batch->values, {}), m_batch->outcome);
        break;
    case WineServerState::Ending:
        // Written now, the files would be saved over by the old values a moment later.
        if (last)
            waitForWineEnd(std::exchange(*m_batch, {{}, m_batch->outcome}));
        break;
    }
}

void WineRegistry::waitForWineEnd(Batch batch) {
    ++batch.outcome->stillOnTheirWay;
    m_waiting.push_back({std::move(batch), QDeadlineTimer(m_wineEndLimit)});
    if (!m_wineEndCheck) {
        m_wineEndCheck = std::make_unique<QTimer>();
        m_wineEndCheck->setInterval(kWineEndCheckMs);
        QObject::connect(m_wineEndCheck.get(), &QTimer::timeout, [this] { checkWineEnd(); });
    }
    m_wineEndCheck->start();
}

void WineRegistry::checkWineEnd() {
    // Taken out before anyone is told: a report may open a box, whose event loop runs this again.
    std::deque<Waiting> going;
    const WineServerState state = wineServerState(m_prefix);
    if (state != WineServerState::Ending)
        going = std::exchange(m_waiting, {});
    else
        while (!m_waiting.empty() && m_waiting.front().deadline.hasExpired()) {
            going.push_back(std::move(m_waiting.front()));
            m_waiting.pop_front();
        }
    if (m_waiting.empty() && m_wineEndCheck)
        m_wineEndCheck->stop();
    ++m_delivering;
    for (Waiting& w : going) {
        const std::shared_ptr<Outcome>& outcome = w.batch.outcome;
        if (state == WineServerState::Running)
            storeThroughWine(std::move(w.batch.values), outcome); // it started again
        else if (state == WineServerState::Absent)
            storeInFiles(w.batch.values, true, *outcome);
        else
            outcome->fail(QStringLiteral("Wine did not let go of the registry within %1 s")
                              .arg(m_wineEndLimit.count() / 1000.0),
                          true);
        --outcome->stillOnTheirWay;
        report(outcome);
    }
    --m_delivering;
    notifyIdle();
}

void WineRegistry::storeInFiles(QList<Pending>& values, bool last, Outcome& outcome) {
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

void WineRegistry::storeThroughWine(QList<Pending> values,
                                    const std::shared_ptr<Outcome>& outcome) {
    QList<WineValue> forWine;
    for (const Pending& v : values)
        forWine << WineValue{v.key.name, v.name, v.type, v.stored};
    if (!m_wine)
        m_wine = std::make_unique<WineImport>(m_prefix);
    outcome->anyThroughWine = true;
    ++outcome->stillOnTheirWay;
    m_wine->enqueue(std::move(forWine), [outcome](const QStringList& keys, const QString& failure) {
        for (const QString& key : keys)
            outcome->keys.insert(key.toCaseFolded());
        if (!failure.isEmpty())
            outcome->fail(failure, true);
        --outcome->stillOnTheirWay;
        report(outcome);
    });
}

// Once the batch has ended and Wine has answered for every store of it.
void WineRegistry::report(const std::shared_ptr<Outcome>& outcome) {
    if (!outcome->ended || outcome->stillOnTheirWay > 0)
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
    if (!failure)
        failure = writeAll(fd, bytes);
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
