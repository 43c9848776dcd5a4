#pragma once

class QLineEdit;

namespace platform {

// Limits what the user types or pastes into `box` to `maxLength` characters. Unlike
// QLineEdit::setMaxLength, a text put in from code (setText) is kept whole, however long: a
// stored value comes back as it was stored. The user can shorten such a text but not lengthen it.
void limitTyping(QLineEdit* box, int maxLength);

} // namespace platform
