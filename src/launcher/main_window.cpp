#include "launcher/main_window.h"

#include "addons/addon_starter.h"
#include "common/conversions.h"
#include "common/timing.h"
#include "common/twips.h"
#include "launcher/about_window.h"
#include "launcher/character_page.h"
#include "launcher/game_path_dialog.h"
#include "launcher/pictures.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"
#include "online/password_dialog.h"
#include "platform/gui/check_value.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"
#include "platform/program_exit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

namespace {

using platform::control;
using platform::place;

const QString kFinish = QStringLiteral("Finish");
const QString kNext = QStringLiteral("Next >");
const QString kBack = QStringLiteral("< Back");
const QString kCancel = QStringLiteral("Cancel");

// The status bar's top edge, and how much of the bottom row it hides.
constexpr int kStatTop = px(4125);
constexpr int kRowCovered = px(3840 + 375) - kStatTop;

// A button of the bottom row: the status bar covers its lowest pixels, so its caption is centred
// in the part left in view, where no letter is cut.
class RowButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
        QStyleOptionButton label = option;
        label.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        label.rect.setBottom(std::min(label.rect.bottom(), height() - 1 - kRowCovered));
        painter.drawControl(QStyle::CE_PushButtonLabel, label);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
            focus.rect.setBottom(std::min(focus.rect.bottom(), height() - 1 - kRowCovered));
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
};

// A button of the bottom row, `left` and `width` in twips.
QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int width,
                    const QFont& font) {
    return control<RowButton>(parent, name, text, twipsRect(left, 3840, width, 375), font);
}

// An option of the first page, `top` in twips.
QRadioButton* option(QWidget* parent, const char* name, const QString& text,
                     const QString& tooltip, int top) {
    auto* o = control<QRadioButton>(parent, name, text, twipsRect(2400, top, 4575, 255));
    o->setToolTip(tooltip);
    return o;
}

QFrame* rule(QWidget* parent, const char* name, int top, const QColor& colour) {
    // Both lines run from x = -720 to 7135 twips: across the whole window.
    auto* line = place<QFrame>(parent, name, QRect(px(-720), px(top), px(7135 + 720), 1));
    line->setAutoFillBackground(true);
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, colour);
    line->setPalette(pal);
    return line;
}

} // namespace

bool visibleFlag(const QWidget* widget) { return widget && !widget->isHidden(); }

MainWindow::MainWindow(Services services, QWidget* parent)
    : QWidget(parent), m_services(services) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillmere"));
    setWindowIcon(pictures::windowIcon());
    setFont(platform::tahoma(9.75));
    setFixedSize(px(7020), px(4380));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    buildFirstPage();
    buildBottomRow();
    buildHiddenState();
    buildOptionMenus();
    Stat->raise();

    // Centred on the screen the window opens on.
    platform::centreOnScreen(this);

    Form_Load();
}

MainWindow::~MainWindow() {
    delete m_form3;
    delete m_form4;
    delete m_form9;
}

