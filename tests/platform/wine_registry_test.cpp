#include "platform/wine_registry.h"
#include "platform/wine_registry_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::string_view_literals;
using namespace Qt::StringLiterals;
namespace reg = platform::reg;

// The moment every write in these tests happens, and how Wine stamps a key with it.
constexpr qint64 kNow = 1712345678901;
const QByteArray kStampedHeader = "] 1712345678";
const QByteArray kStampedTime = "#time=1da87904c7ad650";

QByteArray bytes(std::string_view s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

// A Wine prefix of the test's own, with registry files as the test writes them.
class Prefix {
public:
    QString path() const { return m_dir.path(); }
    QString file(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    void write(const char* name, const QByteArray& text) const {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray read(const char* name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const {
        return QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    platform::WineRegistry registry() const {
        return platform::WineRegistry(path(), [] { return kNow; });
    }

private:
    QTemporaryDir m_dir;
};

const QByteArray kHeader = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win32
)";

// A key with nothing in it yet, so that the value written is the section's only line.
const QByteArray kEmptyKey = kHeader + R"(
[Software\\Test] 1700000000
#time=1d9c8c2b1a2b3c4

[Software\\Wine] 1700000001
"Version"="win10"
)";

TEST(WineRegistry, WritesValuesAsWineStoresWhatRegSetValueExAIsGiven) {
    struct Case {
        quint32 type;
        std::string_view name;
        std::string_view data;
        std::string_view line;
    };
    const Case cases[] = {
        {1, "Name", "Your Name", R"("Name"="Your Name")"},
        {1, "Name", "", R"("Name"=hex(1):)"},
        {1, "Name", "ab\0"sv, R"("Name"="ab")"}, // a NUL counted by the caller is not doubled
        {1, "Name", R"(a\b"c)", R"("Name"="a\\b\"c")"},
        {1, "Name",
         "\xa7"
         "1Jazz\xa7",
         R"("Name"="\x00a71Jazz\xa7")"},
        {1, "Name",
         "\xa7"
         "a\xa7"
         "g\xa7"
         "F",
         R"("Name"="\x00a7a\xa7g\x00a7F")"},
        {1, "Name", "\x80\x9f\xff", R"("Name"="\x20ac\x178\xff")"},
        {1, "Name",
         "\n\t\x01"
         "7\x01x\x1b\x7f",
         "\"Name\"=\"\\n\\t\\0017\\1x\\e\x7f\""},
        {1, R"(a"b\)", "x", R"("a\"b\\"="x")"},
        {1, "\xe9t\xe9", "x", R"("\xe9t\xe9"="x")"},
        {3, "Color", "\xff\x00\x10\x80"sv, R"("Color"=hex:ff,00,10,80)"},
        {3, "Color", "", R"("Color"=hex:)"},
        {3, "Char", "\x36\x00\x00\x00"sv, R"("Char"=hex:36,00,00,00)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Prefix prefix;
        prefix.write("user.reg", kEmptyKey);
        platform::WineRegistry registry = prefix.registry();
        const reg::Handle key =
            registry.openKey(reg::CurrentUser, "Software\\Test", reg::AllAccess);
        ASSERT_NE(key, 0u);
        EXPECT_TRUE(registry.setValue(key, bytes(c.name), c.type, bytes(c.data)));
        QByteArray expected = kEmptyKey;
        expected.replace("#time=1d9c8c2b1a2b3c4\n", kStampedTime + '\n' + bytes(c.line) + '\n');
        expected.replace("[Software\\\\Test] 1700000000", "[Software\\\\Test" + kStampedHeader);
        EXPECT_EQ(prefix.read("user.reg"), expected);
    }
}

TEST(WineRegistry, WrapsLongBinaryDataWhereWineDoes) {
    QByteArray data;
    for (char b = 0; b < 30; ++b)
        data += b;
    const QByteArray line = platform::wine_reg::valueLine(QStringLiteral("Color"), 3, data);
    EXPECT_EQ(line, "\"Color\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,"
                    "15,\\\n  16,17,18,19,1a,1b,1c,1d");
}

const QByteArray kUserReg = kHeader + R"(
[Software\\A\[1\]] 1700000000
#time=1d9c8c2b1a2b3c4

[Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0] 1700000000
#time=1d9c8c2b1a2b3c4
"Name"="Old"

[Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0\\Extra] 1700000000
#time=1d9c8c2b1a2b3c4
"x"=dword:00000001

[Software\\Wine] 1700000001
"Version"="win10"
)";

const QByteArray kUserdefReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\.Default

#arch=win32

[Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0] 1700000000
#time=1d9c8c2b1a2b3c4
)";

TEST(WineRegistry, OpensExistingKeysOnlyAndCreatesNothing) {
    struct Case {
        quint32 root;
        const char* subKey;
        bool opens;
    };
    const Case cases[] = {
        {reg::CurrentUser, "Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0", true},
        {reg::CurrentUser, "SOFTWARE\\epic megagames\\JAZZ JACKRABBIT 2\\1.23\\player0", true},
        // Keys that hold only subkeys have no section of their own.
        {reg::CurrentUser, "Software\\Epic MegaGames", true},
        {reg::CurrentUser,
         "Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0", true},
        {reg::CurrentUser, "Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player", false},
        {reg::CurrentUser, "Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0\\Sub",
         false},
        {reg::CurrentUser, "Software\\Epic", false},
        {reg::CurrentUser, "Software\\A[1]", true},
        {reg::CurrentUser, "Software\\A", false},
        {reg::CurrentUser, "", false},
        {reg::Users, ".DEFAULT\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0", true},
        {reg::Users, ".default\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0", true},
        {reg::Users, ".DEFAULT\\Software\\Wine", false},
        {reg::Users, "S-1-5-21-0-0-0-1000\\Software\\Wine", false},
        {reg::Users, "Software\\Wine", false},
        {0x80000002u, "Software\\Wine", false}, // HKEY_LOCAL_MACHINE
    };
    Prefix prefix;
    prefix.write("user.reg", kUserReg);
    prefix.write("userdef.reg", kUserdefReg);
    platform::WineRegistry registry = prefix.registry();
    for (const Case& c : cases)
        EXPECT_EQ(registry.openKey(c.root, c.subKey, reg::AllAccess) != 0, c.opens) << c.subKey;
    EXPECT_EQ(prefix.read("user.reg"), kUserReg);
    EXPECT_EQ(prefix.read("userdef.reg"), kUserdefReg);
    EXPECT_EQ(prefix.entries(),
              QStringList({QStringLiteral("user.reg"), QStringLiteral("userdef.reg")}));
}

TEST(WineRegistry, APrefixWithoutRegistryFilesHoldsNoKeys) {
    const char* key = "Software\\Wine";
    {
        Prefix prefix; // not Wine's signature
        prefix.write("user.reg", "REGEDIT4\n\n[Software\\\\Wine] 1\n");
        EXPECT_EQ(prefix.registry().openKey(reg::CurrentUser, key, reg::AllAccess), 0u);
    }
    {
        Prefix prefix; // Wine reads a file with CR LF line ends too
        prefix.write("user.reg", "WINE REGISTRY Version 2\r\n\r\n[Software\\\\Wine] 1\r\n");
        EXPECT_NE(prefix.registry().openKey(reg::CurrentUser, key, reg::AllAccess), 0u);
    }
    {
        Prefix prefix; // no files
        EXPECT_EQ(prefix.registry().openKey(reg::CurrentUser, key, reg::AllAccess), 0u);
        EXPECT_TRUE(prefix.entries().isEmpty());
    }
    Prefix parent;
    const QString missing = parent.file("no-prefix");
    platform::WineRegistry registry(missing);
    EXPECT_EQ(registry.openKey(reg::CurrentUser, key, reg::AllAccess), 0u);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

// "x" as the registry keeps a text: UTF-16LE with its NUL.
const QByteArray kStoredX("x\0\0\0", 4);

const QByteArray kPlayer123 = R"([Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0)";

TEST(WineRegistry, ReplacesOrAppendsTheValueAndKeepsEveryOtherByte) {
    struct Case {
        const char* what;
        const char* subKey;
        const char* name;
        quint32 type;
        std::string_view data;
        QByteArray before;
        QByteArray after;
    };
    const char* player123 = "Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0";
    const QByteArray section = kPlayer123 + "] 1700000000\n#time=1d9c8c2b1a2b3c4\n";
    const QByteArray stamped = kPlayer123 + kStampedHeader + '\n' + kStampedTime + '\n';
    const QByteArray wine = "\n[Software\\\\Wine] 1700000001\n\"Version\"=\"win10\"\n";
    // The same file with CR LF line ends, as Wine also reads it.
    const auto crlf = [](QByteArray text) { return text.replace("\n", "\r\n"); };
    const std::string_view longData = "\0\1\2\3\4\5\6\7\10\11\12\13\14\15\16\17\20\21\22\23\24\25"
                                      "\26\27\30\31\32\33\34\35"sv;
    const QByteArray wrapped = "\"Name\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,"
                               "12,13,14,15,\\\n  16,17,18,19,1a,1b,1c,1d";
    const Case cases[] = {
        {"CR LF kept, and taken by what is added", player123, "Name", 3, longData,
         crlf(kHeader + '\n' + section + "\"Zed\"=\"z\"\n" + wine),
         crlf(kHeader + '\n' + stamped + "\"Zed\"=\"z\"\n" + wrapped + '\n' + wine)},
        {"the key's time line, not a continuation line that looks like one", "Software\\Review",
         "Blob", 3, "\x02",
         kHeader +
             "\n[Software\\\\Review] 1\n\"Blob\"=hex:01,\\\n  #time=1d\n#time=1da0f0a1b2c3d4e\n",
         kHeader + "\n[Software\\\\Review" + kStampedHeader + "\n\"Blob\"=hex:02\n" + kStampedTime +
             '\n'},
        {"replaced in place", player123, "Name", 1, "New",
         kHeader + '\n' + section + "\"Color\"=hex:00,00,00,00\n\"Name\"=\"Old\"\n\"Zed\"=\"z\"\n" +
             wine,
         kHeader + '\n' + stamped + "\"Color\"=hex:00,00,00,00\n\"Name\"=\"New\"\n\"Zed\"=\"z\"\n" +
             wine},
        {"matched in any case, stored spelling kept", player123, "NAME", 1, "New",
         kHeader + '\n' + section + "\"name\"=\"Old\"\n" + wine,
         kHeader + '\n' + stamped + "\"name\"=\"New\"\n" + wine},
        {"appended at the end of its section", player123, "Char", 3, "\x36\x00\x00\x00"sv,
         kHeader + '\n' + section + "\"Name\"=\"Old\"\n\n" + wine,
         kHeader + '\n' + stamped + "\"Name\"=\"Old\"\n\"Char\"=hex:36,00,00,00\n\n" + wine},
        {"continued value replaced whole", player123, "Color", 3, "\x01\x02\x03\x04"sv,
         kHeader + '\n' + section + "\"Color\"=hex:ff,ff,\\\n  ff,\\\n  ff\n\"Name\"=\"Old\"\n" +
             wine,
         kHeader + '\n' + stamped + "\"Color\"=hex:01,02,03,04\n\"Name\"=\"Old\"\n" + wine},
        {"the last of two is the one Wine reads", player123, "Name", 1, "New",
         kHeader + '\n' + section + "\"Name\"=\"A\"\n\"Name\"=\"B\"\n" + wine,
         kHeader + '\n' + stamped + "\"Name\"=\"A\"\n\"Name\"=\"New\"\n" + wine},
        {"a key of subkeys only gets its section", "software\\epic megagames", "Name", 1, "New",
         kHeader + '\n' + section + "\"Name\"=\"Old\"\n" + wine,
         kHeader + "\n[Software\\\\Epic MegaGames" + kStampedHeader + '\n' + kStampedTime +
             "\n\"Name\"=\"New\"\n\n" + section + "\"Name\"=\"Old\"\n" + wine},
        {"no time line, last section, no final line end", "Software\\Wine", "Name", 1, "New",
         kHeader + "\n[Software\\\\Wine] 1700000001\n\"Version\"=\"win10\"",
         kHeader + "\n[Software\\\\Wine" + kStampedHeader +
             "\n\"Version\"=\"win10\"\n\"Name\"=\"New\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prefix prefix;
        prefix.write("user.reg", c.before);
        platform::WineRegistry registry = prefix.registry();
        const reg::Handle key = registry.openKey(reg::CurrentUser, c.subKey, reg::AllAccess);
        ASSERT_NE(key, 0u);
        EXPECT_TRUE(registry.setValue(key, c.name, c.type, bytes(c.data)));
        EXPECT_EQ(prefix.read("user.reg"), c.after);
        // Written again, the value is replaced, never added a second time.
        EXPECT_TRUE(registry.setValue(key, c.name, c.type, bytes(c.data)));
        EXPECT_EQ(prefix.read("user.reg"), c.after);
    }
}

TEST(WineRegistry, AHandleWritesOnlyWhileItsKeyCanBeWritten) {
    Prefix prefix;
    prefix.write("user.reg", kUserReg);
    platform::WineRegistry registry = prefix.registry();
    const char* player = "Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0";

    EXPECT_FALSE(registry.setValue(0, "Name", 1, "x"));
    const reg::Handle readOnly = registry.openKey(reg::CurrentUser, player, 0x20019); // KEY_READ
    ASSERT_NE(readOnly, 0u);
    EXPECT_FALSE(registry.setValue(readOnly, "Name", 1, "x"));
    const reg::Handle key = registry.openKey(reg::CurrentUser, player, reg::AllAccess);
    ASSERT_NE(key, 0u);
    EXPECT_NE(key, readOnly);
    EXPECT_FALSE(registry.setValue(key, "Count", 4, "\x01\x00\x00\x00"));
    registry.closeKey(key);
    EXPECT_FALSE(registry.setValue(key, "Name", 1, "x"));
    EXPECT_EQ(prefix.read("user.reg"), kUserReg);

    // A key that Wine removed since it was opened takes nothing.
    const reg::Handle gone = registry.openKey(reg::CurrentUser, player, reg::AllAccess);
    ASSERT_NE(gone, 0u);
    prefix.write("user.reg", kHeader);
    EXPECT_FALSE(registry.setValue(gone, "Name", 1, "x"));
    EXPECT_EQ(prefix.read("user.reg"), kHeader);
    prefix.write("user.reg", kUserReg);
    QFile::remove(prefix.file("user.reg"));
    EXPECT_FALSE(registry.setValue(gone, "Name", 1, "x"));
    EXPECT_TRUE(prefix.entries().isEmpty());
}

struct FileIdentity {
    ino_t inode = 0;
    mode_t mode = 0;
    bool symlink = false;
};

FileIdentity identity(const QString& file) {
    struct stat st {};
    FileIdentity id;
    if (::lstat(QFile::encodeName(file).constData(), &st) == 0)
        id = {st.st_ino, st.st_mode & 07777, S_ISLNK(st.st_mode)};
    return id;
}

TEST(WineRegistry, RewritesTheFileAtomicallyAndKeepsLinks) {
    const char* player = "Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0";
    const QByteArray written = "\"Name\"=\"New\"";

    // A plain file is replaced by a new one, with the old one's permissions, and no temporary
    // file is left behind.
    {
        Prefix prefix;
        prefix.write("user.reg", kUserReg);
        ASSERT_EQ(::chmod(QFile::encodeName(prefix.file("user.reg")).constData(), 0640), 0);
        const FileIdentity before = identity(prefix.file("user.reg"));
        platform::WineRegistry registry = prefix.registry();
        EXPECT_TRUE(registry.setValue(registry.openKey(reg::CurrentUser, player, reg::AllAccess),
                                      "Name", 1, "New"));
        const FileIdentity after = identity(prefix.file("user.reg"));
        EXPECT_NE(after.inode, before.inode);
        EXPECT_EQ(after.mode, 0640u);
        EXPECT_TRUE(prefix.read("user.reg").contains(written));
        EXPECT_EQ(prefix.entries(), QStringList{QStringLiteral("user.reg")});
    }
    // A symlink stays a symlink; its target is rewritten.
    {
        Prefix prefix;
        prefix.write("real.reg", kUserReg);
        ASSERT_TRUE(QFile::link(prefix.file("real.reg"), prefix.file("user.reg")));
        platform::WineRegistry registry = prefix.registry();
        EXPECT_TRUE(registry.setValue(registry.openKey(reg::CurrentUser, player, reg::AllAccess),
                                      "Name", 1, "New"));
        EXPECT_TRUE(identity(prefix.file("user.reg")).symlink);
        EXPECT_TRUE(prefix.read("real.reg").contains(written));
    }
    // A file with a second hard link is replaced all the same: a torn file would be worse than
    // the other name keeping the old content.
    {
        Prefix prefix;
        prefix.write("user.reg", kUserReg);
        ASSERT_EQ(::link(QFile::encodeName(prefix.file("user.reg")).constData(),
                         QFile::encodeName(prefix.file("backup.reg")).constData()),
                  0);
        const FileIdentity before = identity(prefix.file("user.reg"));
        platform::WineRegistry registry = prefix.registry();
        EXPECT_TRUE(registry.setValue(registry.openKey(reg::CurrentUser, player, reg::AllAccess),
                                      "Name", 1, "New"));
        EXPECT_NE(identity(prefix.file("user.reg")).inode, before.inode);
        EXPECT_TRUE(prefix.read("user.reg").contains(written));
        EXPECT_EQ(prefix.read("backup.reg"), kUserReg);
    }
}

TEST(WineRegistry, WineServerSocketIsWhereWineListens) {
    Prefix prefix;
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(prefix.path()).constData(), &st), 0);
    const QString server = QStringLiteral("/server-%1-%2/socket")
                               .arg(quint64(st.st_dev), 0, 16)
                               .arg(quint64(st.st_ino), 0, 16);
    // Upstream Wine: a folder per user.
    EXPECT_EQ(platform::wineServerSocket(prefix.path()),
              QStringLiteral("/tmp/.wine-%1").arg(::getuid()) + server);
    // Debian's Wine names its folder in the prefix.
    prefix.write("wineserver", "wine-AbC123");
    EXPECT_EQ(platform::wineServerSocket(prefix.path()),
              QStringLiteral("/tmp/wine-AbC123") + server);
    EXPECT_FALSE(platform::wineServerRuns(prefix.path()));
    prefix.write("wineserver", "../etc");
    EXPECT_EQ(platform::wineServerSocket(prefix.path()), QString());
    EXPECT_EQ(platform::wineServerSocket(prefix.file("none")), QString());
}

TEST(WineRegistryFile, HostileTextIsKeptByteForByteAndOnlyWellFormedKeysOpen) {
    using platform::wine_reg::File;
    struct Case {
        const char* what;
        QByteArray text;
        QStringList key;
        bool exists;
    };
    const QStringList ab{QStringLiteral("A"), QStringLiteral("B")};
    const Case cases[] = {
        {"empty", "", ab, false},
        {"no signature", "[A\\\\B] 1\n\"x\"=\"y\"\n", ab, false},
        {"signature only, no line end", "WINE REGISTRY Version 2", ab, false},
        {"header cut short", kHeader + "\n[A\\\\B", ab, false},
        {"header without its bracket, then a key",
         kHeader + "\n[A\\\\B 1\n\"x\"=\"y\"\n[A] 2\n",
         {QStringLiteral("A")},
         true},
        {"escaped brackets in names",
         kHeader + "\n[A\\]\\\\B\\[] 1\n",
         {QStringLiteral("A]"), QStringLiteral("B[")},
         true},
        {"a hex-escaped backslash separates names", kHeader + "\n[A\\x005cB] 1\n", ab, true},
        {"value line cut short", kHeader + "\n[A\\\\B] 1\n\"Na", ab, true},
        {"value continued past the end", kHeader + "\n[A\\\\B] 1\n\"Color\"=hex:01,\\", ab, true},
        {"continuation followed by a key", kHeader + "\n[A] 1\n\"C\"=hex:01,\\\n[A\\\\B] 2\n", ab,
         true},
        {"values before any key", kHeader + "\"Name\"=\"x\"\n", ab, false},
        {"NUL bytes and high bytes", kHeader + bytes("\n[A\\\\B\0\xff] 1\n\0\n"sv), ab, false},
        {"an escape at the very end", kHeader + "\n[A\\", ab, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        File file(c.text);
        EXPECT_EQ(file.text(), c.text);
        EXPECT_EQ(file.hasKey(c.key), c.exists);
        const bool written = file.setValue(c.key, QStringLiteral("Name"), 1, kStoredX, kNow);
        EXPECT_EQ(written, c.exists);
        if (!written) {
            EXPECT_EQ(file.text(), c.text);
        } else {
            EXPECT_TRUE(file.text().contains("\"Name\"=\"x\"\n")) << file.text().constData();
            // Never where Wine would read it as the rest of a continued value.
            EXPECT_FALSE(file.text().contains("\\\n\"Name\"")) << file.text().constData();
        }
    }
}

TEST(WineRegistryFile, ContinuationLinesNeverPassForValues) {
    using platform::wine_reg::File;
    const QByteArray text =
        kHeader + "\n[A] 1\n\"C\"=hex:01,\\\n  \"Name\"=\"fake\",\\\n  02\n\"Name\"=\"real\"\n";
    File file(text);
    ASSERT_TRUE(file.setValue({QStringLiteral("A")}, QStringLiteral("Name"), 1, kStoredX, kNow));
    QByteArray expected = text;
    expected.replace("\"Name\"=\"real\"", "\"Name\"=\"x\"");
    expected.replace("[A] 1", "[A" + kStampedHeader);
    EXPECT_EQ(file.text(), expected);
}

// The values that reg export shows for a key, compared with those sent to regedit.
TEST(WineExport, ValuesAreReadBackAsWineExportsThemAndDifferencesNamed) {
    const QString key = QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0");
    // As Wine 8 wrote it: wrapped hex, escapes, a "€", a subkey after the key.
    const QString text = QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0]\r\n"
        "\"Color\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
        "  17,18,19,1a,1b,1c,1d,1e,1f\r\n"
        "\"Name\"=\"Jazz\u20acx\"\r\n"
        "@=\"\"\r\n"
        "\"Q\"=\"a\\\\\\\"\\r\\n\"\r\n"
        "\"Count\"=dword:0000002a\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0\\Sub]\r\n"
        "\"Char\"=hex:36,00,00,00\r\n\r\n");
    QByteArray file("\xff\xfe", 2);
    for (const QChar c : text)
        file += QByteArray(1, char(c.unicode() & 0xFF)) + char(c.unicode() >> 8);
    QByteArray color;
    for (char b = 1; b < 0x20; ++b)
        color += b;
    const auto value = [&](const char* name, quint32 type, const QByteArray& stored) {
        return platform::WineValue{key, QString::fromLatin1(name), type, stored};
    };
    const QByteArray name = bytes("J\0a\0z\0z\0\xac\x20x\0\0\0"sv);
    const std::optional<QList<platform::WineValue>> held = platform::exportedValues(file, key);
    ASSERT_TRUE(held);
    QStringList seen;
    for (const platform::WineValue& v : *held)
        seen << QStringLiteral("%1:%2:%3")
                    .arg(v.name)
                    .arg(v.type)
                    .arg(QString::fromLatin1(v.stored.toHex()));
    EXPECT_EQ(seen, (QStringList{u"Color:3:"_s + QString::fromLatin1(color.toHex()),
                                 u"Name:1:"_s + QString::fromLatin1(name.toHex()), u":1:0000"_s,
                                 u"Q:1:61005c0022000d000a000000"_s, u"Count:4:2a000000"_s}));
    EXPECT_FALSE(platform::exportedValues(file.mid(2), key)); // no byte-order mark: no export
    EXPECT_EQ(platform::exportedValues(file, key + u"\\Other"_s), std::nullopt);

    struct Case {
        const char* what;
        platform::WineValue sent;
        QString difference;
    };
    const Case cases[] = {
        {"the same", value("Name", 1, name), {}},
        {"a name in another case", value("COLOR", 3, color), {}},
        // A text compares up to its NUL: Wine exports nothing after it.
        {"a text without its NUL", value("Name", 1, name.chopped(2)), {}},
        {"an empty text", value("", 1, {}), {}},
        {"a \"?\" for the \"€\"", value("Name", 1, bytes("J\0a\0z\0z\0?\0x\0\0\0"sv)),
         u"\"Name\" of "_s + key + u" was stored with another value"_s},
        {"another type", value("Name", 3, name),
         u"\"Name\" of "_s + key + u" was stored with another value"_s},
        {"a byte more", value("Color", 3, color + '\0'),
         u"\"Color\" of "_s + key + u" was stored with another value"_s},
        {"a value only the subkey holds", value("Char", 3, bytes("\x36\0\0\0"sv)),
         u"\"Char\" of "_s + key + u" was not stored"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(platform::storedDifference({c.sent}, *held), c.difference);
    }
}

} // namespace
