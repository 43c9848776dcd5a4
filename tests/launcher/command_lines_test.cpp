#include "common/launch_game.h"
#include "launcher/command_lines.h"
#include "platform/program_start.h"
#include "support/recording_program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

const QString kPath = u"/games/Jazz2/Jazz2.exe"_s;
const QString kTsfPath = u"/games/Jazz2 TSF/Jazz2.exe"_s;

JoinValues join(int tsCheck, const QString& address, const QString& spy) {
    return JoinValues{kPath, kTsfPath, tsCheck, address, spy};
}

TEST(JoinCommandLine, JoinsTheFourPiecesAsTheyStand) {
    struct Row {
        const char* name;
        JoinValues values;
        std::optional<QString> line;
    };
    const Row rows[] = {
        {"typed address", join(0, u"192.168.0.5"_s, u" -NoSpy"_s),
         u"/games/Jazz2/Jazz2.exe -connect 192.168.0.5 -NoSpy"_s},
        {"TSF build, path with blanks unquoted", join(1, u"10.0.0.1"_s, u" -spy"_s),
         u"/games/Jazz2 TSF/Jazz2.exe -connect 10.0.0.1 -spy"_s},
        {"TSF path still the hint text",
         {kPath, u"1.24"_s, 1, u"10.0.0.1"_s, u" -spy"_s},
         u"1.24 -connect 10.0.0.1 -spy"_s},
        {"paths never accepted",
         {QString(), QString(), 0, u"10.0.0.1"_s, u" -NoSpy"_s},
         u" -connect 10.0.0.1 -NoSpy"_s},
        {"address not trimmed", join(0, u" 10.0.0.1:10052 "_s, u" -spy"_s),
         u"/games/Jazz2/Jazz2.exe -connect  10.0.0.1:10052  -spy"_s},
        {"no build chosen", join(2, u"10.0.0.1"_s, u" -spy"_s), std::nullopt},
        {"no build chosen either", join(-1, u"10.0.0.1"_s, u" -spy"_s), std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(JoinCommandLine(row.values), row.line);
    }
}

ServeValues serve(int check1, const QString& type, const QString& difficulty) {
    return ServeValues{kPath,   kTsfPath, check1,           type,        difficulty,
                       u"10"_s, u"32"_s,  u"battle1.j2l"_s, u" -NoSpy"_s};
}

TEST(ServerCommandLine, OrdinaryAndCoopFormsPieceByPiece) {
    struct Row {
        const char* name;
        ServeValues values;
        std::optional<QString> line;
    };
    ServeValues untrimmed = serve(0, u"Race"_s, QString());
    untrimmed.count = u" 3 laps"_s;
    untrimmed.maxPlayersArg = QString();
    untrimmed.level = u"my race.j2l"_s;
    untrimmed.spySwitch = u" -spy"_s;

    const Row rows[] = {
        {"battle", serve(0, u"Battle"_s, QString()),
         u"/games/Jazz2/Jazz2.exe -server -Battle -Counts 10 -Maxplayers 32 battle1.j2l -NoSpy"_s},
        {"capture on the TSF build", serve(1, u"Capture"_s, u"hard"_s),
         u"/games/Jazz2 TSF/Jazz2.exe -server -Capture -Counts 10 -Maxplayers 32 battle1.j2l -NoSpy"_s},
        {"coop medium", serve(0, u"Coop"_s, u"medium"_s),
         u"/games/Jazz2/Jazz2.exe -server -Coop -medium -Counts 10 -Maxplayers 32 battle1.j2l -NoSpy"_s},
        {"coop before a difficulty was chosen", serve(1, u"Coop"_s, QString()),
         u"/games/Jazz2 TSF/Jazz2.exe -server -Coop -easy -Counts 10 -Maxplayers 32 battle1.j2l -NoSpy"_s},
        {"only the exact word is coop", serve(0, u"coop"_s, u"hard"_s),
         u"/games/Jazz2/Jazz2.exe -server -coop -Counts 10 -Maxplayers 32 battle1.j2l -NoSpy"_s},
        {"pieces as typed", untrimmed,
         u"/games/Jazz2/Jazz2.exe -server -Race -Counts  3 laps -Maxplayers  my race.j2l -spy"_s},
        {"no build chosen", serve(2, u"Battle"_s, QString()), std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ServerCommandLine(row.values), row.line);
    }
}

// The game under wine receives exactly the arguments the lines are made of, in its own folder;
// so does an add-on, started by its path alone.
TEST(LaunchGame, TheGameReceivesTheLinesArgumentsInItsOwnFolder) {
    QTemporaryDir dir;
    const QString bin = dir.filePath(u"bin"_s);
    const QString wine = support::writeRecordingProgram(bin + u"/wine"_s);
    support::ScopedEnvironment path("PATH", bin);
    const QString exe = dir.filePath(u"My Games/Jazz2 1.24/Jazz2.exe"_s);
    QDir().mkpath(QFileInfo(exe).absolutePath());
    QFile(exe).open(QIODevice::WriteOnly);
    const QString gameFolder = QDir(dir.filePath(u"My Games/Jazz2 1.24"_s)).canonicalPath();

    platform::SystemProgramStarter starter;
    ServeValues coop = serve(1, u"Coop"_s, u"medium"_s);
    coop.tsfPath = exe;
    ASSERT_TRUE(LaunchGame(&starter, *ServerCommandLine(coop)).started());
    std::optional<QStringList> record = support::waitForRecord(wine);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record,
              (QStringList{gameFolder, exe, u"-server"_s, u"-Coop"_s, u"-medium"_s, u"-Counts"_s,
                           u"10"_s, u"-Maxplayers"_s, u"32"_s, u"battle1.j2l"_s, u"-NoSpy"_s}));

    QFile::remove(support::recordOf(wine));
    JoinValues joining = join(1, u"10.0.0.1"_s, u" -spy"_s);
    joining.tsfPath = exe;
    ASSERT_TRUE(LaunchGame(&starter, *JoinCommandLine(joining)).started());
    record = support::waitForRecord(wine);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (QStringList{gameFolder, exe, u"-connect"_s, u"10.0.0.1"_s, u"-spy"_s}));

    const QString addon = support::writeRecordingProgram(dir.filePath(u"My Tools/map tool.sh"_s));
    ASSERT_TRUE(LaunchGame(&starter, addon).started());
    EXPECT_EQ(support::waitForRecord(addon),
              QStringList{QDir(dir.filePath(u"My Tools"_s)).canonicalPath()});

    EXPECT_FALSE(
        LaunchGame(&starter, *JoinCommandLine(join(1, u"10.0.0.1"_s, u" -spy"_s))).started());
    EXPECT_FALSE(LaunchGame(nullptr, exe).started());
}

} // namespace
