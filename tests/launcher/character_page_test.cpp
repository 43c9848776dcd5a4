#include "common/conversions.h"
#include "launcher/character_page.h"
#include "platform/program_exit.h"
#include "platform/signal_actions.h"
#include "platform/wine_registry.h"
#include "support/main_window_fixture.h"
#include "support/recording_program.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace Qt::StringLiterals;

constexpr qint64 kNow = 1712345678901;

// Where each of the four profile keys lies in a Wine prefix.
struct Key {
    const char* file;
    const char* section;
};
const Key K1{"userdef.reg", R"(Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0)"};
const Key K2{"userdef.reg",
             R"(Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0)"};
const Key K3{"user.reg", R"(Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0)"};
const Key K4{"user.reg",
             R"(Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0)"};

const QByteArray kUserdefReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\.Default

#arch=win32

[Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0] 1700000000
#time=1d9c8c2b1a2b3c4

[Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0] 1700000000
#time=1d9c8c2b1a2b3c4
)";

const QByteArray kUserReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win32

[Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0] 1700000000
#time=1d9c8c2b1a2b3c4
"Name"="Old"

[Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0\\Extra] 1700000000
#time=1d9c8c2b1a2b3c4

[Software\\Wine] 1700000001
#time=1d9c8c2b1a2b3c5
"Version"="win10"
)";

// A registry file without any of the game's keys.
const QByteArray kOtherReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\.Default

#arch=win32

[Control Panel\\Desktop] 1700000000
"Wallpaper"=""
)";

