#include "common/app_settings.h"
#include "support/test_environment.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

// Dates a file's last change `seconds` back from now.
void makeOld(const QString& path, int seconds) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                                 QFileDevice::FileModificationTime));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(AppSettings, MissingKeyReadsAsDefaultButStoredEmptyTextDoesNot) {
    support::Sandbox sandbox;
    AppSettings& s = sandbox.settings();
    EXPECT_EQ(s.GetSetting(QStringLiteral("Alias")), QString());
    EXPECT_EQ(s.GetSetting(QStringLiteral("Alias"), QStringLiteral("Your Name")),
              QStringLiteral("Your Name"));

    ASSERT_TRUE(s.SaveSetting(QStringLiteral("Alias"), QString()));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Alias"), QStringLiteral("Your Name")), QString());
}

TEST(AppSettings, KeysKeepBlanksCapitalsAndTheLastWriteWins) {
    support::Sandbox sandbox;
    AppSettings& s = sandbox.settings();
    s.SaveSetting(QStringLiteral("Jazz2 TSF Location"), QStringLiteral("a"));
    s.SaveSetting(QStringLiteral("jazz2 tsf location"), QStringLiteral("b"));
    s.SaveSetting(QStringLiteral("Jazz2 TSF Location"), QStringLiteral("c:\\games\\jazz2.exe"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Jazz2 TSF Location")),
              QStringLiteral("c:\\games\\jazz2.exe"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("jazz2 tsf location")), QStringLiteral("b"));
}

TEST(AppSettings, EachProgramFolderHasItsOwnValues) {
    support::Sandbox sandbox;
    AppSettings& s = sandbox.settings();
    sandbox.setProgramFolder(QStringLiteral("/opt/Quill mere/one"));
    s.SaveSetting(QStringLiteral("Spy"), QStringLiteral("1"));

    // A second copy elsewhere starts empty, even in a folder below or beside the first one.
    for (const char* other :
         {"/opt/Quill mere/one/sub", "/opt/Quill mere", "/opt/Quill mere/two", "C:\\Games\\one"}) {
        sandbox.setProgramFolder(QString::fromLatin1(other));
        EXPECT_EQ(s.GetSetting(QStringLiteral("Spy")), QString()) << other;
    }
    sandbox.setProgramFolder(QStringLiteral("/opt/Quill mere/one"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Spy")), QStringLiteral("1"));
}

TEST(AppSettings, ValuesSurviveAFreshStoreAndKeepEveryCharacter) {
    support::Sandbox sandbox;
    const QString file = sandbox.tempPath(QStringLiteral("config/other.ini"));
    const QString value = QStringLiteral("|Jazz§1 = \"x\";#[y]%20\\z");
    {
        AppSettings writer(platform::SettingsBackend(file), [] { return QStringLiteral("/p"); });
        writer.SaveSetting(QStringLiteral("Alias"), value);
    }
    ASSERT_TRUE(QFile::exists(file)); // written through at once
    AppSettings reader(platform::SettingsBackend(file), [] { return QStringLiteral("/p"); });
    EXPECT_EQ(reader.GetSetting(QStringLiteral("Alias")), value);
}

TEST(AppSettings, AStoreThatCannotBeWrittenReportsFailure) {
    support::Sandbox sandbox;
    const QString blocker = sandbox.makeFile(QStringLiteral("not-a-folder"));
    AppSettings s(platform::SettingsBackend(blocker + QStringLiteral("/q.ini")),
                  [] { return QStringLiteral("/p"); });
    EXPECT_FALSE(s.SaveSetting(QStringLiteral("Spy"), QStringLiteral("1")));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Spy"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST(AppSettings, AFileDamagedByHandIsStillWrittenAndSaysSo) {
    support::Sandbox sandbox;
    const QString file = sandbox.tempPath(QStringLiteral("q.ini"));
    AppSettings s(platform::SettingsBackend(file), [] { return QStringLiteral("/p"); });
    ASSERT_TRUE(s.SaveSetting(QStringLiteral("Alias"), QStringLiteral("Old")));
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::Append));
    // Lines Qt cannot read, and keys it keeps but cannot look up ("" and "/x").
    damaged.write("no equals sign here\n=no key\n[]\nx=1\n[unclosed\n");
    damaged.close();
    EXPECT_TRUE(s.SaveSetting(QStringLiteral("Spacing"), QStringLiteral("1-9")));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Spacing")), QStringLiteral("1-9"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Alias")), QStringLiteral("Old"));
}

