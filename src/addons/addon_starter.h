#pragma once

#include "addons/addon_editor.h"
#include "addons/addon_services.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QPushButton;
class QWidget;

// The "Add-ons" button of the main window: a popup menu, built afresh on every click, offers
// the add-on editor and every add-on whose file exists, and starts the chosen one.
class AddonStarter : public QObject {
    Q_OBJECT
public:
    // `form1` holds `command20`.
    AddonStarter(QWidget& form1, QPushButton& command20, AddonServices services);
    ~AddonStarter() override;

    void Command20_Click();

    // The editor while it is open, else null.
    AddonEditor* editor() const { return m_form8; }

    // Entry i holds the path of the add-on that the last popup showed as item i + 3.
    QStringList List2;

private:
    void showEditor();

    QWidget& m_form1;
    QPushButton& m_command20;
    AddonServices m_services;
    QPointer<AddonEditor> m_form8;
};
