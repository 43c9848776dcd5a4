// The name tools of the character page: they put the game's name codes into the name box so that
// nobody has to type a section sign. Only the boxes change; the name is stored and written to the
// game's profile when the page is saved or finished.
#include "launcher/character_page.h"

#include "common/name_codes.h"

#include <QLineEdit>

namespace {

const QString kTooLong = QStringLiteral("Please shorten your name first");

// A text put into a box from code; false, and the box left as it was, when the text is longer
// than the box takes (it would cut the text short).
bool putText(QLineEdit* box, const QString& text) {
    if (text.size() > box->maxLength())
        return false;
    box->setText(text);
    return true;
}

} // namespace

void CharacterPage::StripNameCodes() {
    Alias->setText(name_codes::stripped(Alias->text()));
}

// A failing step is skipped.
void CharacterPage::Command15_Click() {
    StripNameCodes();
    if (!name_codes::fitsColonCode(Alias->text())) {
        m_services.dialogs->messageBox(kTooLong, applicationTitle());
        return;
    }
    putText(Alias, name_codes::withoutColon(Alias->text()));
}

// The first failing step ends the handler with a message; what earlier steps changed stays.
void CharacterPage::Command16_Click() {
    platform::Dialogs& dialogs = *m_services.dialogs;
    StripNameCodes();
    if (!name_codes::isSpacingDigit(spacing->text()) && !putText(spacing, QStringLiteral("3"))) {
        dialogs.messageBox(QStringLiteral("There was an error"), applicationTitle());
        return;
    }
    if (!name_codes::fitsSpacingCode(Alias->text())) {
        dialogs.messageBox(kTooLong, applicationTitle());
        return;
    }
    if (!putText(Alias, name_codes::withSpacing(Alias->text(), spacing->text())))
        dialogs.messageBox(QStringLiteral("There was an error"), applicationTitle());
}
