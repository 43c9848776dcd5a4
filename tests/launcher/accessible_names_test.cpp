#include "addons/addon_editor.h"
#include "launcher/character_page.h"
#include "launcher/game_path_dialog.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"
#include "online/password_dialog.h"
#include "online/server_info_window.h"
#include "support/main_window_fixture.h"

#include <QAccessible>
#include <QPlainTextEdit>

namespace {

// "box=name" for every text box that `window` shows, each name as an assistive tool reads it.
QString boxNames(const QWidget& window) {
    QStringList names;
    for (QWidget* box : window.findChildren<QWidget*>()) {
        if ((qobject_cast<QLineEdit*>(box) || qobject_cast<QPlainTextEdit*>(box)) &&
            box->isVisibleTo(&window))
            names << box->objectName() + u'=' +
                         QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name);
    }
    return names.join(u'|');
}

class AccessibleNames : public support::MainWindowTest {};

TEST_F(AccessibleNames, EveryTextBoxIsNamedByItsLabelOrForWhatItHolds) {
    storePaths();
    open();
    window().opChar_DblClick();
    EXPECT_EQ(
        boxNames(*window().Frame3),
        QStringLiteral("Alias=Your Name|spacing=Name Spacing|Fur1=Your Fur Colors 1|"
                       "Fur2=Your Fur Colors 2|Fur3=Your Fur Colors 3|Fur4=Your Fur Colors 4"));
    window().Command7_Click();
    window().opServ_DblClick();
    EXPECT_EQ(
        boxNames(*window().Frame2),
        QStringLiteral("Text2=Server Name|Level=Level|Text3=Roasts Required|Text1=Max Players"));
    window().Frame2->selectTab(4); // the goal box's name follows its caption
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(window().Frame2->Text3)->text(QAccessible::Name),
        QStringLiteral("Laps Required"));
    window().Command7_Click();
    window().opJoin_DblClick();
    EXPECT_EQ(boxNames(*window().Frame1), QStringLiteral("Text4=Ip Address"));

    window().mnuChangeJj2Paths_Click();
    EXPECT_EQ(boxNames(*window().gamePathDialog()),
              QStringLiteral("JazzPath=Jazz2 path for 1.21, 1.22, or 1.23|"
                             "JazzPathTSF=Jazz2 path for 1.24"));
    OpenPasswordDialog(window());
    EXPECT_EQ(boxNames(window().passwordDialog()), QStringLiteral("Text1=Password"));
    AddonEditor editor({&sandbox.settings(), &sandbox.dialogs(), nullptr, nullptr});
    EXPECT_EQ(boxNames(editor), QStringLiteral("Text1=Add-on name|Text2=Add-on path"));
    ServerInfoWindow info;
    EXPECT_EQ(boxNames(info), QStringLiteral("Text1=Server information"));
}

} // namespace
