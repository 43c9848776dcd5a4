#include "launcher/serve_page.h"
#include "platform/gui/check_value.h"
#include "support/main_window_fixture.h"

#include <QDir>
#include <QHostInfo>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {

QString L1(const char* text) {
    return QString::fromLatin1(text);
}

QByteArray levelFile(const char* title) {
    return QByteArray("Jazz Jackrabbit 2 Level\x1a LEVL\x03") + '\0' + title + '\0' + "body";
}

class Serve : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths(sandbox.makeFile(QStringLiteral("Jazz2/Jazz2.exe")));
        for (const char* name : {"battle1", "share1", "capture1", "race1", "treasur1"})
            level(name, name); // each default level's title is its own name
    }
    void level(const char* name, const char* title) {
        sandbox.makeFile(L1("Jazz2/%1.j2l").arg(L1(name)), levelFile(title));
    }
    void store(const char* key, const char* value) {
        sandbox.settings().SaveSetting(L1(key), L1(value));
    }
    QString stored(const char* key) {
        return sandbox.settings().GetSetting(L1(key), L1("(missing)"));
    }
    ServePage& page() { return *window().Frame2; }

    // Opens the window and its serve page, with the start-up timers out of the way.
    ServePage& openServe(std::optional<QString> address = L1("10.1.2.3")) {
        open();
        window().Timer5->stop();
        page().setLocalAddressSource([address] { return address; });
        doubleClick(window().opServ);
        return page();
    }
    void clickTab(int tab) {
        QTabBar* bar = page().Tabb->findChild<QTabBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab - 1).center());
    }
    // Everything a game type decides, on one line.
    QString typeState() {
        ServePage& p = page();
        const QString goal = p.Text3->text() + (p.Text3->isEnabled() ? L1("") : L1(" disabled")) +
                             (visibleFlag(p.Text3) ? L1("") : L1(" hidden"));
        const bool coop = visibleFlag(p.Option2[0]) && visibleFlag(p.Option2[2]);
        return L1("%1 | %2 | %3 | %4 | %5 | %6 | %7 | %8")
            .arg(QString::number(p.selectedTab()), window().GameType, p.reQ->text(),
                 p.Level->text(), goal, coop ? L1("coop") : L1("-"), visiblePictures(),
                 p.Label13->text());
    }
    QString fields() {
        ServePage& p = page();
        return L1("%1|%2|%3|%4|%5|%6")
            .arg(p.Text2->text(), p.Level->text(), p.Text1->text(), p.Text3->text())
            .arg(platform::checkValue(p.Check1))
            .arg(platform::checkValue(p.Check2));
    }
    // The page's keys in the order they are written.
    QString storedPage() {
        QStringList values;
        for (const char* key :
             {"Server Name", "Server Level", "Max Players", "Version", "List", "Roasts Required",
              "Coop Easy", "Coop Med", "Coop Hard", "Tab Item", "Level Name"})
            values << stored(key);
        return values.join(u'|');
    }
};

TEST_F(Serve, FirstShowingWithAnEmptyStore) {
    openServe();
    EXPECT_EQ(typeState(),
              L1("1 | Battle | Roasts Required | battle1.j2l | 10 | - | imgBattle | battle1"));
    EXPECT_EQ(fields(), L1("Server Name|battle1.j2l|32|10|0|1"));
    EXPECT_TRUE(page().Option2[0]->isChecked());
    EXPECT_EQ(window().CoopDifficulty, QString()); // "Easy" is selected only by design
    EXPECT_EQ(page().Label14->text(), L1("Your IP: 10.1.2.3"));
}

