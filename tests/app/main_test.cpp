#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// The signals a process ignores, as /proc/<pid>/status lists them.
quint64 ignoredSignals(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigIgn:"))
            return line.mid(7).trimmed().toULongLong(nullptr, 16);
    return 0;
}

// A write past the file-size limit must fail and be reported, not kill the program. (That what
// it starts gets the default action back is tested with the program start.)
TEST(Main, TheProgramIgnoresTheFileSizeSignal) {
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("WINEPREFIX"), home.filePath(QStringLiteral("wine")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    // Whatever the test runner ignores, the program starts with the default action.
    program.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
    program.start(QStringLiteral(QUILLMERE_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    constexpr quint64 kFileSizeSignal = quint64(1) << 24; // SIGXFSZ is signal 25
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (ignoredSignals(program.processId()) & kFileSizeSignal) != 0; }, 20000));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished(10000);
}

} // namespace