void MainWindow::buildFirstPage() {
    Label8 = platform::label(this, "Label8", QStringLiteral("Welcome!"),
                             twipsRect(2400, 120, 1575, 375), platform::tahoma(15.75, true));
    Label9 = platform::paragraph(this, "Label9",
                                 QStringLiteral("Thank you for using Quillmere, a second "
                                                "generation Jazz2 multiplayer launcher. "),
                                 twipsRect(2400, 600, 4575, 735));

    opServ = option(this, "opServ", QStringLiteral("Serve a battle, capture, treasure, race or coop."),
                    QStringLiteral("Choose this option if you would like to host a game."), 1440);
    opJoin = option(this, "opJoin", QStringLiteral("Join a game using the serverlist, or ip address."),
                    QStringLiteral("Choose this option if you wish to join another game."), 1800);
    opChar = option(this, "opChar", QStringLiteral("Edit your alias, fur, and character."),
                    QStringLiteral("Choose this option to modify your character."), 2160);
    auto* group = new QButtonGroup(this); // exactly one of the three is selected at any time
    for (QRadioButton* o : {opServ, opJoin, opChar}) {
        group->addButton(o);
        o->installEventFilter(this);
    }
    opServ->setChecked(true);

    chSpy = control<QCheckBox>(this, "chSpy", QStringLiteral("Enable Spy Window"),
                               twipsRect(2400, 2760, 3495, 255));
    chSpy->hide();
    connect(chSpy, &QCheckBox::stateChanged, this, &MainWindow::chSpy_Click);

    // Created bottom to top, so that a picture created later lies above the earlier ones.
    imgJoin = pictures::makePictureBox(this, QStringLiteral("imgJoin"), QStringLiteral("join"));
    imgBattle = pictures::makePictureBox(this, QStringLiteral("imgBattle"), QStringLiteral("battle"));
    imgTreasure =
        pictures::makePictureBox(this, QStringLiteral("imgTreasure"), QStringLiteral("treasure"));
    imgRace = pictures::makePictureBox(this, QStringLiteral("imgRace"), QStringLiteral("race"));
    imgCTF = pictures::makePictureBox(this, QStringLiteral("imgCTF"), QStringLiteral("capture"));
    imgCoop = pictures::makePictureBox(this, QStringLiteral("imgCoop"), QStringLiteral("coop"));
    imgQuillmere =
        pictures::makePictureBox(this, QStringLiteral("imgQuillmere"), QStringLiteral("logo"));
    imgQuillmere->show();

    // The page panels lie over the first page's right half (its labels included).
    Frame3 = new CharacterPage(*this, m_services, this);
    Frame3->setGeometry(twipsRect(2280, 120, 4575, 3375));
    Frame1 = new JoinPage(*this, m_services.listServerHost, m_services.serverListPort, this);
    Frame1->setGeometry(twipsRect(2280, 120, 4575, 3495));
    Frame2 = new ServePage(*this, m_services, this);
    Frame2->setGeometry(twipsRect(2280, 120, 4575, 3495));
    for (QWidget* frame : std::initializer_list<QWidget*>{Frame3, Frame1, Frame2}) {
        frame->setAutoFillBackground(true);
        frame->hide();
    }
}

void MainWindow::buildBottomRow() {
    Line2 = rule(this, "Line2", 3720, QColor(128, 128, 128));
    Line1 = rule(this, "Line1", 3735, Qt::white);

    const QFont font = platform::tahoma(9);
    Command5 =
        button(this, "Command5", QStringLiteral("About"), 120, 1095, platform::tahoma(9, true));
    Command14 = button(this, "Command14", QStringLiteral("Game Options"), 1440, 1575, font);
    Command20 =
        button(this, "Command20", QStringLiteral("Add-ons"), 3120, 1575, platform::tahoma(9.75));
    Command7 = button(this, "Command7", kCancel, 4920, 975, font);
    Command8 = button(this, "Command8", kNext, 5880, 1015, font);
    connect(Command5, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &MainWindow::Command7_Click);
    connect(Command20, &QPushButton::clicked, this, &MainWindow::Command20_Click);
    connect(Command8, &QPushButton::clicked, this, &MainWindow::Command8_Click);

    // The status bar runs along the bottom edge. It overlaps the lowest pixels of the button row
    // and, as a status bar does, lies in front of them and hides them (raised once every control
    // exists). Its text fills it without the status bar's own margins, so nothing is cut.
    Stat = place<QStatusBar>(this, "Stat", QRect(0, kStatTop, px(7020), px(4380) - kStatTop));
    Stat->setSizeGripEnabled(false);
    Stat->setAutoFillBackground(true);
    auto* statText = new QLabel(m_status.text(), Stat);
    statText->setObjectName(QStringLiteral("StatText"));
    statText->setGeometry(Stat->rect().adjusted(3, 0, 0, 0));
    statText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(&m_status, &StatusLine::changed, statText, &QLabel::setText);
}

void MainWindow::buildHiddenState() {
    m_addons = new AddonStarter(
        *this, *Command20,
        {m_services.settings, m_services.dialogs, m_services.starter, m_services.popupMenu});

    Timer2 = timing::oneShot(this, "Timer2");
    Timer5 = timing::oneShot(this, "Timer5");
    Timer6 = timing::oneShot(this, "Timer6");
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
    connect(Timer5, &QTimer::timeout, this, &MainWindow::Timer5_Timer);
    connect(Timer6, &QTimer::timeout, this, &MainWindow::Timer6_Timer);
    Timer2->start(timing::scaled(100));
}