TEST_F(Serve, YourIpIsTheAddressOfTheRouteToTheListServer) {
    const struct {
        const char* what;
        const char* listServerHost;
        std::optional<QString> firstAddress; // the machine's first, shown until the lookup ends
        const char* shown;
    } cases[] = {
        {"the route's address replaces the machine's first", "127.0.0.1", L1("10.1.2.3"),
         "Your IP: 127.0.0.1"},
        {"a host that cannot be resolved keeps the machine's first", "", L1("10.1.2.3"),
         "Your IP: 10.1.2.3"},
        {"without either the caption stays", "", std::nullopt, "Your IP:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Services services = sandbox.services();
        services.listServerHost = L1(c.listServerHost);
        m_window = std::make_unique<MainWindow>(services);
        window().show();
        window().Timer5->stop();
        page().setLocalAddressSource([&c] { return c.firstAddress; });
        doubleClick(window().opServ);
        EXPECT_EQ(page().Label14->text(),
                  c.firstAddress ? L1("Your IP: ") + *c.firstAddress : L1("Your IP:"));
        // Lookups of an empty name end in the order they were asked for.
        bool lookedUp = false;
        QHostInfo::lookupHost(QString(), &window(),
                              [&lookedUp](const QHostInfo&) { lookedUp = true; });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return lookedUp && page().Label14->text() == L1(c.shown); }, 5000))
            << qPrintable(page().Label14->text());
    }
}

TEST_F(Serve, EachTabAppliesItsGameType) {
    openServe();
    // Race before Coop: the hidden goal box keeps Race's text and disabled state.
    const std::pair<int, const char*> rows[] = {
        {4, "4 | Race | Laps Required | race1.j2l | 5 disabled | - | imgRace | race1"},
        {2,
         "2 | Coop | Coop Difficulty | share1.j2l | 5 disabled hidden | coop | imgCoop | share1"},
        {3, "3 | Capture | Points Required | capture1.j2l | 10 | - | imgCTF | capture1"},
        {5, "5 | Treasure | Gems Required | treasur1.j2l | 100 | - | imgTreasure | treasur1"},
        {1, "1 | Battle | Roasts Required | battle1.j2l | 10 | - | imgBattle | battle1"},
    };
    for (const auto& [tab, state] : rows) {
        clickTab(tab);
        EXPECT_EQ(typeState(), L1(state));
    }
    // From code the handler runs only when the selection changes.
    window().GameType = L1("unchanged");
    EXPECT_TRUE(page().selectTab(1));
    EXPECT_FALSE(page().selectTab(6));
    EXPECT_EQ(window().GameType, L1("unchanged"));
}

TEST_F(Serve, StoredTabComesBackThroughTheTabsHandlerUnderTheStoredTexts) {
    // The stored texts go over the tab's defaults, and an empty stored level gets the page's
    // own default whatever the tab.
    const std::pair<const char*, const char*> rows[] = {
        {"4", "4 | Race | Laps Required | battle1.j2l | 7 disabled | - | imgRace | battle1"},
        {"2", "2 | Coop | Coop Difficulty | battle1.j2l | 7 hidden | coop | imgCoop | battle1"},
        {" 3.4 ", "3 | Capture | Points Required | battle1.j2l | 7 | - | imgCTF | battle1"},
        {"0", "1 | Battle | Roasts Required | battle1.j2l | 7 | - | imgBattle | battle1"},
        {"9", "1 | Battle | Roasts Required | battle1.j2l | 7 | - | imgBattle | battle1"},
        {"x", "1 | Battle | Roasts Required | battle1.j2l | 7 | - | imgBattle | battle1"},
        {"", "1 | Battle | Roasts Required | battle1.j2l | 7 | - | imgBattle | battle1"},
    };
    store("Roasts Required", "7");
    store("Server Level", "");
    for (const auto& [tab, state] : rows) {
        store("Tab Item", tab);
        openServe();
        EXPECT_EQ(typeState(), L1(state)) << tab;
    }
}

