#include "launcher/character_page.h"

#include "platform/gui/place.h"
#include "common/launch_game.h"

#include "common/conversions.h"
#include "common/twips.h"
#include "launcher/color_table_window.h"
#include "platform/gui/accessible_names.h"
#include "platform/gui/fonts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace reg = platform::reg;

namespace {

using platform::control;
using platform::label;
using platform::textBox;

// The game's profile keys: both builds, under the machine's default user and the current user.
struct ProfileKey {
    quint32 root;
    const char* subKey;
};
const ProfileKey K1{reg::Users,
                    ".DEFAULT\\Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0"};
const ProfileKey K2{
    reg::Users,
    ".DEFAULT\\Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0"};
const ProfileKey K3{reg::CurrentUser, "Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0"};
const ProfileKey K4{reg::CurrentUser,
                    "Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0"};

const QString kLoriPrompt = QStringLiteral("Since Lori is unavailable in Jazz2 Version 1.23\r\n"
                                           "Please choose an alternative character for 1.23:\r\n"
                                           "If you do not have version 1.23, just click OK.\r\n"
                                           "(1) Jazz\r\n"
                                           "(2) Spaz");

// A fur box read as a number: blanks around it, a fraction and an exponent are allowed.
std::optional<double> furNumber(const QLineEdit* box) {
    return ToDecimalNumber(box->text());
}

// Sets an option of the character group; clearing one selects none of the others.
void setOption(QRadioButton* option, bool selected) {
    if (selected) {
        option->setChecked(true);
        return;
    }
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

} // namespace

CharacterPage::CharacterPage(CharacterPageHost& host, Services services, QWidget* parent)
    : QFrame(parent), m_host(host), m_services(std::move(services)), m_module(m_services.registry) {
    setObjectName(QStringLiteral("Frame3"));

    const QFont heading = platform::tahoma(9.75, true);
    const QFont buttons = platform::tahoma(9);

    // Name, with the character map beside it for the name codes.
    Label7 =
        label(this, "Label7", QStringLiteral("Your Name"), twipsRect(120, 120, 2640, 255), heading);
    Alias = textBox(this, "Alias", QStringLiteral("Your Name"), 14, twipsRect(120, 405, 2640, 330));
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("Charmap"),
                                    twipsRect(2880, 390, 1575, 360), buttons);

    // Name tools.
    Command15 = control<QPushButton>(this, "Command15", QStringLiteral("Remove Colon"),
                                     twipsRect(120, 870, 1500, 360), buttons);
    Label5 = label(this, "Label5", QStringLiteral("or"), twipsRect(1680, 915, 270, 255),
                   platform::tahoma(9.75));
    Label5->setAlignment(Qt::AlignCenter);
    spacing = textBox(this, "spacing", QStringLiteral("1-9"), 3, twipsRect(2010, 885, 570, 330));
    spacing->setAlignment(Qt::AlignCenter);
    Command16 = control<QPushButton>(this, "Command16", QStringLiteral("Set Name Spacing"),
                                     twipsRect(2640, 870, 1815, 360), buttons);

    // Fur colours.
    Label11 = label(this, "Label11", QStringLiteral("Your Fur Colors"),
                    twipsRect(120, 1470, 2640, 255), heading);
    int left = 120;
    for (auto [box, name] :
         {std::pair{&Fur1, "Fur1"}, {&Fur2, "Fur2"}, {&Fur3, "Fur3"}, {&Fur4, "Fur4"}}) {
        *box = textBox(this, name, QStringLiteral("000"), 3, twipsRect(left, 1755, 570, 330));
        (*box)->setAlignment(Qt::AlignCenter);
        left += 660;
    }
    Command17 = control<QPushButton>(this, "Command17", QStringLiteral("View Color Table"),
                                     twipsRect(2880, 1740, 1575, 360), buttons);

    // Character.
    Label12 = label(this, "Label12", QStringLiteral("Your Character"),
                    twipsRect(120, 2340, 2640, 255), heading);
    Jazz = control<QRadioButton>(this, "Jazz", QStringLiteral("Jazz"),
                                 twipsRect(120, 2625, 1140, 300));
    Spaz = control<QRadioButton>(this, "Spaz", QStringLiteral("Spaz"),
                                 twipsRect(1320, 2625, 1140, 300));
    Lori = control<QRadioButton>(this, "Lori", QStringLiteral("Lori"),
                                 twipsRect(2520, 2625, 1140, 300));