// A save whose write is cut short (a full disk, a file-size limit) must not replace the file: Qt
// itself would put the cut file in its place and report nothing.
TEST(AppSettings, ACutSaveLeavesTheOldFileWholeAndSaysSo) {
    // As Qt writes it: sections and keys in order.
    const QByteArray head =
        "[%252Fhome%252Fplayer%252FGames%252FQuillmere%2520Test]\n"
        "Addons=Jazz Creation Station|/home/player/.wine-tsf/drive_c/Program Files/JCS.exe@\n"
        "Alias=Second Player\n"
        "Fur1=032\nFur2=048\nFur3=016\nFur4=088\n"
        "Jazz2%20TSF%20Location=/home/player/.wine-tsf/drive_c/Program Files/Jazz2+.exe\n"
        "Level%20Name=Battle Arena 2 (a very long level name kept for the list)\n"
        "Max%20Players=32\n"
        "Server%20Level=battle1.j2l\n"
        "Server%20Name=Battle Arena\n"
        "Spy=1\n"
        "\n[%252Fopt%252FQuillmere]\n"
        "Addons=Jazz Creation Station|/home/player/.wine/drive_c/Games/Jazz2 TSF/JCS.exe@\n"
        "Alias=Player One\n"
        "Jazz2%20Location=/home/player/.wine/drive_c/Games/Jazz2 1.23/Jazz2.exe\n"
        "Jazz2%20TSF%20Location=/home/player/.wine/drive_c/Games/Jazz2 TSF/Jazz2.exe\n"
        "Server%20Name=\"Jazz, Spaz and Lori\"\n";
    const QByteArray tail =
        "Tab%20Item=3\n"
        "\n[%252Fusr%252Flocal%252Flib%252Fquillmere]\n"
        "Alias=Lab Machine\n"
        "Coop%20Easy=castle1.j2l\nCoop%20Hard=labrat1.j2l\nCoop%20Med=carrot1.j2l\n"
        "Jazz2%20Location=/srv/games/jazz2/Jazz2.exe\n"
        "Jazz2%20TSF%20Location=/srv/games/jazz2-tsf/Jazz2.exe\n"
        "Roasts%20Required=10\n"
        "Server%20Name=Lab Coop Night\n"
        "Spacing=1-9\n";
    const QByteArray old = head + tail;
    ASSERT_GE(old.size(), 1024);
    // The last one lets a copy of the old file through but cuts the new one after its last whole
    // line (the new line and the last one are as long), where it still looks whole.
    const qint64 limits[] = {0 /* none */, old.size() - 40, old.size() / 2, old.size()};
    for (const qint64 bytes : limits) {
        SCOPED_TRACE(bytes);
        support::Sandbox sandbox;
        // The store is a link: the file it names is written, and the link stays.
        const QString real = sandbox.makeFile(QStringLiteral("real/Quillmere.ini"), old);
        const QString link = sandbox.tempPath(QStringLiteral("store/Quillmere.ini"));
        ASSERT_TRUE(QDir().mkpath(sandbox.tempPath(QStringLiteral("store"))));
        ASSERT_TRUE(QFile::link(real, link));
        AppSettings s(platform::SettingsBackend(link),
                      [] { return QStringLiteral("/opt/Quillmere"); });
        bool saved = false;
        {
            std::optional<support::FileSizeLimit> limit;
            if (bytes > 0) {
                limit.emplace(bytes);
                ASSERT_TRUE(limit->set());
            }
            saved = s.SaveSetting(QStringLiteral("Spacing"), QStringLiteral("3-5"));
        }

        EXPECT_EQ(saved, bytes == 0);
        EXPECT_EQ(readAll(real), bytes == 0 ? head + "Spacing=3-5\n" + tail : old);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        for (const char* folder : {"real", "store"}) // no copy and no lock left
            EXPECT_EQ(QDir(sandbox.tempPath(QString::fromLatin1(folder)))
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot),
                      QStringList{QStringLiteral("Quillmere.ini")})
                << folder;
    }
}

// The store names programs the launcher starts: nobody else may write it, whatever the umask.
TEST(AppSettings, ANewStoreIsTheOwnersOnlyAndAnOldOneKeepsItsMode) {
    support::Sandbox sandbox;
    const QString folder = sandbox.tempPath(QStringLiteral("fresh"));
    const QString file = folder + QStringLiteral("/q.ini");
    const mode_t oldMask = ::umask(0);
    AppSettings s(platform::SettingsBackend(file), [] { return QStringLiteral("/p"); });
    EXPECT_TRUE(s.SaveSetting(QStringLiteral("Spy"), QStringLiteral("1")));
    auto mode = [](const QString& path) {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return st.st_mode & 07777;
    };
    EXPECT_EQ(mode(file), 0600u);
    EXPECT_EQ(mode(folder), 0700u);

    ::chmod(QFile::encodeName(file).constData(), 0640);
    EXPECT_TRUE(s.SaveSetting(QStringLiteral("Spy"), QStringLiteral("2")));
    EXPECT_EQ(mode(file), 0640u);
    EXPECT_EQ(::umask(oldMask), 0u); // put back after each write
}

