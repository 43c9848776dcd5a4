#include "platform/program_start.h"
#include "platform/signal_actions.h"
#include "platform/wine_registry_import.h"
#include "support/recording_program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using support::recordOf;
using support::waitForRecord;
using support::writeRecordingProgram;

TEST(SplitArguments, FollowsTheWindowsRules) {
    struct Row {
        const char* text;
        QStringList arguments;
    };
    const Row rows[] = {
        {R"("a b c" d e)", {u"a b c"_s, u"d"_s, u"e"_s}},
        {R"("ab\"c" "\\" d)", {uR"(ab"c)"_s, uR"(\)"_s, u"d"_s}},
        {R"(a\\\b d"e f"g h)", {uR"(a\\\b)"_s, u"de fg"_s, u"h"_s}},
        {R"(a\\\"b c d)", {uR"(a\"b)"_s, u"c"_s, u"d"_s}},
        {R"(a\\\\"b c" d e)", {uR"(a\\b c)"_s, u"d"_s, u"e"_s}},
        {R"(a"b"" c d)", {uR"(ab" c d)"_s}},
        {R"(x "" y)", {u"x"_s, QString(), u"y"_s}},
        {"\t  lead\tand  trail  ", {u"lead"_s, u"and"_s, u"trail"_s}},
        {R"(C:\Games\ "C:\My Games\\" \\host\share)",
         {uR"(C:\Games\)"_s, uR"(C:\My Games\)"_s, uR"(\\host\share)"_s}},
        {R"("unclosed quote)", {u"unclosed quote"_s}},
        {"", {}},
        {"   ", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(platform::splitArguments(QString::fromUtf8(row.text)), row.arguments);
    }
}

// Real starts of small recording scripts, from a current folder with a blank in its name.
class ProgramStart : public testing::Test {
protected:
    ProgramStart()
        : m_bin(m_dir.filePath(QStringLiteral("bin"))),
          m_games(m_dir.filePath(QStringLiteral("My Games"))),
          m_work(m_dir.filePath(QStringLiteral("work dir"))), m_oldCurrent(QDir::currentPath()),
          m_path("PATH", m_bin + QDir::listSeparator() + qEnvironmentVariable("PATH")) {
        QDir().mkpath(m_bin);
        QDir().mkpath(m_work);
        QDir().mkpath(m_dir.filePath(QStringLiteral("My"))); // a folder is never the program
        QDir().mkpath(m_games);
        QFile(m_games + QStringLiteral("/Jazz")).open(QIODevice::WriteOnly); // nor a plain file
        QDir::setCurrent(m_work);
    }
    ~ProgramStart() override { QDir::setCurrent(m_oldCurrent); }

    QString work() const { return canonical(m_work); }
    static QString canonical(const QString& folder) { return QDir(folder).canonicalPath(); }

