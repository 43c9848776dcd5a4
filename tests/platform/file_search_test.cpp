#include "platform/file_search.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CaseRow {
    const char* why;
    std::vector<const char*> entries; // UTF-8 names; a trailing "/" makes a folder
    const char* wanted;
    const char* found; // nullptr: the wanted path comes back unchanged
};

TEST(PathIgnoringAsciiCase, FindsTheNameAsWindowsDoes) {
    const CaseRow rows[] = {
        {"capital first letter", {"Battle1.j2l", "Share1.j2l"}, "battle1.j2l", "Battle1.j2l"},
        {"Z folds too", {"zone.j2l"}, "ZONE.J2L", "zone.j2l"},
        {"exact name wins", {"BATTLE1.J2L", "battle1.j2l"}, "battle1.j2l", "battle1.j2l"},
        {"first in byte order",
         {"battle1.J2L", "BATTLE1.j2l", "Battle1.j2l"},
         "battle1.j2l",
         "BATTLE1.j2l"},
        {"a folder is no file", {"BATTLE1.J2L/", "Battle1.j2l"}, "battle1.j2l", "Battle1.j2l"},
        {"ASCII letters beside others", {"Caf\xc3\xa9.j2l"}, "CAF\xc3\xa9.J2L", "Caf\xc3\xa9.j2l"},
        {"no other letter folds", {"Caf\xc3\xa9.j2l"}, "CAF\xc3\x89.J2L", nullptr},
        {"no other byte folds", {"Level@.j2l"}, "level`.j2l", nullptr},
        {"whole names only", {"Battle1.j2l"}, "battle1.j2", nullptr},
    };
    for (const CaseRow& row : rows) {
        QTemporaryDir dir;
        for (const char* entry : row.entries) {
            const QString path = dir.filePath(QString::fromUtf8(entry));
            if (path.endsWith(u'/')) {
                ASSERT_TRUE(QDir().mkdir(path)) << row.why;
            } else {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << row.why;
            }
        }
        const QString folder = dir.path() + u'/';
        const char* expected = row.found ? row.found : row.wanted;
        EXPECT_EQ(platform::pathIgnoringAsciiCase(folder, QString::fromUtf8(row.wanted)),
                  folder + QString::fromUtf8(expected))
            << row.why;
    }
}

} // namespace