    // Names for assistive tools; the spacing box has no label of its own.
    platform::nameByLabel(Label7, Alias);
    spacing->setAccessibleName(QStringLiteral("Name Spacing"));
    platform::nameByLabel(Label11, {Fur1, Fur2, Fur3, Fur4});

    connect(Command2, &QPushButton::clicked, this, &CharacterPage::Command2_Click);
    connect(Command15, &QPushButton::clicked, this, &CharacterPage::Command15_Click);
    connect(Command16, &QPushButton::clicked, this, &CharacterPage::Command16_Click);
    connect(Command17, &QPushButton::clicked, this, &CharacterPage::Command17_Click);
}

std::array<std::pair<QLineEdit*, SettingKey>, 4> CharacterPage::furKeys() const {
    return {{{Fur1, setting_keys::kFur1},
             {Fur2, setting_keys::kFur2},
             {Fur3, setting_keys::kFur3},
             {Fur4, setting_keys::kFur4}}};
}

std::array<std::pair<QRadioButton*, SettingKey>, 3> CharacterPage::characterKeys() const {
    return {
        {{Jazz, setting_keys::kJazz}, {Spaz, setting_keys::kSpaz}, {Lori, setting_keys::kLori}}};
}

// The colour table is a window of its own, so it goes when the page goes.
CharacterPage::~CharacterPage() { delete m_form5; }

void CharacterPage::ShowCharacterPage() {
    m_host.hideChoiceOptions();
    show();

    const AppSettings& settings = *m_services.settings;
    Alias->setText(settings.GetSetting(setting_keys::kAlias));
    spacing->setText(settings.GetSetting(setting_keys::kSpacing));
    for (auto [box, key] : furKeys())
        box->setText(settings.GetSetting(key));
    // In group order, so a later "True" wins; a text that is no truth value leaves its option.
    for (auto [opt, key] : characterKeys())
        if (const std::optional<bool> selected = ToTruthValue(settings.GetSetting(key)))
            setOption(opt, *selected);
}

void CharacterPage::SaveCharacterPage() {
    m_host.selectCharacterOption();
    QList<std::pair<SettingKey, QString>> values{{setting_keys::kAlias, Alias->text()},
                                                 {setting_keys::kSpacing, spacing->text()}};
    for (auto [box, key] : furKeys())
        values.append({key, box->text()});
    for (auto [opt, key] : characterKeys())
        values.append({key, TruthText(opt->isChecked())});
    SaveSettings(m_services, values);
}

// Every failing step is skipped and the next one runs. The values go out as one batch, so each
// registry file is read once and written only before the Lori question and at the end; a profile
// that reached no key at all, or a failed write, is told in one box.
void CharacterPage::WriteProfile() {
    std::optional<QString> loriAnswer; // asked at most once per "Finish"
    m_module.beginWrites();

    // 1-2. Name under the default user's keys.
    openKey(K1.root, QString::fromLatin1(K1.subKey));
    writeName();
    openKey(K2.root, QString::fromLatin1(K2.subKey));
    writeName();
    // 3-5. Colours.
    FurCorrection();
    openKey(K1.root, QString::fromLatin1(K1.subKey));
    writeColor();
    openKey(K2.root, QString::fromLatin1(K2.subKey));
    FurCorrection();
    writeColor();
    // 6-7. Character.
    openKey(K1.root, QString::fromLatin1(K1.subKey));
    writeCharacter(characterCode123(loriAnswer));
    openKey(K2.root, QString::fromLatin1(K2.subKey));
    writeCharacter(characterCode124());
    // 8-11. The same under the current user's keys.
    openKey(K3.root, QString::fromLatin1(K3.subKey));
    writeName();
    openKey(K4.root, QString::fromLatin1(K4.subKey));
    writeName();
    FurCorrection();
    openKey(K3.root, QString::fromLatin1(K3.subKey));
    writeColor();
    openKey(K4.root, QString::fromLatin1(K4.subKey));
    FurCorrection();
    writeColor();
    openKey(K3.root, QString::fromLatin1(K3.subKey));
    writeCharacter(characterCode123(loriAnswer));
    openKey(K4.root, QString::fromLatin1(K4.subKey));
    writeCharacter(characterCode124());
    // 12. Back to the first page; the page, corrected furs included, is stored on the way.
    m_host.Command7_Click();
    m_module.endWrites([page = QPointer<CharacterPage>(this)](const platform::WriteReport& report) {
        if (page)
            page->reportProfile(report);
    });
}

