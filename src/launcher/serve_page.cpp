#include "launcher/serve_page.h"

#include "common/conversions.h"
#include "common/level_file.h"
#include "common/twips.h"
#include "launcher/pictures.h"
#include "platform/file_search.h"
#include "platform/gui/accessible_names.h"
#include "platform/gui/check_value.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"
#include "platform/local_address.h"
#include "platform/windows_1252.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

// The tab pictures live in the launcher's static library; see pictures.cpp for why this is needed.
static void registerTabPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(tabs);
        return true;
    }();
    (void)registered;
}

namespace {

using platform::control;
using platform::label;
using platform::place;
using platform::textBox;

constexpr int kTabCount = 5;
constexpr QSize kTabIconSize(24, 24);

struct GameTypeRow {
    const char* gameType;
    const char* goalCaption;
    const char* level;
    const char* goal; // nullptr: the coop buttons take the goal box's place
    bool goalEnabled;
    ServePageHost::Picture picture;
    const char* tabPicture;
};

// By tab, 1 to 5.
using Picture = ServePageHost::Picture;
const GameTypeRow kGameTypes[kTabCount] = {
    {"Battle", "Roasts Required", "battle1.j2l", "10", true, Picture::Battle, "battle"},
    {"Coop", "Coop Difficulty", "share1.j2l", nullptr, true, Picture::Coop, "coop"},
    {"Capture", "Points Required", "capture1.j2l", "10", true, Picture::Capture, "capture"},
    {"Race", "Laps Required", "race1.j2l", "5", false, Picture::Race, "race"},
    {"Treasure", "Gems Required", "treasur1.j2l", "100", true, Picture::Treasure, "treasure"},
};

const char* const kCoopWords[3] = {"easy", "medium", "hard"};
const SettingKey kCoopKeys[3] = {setting_keys::kCoopEasy, setting_keys::kCoopMed,
                                 setting_keys::kCoopHard};

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

QIcon tabPicture(const char* name) {
    registerTabPictures();
    return pictures::svgIcon(QStringLiteral(":/tabs/%1.svg").arg(latin1(name)));
}

} // namespace

ServePage::ServePage(ServePageHost& host, Services services, QWidget* parent)
    : QFrame(parent), m_host(host), m_services(std::move(services)),
      m_localAddress(&platform::localIPv4Address) {
    setObjectName(QStringLiteral("Frame2"));
    buildTabs();
    buildFields();
}

void ServePage::buildTabs() {
    Tabb = place<QTabWidget>(this, "Tabb", twipsRect(0, 0, 4455, 960));
    Tabb->setIconSize(kTabIconSize);
    for (const GameTypeRow& row : kGameTypes)
        Tabb->addTab(new QWidget, tabPicture(row.tabPicture), QString());
    Tabb->setCurrentIndex(0);
    // currentChanged comes exactly when the selection changes, by a click or from code.
    connect(Tabb, &QTabWidget::currentChanged, this, &ServePage::Tabb_Click);
}

