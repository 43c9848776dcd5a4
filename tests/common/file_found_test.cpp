#include "common/file_found.h"
#include "common/game_paths.h"
#include "support/test_environment.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(FileFound, ExistingEntriesAndMatchingWildcardsCount) {
    support::Sandbox sandbox;
    const QString exe = sandbox.makeFile(QStringLiteral("Jazz 2/Jazz2+.exe"));
    sandbox.makeFile(QStringLiteral("Jazz 2/level[1].j2l"));
    sandbox.makeFile(QStringLiteral("Readme/README"));
    const QString folder = sandbox.tempPath(QStringLiteral("Jazz 2"));

    EXPECT_TRUE(FileFound(exe));
    EXPECT_TRUE(FileFound(folder));
    EXPECT_TRUE(FileFound(sandbox.tempPath(QStringLiteral("Readme/*.*")))); // no dot needed
    EXPECT_TRUE(FileFound(sandbox.tempPath(QStringLiteral("Readme/readme.*"))));
    EXPECT_TRUE(FileFound(folder + QStringLiteral("/*.exe")));
    EXPECT_TRUE(FileFound(folder + QStringLiteral("/JAZZ?+.EXE")));   // no letter case, as on Windows
    EXPECT_TRUE(FileFound(folder + QStringLiteral("/level[1].*")));   // brackets are literal
    EXPECT_TRUE(FileFound(folder + QStringLiteral("\\*.exe")));       // either separator
}

TEST(FileFound, EmptyTextHintsAndMissesDoNot) {
    support::Sandbox sandbox;
    sandbox.makeFile(QStringLiteral("Jazz 2/Jazz2.exe"));
    const QString folder = sandbox.tempPath(QStringLiteral("Jazz 2"));

    EXPECT_FALSE(FileFound(QString()));
    EXPECT_FALSE(FileFound(game_paths::hint()));
    EXPECT_FALSE(FileFound(game_paths::tsfHint()));
    EXPECT_FALSE(FileFound(folder + QStringLiteral("/Jazz3.exe")));
    EXPECT_FALSE(FileFound(folder + QStringLiteral("/JAZZ2.EXE"))); // exact names keep their case
    EXPECT_FALSE(FileFound(folder + QStringLiteral("/")));          // a separator names no file
    EXPECT_FALSE(FileFound(folder + QStringLiteral("\\")));
    EXPECT_FALSE(FileFound(folder + QStringLiteral("/Jazz.*"))); // no name ends at its "."
    EXPECT_FALSE(FileFound(folder + QStringLiteral("/*.j2l")));
    EXPECT_FALSE(FileFound(folder + QStringLiteral("/level[1].j2l")));
    EXPECT_FALSE(FileFound(sandbox.tempPath(QStringLiteral("nowhere/*.exe"))));
}

} // namespace