// A program killed while saving can leave its lock file empty, which Qt takes for a living lock
// until it is 30 s old: the save, and the window, would wait that long.
TEST(AppSettings, AnAbandonedLockIsRemovedBeforeTheSave) {
    support::Sandbox sandbox;
    const QString file = sandbox.tempPath(QStringLiteral("q.ini"));
    AppSettings s(platform::SettingsBackend(file), [] { return QStringLiteral("/p"); });
    makeOld(sandbox.makeFile(QStringLiteral("q.ini.lock")), 2);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(s.SaveSetting(QStringLiteral("Alias"), QStringLiteral("Jazz")));
    EXPECT_LT(clock.elapsed(), 15000) << "waited for Qt to call the lock stale";
    EXPECT_EQ(s.GetSetting(QStringLiteral("Alias")), QStringLiteral("Jazz"));
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".lock")));
}

// Qt's lock is a regular file, so a link in its place was not made by a running launcher; Qt can
// neither read nor date it, and waited for ever (or 30 s) for it to go.
TEST(AppSettings, ALockThatIsALinkIsRemovedButNotWhatItNames) {
    for (const bool dangling : {true, false}) {
        SCOPED_TRACE(dangling ? "dangling" : "to a file modified just now");
        support::Sandbox sandbox;
        const QString file = sandbox.tempPath(QStringLiteral("q.ini"));
        const QString lock = file + QStringLiteral(".lock");
        const QString named = dangling ? sandbox.tempPath(QStringLiteral("gone"))
                                       : sandbox.makeFile(QStringLiteral("other"), "keep me\n");
        ASSERT_TRUE(QFile::link(named, lock));
        AppSettings s(platform::SettingsBackend(file), [] { return QStringLiteral("/p"); });
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(s.SaveSetting(QStringLiteral("Alias"), QStringLiteral("Jazz")));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_FALSE(QFileInfo(lock).isSymLink() || QFileInfo::exists(lock));
        EXPECT_EQ(readAll(named), dangling ? QByteArray("(unreadable)") : QByteArray("keep me\n"));
    }
}

// A lock that another process holds, or that another copy has only just made (it fills the file
// a moment later), is waited for: the save follows its release.
TEST(AppSettings, ALockInUseIsWaitedFor) {
    struct Row {
        const char* what;
        bool held;
        int age; // seconds back from now
    };
    // The new lock is dated ahead, so that no delay of a busy machine makes it a second old.
    const Row rows[] = {{"held by a living process", true, 2}, {"just made", false, -10}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        support::Sandbox sandbox;
        const QString file = sandbox.tempPath(QStringLiteral("q.ini"));
        AppSettings s(platform::SettingsBackend(file), [] { return QStringLiteral("/p"); });
        ASSERT_TRUE(s.SaveSetting(QStringLiteral("Alias"), QStringLiteral("Old")));
        const QByteArray before = readAll(file);
        const QString lock = sandbox.makeFile(QStringLiteral("q.ini.lock"));

        // The other one keeps the lock for 2 s, notes what the store then holds, and lets go.
        QProcess other;
        other.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"),
                     QStringLiteral("if [ \"$2\" = held ]; then exec 9<\"$1.lock\" && flock -x 9 "
                                    "|| exit 1; fi; echo ready; sleep 2; cat \"$1\" > \"$1.seen\"; "
                                    "rm \"$1.lock\""),
                     QStringLiteral("sh"), file,
                     row.held ? QStringLiteral("held") : QStringLiteral("free")});
        ASSERT_TRUE(other.waitForReadyRead(10000));
        makeOld(lock, row.age);
        EXPECT_TRUE(s.SaveSetting(QStringLiteral("Alias"), QStringLiteral("New")));
        EXPECT_EQ(readAll(file + QStringLiteral(".seen")), before);
        EXPECT_EQ(s.GetSetting(QStringLiteral("Alias")), QStringLiteral("New"));
        EXPECT_TRUE(other.waitForFinished(10000));
    }
}

} // namespace