    // Starts the line and returns what the program recorded, its current folder first.
    QStringList startAndRecord(const QString& line, const QString& program) {
        QFile::remove(recordOf(program));
        platform::SystemProgramStarter starter;
        if (!starter.start(line).started()) {
            ADD_FAILURE() << "did not start: " << line.toStdString();
            return {};
        }
        const std::optional<QStringList> record = waitForRecord(program);
        if (!record) {
            ADD_FAILURE() << "no record from " << program.toStdString();
            return {};
        }
        return *record;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_games;
    QString m_work;
    QString m_oldCurrent;
    support::ScopedEnvironment m_path;
};

TEST_F(ProgramStart, FindsTheProgramAsWindowsDoesAndPassesTheRestAsArguments) {
    const QString blanks = writeRecordingProgram(m_games + QStringLiteral("/Jazz 2/record.sh"));
    const QString onPath = writeRecordingProgram(m_bin + QStringLiteral("/path-recorder"));
    const QString here = writeRecordingProgram(m_work + QStringLiteral("/here.sh"));
    const QString tool = writeRecordingProgram(m_dir.filePath(QStringLiteral("tool")));
    writeRecordingProgram(m_dir.filePath(QStringLiteral("tool two")));

    struct Row {
        const char* name;
        QString line;
        QString program;
        QStringList arguments;
    };
    const Row rows[] = {
        {"unquoted path with blanks, past a plain file on the way",
         blanks + QStringLiteral(" -connect 10.0.0.1 -NoSpy"),
         blanks,
         {u"-connect"_s, u"10.0.0.1"_s, u"-NoSpy"_s}},
        {"quoted head",
         u'"' + blanks + QStringLiteral(R"(" -server "two words")"),
         blanks,
         {u"-server"_s, u"two words"_s}},
        {"quoted head without arguments", u'"' + blanks + u'"', blanks, {}},
        {"quoted arguments",
         blanks + QStringLiteral(R"( "two words" plain "" a"b c"d "say ""hi""")"),
         blanks,
         {u"two words"_s, u"plain"_s, QString(), u"ab cd"_s, uR"(say "hi")"_s}},
        {"backslashes before quotes",
         blanks + QStringLiteral(R"( a\\\"b "C:\Games\\" \\host\share\ x\"y)"),
         blanks,
         {uR"(a\"b)"_s, uR"(C:\Games\)"_s, uR"(\\host\share\)"_s, uR"(x"y)"_s}},
        {"shell text is passed as it is",
         blanks + QStringLiteral(R"( $HOME ; echo>x && | * `id`)"),
         blanks,
         {u"$HOME"_s, u";"_s, u"echo>x"_s, u"&&"_s, u"|"_s, u"*"_s, u"`id`"_s}},
        {"blanks and tabs around",
         QStringLiteral(" \t") + blanks + QStringLiteral("\t a \t"),
         blanks,
         {u"a"_s}},
        {"bare name on PATH", QStringLiteral("path-recorder one"), onPath, {u"one"_s}},
        {"bare name in the current folder", QStringLiteral("here.sh two"), here, {u"two"_s}},
        {"shortest existing head", tool + QStringLiteral(" two x"), tool, {u"two"_s, u"x"_s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // A program named by a path starts in its own folder; one from PATH in the current one.
        const QString folder = row.program == onPath ? m_work : QFileInfo(row.program).path();
        EXPECT_EQ(startAndRecord(row.line, row.program),
                  QStringList{canonical(folder)} + row.arguments);
    }
}

TEST_F(ProgramStart, WindowsProgramsRunThroughWineFromPath) {
    const QString wine = writeRecordingProgram(m_bin + QStringLiteral("/wine"));
    const QString exe = m_games + QStringLiteral("/Jazz 2/JAZZ2.EXE");
    QDir().mkpath(QFileInfo(exe).absolutePath());
    QFile(exe).open(QIODevice::WriteOnly); // not executable: wine reads it

    const QString tsf = m_games + QStringLiteral("/Jazz 2/tsf.exe");
    QFile(tsf).open(QIODevice::WriteOnly);
    const QString folder = canonical(m_games + QStringLiteral("/Jazz 2")); // the game's own

    EXPECT_EQ(startAndRecord(exe + QStringLiteral(" -connect 10.0.0.1 -spy"), wine),
              (QStringList{folder, exe, u"-connect"_s, u"10.0.0.1"_s, u"-spy"_s}));
    EXPECT_EQ(startAndRecord(u'"' + exe + QStringLiteral(R"(" "a b")"), wine),
              (QStringList{folder, exe, u"a b"_s}));
    // A head without an extension is also tried with ".exe".
    EXPECT_EQ(startAndRecord(m_games + QStringLiteral("/Jazz 2/tsf -spy"), wine),
              (QStringList{folder, tsf, u"-spy"_s}));

    support::ScopedEnvironment noWine("PATH", m_games);
    const platform::StartResult result =
        platform::SystemProgramStarter().start(exe + QStringLiteral(" -spy"));
    EXPECT_EQ(result.outcome, platform::StartResult::Outcome::NoWine);
    EXPECT_EQ(result.subject, exe);
}

TEST_F(ProgramStart, CharmapIsTheFirstInstalledCharacterMap) {
    const QString maps = m_dir.filePath(QStringLiteral("maps"));
    const QString kcharselect = writeRecordingProgram(maps + QStringLiteral("/kcharselect"));
    const QString characters = writeRecordingProgram(maps + QStringLiteral("/gnome-characters"));
    support::ScopedEnvironment path("PATH", maps);

    EXPECT_EQ(startAndRecord(QStringLiteral("charmap.exe"), kcharselect), QStringList{work()});
    EXPECT_FALSE(QFileInfo::exists(recordOf(characters)));

    support::ScopedEnvironment none("PATH", m_bin);
    EXPECT_FALSE(platform::SystemProgramStarter().start(QStringLiteral("charmap.exe")).started());
}

TEST_F(ProgramStart, WhatCannotStartStartsNothingAndSaysWhy) {
    const QString record = writeRecordingProgram(m_bin + QStringLiteral("/record.sh"));
    const QString sentinel = writeRecordingProgram(m_bin + QStringLiteral("/sentinel"));
    QFile(m_dir.filePath(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);

    const QString lines[] = {
        QString(),
        QStringLiteral("   "),
        QStringLiteral("1.24"),
        QStringLiteral("1.24 -connect 10.0.0.1 -spy"),
        QStringLiteral("1.21, 1.22, or 1.23 -server -Battle"),
        QStringLiteral(" -connect 10.0.0.1 -NoSpy"),
        QStringLiteral("/no/such/jazz2.exe -connect 10.0.0.1"),
        m_dir.filePath(QStringLiteral("missing.sh || ")) + record + QStringLiteral(" shell"),
        QStringLiteral("missing.sh; ") + record + QStringLiteral(" shell"),
        u'"' + m_games + QStringLiteral("\" ") + record,
        QStringLiteral("\"\" ") + record,
        m_dir.filePath(QStringLiteral("notes.txt")),
    };
    platform::SystemProgramStarter starter;
    for (const QString& line : lines) {
        SCOPED_TRACE(line.toStdString());
        const platform::StartResult result = starter.start(line);
        EXPECT_EQ(result.outcome, platform::StartResult::Outcome::NoProgram);
        EXPECT_EQ(result.subject, line);
    }
    // A program the system refuses to run: the system's reason, without Qt's prefix.
    const QString broken = m_dir.filePath(QStringLiteral("broken.sh"));
    QFile script(broken);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/no/such/interpreter\n");
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    script.close();
    const platform::StartResult refused = starter.start(broken + QStringLiteral(" x"));
    EXPECT_EQ(refused.outcome, platform::StartResult::Outcome::Failed);
    EXPECT_EQ(refused.subject, broken);
    EXPECT_EQ(refused.reason, QStringLiteral("No such file or directory"));
    // Anything started above would have recorded by the time a later start has.
    EXPECT_EQ(startAndRecord(QStringLiteral("sentinel"), sentinel), QStringList{work()});
    EXPECT_FALSE(QFileInfo::exists(recordOf(record)));
}

// The launcher ignores SIGXFSZ so that a write past the file-size limit fails instead of killing
// it; an ignored signal would stay ignored in the game, an add-on or Wine's tools.
TEST_F(ProgramStart, StartedProgramsGetTheDefaultActionOfTheFileSizeSignalBack) {
    const QByteArray ignored = "\"$(grep SigIgn /proc/$$/status)\"";
    const QString game = writeRecordingProgram(m_games + QStringLiteral("/game.sh"), ignored);
    const QString wine = writeRecordingProgram(m_bin + QStringLiteral("/wine"), ignored);
    const auto ignoresFileSizeSignal = [](const QString& program) -> std::optional<bool> {
        const std::optional<QStringList> record = waitForRecord(program);
        bool ok = false;
        const quint64 mask = record && !record->isEmpty()
                                 ? record->front().section(u'\t', 1).toULongLong(&ok, 16)
                                 : 0;
        if (!ok)
            return std::nullopt;
        return (mask >> 24 & 1) != 0; // SIGXFSZ is signal 25
    };

    const auto previous = std::signal(SIGXFSZ, SIG_DFL);
    platform::ignoreFileSizeSignal(); // as main does
    ASSERT_TRUE(platform::SystemProgramStarter().start(game).started());
    bool imported = false;
    platform::WineImport wineImport(m_dir.path());
    wineImport.enqueue({{QStringLiteral("HKEY_CURRENT_USER\\Software"), QStringLiteral("Name"), 1,
                         QByteArray("x\0", 2)}},
                       [&](const QStringList&, const QString&) { imported = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return imported; }, 10000));
    EXPECT_TRUE(std::signal(SIGXFSZ, previous) == SIG_IGN); // still ignored by the launcher

    EXPECT_EQ(ignoresFileSizeSignal(game), false);
    EXPECT_EQ(ignoresFileSizeSignal(wine), false);
}

} // namespace