void ServePage::buildFields() {
    // At 9.75 points "Server Name" is wider than its label and "Roasts Required" runs into the
    // goal box; at 9 points, the size of the page's buttons elsewhere, every caption fits.
    const QFont captions = platform::tahoma(9);
    Label1 = label(this, "Label1", QStringLiteral("Server Name"), twipsRect(75, 960, 1095, 255),
                   captions);
    Text2 =
        textBox(this, "Text2", QStringLiteral("Server Name"), 20, twipsRect(1440, 960, 3015, 285));
    Label2 =
        label(this, "Label2", QStringLiteral("Level"), twipsRect(75, 1440, 1695, 255), captions);
    Level =
        textBox(this, "Level", QStringLiteral("Server Level"), 0, twipsRect(1440, 1440, 2175, 285));
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("Browse"),
                                    twipsRect(3720, 1440, 780, 285));
    connect(Command1, &QPushButton::clicked, this, &ServePage::Command1_Click);
    Label13 = label(this, "Label13", QStringLiteral("Level Name"), twipsRect(1440, 1800, 2175, 285),
                    captions);

    reQ = label(this, "reQ", QStringLiteral("Roasts Required"), twipsRect(75, 2160, 1695, 255),
                captions);
    Text3 = textBox(this, "Text3", QStringLiteral("32"), 3, twipsRect(1440, 2160, 495, 315));
    const char* const coopNames[3] = {"Option2(0)", "Option2(1)", "Option2(2)"};
    const char* const coopTexts[3] = {"Easy", "Medium", "Hard"};
    const QRect coopPlaces[3] = {twipsRect(1440, 2160, 735, 255), twipsRect(2400, 2160, 1095, 255),
                                 twipsRect(3720, 2160, 780, 255)};
    m_coopGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* button =
            control<QRadioButton>(this, coopNames[i], latin1(coopTexts[i]), coopPlaces[i]);
        button->hide();
        m_coopGroup->addButton(button, i);
        connect(button, &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
        Option2[size_t(i)] = button;
    }
    Option2[0]->setChecked(true);

    Label4 = label(this, "Label4", QStringLiteral("Max Players"), twipsRect(75, 2640, 1695, 255),
                   captions);
    Text1 = textBox(this, "Text1", QStringLiteral("32"), 2, twipsRect(1440, 2640, 495, 285));
    Label14 = label(this, "Label14", QStringLiteral("Your IP:"), twipsRect(75, 3120, 3255, 255),
                    captions);
    // Each box is named by its caption; the goal box's caption follows the game type.
    platform::nameByLabel(Label1, Text2);
    platform::nameByLabel(Label2, Level);
    platform::nameByLabel(reQ, Text3);
    platform::nameByLabel(Label4, Text1);
    // Its "Serve Options" menu is attached by the option menus.
    Command11 = control<QPushButton>(this, "Command11", QStringLiteral("Options"),
                                     twipsRect(3480, 3120, 1015, 375));

    Check1 = new QCheckBox(QStringLiteral("TSF"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->hide();
    Check2 = new QCheckBox(QStringLiteral("List Server"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setChecked(true);
    Check2->hide();
}

void ServePage::setLocalAddressSource(AddressSource source) {
    m_localAddress = std::move(source);
}

QString ServePage::gameFolder() const {
    return level_file::folderOf(m_host.gameExecutable());
}

int ServePage::selectedTab() const {
    return Tabb->currentIndex() + 1;
}

bool ServePage::selectTab(int tab) {
    if (tab < 1 || tab > kTabCount)
        return false;
    Tabb->setCurrentIndex(tab - 1);
    return true;
}

void ServePage::setOption2(int index, bool value) {
    QRadioButton* button = Option2[size_t(index)];
    if (value) {
        button->setChecked(true);
        Option2_Click(index);
        return;
    }
    // An exclusive group refuses to clear its selected button; clearing one leaves none selected.
    m_coopGroup->setExclusive(false);
    button->setChecked(false);
    m_coopGroup->setExclusive(true);
}

// ---- opening and leaving the page ------------------------------------------------------------

void ServePage::ShowServePage() {
    const AppSettings& settings = *m_services.settings;

    // The address others reach this game at is the one the route to the list server leaves
    // from; the machine's first address stands in until the host is looked up, and stays when
    // it cannot be.
    if (const std::optional<QString> address = m_localAddress ? m_localAddress() : std::nullopt)
        Label14->setText(QStringLiteral("Your IP: ") + *address);
    platform::lookUpRouteLocalAddress(
        m_services.listServerHost, this, [this](const std::optional<QString>& route) {
            if (route)
                Label14->setText(QStringLiteral("Your IP: ") + *route);
        });
    m_host.hideChoiceOptions();
    selectTab(1);
    m_host.setGameType(QStringLiteral("Battle"));
    m_host.setPictureVisible(Picture::Battle, true);
    m_host.setPictureVisible(Picture::Logo, false);
    show();
    ApplyGameTypeDefaults(1);

    // The saved game type comes back only through the tab's own handler.
    QString savedTab = settings.GetSetting(setting_keys::kTabItem);
    if (savedTab.isEmpty())
        savedTab = QStringLiteral("1");
    if (const std::optional<int> tab = ToWholeNumber(savedTab))
        selectTab(*tab);

    Text2->setText(settings.GetSetting(setting_keys::kServerName));
    Level->setText(settings.GetSetting(setting_keys::kServerLevel));
    Text1->setText(settings.GetSetting(setting_keys::kMaxPlayers));
    if (const std::optional<int> value = ToWholeNumber(settings.GetSetting(setting_keys::kVersion)))
        platform::setCheckValue(Check1, *value);
    if (const std::optional<int> value = ToWholeNumber(settings.GetSetting(setting_keys::kList)))
        platform::setCheckValue(Check2, *value);
    Text3->setText(settings.GetSetting(setting_keys::kRoastsRequired));
    for (int i = 0; i < 3; ++i)
        if (const std::optional<bool> value = ToTruthValue(settings.GetSetting(kCoopKeys[i])))
            setOption2(i, *value);

    // The same defaults for every game type.
    if (Text2->text().isEmpty())
        Text2->setText(QStringLiteral("Server Name"));
    if (Level->text().isEmpty())
        Level->setText(QStringLiteral("battle1.j2l"));
    if (Text1->text().isEmpty())
        Text1->setText(QStringLiteral("32"));
    if (Text3->text().isEmpty())
        Text3->setText(QStringLiteral("10"));

    // Always from the 1.21 to 1.23 game's folder, whichever build will host.
    showDefaultLevelTitle();
}

void ServePage::SaveServePage() {
    m_host.selectServeOption();
    namespace key = setting_keys;
    QList<std::pair<SettingKey, QString>> values{
        {key::kServerName, Text2->text()},
        {key::kServerLevel, Level->text()},
        {key::kMaxPlayers, Text1->text()},
        {key::kVersion, QString::number(platform::checkValue(Check1))},
        {key::kList, QString::number(platform::checkValue(Check2))},
        {key::kRoastsRequired, Text3->text()}};
    for (int i = 0; i < 3; ++i)
        values.append({kCoopKeys[i], TruthText(Option2[size_t(i)]->isChecked())});
    values.append({key::kTabItem, QString::number(selectedTab())});
    values.append({key::kLevelName, Label13->text()});
    SaveSettings(m_services, values);
}

// ---- game types --------------------------------------------------------------------------------

void ServePage::ApplyGameTypeDefaults(int tab) {
    if (tab < 1 || tab > kTabCount)
        return;
    const GameTypeRow& row = kGameTypes[tab - 1];
    reQ->setText(latin1(row.goalCaption));
    if (row.goal) {
        Text3->setText(latin1(row.goal));
        Text3->setEnabled(row.goalEnabled);
        Text3->show();
    } else {
        Text3->hide(); // its text still goes on the command line
    }
    Level->setText(latin1(row.level));
    for (QRadioButton* button : Option2)
        button->setVisible(row.goal == nullptr);
    m_host.setGameType(latin1(row.gameType));
    for (const GameTypeRow& other : kGameTypes)
        m_host.setPictureVisible(other.picture, &other == &row);
}

void ServePage::Tabb_Click() {
    m_host.setPictureVisible(Picture::Logo, false);
    m_host.setPictureVisible(Picture::Battle, true);
    for (Picture other : {Picture::Coop, Picture::Capture, Picture::Treasure, Picture::Race})
        m_host.setPictureVisible(other, false);
    ApplyGameTypeDefaults(selectedTab());
    showDefaultLevelTitle();
}

void ServePage::Option2_Click(int /*index*/) {
    for (int i = 0; i < 3; ++i)
        if (Option2[size_t(i)]->isChecked())
            m_host.setCoopDifficulty(latin1(kCoopWords[i]));
}

// ---- level and title ---------------------------------------------------------------------------

void ServePage::Command1_Click() {
    const std::optional<QString> chosen =
        m_services.dialogs->openFile(QStringLiteral("Select Jazz2 Level"),
                                     QStringLiteral("Jazz2 Level Files|*.j2l"), gameFolder());
    if (!chosen)
        return;
    Level->setText(level_file::nameOf(*chosen));
    ReadLevelTitle(*chosen); // the chosen file may lie outside the game's folder
}

bool ServePage::ReadLevelTitle(const QString& file) {
    // An unreadable file has no title; the text of a level read before it must not stand in.
    const std::optional<QByteArray> title =
        level_file::title(level_file::read(file).value_or(QByteArray()));
    if (!title)
        return false;
    Label13->setText(platform::fromWindows1252(*title));
    return true;
}

void ServePage::showDefaultLevelTitle() {
    // The game's own levels are named "Battle1.j2l" and so on; under Wine it finds them whatever
    // the letter case, and so must the title.
    if (!ReadLevelTitle(platform::pathIgnoringAsciiCase(gameFolder(), Level->text())))
        Label13->clear();
}