TEST_F(Serve, StoredValuesAndDefaultsOfEmptyTexts) {
    struct Row {
        const char* easy;
        const char* med;
        const char* hard;
        int selected; // -1: none
        const char* difficulty;
    };
    const Row rows[] = {
        {"True", "False", "False", 0, "easy"}, // already selected: the handler still runs
        {"False", "True", "False", 1, "medium"},
        {"x", "1", "0", 1, "medium"},
        {"False", "False", "True", 2, "hard"},
        {"False", "False", "False", -1, ""},
        {"", "", "", 0, ""},
    };
    for (const Row& row : rows) {
        store("Coop Easy", row.easy);
        store("Coop Med", row.med);
        store("Coop Hard", row.hard);
        store("Server Name", " "); // blanks are no empty text
        store("Max Players", "");
        store("Tab Item", "5");
        store("Version", "1");
        store("List", "7"); // no value of a check box: unchanged
        store("Roasts Required", "");
        openServe();
        SCOPED_TRACE(row.difficulty);
        EXPECT_EQ(window().CoopDifficulty, L1(row.difficulty));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(page().Option2[size_t(i)]->isChecked(), i == row.selected) << i;
        // Treasure's defaults put by the tab give way to the page's own.
        EXPECT_EQ(fields(), L1(" |battle1.j2l|32|10|1|1"));
        EXPECT_EQ(window().GameType, L1("Treasure"));
    }
}

TEST_F(Serve, TypingIsLimitedButStoredTextsComeBackWholeAndAreStartedWith) {
    store("Server Name", "A stored server name of 32 chars");
    store("Max Players", "100");
    store("Roasts Required", "1000");
    openServe();
    EXPECT_EQ(fields(), L1("A stored server name of 32 chars|battle1.j2l|100|1000|0|1"));
    // The user cannot lengthen them, only shorten them; a paste keeps what fits.
    QTest::keyClicks(page().Text1, L1("7"));
    QTest::keyClick(page().Text3, Qt::Key_Backspace);
    QTest::keyClicks(page().Text3, L1("99"));
    EXPECT_EQ(page().Text1->text() + u'|' + page().Text3->text(), L1("100|100"));
    page().Text3->clear();
    page().Text3->insert(L1("12345"));
    EXPECT_EQ(page().Text3->text(), L1("123"));
    page().Text3->setText(L1("1000"));

    click(window().Command8);
    ASSERT_EQ(sandbox.starter().lines().size(), 1);
    EXPECT_TRUE(sandbox.starter().lines().front().contains(L1(" -Counts 1000 -Maxplayers 100 ")));
    click(window().Command7);
    EXPECT_EQ(stored("Server Name") + u'|' + stored("Max Players") + u'|' +
                  stored("Roasts Required"),
              L1("A stored server name of 32 chars|100|1000"));
}

TEST_F(Serve, BackStoresThePageAndNextRestoresItFinishStoresNothing) {
    openServe();
    clickTab(3);
    page().Text2->clear();
    QTest::keyClicks(page().Text2, L1("A server name longer than twenty"));
    platform::setCheckValue(page().Check1, 1);
    platform::setCheckValue(page().Check2, 0);
    click(window().Command7);
    EXPECT_TRUE(page().isHidden());
    EXPECT_TRUE(window().opServ->isChecked());
    EXPECT_EQ(storedPage(),
              L1("A server name longer|capture1.j2l|32|1|0|10|True|False|False|3|capture1"));

    click(window().Command8);
    EXPECT_EQ(typeState(),
              L1("3 | Capture | Points Required | capture1.j2l | 10 | - | imgCTF | capture1"));
    EXPECT_EQ(fields(), L1("A server name longer|capture1.j2l|32|10|1|0"));
    page().Text2->setText(L1("Finished"));
    click(window().Command8);
    EXPECT_EQ(stored("Server Name"), L1("A server name longer"));
}

TEST_F(Serve, TitleComesFromTheFolderOfTheOlderBuildOnly) {
    store("Version", "1");
    storePaths(sandbox.makeFile(L1("Jazz2/Jazz2.exe")), sandbox.makeFile(L1("TSF/Jazz2.exe")));
    sandbox.makeFile(L1("TSF/battle1.j2l"), levelFile("from TSF"));
    openServe();
    EXPECT_EQ(page().Label13->text(), L1("battle1"));

    // A path without a separator: the level is looked for as its bare name.
    storePaths(L1("Jazz2.exe"));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(sandbox.tempPath(L1("TSF")));
    openServe();
    QDir::setCurrent(cwd);
    EXPECT_EQ(page().Label13->text(), L1("from TSF"));
}