// Silence only where there is nothing to say: a build that is not installed (its keys missing
// while the other's were written) is no fault.
void CharacterPage::reportProfile(const platform::WriteReport& report) {
    const QString again = QStringLiteral("then press Finish again.");
    QString text;
    if (!report.failure.isEmpty() && report.throughWine)
        text =
            QStringLiteral("Wine is running for the prefix \"%1\" but could not store the player "
                           "profile (%2). Close the game, %3")
                .arg(report.store, report.failure, again);
    else if (!report.failure.isEmpty())
        text = QStringLiteral("The player profile could not be written to %1. Make room on the "
                              "disk or allow writing to the file, %2")
                   .arg(report.failure, again);
    else if (!report.unreadable.isEmpty())
        text = QStringLiteral("The registry file \"%1\" could not be read, so the player profile "
                              "was not written to it. Allow reading the file, %2")
                   .arg(report.unreadable, again);
    else if (report.keysWritten == 0 && report.storeExists)
        text = QStringLiteral("The game's profile keys were not found in the Wine prefix \"%1\". "
                              "Start the game once, %2")
                   .arg(report.store, again);
    else if (report.keysWritten == 0)
        text = QStringLiteral("There is no Wine prefix at \"%1\". Start the game once, %2")
                   .arg(report.store, again);
    if (!text.isEmpty() && m_services.dialogs)
        m_services.dialogs->messageBox(text, QStringLiteral("Error"));
}

void CharacterPage::FurCorrection() {
    for (QLineEdit* box : {Fur1, Fur2, Fur3, Fur4}) {
        const std::optional<double> v = furNumber(box);
        if (!v || *v > 255)
            box->setText(QStringLiteral("255"));
        else if (*v < 0)
            box->setText(QStringLiteral("0"));
    }
}

std::optional<QString> CharacterPage::ColorText() const {
    QString text = QStringLiteral("&H");
    for (const QLineEdit* box : {Fur4, Fur3, Fur2, Fur1}) {
        const std::optional<double> v = furNumber(box);
        const std::optional<qint64> byte = v ? RoundedInRange(*v, 0, 255) : std::nullopt;
        if (!byte)
            return std::nullopt;
        text += QStringLiteral("%1").arg(*byte, 2, 16, QChar(u'0')).toUpper();
    }
    return text;
}

void CharacterPage::Command2_Click() {
    ReportStartFailure(*m_services.dialogs,
                       LaunchGame(m_services.starter, QStringLiteral("charmap.exe")));
}

void CharacterPage::Command17_Click() { showModeless(m_form5); }

ColorTableWindow* CharacterPage::colorTableWindow() const {
    return m_form5 && !m_form5->isHidden() ? m_form5.data() : nullptr;
}

void CharacterPage::openKey(quint32 root, const QString& subKey) {
    m_module.OpenRegKey(root, subKey, reg::AllAccess);
}

void CharacterPage::writeValue(const QString& name, quint32 type, const QString& value) {
    m_module.SetRegValue(m_module.GetRegKeyHandle(), name, type, value);
}

void CharacterPage::writeName() {
    writeValue(QStringLiteral("Name"), reg::TypeString, Alias->text());
}

void CharacterPage::writeColor() {
    if (const std::optional<QString> text = ColorText())
        writeValue(QStringLiteral("Color"), reg::TypeBinary, *text);
}

void CharacterPage::writeCharacter(const std::optional<QString>& code) {
    if (code)
        writeValue(QStringLiteral("Char"), reg::TypeBinary, QStringLiteral("&H") + *code);
}

// Lori does not exist in 1.23: the player picks Jazz or Spaz for it.
std::optional<QString> CharacterPage::characterCode123(std::optional<QString>& loriAnswer) {
    if (Jazz->isChecked())
        return QStringLiteral("00000036");
    if (Spaz->isChecked())
        return QStringLiteral("00000055");
    if (!Lori->isChecked())
        return std::nullopt;
    if (!loriAnswer) {
        m_module.storeWrites(); // what came before the question is on disk while it is open
        loriAnswer = askLoriQuestion();
    }
    return *loriAnswer == QStringLiteral("2") ? QStringLiteral("00000055")
                                              : QStringLiteral("00000036");
}

std::optional<QString> CharacterPage::characterCode124() const {
    if (Jazz->isChecked())
        return QStringLiteral("00000037");
    if (Spaz->isChecked())
        return QStringLiteral("00000059");
    if (Lori->isChecked())
        return QStringLiteral("0000003D");
    return std::nullopt;
}

QString CharacterPage::askLoriQuestion() {
    platform::Dialogs* dialogs = m_services.dialogs;
    return dialogs ? dialogs->inputBox(kLoriPrompt, applicationTitle()) : QString();
}
