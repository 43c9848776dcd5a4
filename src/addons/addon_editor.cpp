#include "addons/addon_editor.h"

#include "addons/addon_list.h"
#include "common/app_settings.h"
#include "common/file_found.h"
#include "common/twips.h"
#include "platform/dialogs.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

using platform::control;

const QString kNameHint = QStringLiteral("Addon Name");
const QString kPathHint = QStringLiteral("Addon Path");

} // namespace

AddonEditor::AddonEditor(AddonServices services) : m_services(services) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Addons Configuration"));
    setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(platform::tahoma(9.75));
    setFixedSize(px(4470), px(3930));

    // Created in tab order.
    List2 = platform::place<QListWidget>(this, "List2", twipsRect(120, 1080, 4215, 1980));
    Text1 = control<QLineEdit>(this, "Text1", kNameHint, twipsRect(120, 120, 2055, 315));
    Text2 = control<QLineEdit>(this, "Text2", kPathHint, twipsRect(120, 600, 3135, 315));
    // No labels: the hint texts are ordinary text, so the boxes are named for what they hold.
    Text1->setAccessibleName(QStringLiteral("Add-on name"));
    Text2->setAccessibleName(QStringLiteral("Add-on path"));
    Command1 = control<QPushButton>(this, "Command1", QStringLiteral("Add"),
                                    twipsRect(2280, 120, 615, 315));
    Command2 = control<QPushButton>(this, "Command2", QStringLiteral("Browse"),
                                    twipsRect(3360, 600, 975, 315));
    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("Edit"),
                                    twipsRect(3000, 120, 615, 315));
    Command4 = control<QPushButton>(this, "Command4", QStringLiteral("Del"),
                                    twipsRect(3720, 120, 615, 315));
    Command5 = control<QPushButton>(this, "Command5", QStringLiteral("Save"),
                                    twipsRect(3120, 3240, 1215, 495));
    Command5->setFont(platform::tahoma(9.75, true));
    Command6 = control<QPushButton>(this, "Command6", QStringLiteral("Cancel"),
                                    twipsRect(120, 3240, 1215, 495));

    connect(List2, &QListWidget::itemSelectionChanged, this, &AddonEditor::List2_Click);
    connect(Command1, &QPushButton::clicked, this, &AddonEditor::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &AddonEditor::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &AddonEditor::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &AddonEditor::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &AddonEditor::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &AddonEditor::Command6_Click);

    Form_Load();
}

void AddonEditor::Form_Load() {
    List2->clear();
    // Every entry is listed as stored, whether or not its file exists.
    List2->addItems(ReadAddonList(m_services.settings->GetSetting(setting_keys::kAddons)));
}

int AddonEditor::selectedRow() const {
    const QList<QListWidgetItem*> selected = List2->selectedItems();
    return selected.isEmpty() ? -1 : List2->row(selected.front());
}

void AddonEditor::List2_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const AddonEntry entry = SplitAddonEntry(List2->item(row)->text());
    if (entry.name)
        Text1->setText(*entry.name);
    Text2->setText(entry.path);
}

bool AddonEditor::checkEntry() {
    if (!FileFound(Text2->text())) {
        m_services.dialogs->messageBox(QStringLiteral("Sorry, file does not exist"),
                                       QStringLiteral("Oops"));
        return false;
    }
    // The list has no escaping: such an entry would come back cut in two or split elsewhere.
    if (!StorableAddonEntry(Text1->text(), Text2->text())) {
        m_services.dialogs->messageBox(
            QStringLiteral("Sorry, an add-on name may not contain \"|\" or \"@\", and its path "
                           "may not contain \"@\""),
            QStringLiteral("Oops"));
        return false;
    }
    return true;
}

void AddonEditor::resetBoxes() {
    Text1->setText(kNameHint);
    Text2->setText(kPathHint);
}

void AddonEditor::Command1_Click() {
    if (!checkEntry())
        return;
    List2->addItem(JoinAddonEntry(Text1->text(), Text2->text()));
    resetBoxes();
}

void AddonEditor::Command2_Click() {
    const std::optional<QString> chosen = m_services.dialogs->openFile(
        QString(), QStringLiteral("Addon files [*.exe]|*.exe"), QString());
    if (chosen)
        Text2->setText(*chosen);
}

void AddonEditor::Command3_Click() {
    if (!checkEntry())
        return;
    const int row = selectedRow();
    if (row >= 0) {
        // Replacing the entry is no selection by the user: the boxes must not be refilled.
        const QSignalBlocker quiet(List2);
        delete List2->takeItem(row);
        List2->insertItem(row, JoinAddonEntry(Text1->text(), Text2->text()));
        List2->clearSelection();
        List2->setCurrentRow(-1);
    }
    resetBoxes();
}

void AddonEditor::Command4_Click() {
    const int row = selectedRow();
    if (row >= 0) {
        const QSignalBlocker quiet(List2);
        delete List2->takeItem(row);
        List2->clearSelection();
        List2->setCurrentRow(-1);
    }
    resetBoxes();
}

void AddonEditor::Command5_Click() {
    QStringList entries;
    for (int i = 0; i < List2->count(); ++i)
        entries << List2->item(i)->text();
    if (!m_services.settings->SaveSetting(setting_keys::kAddons, WriteAddonList(entries))) {
        // Closing now would throw the edits away although nothing was stored.
        m_services.dialogs->messageBox(QStringLiteral("Sorry, the add-on list could not be saved"),
                                       QStringLiteral("Error"));
        return;
    }
    unload();
}

void AddonEditor::Command6_Click() {
    unload();
}

void AddonEditor::unload() {
    if (m_unloading)
        return;
    m_unloading = true;
    emit unloaded();
    hide();
    deleteLater();
}

void AddonEditor::closeEvent(QCloseEvent* event) {
    // The close box is a "Cancel".
    event->ignore();
    Command6_Click();
}