TEST_F(Serve, LevelTitlesOnTheTabs) {
    level("share1", "<b>Bold</b>"); // shown as it stands, not as markup
    openServe();
    clickTab(2);
    EXPECT_EQ(page().Label13->text(), L1("<b>Bold</b>"));
    EXPECT_EQ(page().Label13->textFormat(), Qt::PlainText);
    QFile::remove(sandbox.tempPath(L1("Jazz2/capture1.j2l")));
    clickTab(3);
    EXPECT_EQ(page().Label13->text(), QString()); // not the title read before
    sandbox.makeFile(L1("Jazz2/race1.j2l"), QByteArray("LEVL\x01") + '\0' + "no end");
    clickTab(4);
    EXPECT_EQ(page().Label13->text(), QString());
}

TEST_F(Serve, LevelsAreFoundWhateverTheLetterCaseOfTheirNames) {
    storePaths(sandbox.makeFile(L1("Wine/Jazz2.exe")));
    sandbox.makeFile(L1("Wine/Battle1.j2l"), levelFile("Battle One"));
    sandbox.makeFile(L1("Wine/Share1.j2l"), levelFile("Share One"));
    openServe();
    EXPECT_EQ(page().Label13->text(), L1("Battle One"));
    clickTab(2);
    EXPECT_EQ(page().Label13->text(), L1("Share One"));
    // The exact name wins over the case variants, also over those that sort before it.
    sandbox.makeFile(L1("Wine/BATTLE1.J2L"), levelFile("upper"));
    sandbox.makeFile(L1("Wine/battle1.j2l"), levelFile("exact"));
    clickTab(1);
    EXPECT_EQ(page().Label13->text(), L1("exact"));
}

TEST_F(Serve, BrowsePicksALevelAndReadsItsTitle) {
    openServe();
    support::FakeDialogs& dialogs = sandbox.dialogs();
    const QString other = sandbox.makeFile(L1("elsewhere/mine.j2l"), levelFile("Mine"));
    const QString unterminated =
        sandbox.makeFile(L1("elsewhere/cut.j2l"), QByteArray("LEVL\x01") + '\0' + "x");
    dialogs.cancelOpenFile();
    dialogs.answerOpenFile(other);
    dialogs.answerOpenFile(unterminated);
    dialogs.answerOpenFile(sandbox.tempPath(L1("elsewhere/gone.j2l")));
    const std::pair<const char*, const char*> steps[] = {
        {"battle1.j2l", "battle1"}, {"mine.j2l", "Mine"}, {"cut.j2l", "Mine"}, {"gone.j2l", ""}};
    for (const auto& [levelName, title] : steps) {
        click(page().Command1);
        EXPECT_EQ(page().Level->text() + u'|' + page().Label13->text(),
                  L1(levelName) + u'|' + L1(title));
    }
    ASSERT_EQ(dialogs.shown().size(), 4u);
    EXPECT_EQ(dialogs.shown()[0].title, L1("Select Jazz2 Level"));
    EXPECT_EQ(dialogs.shown()[0].filter, L1("Jazz2 Level Files|*.j2l"));
    EXPECT_EQ(dialogs.shown()[0].initialFolder, sandbox.tempPath(L1("Jazz2/")));
}

TEST_F(Serve, CoopButtonsSetTheDifficulty) {
    openServe();
    clickTab(2);
    click(page().Option2[2]);
    EXPECT_EQ(window().CoopDifficulty, L1("hard"));
    page().setOption2(2, false); // clears the only selected button; the difficulty stays
    EXPECT_EQ(window().CoopDifficulty, L1("hard"));
    EXPECT_FALSE(page().Option2[0]->isChecked() || page().Option2[1]->isChecked() ||
                 page().Option2[2]->isChecked());
}

} // namespace
