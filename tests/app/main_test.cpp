#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// The signals a process ignores ("SigIgn") or catches ("SigCgt"), as /proc/<pid>/status lists
// them: bit N-1 for signal N.
quint64 signalSet(qint64 pid, const QByteArray& which) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(which + ':'))
            return line.mid(which.size() + 1).trimmed().toULongLong(nullptr, 16);
    return 0;
}

// A write past the file-size limit must fail and be reported, not kill the program; a request to
// end (SIGHUP 1, SIGINT 2, SIGTERM 15) goes the way of closing the window. (That what it starts
// gets the default actions back is tested with the program start.)
TEST(Main, TheProgramIgnoresTheFileSizeSignalAndCatchesRequestsToEnd) {
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
    program.setChildProcessModifier([] {
        for (const int signal : {SIGXFSZ, SIGHUP, SIGINT, SIGTERM})
            std::signal(signal, SIG_DFL);
    });
    program.start(QStringLiteral(QUILLMERE_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    constexpr quint64 kFileSizeSignal = quint64(1) << 24; // SIGXFSZ is signal 25
    constexpr quint64 kEndRequests = 0x4003;              // 1, 2 and 15
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (signalSet(program.processId(), "SigIgn") & kFileSizeSignal) != 0; }, 20000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (signalSet(program.processId(), "SigCgt") & kEndRequests) == kEndRequests; },
        20000));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished(10000);
}

} // namespace
