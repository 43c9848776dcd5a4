#include "platform/wine_registry_import.h"
#include "platform/signal_actions.h"
#include "platform/wine_registry_file.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// However long Wine takes, a step that never ends would hold back every later batch (and the
// end of the program, which waits for them).
constexpr int kJobDeadlineMs = 60000;

QString quoted(QString name) {
    return u'"' +
           name.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\"")) + u'"';
}

} // namespace

QString wineServerSocket(const QString& prefix) {
    struct stat st {};
    if (::stat(QFile::encodeName(prefix).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    QFile named(QDir(prefix).filePath(QStringLiteral("wineserver")));
    QString dir = QStringLiteral(".wine-%1").arg(::getuid());
    if (named.open(QIODevice::ReadOnly)) {
        const QString name = QFile::decodeName(named.readLine(4096).trimmed());
        if (name.isEmpty() || name.contains(u'/') || name == QStringLiteral("..") ||
            name == QStringLiteral("."))
            return {};
        dir = name;
    }
    return QStringLiteral("/tmp/%1/server-%2-%3/socket")
        .arg(dir, QString::number(quint64(st.st_dev), 16), QString::number(quint64(st.st_ino), 16));
}

namespace {

bool socketAccepts(const QString& socket) {
    const QByteArray path = QFile::encodeName(socket);
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    // Non-blocking: a listener that has stopped taking connections would otherwise hold the
    // connect, and the window, once its queue is full. A full queue still means it listens.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const bool runs = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ||
                      errno == EAGAIN;
    ::close(fd);
    return runs;
}

// Asked without taking it: a wineserver that cannot take its lock gives up.
bool lockHeldBeside(const QString& socket) {
    if (socket.isEmpty())
        return false;
    // Read-only and never created: this process must neither take the lock nor make its file.
    const QByteArray lock = QFile::encodeName(QFileInfo(socket).path() + QStringLiteral("/lock"));
    const int fd = ::open(lock.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET; // the whole file, whichever part the wineserver locks
    const bool held = ::fcntl(fd, F_GETLK, &query) == 0 && query.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

} // namespace

bool wineServerRuns(const QString& prefix) {
    return socketAccepts(wineServerSocket(prefix));
}

// The server's folder is found once for both questions: this is asked every few milliseconds
// while a wineserver ends.
WineServerState wineServerState(const QString& prefix) {
    const QString socket = wineServerSocket(prefix);
    if (socketAccepts(socket))
        return WineServerState::Running;
    return lockHeldBeside(socket) ? WineServerState::Ending : WineServerState::Absent;
}

QByteArray regeditFile(const QList<WineValue>& values) {
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n");
    QString key;
    for (const WineValue& v : values) {
        if (v.key != key) {
            key = v.key;
            text += QStringLiteral("\r\n[%1]\r\n").arg(key);
        }
        const QString kind =
            v.type == 3 ? QStringLiteral("hex") : QStringLiteral("hex(%1)").arg(v.type, 0, 16);
        text += quoted(v.name) + u'=' + kind + u':' + QString::fromLatin1(v.stored.toHex(',')) +
                QStringLiteral("\r\n");
    }
    text += QStringLiteral("\r\n");
    return QByteArray("\xff\xfe", 2) + wine_reg::utf16Bytes(text);
}

namespace {

// A quoted text as reg export writes names and strings, from `at` (on its opening quote) to
// just past its closing quote; nothing when it does not close.
std::optional<QString> unquote(QStringView line, qsizetype& at) {
    QString text;
    for (++at; at < line.size(); ++at) {
        QChar c = line[at];
        if (c == u'"') {
            ++at;
            return text;
        }
        if (c == u'\\' && at + 1 < line.size()) {
            c = line[++at];
            if (c == u'n')
                c = u'\n';
            else if (c == u'r')
                c = u'\r';
            else if (c == u'0')
                c = QChar(0);
        }
        text += c;
    }
    return std::nullopt;
}

std::optional<QByteArray> hexBytes(QStringView list) {
    QByteArray bytes;
    if (list.trimmed().isEmpty())
        return bytes;
    for (QStringView item : list.split(u',')) {
        bool ok = false;
        const uint b = item.trimmed().toUInt(&ok, 16);
        if (!ok || b > 0xFF)
            return std::nullopt;
        bytes += char(b);
    }
    return bytes;
}

// One value line: "name"=data, or @=data for the key's default value.
std::optional<WineValue> valueOf(QStringView line) {
    WineValue v;
    qsizetype at = 0;
    if (line.startsWith(u'@')) {
        at = 1;
    } else if (const std::optional<QString> name =
                   line.startsWith(u'"') ? unquote(line, at) : std::nullopt) {
        v.name = *name;
    } else {
        return std::nullopt;
    }
    if (at >= line.size() || line[at] != u'=')
        return std::nullopt;
    QStringView data = line.mid(at + 1);
    if (data.startsWith(u'"')) {
        qsizetype end = 0;
        const std::optional<QString> text = unquote(data, end);
        if (!text || end != data.size())
            return std::nullopt;
        v.type = 1;
        v.stored = wine_reg::utf16Bytes(*text) + QByteArray(2, '\0');
        return v;
    }
    if (data.startsWith(u"dword:")) {
        bool ok = false;
        const uint n = data.mid(6).toUInt(&ok, 16);
        if (!ok || data.size() != 14)
            return std::nullopt;
        v.type = 4;
        for (int shift = 0; shift < 32; shift += 8)
            v.stored += char((n >> shift) & 0xFF);
        return v;
    }
    v.type = 3;
    if (data.startsWith(u"hex(")) {
        const qsizetype close = data.indexOf(u"):");
        bool ok = false;
        v.type = close > 4 ? data.mid(4, close - 4).toUInt(&ok, 16) : 0;
        if (!ok)
            return std::nullopt;
        data = data.mid(close + 2);
    } else if (data.startsWith(u"hex:")) {
        data = data.mid(4);
    } else {
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = hexBytes(data);
    if (!bytes)
        return std::nullopt;
    v.stored = *bytes;
    return v;
}

// A text value up to its first NUL, as reg export shows it.
QString textUpToNul(const QByteArray& stored) {
    QString text = wine_reg::utf16Text(stored);
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool sameValue(const WineValue& sent, const WineValue& held) {
    if (sent.type != held.type)
        return false;
    if (sent.type == 1)
        return textUpToNul(sent.stored) == textUpToNul(held.stored);
    return sent.stored == held.stored;
}

} // namespace

std::optional<QList<WineValue>> exportedValues(const QByteArray& file, const QString& key) {
    if (!file.startsWith("\xff\xfe"))
        return std::nullopt;
    const QString text = wine_reg::utf16Text(QByteArrayView(file).sliced(2));
    const QStringList lines = text.split(u'\n');
    if (lines.isEmpty() || !lines.front().startsWith(u"Windows Registry Editor Version 5.00"))
        return std::nullopt;
    std::optional<QList<WineValue>> values;
    bool inKey = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        // Long hex data goes on over lines that end in "\" and are indented on the next.
        while (line.startsWith(u'"') && line.endsWith(u'\\') && line.contains(u"=hex") &&
               i + 1 < lines.size()) {
            line.chop(1);
            line += lines[++i].trimmed();
        }
        if (line.startsWith(u'[')) {
            inKey =
                line.endsWith(u']') &&
                QStringView(line).mid(1, line.size() - 2).compare(key, Qt::CaseInsensitive) == 0;
            if (inKey && !values)
                values.emplace();
        } else if (inKey) {
            if (std::optional<WineValue> v = valueOf(line)) {
                v->key = key;
                values->append(*v);
            }
        }
    }
    return values;
}

QString storedDifference(const QList<WineValue>& sent, const QList<WineValue>& held) {
    for (const WineValue& v : sent) {
        const WineValue* found = nullptr;
        for (const WineValue& h : held)
            if (h.name.compare(v.name, Qt::CaseInsensitive) == 0)
                found = &h; // the last of two is the one that counts
        if (!found)
            return QStringLiteral("\"%1\" of %2 was not stored").arg(v.name, v.key);
        if (!sameValue(v, *found))
            return QStringLiteral("\"%1\" of %2 was stored with another value").arg(v.name, v.key);
    }
    return {};
}

struct WineImport::State {
    struct Job {
        QList<WineValue> values;
        Done done;
    };

    QString prefix;
    QObject owner; // parent of the processes of the batch under way
    std::deque<Job> queue;
    bool running = false;
    bool quiet = false;
    int undelivered = 0; // `done` calls posted and not yet returned
    std::vector<std::function<void()>> idle;
    QList<QPointer<QProcess>> live;
    QStringList keys;
    QList<bool> exists;
    int pending = 0; // calls of the current step still running
    QString failure;
    QTimer deadline;
    std::unique_ptr<QTemporaryDir> exports;

    // Starts `wine` with `arguments`; `ended` gets the exit code, or -1 when it did not run to
    // an end of its own (with the reason in `failure`).
    QProcess* run(const QString& wine, const QStringList& arguments,
                  std::function<void(int code)> ended, const QString& folder = {}) {
        auto* process = new QProcess(&owner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEPREFIX"), QFileInfo(prefix).absoluteFilePath());
        process->setProcessEnvironment(environment);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        if (!folder.isEmpty())
            process->setWorkingDirectory(folder);
        auto once = std::make_shared<std::function<void(int)>>(std::move(ended));
        const QString what = QStringLiteral("wine ") + arguments.mid(0, 2).join(u' ');
        QObject::connect(process, &QProcess::finished, &owner,
                         [this, process, once, what](int code, QProcess::ExitStatus status) {
                             if (status != QProcess::NormalExit && failure.isEmpty())
                                 failure =
                                     QStringLiteral("%1: %2").arg(what, process->errorString());
                             end(process, *once, status == QProcess::NormalExit ? code : -1);
                         });
        QObject::connect(process, &QProcess::errorOccurred, &owner,
                         [this, process, once, what](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart)
                                 return; // the end follows through finished()
                             if (failure.isEmpty())
                                 failure =
                                     QStringLiteral("%1: %2").arg(what, process->errorString());
                             end(process, *once, -1);
                         });
        live << process;
        const DefaultSignalsForChildren defaults;
        process->start(wine, arguments);
        return process;
    }

    void end(QProcess* process, std::function<void(int)>& ended, int code) {
        if (!live.removeOne(process))
            return;
        process->deleteLater();
        ended(code);
    }

    // The values of the current batch that go to `key`.
    QList<WineValue> valuesOf(const QString& key) const {
        QList<WineValue> values;
        for (const WineValue& v : queue.front().values)
            if (v.key.compare(key, Qt::CaseInsensitive) == 0)
                values << WineValue{key, v.name, v.type, v.stored};
        return values;
    }

    void startNext() {
        if (running || queue.empty())
            return;
        running = true;
        failure.clear();
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty()) {
            finish({}, QStringLiteral("the program \"wine\" was not found"));
            return;
        }
        keys.clear();
        for (const WineValue& v : queue.front().values)
            if (!keys.contains(v.key, Qt::CaseInsensitive))
                keys << v.key;
        exists = QList<bool>(keys.size(), false);
        pending = int(keys.size());
        if (keys.isEmpty()) {
            finish({}, {});
            return;
        }
        deadline.start(kJobDeadlineMs);
        for (qsizetype i = 0; i < keys.size(); ++i)
            run(wine, {QStringLiteral("reg"), QStringLiteral("query"), keys[i]},
                [this, i, wine](int code) {
                    // reg answers 1 for a key that does not exist.
                    if (code == 0)
                        exists[i] = true;
                    else if (code != 1 && failure.isEmpty())
                        failure = QStringLiteral("wine reg query: exit code %1").arg(code);
                    if (--pending == 0)
                        queried(wine);
                });
    }

    void queried(const QString& wine) {
        if (!failure.isEmpty()) {
            finish({}, failure);
            return;
        }
        QList<WineValue> values;
        for (qsizetype i = 0; i < keys.size(); ++i)
            if (exists[i])
                values << valuesOf(keys[i]);
        if (values.isEmpty()) {
            readBack(wine);
            return;
        }
        deadline.start(kJobDeadlineMs);
        QProcess* import =
            run(wine, {QStringLiteral("regedit"), QStringLiteral("/S"), QStringLiteral("-")},
                [this, wine](int code) {
                    if (code != 0 && failure.isEmpty())
                        failure = QStringLiteral("wine regedit: exit code %1").arg(code);
                    if (failure.isEmpty())
                        readBack(wine);
                    else
                        finish({}, failure);
                });
        import->write(regeditFile(values));
        import->closeWriteChannel();
    }

    // Each key written is exported as Wine now holds it (UTF-16, so that no character is lost on
    // the way) and compared with what was sent. Each key found missing is asked for again: a
    // wineserver that ends while it is asked also answers "missing", and the values of a key
    // that was there after all are lost.
    void readBack(const QString& wine) {
        exports = std::make_unique<QTemporaryDir>();
        if (!exports->isValid()) {
            finish({}, QStringLiteral("no temporary folder to read the values back into"));
            return;
        }
        pending = int(keys.size());
        deadline.start(kJobDeadlineMs);
        auto differences = std::make_shared<QStringList>(keys.size());
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const QString file = QStringLiteral("%1.reg").arg(i);
            const QStringList arguments =
                exists[i] ? QStringList{QStringLiteral("reg"), QStringLiteral("export"), keys[i],
                                        file, QStringLiteral("/y")}
                          : QStringList{QStringLiteral("reg"), QStringLiteral("query"), keys[i]};
            run(
                wine, arguments,
                [this, i, file, differences](int code) {
                    if (!exists[i]) {
                        if (code == 0)
                            (*differences)[i] =
                                QStringLiteral("%1 was there, though Wine first said it was not")
                                    .arg(keys[i]);
                    } else if (code != 0 && failure.isEmpty()) {
                        failure = QStringLiteral("wine reg export: exit code %1").arg(code);
                    } else if (failure.isEmpty()) {
                        (*differences)[i] = difference(keys[i], exports->filePath(file));
                    }
                    if (--pending > 0)
                        return;
                    // The first key in order that differs, however the answers came in.
                    for (const QString& d : std::as_const(*differences))
                        if (failure.isEmpty())
                            failure = d;
                    QStringList written;
                    for (qsizetype k = 0; failure.isEmpty() && k < keys.size(); ++k)
                        if (exists[k])
                            written << keys[k];
                    finish(written, failure);
                },
                exports->path());
        }
    }

    QString difference(const QString& key, const QString& file) const {
        QFile f(file);
        const std::optional<QList<WineValue>> held =
            f.open(QIODevice::ReadOnly) ? exportedValues(f.readAll(), key) : std::nullopt;
        if (!held)
            return QStringLiteral("wine reg export wrote no values of %1").arg(key);
        return storedDifference(valuesOf(key), *held);
    }

    void finish(const QStringList& written, const QString& why) {
        deadline.stop();
        exports.reset();
        Job job = std::move(queue.front());
        queue.pop_front();
        running = false;
        if (!quiet) {
            ++undelivered;
            QMetaObject::invokeMethod(
                &owner,
                [this, done = std::move(job.done), written, why] {
                    if (done)
                        done(written, why);
                    --undelivered;
                    notifyIdle();
                },
                Qt::QueuedConnection);
        }
        startNext();
    }

    bool busy() const { return running || !queue.empty() || undelivered > 0; }

    void notifyIdle() {
        if (busy())
            return;
        const std::vector<std::function<void()>> calls = std::exchange(idle, {});
        for (const auto& call : calls)
            call();
    }

    void timedOut() {
        failure = QStringLiteral("Wine did not answer within a minute");
        for (const QPointer<QProcess>& p : std::as_const(live))
            if (p)
                p->kill();
    }
};

WineImport::WineImport(QString prefix) : m(std::make_unique<State>()) {
    m->prefix = std::move(prefix);
    m->deadline.setSingleShot(true);
    QObject::connect(&m->deadline, &QTimer::timeout, &m->owner, [this] { m->timedOut(); });
}

WineImport::~WineImport() {
    m->quiet = true;
    const QDeadlineTimer deadline(kJobDeadlineMs / 2);
    while (m->running && !deadline.hasExpired()) {
        QPointer<QProcess> next = m->live.isEmpty() ? nullptr : m->live.front();
        if (!next || !next->waitForFinished(int(deadline.remainingTime())))
            break;
    }
    // What is still running is killed with its owner, unheard.
    for (QProcess* process : m->owner.findChildren<QProcess*>())
        QObject::disconnect(process, nullptr, &m->owner, nullptr);
}

void WineImport::enqueue(QList<WineValue> values, Done done) {
    m->queue.push_back({std::move(values), std::move(done)});
    m->startNext();
}

bool WineImport::busy() const {
    return m->busy();
}

void WineImport::whenIdle(std::function<void()> then) {
    m->idle.push_back(std::move(then));
    m->notifyIdle();
}

} // namespace platform