class CharacterPageTest : public support::MainWindowTest {
protected:
    QString prefixPath() const { return m_dir.path(); }
    void writeFile(const char* name, const QByteArray& text) const {
        QFile f(QDir(prefixPath()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readFile(const char* name) const {
        QFile f(QDir(prefixPath()).filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void writePrefix() const {
        writeFile("user.reg", kUserReg);
        writeFile("userdef.reg", kUserdefReg);
    }

    // The main window over the given prefix, on the character page.
    CharacterPage&
    openPage(const QString& prefix,
             std::chrono::milliseconds wineEndLimit = platform::WineRegistry::kWineEndLimit) {
        m_registry = std::make_unique<platform::WineRegistry>(
            prefix, [] { return kNow; }, wineEndLimit);
        Services services = sandbox.services();
        services.registry = m_registry.get();
        m_window = std::make_unique<MainWindow>(services);
        m_window->show();
        doubleClick(m_window->opChar);
        return *m_window->Frame3;
    }
    CharacterPage& openPage() { return openPage(prefixPath()); }
    void finish() { click(window().Command8); }

    // The data written after "Name"= (and so on) under the key; "absent" when there is none.
    QByteArray value(const Key& key, const char* name) const {
        const QList<QByteArray> lines = readFile(key.file).split('\n');
        const QByteArray header = QByteArray("[") + key.section + "]";
        const QByteArray prefix = QByteArray("\"") + name + "\"=";
        QByteArray found = "absent";
        int seen = 0;
        bool inKey = false;
        for (const QByteArray& line : lines) {
            if (line.startsWith('['))
                inKey = line.startsWith(header);
            else if (inKey && line.startsWith(prefix)) {
                found = line.mid(prefix.size());
                ++seen;
            }
        }
        return seen > 1 ? QByteArray("duplicated") : found;
    }
    QByteArray values(const char* name) const {
        QByteArrayList all;
        for (const Key& key : {K1, K2, K3, K4})
            all << value(key, name);
        return all.join(" | ");
    }
    QString stored(const char* key) {
        return sandbox.settings().GetSetting(QString::fromLatin1(key), QStringLiteral("(missing)"));
    }
    // "title: text" of each message box.
    QStringList boxes() {
        QStringList out;
        for (const auto& shown : sandbox.dialogs().shown())
            if (shown.kind == QStringLiteral("message"))
                out << shown.title + QStringLiteral(": ") + shown.text;
        return out;
    }
    QString missingKeysBox() const {
        return QStringLiteral("Error: The game's profile keys were not found in the Wine prefix "
                              "\"%1\". Start the game once, then press Finish again.")
            .arg(prefixPath());
    }
    int questionsAsked() {
        int n = 0;
        for (const auto& shown : sandbox.dialogs().shown())
            n += shown.kind == QStringLiteral("input");
        return n;
    }
    bool backOnFirstPage() {
        return page() == QStringLiteral("first") && window().opChar->isChecked() &&
               window().Command7->text() == QStringLiteral("Cancel") &&
               window().Command8->text() == QStringLiteral("Next >");
    }

    QTemporaryDir m_dir;
    std::unique_ptr<platform::WineRegistry> m_registry;
};

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

TEST_F(CharacterPageTest, FirstRunWritesTheDefaultNameAndBlackFurAndNoCharacter) {
    writePrefix();
    CharacterPage& p = openPage();
    EXPECT_EQ(p.Alias->text(), QStringLiteral("Your Name"));
    EXPECT_EQ(p.spacing->text(), QStringLiteral("1-9"));
    for (QLineEdit* fur : {p.Fur1, p.Fur2, p.Fur3, p.Fur4})
        EXPECT_EQ(fur->text(), QStringLiteral("000"));
    EXPECT_FALSE(p.Jazz->isChecked() || p.Spaz->isChecked() || p.Lori->isChecked());

    finish();
    EXPECT_EQ(values("Name"), R"("Your Name" | "Your Name" | "Your Name" | "Your Name")");
    EXPECT_EQ(values("Color"),
              "hex:00,00,00,00 | hex:00,00,00,00 | hex:00,00,00,00 | hex:00,00,00,00");
    EXPECT_EQ(values("Char"), "absent | absent | absent | absent");
    EXPECT_TRUE(sandbox.dialogs().shown().empty());
    EXPECT_TRUE(backOnFirstPage());
    EXPECT_EQ(stored("Alias"), QStringLiteral("Your Name"));
    EXPECT_EQ(stored("Jazz") + stored("Spaz") + stored("Lori"), QStringLiteral("FalseFalseFalse"));
}

TEST_F(CharacterPageTest, FurBoxesAreCorrectedWrittenAsBytesAndStored) {
    struct Case {
        const char* furs[4];
        const char* color;
        const char* stored[4];
    };
    const Case cases[] = {
        {{"1", "2", "3", "4"}, "hex:01,02,03,04", {"1", "2", "3", "4"}},
        {{"255", "0", "16", "128"}, "hex:ff,00,10,80", {"255", "0", "16", "128"}},
        {{"300", "-5", "", "abc"}, "hex:ff,00,ff,ff", {"255", "0", "255", "255"}},
        {{" 7 ", "1e2", "2.5", "3.5"}, "hex:07,64,02,04", {" 7 ", "1e2", "2.5", "3.5"}},
        {{"-.4", "0.5", "1.5", "256"}, "hex:00,00,02,ff", {"0", "0.5", "1.5", "255"}},
        // Longer than a box lets the user type: still read whole.
        {{"1000", "12.7", "0.25", "-300"}, "hex:ff,0d,00,00", {"255", "12.7", "0.25", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.color);
        writePrefix();
        CharacterPage& p = openPage();
        QLineEdit* boxes[] = {p.Fur1, p.Fur2, p.Fur3, p.Fur4};
        for (int i = 0; i < 4; ++i)
            boxes[i]->setText(latin(c.furs[i]));
        finish();
        const QByteArray color = c.color;
        EXPECT_EQ(values("Color"), color + " | " + color + " | " + color + " | " + color);
        EXPECT_TRUE(backOnFirstPage());
        EXPECT_EQ(stored("Fur1") + u'|' + stored("Fur2") + u'|' + stored("Fur3") + u'|' +
                      stored("Fur4"),
                  latin(c.stored[0]) + u'|' + latin(c.stored[1]) + u'|' + latin(c.stored[2]) +
                      u'|' + latin(c.stored[3]));
    }
}

TEST_F(CharacterPageTest, CharacterCodesPerBuildAndTheLoriQuestionAskedOnce) {
    struct Case {
        const char* what;
        QRadioButton* CharacterPage::*option;
        std::optional<const char*> answer; // nullopt: the question is cancelled
        int asked;
        const char* code123;
        const char* code124;
    };
    const Case cases[] = {
        {"Jazz", &CharacterPage::Jazz, std::nullopt, 0, "hex:36,00,00,00", "hex:37,00,00,00"},
        {"Spaz", &CharacterPage::Spaz, std::nullopt, 0, "hex:55,00,00,00", "hex:59,00,00,00"},
        {"Lori as Spaz", &CharacterPage::Lori, "2", 1, "hex:55,00,00,00", "hex:3d,00,00,00"},
        {"Lori as Jazz", &CharacterPage::Lori, "1", 1, "hex:36,00,00,00", "hex:3d,00,00,00"},
        {"Lori, answer after a blank", &CharacterPage::Lori, " 1", 1, "hex:36,00,00,00",
         "hex:3d,00,00,00"},
        {"Lori, question cancelled", &CharacterPage::Lori, std::nullopt, 1, "hex:36,00,00,00",
         "hex:3d,00,00,00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writePrefix();
        sandbox.dialogs().clear();
        if (c.answer)
            sandbox.dialogs().answerInput(latin(*c.answer));
        // Asked after the names and colours of the default user's keys, before any character;
        // what comes before the question is on disk while it is open.
        QByteArray atQuestion;
        sandbox.dialogs().whileAsked([&] {
            atQuestion = values("Name") + " / " + values("Color") + " / " + values("Char");
        });
        CharacterPage& p = openPage();
        (p.*c.option)->setChecked(true);
        finish();
        sandbox.dialogs().whileAsked(nullptr);
        if (c.asked) {
            EXPECT_EQ(atQuestion, R"("Your Name" | "Your Name" | "Old" | absent / )"
                                  "hex:00,00,00,00 | hex:00,00,00,00 | absent | absent / "
                                  "absent | absent | absent | absent");
        }
        const QByteArray code123 = c.code123, code124 = c.code124;
        EXPECT_EQ(values("Char"), code123 + " | " + code124 + " | " + code123 + " | " + code124);
        EXPECT_EQ(questionsAsked(), c.asked);
        EXPECT_TRUE(sandbox.dialogs().messages().isEmpty());
        if (c.asked) {
            const auto& question = sandbox.dialogs().shown().front();
            EXPECT_EQ(question.text,
                      QStringLiteral("Since Lori is unavailable in Jazz2 Version 1.23\r\n"
                                     "Please choose an alternative character for 1.23:\r\n"
                                     "If you do not have version 1.23, just click OK.\r\n"
                                     "(1) Jazz\r\n(2) Spaz"));
            EXPECT_EQ(question.title, applicationTitle());
        }
        EXPECT_EQ(stored("Jazz") + stored("Spaz") + stored("Lori"),
                  QStringLiteral("%1%2%3").arg(TruthText(c.option == &CharacterPage::Jazz),
                                               TruthText(c.option == &CharacterPage::Spaz),
                                               TruthText(c.option == &CharacterPage::Lori)));
    }
}

TEST_F(CharacterPageTest, TheAliasIsWrittenAsSingleByteTextWithoutNul) {
    const QString sign = QStringLiteral("\u00A7");
    struct Case {
        QString alias;
        const char* written;
    };
    const Case cases[] = {
        {QString(), "hex(1):"},
        {sign + QStringLiteral("2Jazz") + sign + QStringLiteral("|Rabbit"),
         R"("\x00a72Jazz\xa7|Rabbit")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        writePrefix();
        CharacterPage& p = openPage();
        p.Alias->setText(c.alias);
        finish();
        const QByteArray w = c.written;
        EXPECT_EQ(values("Name"), w + " | " + w + " | " + w + " | " + w);
        EXPECT_EQ(stored("Alias"), c.alias);
    }

    // Typing stops at 14 characters.
    writePrefix();
    CharacterPage& p = openPage();
    p.Alias->clear();
    QTest::keyClicks(p.Alias, QStringLiteral("ABCDEFGHIJKLMNOPQ"));
    EXPECT_EQ(p.Alias->text(), QStringLiteral("ABCDEFGHIJKLMN"));
}

TEST_F(CharacterPageTest, KeysThatDoNotExistReceiveNothingAndNothingIsCreated) {
    // In place of a registry file: something that exists but cannot be read as one (a mode of
    // 000 would not do: the tests may run as root).
    const QByteArray folder = "<folder>";
    const auto unreadableBox = [&](const char* file) {
        return QStringLiteral("Error: The registry file \"%1/%2\" could not be read, so the "
                              "player profile was not written to it. Allow reading the file, then "
                              "press Finish again.")
            .arg(prefixPath(), latin(file));
    };
    struct Case {
        const char* what;
        std::optional<QByteArray> userdef; // nullopt: no such file
        std::optional<QByteArray> user;
        const char* names;
        QString box;
    };
    // A build that is not installed is no fault; no key of either is.
    const QByteArray only123 = kUserdefReg.left(kUserdefReg.indexOf("\n[", 80) + 1);
    const Case cases[] = {
        {"only the current user's keys",
         std::nullopt,
         kUserReg,
         R"(absent | absent | "Jazz" | "Jazz")",
         {}},
        {"default user without the game",
         kOtherReg,
         kUserReg,
         R"(absent | absent | "Jazz" | "Jazz")",
         {}},
        {"only the default user's keys",
         kUserdefReg,
         std::nullopt,
         R"("Jazz" | "Jazz" | absent | absent)",
         {}},
        {"1.24 not installed", only123, std::nullopt, R"("Jazz" | absent | absent | absent)", {}},
        {"no keys of the game", kOtherReg, kOtherReg, "absent | absent | absent | absent",
         missingKeysBox()},
        {"no registry files", std::nullopt, std::nullopt, "absent | absent | absent | absent",
         missingKeysBox()},
        // Unreadable is not missing: the player is told, and the other file is written.
        {"user.reg unreadable", kUserdefReg, folder, R"("Jazz" | "Jazz" | absent | absent)",
         unreadableBox("user.reg")},
        {"userdef.reg unreadable", folder, kUserReg, R"(absent | absent | "Jazz" | "Jazz")",
         unreadableBox("userdef.reg")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : {"user.reg", "userdef.reg"}) {
            const QString file = QDir(prefixPath()).filePath(QString::fromLatin1(name));
            QFile::remove(file);
            QDir().rmdir(file);
        }
        for (const auto& [name, text] :
             {std::pair{"userdef.reg", c.userdef}, {"user.reg", c.user}}) {
            const QString file = QDir(prefixPath()).filePath(QString::fromLatin1(name));
            if (text == folder)
                ASSERT_TRUE(QDir().mkdir(file));
            else if (text)
                writeFile(name, *text);
        }
        sandbox.dialogs().clear();
        CharacterPage& p = openPage();
        p.Alias->setText(QStringLiteral("Jazz"));
        p.Spaz->setChecked(true);
        finish();
        EXPECT_EQ(values("Name"), c.names);
        if (c.userdef == kOtherReg) {
            EXPECT_EQ(readFile("userdef.reg"), kOtherReg);
        }
        if (c.user == kOtherReg) {
            EXPECT_EQ(readFile("user.reg"), kOtherReg);
        }
        QStringList files;
        for (const char* name : {"user.reg", "userdef.reg"})
            if (QFileInfo::exists(QDir(prefixPath()).filePath(QString::fromLatin1(name))))
                files << QString::fromLatin1(name);
        EXPECT_EQ(
            QDir(prefixPath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            files);
        EXPECT_EQ(boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
        EXPECT_TRUE(backOnFirstPage());
        EXPECT_EQ(stored("Alias"), QStringLiteral("Jazz"));
    }

    // No prefix at all.
    const QString missing = QDir(prefixPath()).filePath(QStringLiteral("no-prefix"));
    sandbox.dialogs().clear();
    openPage(missing);
    finish();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("Error: There is no Wine prefix at \"%1\". Start "
                                                  "the game once, then press Finish again.")
                                       .arg(missing)});
    EXPECT_TRUE(backOnFirstPage());
}

TEST_F(CharacterPageTest, AFailedWriteLeavesTheFileWholeAndSaysSo) {
    // user.reg is a link to a file larger than any file this process may now write.
    const QByteArray big =
        kUserReg + "\n[Filler] 1700000000\n\"Data\"=\"" + QByteArray(64 * 1024, 'x') + "\"\n";
    writeFile("userdef.reg", kUserdefReg);
    writeFile("real.reg", big);
    ASSERT_TRUE(QFile::link(QDir(prefixPath()).filePath(QStringLiteral("real.reg")),
                            QDir(prefixPath()).filePath(QStringLiteral("user.reg"))));
    {
        const support::FileSizeLimit limit(big.size());
        ASSERT_TRUE(limit.set());
        openPage();
        finish();
    }

    EXPECT_EQ(readFile("real.reg"), big);
    EXPECT_TRUE(QFileInfo(QDir(prefixPath()).filePath(QStringLiteral("user.reg"))).isSymLink());
    EXPECT_EQ(QDir(prefixPath()).entryList(QDir::Files).size(), 3); // no temporary file left
    EXPECT_EQ(values("Name"), R"("Your Name" | "Your Name" | "Old" | absent)");
    EXPECT_EQ(boxes(),
              QStringList{QStringLiteral("Error: The player profile could not be written to "
                                         "\"%1/real.reg\": File too large. Make room on the "
                                         "disk or allow writing to the file, then press "
                                         "Finish again.")
                              .arg(prefixPath())});
    EXPECT_TRUE(backOnFirstPage());
}

// A wineserver as Debian's Wine leaves one: the name of a folder of its own in the prefix's file
// "wineserver", and a socket that accepts at /tmp/<name>/server-<device>-<inode>/socket.
struct FakeWineServer {
    QTemporaryDir folder{QStringLiteral("/tmp/quillmere-test-XXXXXX")};
    QLocalServer socket;
    QString server; // the folder of its socket and lock
    explicit FakeWineServer(const QString& prefix, bool listening = true) {
        struct stat st {};
        QFile named(QDir(prefix).filePath(QStringLiteral("wineserver")));
        if (::stat(QFile::encodeName(prefix).constData(), &st) != 0 ||
            !named.open(QIODevice::WriteOnly))
            return;
        named.write(QFile::encodeName(QFileInfo(folder.path()).fileName()));
        server = QStringLiteral("%1/server-%2-%3")
                     .arg(folder.path())
                     .arg(quint64(st.st_dev), 0, 16)
                     .arg(quint64(st.st_ino), 0, 16);
        QDir().mkpath(server);
        if (listening)
            socket.listen(server + QStringLiteral("/socket"));
    }
};

// A wineserver that has stopped accepting, as Wine's own ends: it holds an fcntl lock on the file
// "lock" beside its socket, saves `saved` over the registry file `file` at the last moment, and
// only then lets go of the lock (by exiting). A child process, since a process does not see its
// own fcntl locks.
class EndingWineServer {
public:
    EndingWineServer(const QString& server, const QString& file, const QByteArray& saved,
                     int holdMs) {
        const QByteArray lock = QFile::encodeName(server + QStringLiteral("/lock"));
        const QByteArray target = QFile::encodeName(file);
        int locked[2];
        if (::pipe(locked) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) { // only async-signal-safe calls from here on
            const int fd = ::open(lock.constData(), O_RDWR | O_CREAT, 0600);
            struct flock whole {};
            whole.l_type = F_WRLCK;
            whole.l_whence = SEEK_SET;
            whole.l_len = 1;
            if (fd < 0 || ::fcntl(fd, F_SETLK, &whole) != 0 || ::write(locked[1], "L", 1) != 1)
                ::_exit(1);
            const timespec hold{holdMs / 1000, (holdMs % 1000) * 1000000L};
            ::nanosleep(&hold, nullptr);
            const int out = ::open(target.constData(), O_WRONLY | O_TRUNC);
            if (out < 0 || ::write(out, saved.constData(), size_t(saved.size())) != saved.size())
                ::_exit(1);
            ::_exit(0);
        }
        ::close(locked[1]);
        char byte = 0;
        m_locked = m_pid > 0 && ::read(locked[0], &byte, 1) == 1;
        ::close(locked[0]);
    }
    ~EndingWineServer() {
        if (m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    EndingWineServer(const EndingWineServer&) = delete;
    EndingWineServer& operator=(const EndingWineServer&) = delete;
    bool locked() const { return m_locked; }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};

// Latin-1 text as UTF-16LE, as regedit's files hold it.
QByteArray utf16(const QString& text) {
    QByteArray out;
    for (const QChar ch : text)
        out += QByteArray(1, char(ch.unicode())) + '\0';
    return out;
}

// How the fake Wine goes wrong: its regedit reports an import as done that it did not keep, or
// kept with another colour; or it says at first that every key is missing (as when its
// wineserver ends while it is asked).
enum class Stores { Truly, Nothing, Otherwise, AfterSayingMissing };

// A `wine` that logs each call with its WINEPREFIX, answers `reg query` with 0 for the keys in
// `keys` and 1 for others, keeps what `regedit /S -` reads, and exports a key as the lines the
// import gave it. Each call takes `delay` seconds.
void writeFakeWine(const QString& bin, const QString& keys, int regeditExit,
                   Stores stores = Stores::Truly, const char* delay = "0") {
    QFile list(bin + QStringLiteral("/keys"));
    if (list.open(QIODevice::WriteOnly))
        list.write(keys.toUtf8() + '\n');
    QFile f(bin + QStringLiteral("/wine"));
    if (!f.open(QIODevice::WriteOnly))
        return;
    const char* kept = stores == Stores::Nothing     ? "sed d"
                       : stores == Stores::Otherwise ? R"(sed 's/^"Color"=hex:00/"Color"=hex:01/')"
                                                     : "cat";
    f.write(QByteArray("#!/bin/sh\nPATH=/usr/bin:/bin\nd=$(dirname \"$0\")\n"
                       "printf '%s|%s\\n' \"$WINEPREFIX\" \"$*\" >> \"$d/calls\"\nsleep ") +
            delay + "\n[ \"$1 $2\" = 'reg query' ] && { " +
            (stores == Stores::AfterSayingMissing ? "grep -sqxF -e \"$3\" \"$d/asked\" || { printf "
                                                    "'%s\\n' \"$3\" >> \"$d/asked\"; exit 1; }; "
                                                  : "") +
            "grep -qixF -e \"$3\" \"$d/keys\"; exit; }\n"
            "[ \"$*\" = 'regedit /S -' ] && cat > \"$d/import\" && exit " +
            QByteArray::number(regeditExit) +
            "\n[ \"$1 $2 $5\" = 'reg export /y' ] || exit 2\n"
            "{ printf '\\377\\376'; { printf 'Windows Registry Editor Version 5.00\\r\\n\\r\\n"
            "[%s]\\r\\n' \"$3\"; iconv -f UTF-16 -t UTF-8 \"$d/import\" |\n"
            "  K=\"[$3]\" awk '/^\\[/ { s = tolower($0) == tolower(ENVIRON[\"K\"]) \"\\r\"; next } "
            "s' | " +
            kept + "; } | iconv -f UTF-8 -t UTF-16LE; } > \"$4\"\n");
    f.setPermissions(f.permissions() | QFile::ExeOwner);
}

TEST_F(CharacterPageTest, WhileWineRunsTheProfileGoesThroughWinesOwnImport) {
    const QString p123 =
        QStringLiteral("\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0");
    const QString p124 = QStringLiteral(
        "\\Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0");
    const QString k1 = QStringLiteral("HKEY_USERS\\.DEFAULT") + p123;
    const QString k2 = QStringLiteral("HKEY_USERS\\.DEFAULT") + p124;
    const QString k3 = QStringLiteral("HKEY_CURRENT_USER") + p123;
    const QString k4 = QStringLiteral("HKEY_CURRENT_USER") + p124;
    const QString header = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[");
    const QString name = QStringLiteral("\"Name\"=hex(1):4a,00,61,00,7a,00,7a,00,a7,00,00,00\r\n");
    const QString keyValues = QStringLiteral("]\r\n") + name +
                              QStringLiteral("\"Color\"=hex:00,00,00,00\r\n\"Char\"=hex:");
    const QString lost = QStringLiteral(
        "Error: Wine is running for the prefix \"%1\" but could not store the player profile (%2). "
        "Close the game, then press Finish again.");
    struct Case {
        const char* what;
        QStringList existing; // as Wine answers
        int regeditExit;
        Stores stores;
        bool startsAtQuestion; // Wine starts while the Lori question is open
        QString imported;      // empty: no import
        QString box;
    };
    const Case cases[] = {
        {"1.24 missing for the default user",
         {k1, k3, k4},
         0,
         Stores::Truly,
         false,
         header + k1 + keyValues + QStringLiteral("55,00,00,00\r\n\r\n[") + k3 + keyValues +
             QStringLiteral("55,00,00,00\r\n\r\n[") + k4 + keyValues +
             QStringLiteral("3d,00,00,00\r\n\r\n"),
         {}},
        {"no keys yet", {}, 0, Stores::Truly, false, {}, missingKeysBox()},
        {"the import fails",
         {k1, k2, k3, k4},
         3,
         Stores::Truly,
         false,
         {},
         lost.arg(prefixPath(), QStringLiteral("wine regedit: exit code 3"))},
        // regedit also exits 0 when it stored nothing or not what it was given.
        {"Wine keeps nothing",
         {k1, k2, k3, k4},
         0,
         Stores::Nothing,
         false,
         {},
         lost.arg(prefixPath(), QStringLiteral("\"Name\" of %1 was not stored").arg(k1))},
        {"Wine keeps another colour",
         {k1, k2, k3, k4},
         0,
         Stores::Otherwise,
         false,
         {},
         lost.arg(prefixPath(),
                  QStringLiteral("\"Color\" of %1 was stored with another value").arg(k1))},
        {"Wine says at first that no key is there",
         {k1, k2, k3, k4},
         0,
         Stores::AfterSayingMissing,
         false,
         {},
         lost.arg(prefixPath(),
                  QStringLiteral("%1 was there, though Wine first said it was not").arg(k1))},
        // What was set before the question is on disk; the rest goes to the Wine started since.
        {"Wine starts at the question",
         {k1, k2, k3, k4},
         0,
         Stores::Truly,
         true,
         header + k1 + QStringLiteral("]\r\n\"Char\"=hex:55,00,00,00\r\n\r\n[") + k2 +
             QStringLiteral("]\r\n\"Char\"=hex:3d,00,00,00\r\n\r\n[") + k3 + keyValues +
             QStringLiteral("55,00,00,00\r\n\r\n[") + k4 + keyValues +
             QStringLiteral("3d,00,00,00\r\n\r\n"),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writePrefix();
        sandbox.dialogs().clear();
        sandbox.dialogs().answerInput(QStringLiteral("2"));
        QTemporaryDir bin;
        writeFakeWine(bin.path(), c.existing.join(u'\n'), c.regeditExit, c.stores);
        support::ScopedEnvironment path("PATH", bin.path());
        std::unique_ptr<FakeWineServer> server;
        QByteArray filesAtQuestion = kUserReg + kUserdefReg;
        const auto startServer = [&] { server = std::make_unique<FakeWineServer>(prefixPath()); };
        if (c.startsAtQuestion)
            sandbox.dialogs().whileAsked([&] {
                filesAtQuestion = readFile("user.reg") + readFile("userdef.reg");
                startServer();
            });
        else
            startServer();
        CharacterPage& p = openPage();
        p.Alias->setText(QStringLiteral("Jazz\u00A7"));
        p.Lori->setChecked(true);
        finish();
        sandbox.dialogs().whileAsked(nullptr);
        ASSERT_TRUE(server && server->socket.isListening());
        EXPECT_TRUE(backOnFirstPage());
        EXPECT_EQ(questionsAsked(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!m_registry->busy(), 10000);

        QFile calls(bin.filePath(QStringLiteral("calls")));
        ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
        QStringList called = QString::fromUtf8(calls.readAll()).split(u'\n', Qt::SkipEmptyParts);
        called.sort();
        QStringList expected{QStringLiteral("reg query ") + k3, QStringLiteral("reg query ") + k4,
                             QStringLiteral("reg query ") + k1, QStringLiteral("reg query ") + k2};
        const QStringList existing =
            c.stores == Stores::AfterSayingMissing ? QStringList() : c.existing;
        if (!existing.isEmpty())
            expected << QStringLiteral("regedit /S -");
        // Once regedit has said that it stored them, each key that took values is read back and
        // each missing one is asked for again.
        const QStringList all{k1, k2, k3, k4};
        for (qsizetype i = 0; c.regeditExit == 0 && i < all.size(); ++i)
            expected << (existing.contains(all[i])
                             ? QStringLiteral("reg export %1 %2.reg /y").arg(all[i]).arg(i)
                             : QStringLiteral("reg query ") + all[i]);
        for (QString& e : expected)
            e.prepend(prefixPath() + u'|');
        expected.sort();
        EXPECT_EQ(called, expected);
        if (!c.imported.isEmpty()) {
            QFile imported(bin.filePath(QStringLiteral("import")));
            EXPECT_EQ(imported.open(QIODevice::ReadOnly) ? imported.readAll() : QByteArray(),
                      QByteArray("\xff\xfe", 2) + utf16(c.imported));
        }
        EXPECT_EQ(boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
        // The files are Wine's while it runs.
        EXPECT_EQ(readFile("user.reg") + readFile("userdef.reg"), filesAtQuestion);
        if (c.startsAtQuestion) {
            EXPECT_EQ(values("Name"), R"("Jazz\xa7" | "Jazz\xa7" | "Old" | absent)");
        }
    }
}

TEST_F(CharacterPageTest, EndingRightAfterFinishWaitsForWineToTakeTheProfile) {
    const QString k1 = QStringLiteral(
        "HKEY_USERS\\.DEFAULT\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0");
    enum class By { Cancel, Closing, Signal };
    struct Case {
        const char* what;
        By by;
        int regeditExit;
        QString box;
    };
    const Case cases[] = {
        {"Cancel", By::Cancel, 0, {}},
        // In the program's own event loop, which closing the last window would quit at once.
        {"closing the window", By::Closing, 0, {}},
        {"Cancel, the import fails", By::Cancel, 3,
         QStringLiteral("Error: Wine is running for the prefix \"%1\" but could not store the "
                        "player profile (wine regedit: exit code 3). Close the game, then press "
                        "Finish again.")
             .arg(prefixPath())},
        {"SIGTERM", By::Signal, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writePrefix();
        sandbox.dialogs().clear();
        QTemporaryDir bin;
        writeFakeWine(bin.path(), k1, c.regeditExit, Stores::Truly, "0.3");
        support::ScopedEnvironment path("PATH", bin.path());
        QTemporaryDir temp; // where the read-back goes
        support::ScopedEnvironment tmpdir("TMPDIR", temp.path());
        FakeWineServer server(prefixPath());
        CharacterPage& p = openPage();
        p.Alias->setText(QStringLiteral("Spaz"));
        finish();

        // What the program has done by the moment it ends.
        bool ended = false;
        bool endedAtBox = false;
        QByteArray imported;
        QStringList shown;
        QStringList leftInTemp;
        const auto previous = platform::setEndProgramHandler([&] {
            QFile f(bin.filePath(QStringLiteral("import")));
            imported = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            shown = boxes();
            leftInTemp = QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            ended = true;
            if (c.by == By::Closing) // outside exec() it would stop later event loops at once
                QCoreApplication::exit(0);
        });
        // A further request to end while the failure is shown waits for the box too.
        sandbox.dialogs().whileShown([&] {
            window().close();
            endedAtBox = ended;
        });
        std::optional<platform::TerminationSignals> endRequests;
        if (c.by == By::Closing) {
            QTimer::singleShot(0, &window(), [&] { window().close(); });
            QTimer giveUp;
            giveUp.callOnTimeout([] { QCoreApplication::exit(1); });
            giveUp.start(20000);
            QApplication::exec();
            QGuiApplication::setQuitOnLastWindowClosed(true);
        } else {
            if (c.by == By::Cancel) {
                click(window().Command7);
            } else {
                endRequests.emplace([&] { window().close(); });
                std::raise(SIGTERM);
            }
            QTRY_VERIFY_WITH_TIMEOUT(window().isHidden(), 5000); // nothing else can be pressed
            EXPECT_FALSE(ended);
            QTRY_VERIFY_WITH_TIMEOUT(ended, 20000);
        }
        EXPECT_TRUE(ended);
        EXPECT_FALSE(endedAtBox);
        platform::setEndProgramHandler(previous);
        sandbox.dialogs().whileShown(nullptr);
        // "Spaz" as the registry keeps a text: UTF-16LE with its NUL.
        EXPECT_TRUE(
            imported.contains(utf16(u"\"Name\"=hex(1):53,00,70,00,61,00,7a,00,00,00\r\n"_s)))
            << imported.toHex().constData();
        EXPECT_EQ(shown, c.box.isEmpty() ? QStringList() : QStringList{c.box});
        EXPECT_EQ(leftInTemp, QStringList());
    }
}

// A wineserver that has stopped accepting still saves its registry over the files before it
// exits: the profile is written after that, or through Wine if one starts meanwhile, and is given
// up with a box past the limit.
TEST_F(CharacterPageTest, AWineServerThatIsEndingSavesFirstAndTheProfileFollows) {
    using namespace std::chrono_literals;
    const QString k1 = QStringLiteral(
        "HKEY_USERS\\.DEFAULT\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0");
    struct Case {
        const char* what;
        int holdMs; // until it saves and exits
        bool startsAgain;
        std::chrono::milliseconds limit;
        const char* names;
        QString box;
    };
    const Case cases[] = {
        {"it saves and goes", 300, false, 10s, R"("Spaz" | "Spaz" | "Spaz" | "Spaz")", {}},
        {"a wineserver starts meanwhile",
         5000,
         true,
         10s,
         R"(absent | absent | "Old" | absent)",
         {}},
        {"it holds the registry past the limit", 5000, false, 300ms,
         R"(absent | absent | "Old" | absent)",
         QStringLiteral("Error: Wine is running for the prefix \"%1\" but could not store the "
                        "player profile (Wine did not let go of the registry within 0.3 s). Close "
                        "the game, then press Finish again.")
             .arg(prefixPath())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writePrefix();
        sandbox.dialogs().clear();
        QTemporaryDir bin;
        writeFakeWine(bin.path(), k1, 0);
        support::ScopedEnvironment path("PATH", bin.path());
        FakeWineServer server(prefixPath(), false);
        CharacterPage& p = openPage(prefixPath(), c.limit);
        p.Alias->setText(QStringLiteral("Spaz"));
        p.Lori->setChecked(true); // what is set before the question waits too
        sandbox.dialogs().answerInput(QStringLiteral("2"));
        EndingWineServer ending(server.server, QDir(prefixPath()).filePath(u"userdef.reg"_s),
                                kUserdefReg, c.holdMs);
        ASSERT_TRUE(ending.locked());
        finish();
        EXPECT_TRUE(m_registry->busy());
        EXPECT_EQ(readFile("user.reg") + readFile("userdef.reg"), kUserReg + kUserdefReg);
        if (c.startsAgain) {
            ASSERT_TRUE(server.socket.listen(server.server + u"/socket"_s));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m_registry->busy(), 15000);

        EXPECT_EQ(values("Name"), c.names);
        EXPECT_EQ(boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
        QFile calls(bin.filePath(QStringLiteral("calls")));
        EXPECT_EQ(calls.open(QIODevice::ReadOnly) && calls.readAll().contains("|regedit /S -\n"),
                  c.startsAgain);
    }
}

// What follows Wine work still under way goes behind it, also once the wineserver has gone:
// written into the files meanwhile, it would lie under what that import then stores.
TEST_F(CharacterPageTest, ASecondFinishFollowsAnImportStillUnderWayWhenWineHasGone) {
    writePrefix();
    QTemporaryDir bin;
    writeFakeWine(bin.path(),
                  QStringLiteral("HKEY_CURRENT_USER\\Software\\Epic MegaGames\\Jazz Jackrabbit "
                                 "2\\1.23\\Player0"),
                  0, Stores::Truly, "0.3");
    support::ScopedEnvironment path("PATH", bin.path());
    auto server = std::make_unique<FakeWineServer>(prefixPath());
    openPage().Alias->setText(QStringLiteral("Jazz"));
    finish();
    server.reset();
    doubleClick(window().opChar);
    window().Frame3->Alias->setText(QStringLiteral("Spaz"));
    finish();
    QTRY_VERIFY_WITH_TIMEOUT(!m_registry->busy(), 20000);

    EXPECT_EQ(readFile("user.reg") + readFile("userdef.reg"), kUserReg + kUserdefReg);
    QFile calls(bin.filePath(QStringLiteral("calls")));
    ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
    EXPECT_EQ(calls.readAll().count("|regedit /S -\n"), 2);
    EXPECT_EQ(boxes(), QStringList());
}

TEST_F(CharacterPageTest, OnlyTheWrittenValuesAndTheirKeysTimesChange) {
    writePrefix();
    CharacterPage& p = openPage();
    p.Alias->setText(QStringLiteral("Spaz"));
    p.Fur1->setText(QStringLiteral("16"));
    p.Fur2->setText(QStringLiteral("32"));
    p.Fur3->setText(QStringLiteral("48"));
    p.Fur4->setText(QStringLiteral("64"));
    p.Jazz->setChecked(true);
    finish();

    QByteArray user = kUserReg;
    user.replace(R"(Player0] 1700000000
#time=1d9c8c2b1a2b3c4
"Name"="Old"
)",
                 R"(Player0] 1712345678
#time=1da87904c7ad650
"Name"="Spaz"
"Color"=hex:10,20,30,40
"Char"=hex:36,00,00,00
)");
    user.replace(R"(
[Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0\\Extra])",
                 R"(
[Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0] 1712345678
#time=1da87904c7ad650
"Name"="Spaz"
"Color"=hex:10,20,30,40
"Char"=hex:37,00,00,00

[Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0\\Extra])");
    EXPECT_EQ(readFile("user.reg").toStdString(), user.toStdString());

    QByteArray userdef = kUserdefReg;
    userdef.replace("] 1700000000\n#time=1d9c8c2b1a2b3c4\n",
                    "] 1712345678\n#time=1da87904c7ad650\n\"Name\"=\"Spaz\"\n"
                    "\"Color\"=hex:10,20,30,40\n\"Char\"=hex:@@,00,00,00\n");
    userdef.replace(userdef.indexOf("@@"), 2, "36");
    userdef.replace(userdef.indexOf("@@"), 2, "37");
    EXPECT_EQ(readFile("userdef.reg").toStdString(), userdef.toStdString());
}

TEST_F(CharacterPageTest, ThePageIsFilledFromAndStoredToTheSettings) {
    struct Case {
        const char* jazz;
        const char* spaz;
        const char* lori;
        const char* before; // the option selected before the page opens again
        const char* after;
    };
    const Case cases[] = {
        {"True", "False", "False", "", "Jazz"},
        {"True", "True", "False", "", "Spaz"}, // a later "True" wins
        {"true", "0", "-1", "", "Lori"},
        {"000", "000", "000", "", ""},
        {"False", "False", "False", "Jazz", ""}, // clearing the selected one selects nothing
        {"maybe", "", "x", "Spaz", "Spaz"},      // no truth value: the option stays as it was
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.jazz) + "/" + c.spaz + "/" + c.lori);
        sandbox.settings().SaveSetting(QStringLiteral("Jazz"), QStringLiteral("000"));
        sandbox.settings().SaveSetting(QStringLiteral("Spaz"), QStringLiteral("000"));
        sandbox.settings().SaveSetting(QStringLiteral("Lori"), QStringLiteral("000"));
        CharacterPage& p = openPage();
        if (*c.before)
            p.findChild<QRadioButton*>(latin(c.before))->setChecked(true);
        click(window().Command7); // back
        sandbox.settings().SaveSetting(QStringLiteral("Jazz"), latin(c.jazz));
        sandbox.settings().SaveSetting(QStringLiteral("Spaz"), latin(c.spaz));
        sandbox.settings().SaveSetting(QStringLiteral("Lori"), latin(c.lori));
        doubleClick(window().opChar);
        QString selected;
        for (QRadioButton* o : {p.Jazz, p.Spaz, p.Lori})
            if (o->isChecked())
                selected += o->objectName();
        EXPECT_EQ(selected, latin(c.after));
    }

    // "< Back" stores the boxes as they stand, uncorrected.
    CharacterPage& p = openPage();
    p.Alias->setText(QStringLiteral("Lori"));
    p.spacing->setText(QStringLiteral("3"));
    p.Fur1->setText(QStringLiteral("999"));
    p.Lori->setChecked(true);
    click(window().Command7);
    EXPECT_EQ(stored("Alias") + u'|' + stored("Spacing") + u'|' + stored("Fur1"),
              QStringLiteral("Lori|3|999"));
    EXPECT_EQ(stored("Jazz") + stored("Spaz") + stored("Lori"), QStringLiteral("FalseFalseTrue"));
    EXPECT_TRUE(backOnFirstPage());
    openPage();
    EXPECT_EQ(window().Frame3->Alias->text() + u'|' + window().Frame3->spacing->text() + u'|' +
                  window().Frame3->Fur1->text(),
              QStringLiteral("Lori|3|999"));
    EXPECT_TRUE(window().Frame3->Lori->isChecked());

    // Stored texts longer than the boxes let the user type survive the page's show and save.
    click(window().Command7);
    sandbox.settings().SaveSetting(QStringLiteral("Alias"), QStringLiteral("A name of 20 letters"));
    sandbox.settings().SaveSetting(QStringLiteral("Spacing"), QStringLiteral("1-9-x"));
    sandbox.settings().SaveSetting(QStringLiteral("Fur1"), QStringLiteral("12.75"));
    doubleClick(window().opChar);
    QTest::keyClicks(window().Frame3->Alias, QStringLiteral("xy")); // typing cannot lengthen them
    QTest::keyClicks(window().Frame3->Fur1, QStringLiteral("9"));
    click(window().Command7);
    EXPECT_EQ(stored("Alias") + u'|' + stored("Spacing") + u'|' + stored("Fur1"),
              QStringLiteral("A name of 20 letters|1-9-x|12.75"));
}

TEST_F(CharacterPageTest, RegistryRoutinesWriteTypesOneAndThreeOnly) {
    struct Case {
        quint32 type;
        const char* value;
        const char* written; // nullptr: nothing written, false returned
    };
    const Case cases[] = {
        {1, "Jazz", R"("Jazz")"},
        {3, "&H00000036", "hex:36,00,00,00"},
        {3, "&HFFFFFFFF", "hex:ff,ff,ff,ff"},
        {3, "&H80000000", "hex:00,00,00,80"},
        {3, "54", "hex:36,00,00,00"},
        {3, "2.5", "hex:02,00,00,00"},
        {3, "-1", "hex:ff,ff,ff,ff"},
        {3, "2147483648", nullptr},
        {3, "&H100000000", nullptr},
        {3, "&HG1", nullptr},
        {3, "&H-1", nullptr},
        {3, "x", nullptr},
        {4, "1", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        writePrefix();
        RegistryRoutines& r = openPage().registryRoutines();
        ASSERT_TRUE(r.OpenRegKey(
            platform::reg::CurrentUser,
            QStringLiteral("Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0"),
            platform::reg::AllAccess));
        EXPECT_EQ(
            r.SetRegValue(r.GetRegKeyHandle(), QStringLiteral("Value"), c.type, latin(c.value)),
            c.written != nullptr);
        EXPECT_EQ(value(K3, "Value"), QByteArray(c.written ? c.written : "absent"));
    }

    // A failed opening leaves no handle: the next write fails and never reaches the key opened
    // before.
    writePrefix();
    RegistryRoutines& r = openPage().registryRoutines();
    ASSERT_TRUE(
        r.OpenRegKey(platform::reg::CurrentUser,
                     QStringLiteral("Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0"),
                     platform::reg::AllAccess));
    EXPECT_FALSE(r.OpenRegKey(platform::reg::CurrentUser, QStringLiteral("Software\\Missing"),
                              platform::reg::AllAccess));
    EXPECT_EQ(r.GetRegKeyHandle(), 0u);
    EXPECT_FALSE(
        r.SetRegValue(r.GetRegKeyHandle(), QStringLiteral("Name"), 1, QStringLiteral("X")));
    EXPECT_EQ(readFile("user.reg"), kUserReg);

    RegistryRoutines none(nullptr);
    EXPECT_FALSE(none.OpenRegKey(platform::reg::CurrentUser, QStringLiteral("Software\\Wine"),
                                 platform::reg::AllAccess));
}

TEST_F(CharacterPageTest, ButtonsOfThePage) {
    writePrefix();
    CharacterPage& p = openPage();
    const std::pair<QPushButton*, const char*> buttons[] = {{p.Command15, "Remove Colon"},
                                                            {p.Command16, "Set Name Spacing"},
                                                            {p.Command17, "View Color Table"},
                                                            {p.Command2, "Charmap"}};
    for (const auto& [button, text] : buttons)
        EXPECT_EQ(button->text(), latin(text));

    // Every control lies inside the page, none over another, and each caption fits.
    const QList<QWidget*> controls = p.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(controls.size(), 17);
    for (QWidget* w : controls) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(p.rect().contains(w->geometry()));
        for (QWidget* other : controls)
            EXPECT_TRUE(w == other || !w->geometry().intersects(other->geometry()))
                << other->objectName().toStdString();
        if (!qobject_cast<QLineEdit*>(w)) {
            EXPECT_LE(w->sizeHint().width() - (qobject_cast<QPushButton*>(w) ? 16 : 0), w->width());
        }
    }
    click(p.Command2);
    EXPECT_EQ(sandbox.starter().lines(), QStringList{QStringLiteral("charmap.exe")});
    EXPECT_TRUE(sandbox.dialogs().shown().empty());
    sandbox.starter().setResult(false); // no character map installed
    click(p.Command2);
    EXPECT_EQ(sandbox.dialogs().messages(),
              QStringList{QStringLiteral("Could not find a program to start in: charmap.exe")});
}

} // namespace
