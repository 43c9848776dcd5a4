#include "platform/wine_registry_import.h"
#include "platform/signal_actions.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <deque>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// However long Wine takes, a batch that never ends would hold back every later one.
constexpr int kJobDeadlineMs = 60000;

QByteArray hexList(const QByteArray& bytes) {
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += ',';
        out += QByteArray::number(quint8(bytes[i]), 16).rightJustified(2, '0');
    }
    return out;
}

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

bool wineServerRuns(const QString& prefix) {
    const QByteArray path = QFile::encodeName(wineServerSocket(prefix));
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A local connect succeeds or fails at once.
    const bool runs = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return runs;
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
        text += quoted(v.name) + u'=' + kind + u':' + QString::fromLatin1(hexList(v.stored)) +
                QStringLiteral("\r\n");
    }
    text += QStringLiteral("\r\n");
    QByteArray out("\xff\xfe", 2);
    for (const QChar c : std::as_const(text)) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
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
    QList<QPointer<QProcess>> live;
    QStringList keys;
    QList<bool> exists;
    int pendingQueries = 0;
    QString failure;
    QTimer deadline;

    // Starts `wine` with `arguments`; `ended` gets the exit code, or -1 when it did not run to
    // an end of its own (with the reason in `failure`).
    QProcess* run(const QString& wine, const QStringList& arguments,
                  std::function<void(int code)> ended) {
        auto* process = new QProcess(&owner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEPREFIX"), QFileInfo(prefix).absoluteFilePath());
        process->setProcessEnvironment(environment);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
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

    void startNext() {
        if (running || queue.empty())
            return;
        running = true;
        failure.clear();
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty()) {
            finish(0, QStringLiteral("the program \"wine\" was not found"));
            return;
        }
        keys.clear();
        for (const WineValue& v : queue.front().values)
            if (!keys.contains(v.key, Qt::CaseInsensitive))
                keys << v.key;
        exists = QList<bool>(keys.size(), false);
        pendingQueries = int(keys.size());
        if (keys.isEmpty()) {
            finish(0, {});
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
                    if (--pendingQueries == 0)
                        queried(wine);
                });
    }

    void queried(const QString& wine) {
        if (!failure.isEmpty()) {
            finish(0, failure);
            return;
        }
        QList<WineValue> values;
        int written = 0;
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (!exists[i])
                continue;
            ++written;
            for (const WineValue& v : queue.front().values)
                if (v.key.compare(keys[i], Qt::CaseInsensitive) == 0)
                    values << WineValue{keys[i], v.name, v.type, v.stored};
        }
        if (values.isEmpty()) {
            finish(0, {});
            return;
        }
        QProcess* import =
            run(wine, {QStringLiteral("regedit"), QStringLiteral("/S"), QStringLiteral("-")},
                [this, written](int code) {
                    if (code != 0 && failure.isEmpty())
                        failure = QStringLiteral("wine regedit: exit code %1").arg(code);
                    finish(failure.isEmpty() ? written : 0, failure);
                });
        import->write(regeditFile(values));
        import->closeWriteChannel();
    }

    void finish(int written, const QString& why) {
        deadline.stop();
        Job job = std::move(queue.front());
        queue.pop_front();
        running = false;
        if (!quiet && job.done)
            QMetaObject::invokeMethod(
                &owner, [done = std::move(job.done), written, why] { done(written, why); },
                Qt::QueuedConnection);
        startNext();
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
    return m->running || !m->queue.empty();
}

} // namespace platform