void MainWindow::Form_Load() {
    const AppSettings& settings = *m_services.settings;
    // A stored spy state that is no whole number, or one the box does not take, leaves it clear.
    if (const std::optional<int> spy = ToWholeNumber(settings.GetSetting(setting_keys::kSpy)))
        platform::setCheckValue(chSpy, *spy);
    TSFPath = settings.GetSetting(setting_keys::kJazz2TsfLocation);
    jpath = settings.GetSetting(setting_keys::kJazz2Location);
    path = jpath;
    Frame1->SetUpServerTable();
    Timer5->start(timing::scaled(250));
}

// ---- the wizard ------------------------------------------------------------------------------

void MainWindow::UpdateSpySwitch() {
    if (spyValue() == 1)
        SpySwitch = QStringLiteral(" -spy");
    if (spyValue() == 0)
        SpySwitch = QStringLiteral(" -NoSpy");
}

void MainWindow::Command8_Click() {
    UpdateSpySwitch();
    if (opChar->isChecked() && Command8->text() != kFinish)
        ShowCharacterPage();
    if (opJoin->isChecked() && Command8->text() != kFinish)
        ShowJoinPage();
    if (opServ->isChecked() && Command8->text() != kFinish)
        ShowServePage();
    if (Command8->text() == kFinish && visibleFlag(Frame3)) {
        WriteProfile(); // ends with the Back action, which returns to the first page
        return;
    }
    if (Command8->text() == kFinish && visibleFlag(Frame1))
        JoinFinish();
    if (Command8->text() == kFinish && visibleFlag(Frame2))
        ServeFinish();
    setWizardCaptionsForPage();
}

void MainWindow::Command7_Click() {
    if (visibleFlag(Frame3))
        SaveCharacterPage();
    if (visibleFlag(Frame1))
        opJoin->setChecked(true); // the join page stores nothing
    if (visibleFlag(Frame2))
        SaveServePage();
    if (Command7->text() == kCancel) {
        m_services.settings->SaveSetting(setting_keys::kSpy, QString::number(spyValue()));
        endProgram();
        return;
    }
    ShowChoicePage();
}

void MainWindow::setWizardCaptionsForPage() {
    Command7->setText(kBack);
    Command8->setText(kFinish);
}

void MainWindow::opChar_DblClick() {
    opChar->setChecked(true);
    UpdateSpySwitch();
    ShowCharacterPage();
    setWizardCaptionsForPage();
}

void MainWindow::opJoin_DblClick() {
    opJoin->setChecked(true);
    UpdateSpySwitch();
    ShowJoinPage();
    setWizardCaptionsForPage();
}

