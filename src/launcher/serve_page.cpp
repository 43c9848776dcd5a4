#include "launcher/serve_page.h"

#include "launcher/main_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

ServePage::ServePage(MainWindow& form1) : QFrame(&form1), m_form1(form1) {
    setObjectName(QStringLiteral("Frame2"));
}

void ServePage::ShowServePage() {
    for (QWidget* w : std::initializer_list<QWidget*>{m_form1.opServ, m_form1.opJoin,
                                                      m_form1.opChar, m_form1.chSpy})
        w->hide();
    show();
    m_form1.imgQuillmere->hide();
    m_form1.imgBattle->show();
}

void ServePage::SaveServePage() { m_form1.opServ->setChecked(true); }
