#include "launcher/character_page.h"

#include "launcher/main_window.h"

#include <QCheckBox>
#include <QRadioButton>

CharacterPage::CharacterPage(MainWindow& form1) : QFrame(&form1), m_form1(form1) {
    setObjectName(QStringLiteral("Frame3"));
}

void CharacterPage::ShowCharacterPage() {
    for (QWidget* w : std::initializer_list<QWidget*>{m_form1.opServ, m_form1.opJoin,
                                                      m_form1.opChar, m_form1.chSpy})
        w->hide();
    show();
}

void CharacterPage::SaveCharacterPage() { m_form1.opChar->setChecked(true); }

void CharacterPage::WriteProfile() {
    // Back to the first page, storing the page on the way.
    m_form1.Command7_Click();
}