void MainWindow::opServ_DblClick() {
    opServ->setChecked(true);
    UpdateSpySwitch();
    ShowServePage();
    setWizardCaptionsForPage();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == opChar)
            opChar_DblClick();
        else if (watched == opJoin)
            opJoin_DblClick();
        else if (watched == opServ)
            opServ_DblClick();
        else
            return QWidget::eventFilter(watched, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::ShowChoicePage() {
    Command8->setText(kNext);
    Frame1->hide();
    Frame2->hide();
    for (QLabel* img : {imgJoin, imgBattle, imgCoop, imgRace, imgTreasure, imgCTF})
        img->hide();
    imgQuillmere->show();
    opJoin->show();
    opServ->show();
    chSpy->hide();
    opChar->show();
    Command7->setText(kCancel);
    Frame3->hide();
}

void MainWindow::hideChoiceOptions() {
    for (QWidget* w : std::initializer_list<QWidget*>{opServ, opJoin, opChar, chSpy})
        w->hide();
}

void MainWindow::selectCharacterOption() {
    opChar->setChecked(true);
}

void MainWindow::selectServeOption() {
    opServ->setChecked(true);
}

void MainWindow::Text4_Click() {
    imgQuillmere->show();
    for (QLabel* img : {imgBattle, imgCTF, imgRace, imgTreasure, imgCoop})
        img->hide();
}

// ---- the pages -------------------------------------------------------------------------------

void MainWindow::ShowCharacterPage() { Frame3->ShowCharacterPage(); }
void MainWindow::SaveCharacterPage() { Frame3->SaveCharacterPage(); }
void MainWindow::WriteProfile() { Frame3->WriteProfile(); }
void MainWindow::ShowServePage() { Frame2->ShowServePage(); }
void MainWindow::SaveServePage() { Frame2->SaveServePage(); }

void MainWindow::ShowJoinPage() { Frame1->ShowJoinPage(); }

void MainWindow::showJoinPicture() {
    imgQuillmere->hide();
    imgJoin->show();
}

void MainWindow::enableFinish() { Command8->setEnabled(true); }

void MainWindow::setPictureVisible(Picture picture, bool visible) {
    // In the order of Picture.
    QLabel* const pictures[] = {imgQuillmere, imgBattle, imgCoop, imgCTF, imgRace, imgTreasure};
    pictures[int(picture)]->setVisible(visible);
}

void MainWindow::setGameType(const QString& word) {
    GameType = word;
}

void MainWindow::setCoopDifficulty(const QString& word) {
    CoopDifficulty = word;
}

void MainWindow::Command20_Click() { m_addons->Command20_Click(); }

// ---- spy state -------------------------------------------------------------------------------

int MainWindow::spyValue() const { return platform::checkValue(chSpy); }

void MainWindow::chSpy_Click() {
    if (spyValue() == 1)
        m_status.setText(QStringLiteral("Status: Spy Window Toggled to ON"));
    if (spyValue() == 0)
        m_status.setText(QStringLiteral("Status: Spy Window Toggled to OFF"));
}

// ---- game paths ------------------------------------------------------------------------------

MainWindow::GamePathCheck MainWindow::CheckGamePaths(bool centre) {
    const QString tsf = m_services.settings->GetSetting(setting_keys::kJazz2TsfLocation);
    const QString location = m_services.settings->GetSetting(setting_keys::kJazz2Location);
    const bool missing = tsf.isEmpty() || location.isEmpty();
    if (missing)
        OpenPathDialog(centre);
    return {location, missing};
}

GamePathDialog& MainWindow::loadPathDialog() {
    if (!m_form3)
        m_form3 = new GamePathDialog(*this, m_services);
    // Opened again while it waits to close after "Accept": it stays, or the main window would be
    // left disabled without it.
    m_form3->Timer3->stop();
    return *m_form3;
}

void MainWindow::OpenPathDialog(bool centre) {
    loadPathDialog().show();
    setEnabled(false);
    if (centre) {
        // Halfway down the main window, by the outer heights; the left edge stays.
        const QRect main = frameGeometry();
        const QRect dialog = m_form3->frameGeometry();
        const float top = float(main.top()) + float(main.height()) / 2.0f -
                          float(dialog.height()) / 2.0f;
        m_form3->move(dialog.left(), int(top));
    }
}

void MainWindow::mnuChangeJj2Paths_Click() {
    setEnabled(false);
    loadPathDialog().show();
}

void MainWindow::setGameExecutable(const QString& file) {
    jpath = file;
    path = file;
}

void MainWindow::enableMainWindow() {
    setEnabled(true);
}

void MainWindow::startTimer6(int msec) {
    Timer6->start(msec);
}

void MainWindow::gamePathDialogUnloaded() { m_form3 = nullptr; }

GamePathDialog* MainWindow::gamePathDialog() const { return m_form3; }

// ---- About ----------------------------------------------------------------------------------

void MainWindow::Command5_Click() { showModeless(m_form4); }

AboutWindow* MainWindow::aboutWindow() const {
    return m_form4 && !m_form4->isHidden() ? m_form4.data() : nullptr;
}

// ---- timers ----------------------------------------------------------------------------------

void MainWindow::Timer2_Timer() {
    imgQuillmere->show();
    imgBattle->hide();
}

void MainWindow::Timer5_Timer() {
    const QString location = CheckGamePaths().location;
    path = location;
    jpath = location;
}

void MainWindow::Timer6_Timer() {
    if (m_form3)
        TSFPath = m_form3->tfc;
}

// ---- closing ---------------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void MainWindow::Form_Unload() {
    // Closing the window ends the program: no page and no spy state is saved.
    endProgram();
}

// The program ends at once, unless a profile is still on its way into Wine: ending then would
// lose it. The window goes, so that nothing else can be pressed, and the program ends once Wine
// has taken the profile or failed to (its box shown first).
void MainWindow::endProgram() {
    platform::Registry* registry = m_services.registry;
    if (!registry || !registry->busy()) {
        platform::endProgram();
        return;
    }
    QGuiApplication::setQuitOnLastWindowClosed(false); // the window's close must not end it early
    hide();
    registry->whenIdle([] { platform::endProgram(); });
}
