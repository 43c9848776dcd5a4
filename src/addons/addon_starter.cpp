#include "addons/addon_starter.h"

#include "addons/addon_editor.h"
#include "addons/addon_list.h"
#include "addons/popup_creator.h"
#include "common/app_settings.h"
#include "common/file_found.h"
#include "common/launch_game.h"
#include "common/twips.h"

#include <QPushButton>

namespace {

constexpr qint32 kMenuConfiguration = 1;
constexpr qint32 kFirstAddon = 3;

} // namespace

AddonStarter::AddonStarter(QWidget& form1, QPushButton& command20, AddonServices services)
    : QObject(&form1), m_form1(form1), m_command20(command20), m_services(services) {}

AddonStarter::~AddonStarter() {
    delete m_form8;
}

void AddonStarter::Command20_Click() {
    PopupCreator popup(m_services.popupMenu);
    popup.OwnerHwnd(&m_form1);
    List2.clear();
    popup.AddMenu(QStringLiteral("Menu Configuration"), true, false, false);
    popup.AddMenu(QString(), false, false, true);

    const QString setting = m_services.settings->GetSetting(setting_keys::kAddons);
    if (setting.isEmpty()) {
        popup.AddMenu(QStringLiteral("Please Configure Addons"), false, false, false);
    } else {
        for (const QString& piece : ReadAddonList(setting)) {
            const AddonEntry entry = SplitAddonEntry(piece);
            if (!FileFound(entry.path))
                continue;
            List2.append(entry.path);
            popup.AddMenu(entry.caption(piece), true, false, false);
        }
    }

    // Just below the button's bottom-left corner, found through the window system rather than
    // guessed from the frame's size.
    const QPoint corner = m_command20.mapToGlobal(QPoint(0, m_command20.height()));
    popup.OpenPopup(corner.x() * kTwipsPerPixel, corner.y() * kTwipsPerPixel);

    const qint32 k = popup.SelectedItem();
    if (k == kMenuConfiguration)
        showEditor();
    if (k >= kFirstAddon && k - kFirstAddon < List2.size())
        ReportStartFailure(*m_services.dialogs,
                           LaunchGame(m_services.starter, List2.at(k - kFirstAddon)));
}

void AddonStarter::showEditor() {
    if (!m_form8) {
        m_form8 = new AddonEditor(m_services);
        m_form8->setWindowIcon(m_form1.windowIcon());
        // Forgotten at once, so that a "Menu Configuration" right after loads it afresh.
        connect(m_form8, &AddonEditor::unloaded, this, [this] { m_form8 = nullptr; });
    }
    m_form8->show();
    m_form8->raise();
    m_form8->activateWindow();
}
