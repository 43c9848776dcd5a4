#include "common/app_settings.h"
#include "support/test_environment.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

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
    EXPECT_EQ(s.GetSetting(QStringLiteral("Jazz2 TSF Location")), QStringLiteral("c:\\games\\jazz2.exe"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("jazz2 tsf location")), QStringLiteral("b"));
}

TEST(AppSettings, EachProgramFolderHasItsOwnValues) {
    support::Sandbox sandbox;
    AppSettings& s = sandbox.settings();
    sandbox.setProgramFolder(QStringLiteral("/opt/Quill mere/one"));
    s.SaveSetting(QStringLiteral("Spy"), QStringLiteral("1"));

    // A second copy elsewhere starts empty, even in a folder below or beside the first one.
    for (const char* other : {"/opt/Quill mere/one/sub", "/opt/Quill mere", "/opt/Quill mere/two",
                              "C:\\Games\\one"}) {
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
    damaged.write("no equals sign here\n[unclosed\n");
    damaged.close();
    EXPECT_TRUE(s.SaveSetting(QStringLiteral("Spacing"), QStringLiteral("1-9")));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Spacing")), QStringLiteral("1-9"));
    EXPECT_EQ(s.GetSetting(QStringLiteral("Alias")), QStringLiteral("Old"));
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

} // namespace
