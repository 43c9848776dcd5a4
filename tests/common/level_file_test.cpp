#include "common/level_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Literals with embedded NULs: "\0" inside a QByteArray built from its full length.
template <size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

struct TitleCase {
    const char* name;
    QByteArray text;
    std::optional<QByteArray> title;
};

TEST(LevelTitle, IsTheTextBetweenTheTwoNulsAfterTheMarker) {
    const TitleCase cases[] = {
        {"ordinary header", bytes("Jazz Jackrabbit 2 Level\x1a LEVL\x03\0Diamondus\0\0\0junk"),
         QByteArray("Diamondus")},
        // The byte right after the marker is skipped even when it is a NUL.
        {"NUL right after the marker", bytes("LEVL\0Title\0Other\0"), QByteArray("Other")},
        {"marker byte skipped", bytes("LEVLx\0Title\0rest"), QByteArray("Title")},
        {"two adjacent NULs", bytes("head LEVL\x02\0\0Later\0"), QByteArray("")},
        {"bars removed", bytes("LEVL\x02\0|Red |Carrot|s\0"), QByteArray("Red Carrots")},
        {"NULs before the marker ignored", bytes("\0\0LEVL\x02\0Title\0"), QByteArray("Title")},
        {"first marker counts", bytes("LEVL\x01\0One\0LEVL\x01\0Two\0"), QByteArray("One")},
        {"marker is case-sensitive", bytes("levl\0Title\0"), QByteArray("Title")},
        // Without a marker the search starts at the fifth byte.
        {"no marker", bytes("abcd\0Title\0"), QByteArray("Title")},
        {"no marker, NUL within the first four bytes", bytes("ab\0dTitle\0more\0"),
         QByteArray("more")},
        // No NUL from the start point on: the text before the first NUL at all.
        {"NUL only before the start point", bytes("a|b\0cd"), QByteArray("ab")},
        {"no NUL at all", bytes("LEVL\x01 Title"), QByteArray("")},
        {"empty text", QByteArray(), QByteArray("")},
        {"marker at the very end", bytes("xxLEVL"), QByteArray("")},
        // A first NUL without a second: no title can be cut.
        {"no second NUL", bytes("LEVL\x02\0Unterminated"), std::nullopt},
        {"first NUL is the last byte", bytes("LEVL\x02\0"), std::nullopt},
        {"high bytes kept",
         bytes("LEVL\x02\0\xa7"
               "1Caf\xe9\0"),
         QByteArray("\xa7"
                    "1Caf\xe9")},
    };
    for (const TitleCase& c : cases)
        EXPECT_EQ(level_file::title(c.text), c.title) << c.name;
}

TEST(LevelFolder, EndsAtTheLastSeparatorOfEitherKind) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"C:\\Games\\Jazz2\\Jazz2.exe", "C:\\Games\\Jazz2\\", "Jazz2.exe"},
        {"/home/me/jazz2/Jazz2.exe", "/home/me/jazz2/", "Jazz2.exe"},
        {"/mixed\\dir/x.j2l", "/mixed\\dir/", "x.j2l"},
        {"Jazz2.exe", "", "Jazz2.exe"},
        {"", "", ""},
        {"C:\\Games\\", "C:\\Games\\", ""},
        {"1.21, 1.22, or 1.23", "", "1.21, 1.22, or 1.23"},
    };
    for (const auto& [path, folder, name] : cases) {
        EXPECT_EQ(level_file::folderOf(QString::fromLatin1(path)), QString::fromLatin1(folder))
            << path;
        EXPECT_EQ(level_file::nameOf(QString::fromLatin1(path)), QString::fromLatin1(name)) << path;
    }
}

TEST(LevelFile, ReadGivesTheBytesOrNothing) {
    QTemporaryDir dir;
    const QByteArray content = bytes("LEVL\x01\0T\xff\0\r\n\x1a");
    QFile f(dir.filePath(QStringLiteral("a.j2l")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    EXPECT_EQ(level_file::read(f.fileName()), content); // no text conversion of any byte
    EXPECT_EQ(level_file::read(dir.filePath(QStringLiteral("missing.j2l"))), std::nullopt);
    EXPECT_EQ(level_file::read(dir.path()), std::nullopt); // a folder
    EXPECT_EQ(level_file::read(QString()), std::nullopt);
    // Nothing that is not a regular file is read, and nothing waits: no FIFO, no device.
    EXPECT_EQ(level_file::read(QStringLiteral("/dev/null")), std::nullopt);
    const QString fifo = dir.filePath(QStringLiteral("fifo.j2l"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(level_file::read(fifo), std::nullopt);
}

} // namespace
