#include "common/name_codes.h"

namespace name_codes {

QString stripped(const QString& name) {
    QString text = name;
    for (char16_t digit = u'1'; digit <= u'9'; ++digit)
        text.replace(QString(kSectionSign) + QChar(digit), QString());
    text.remove(kSectionSign);
    return text;
}

bool isSpacingDigit(const QString& text) {
    return text.size() == 1 && text[0] >= u'1' && text[0] <= u'9';
}

QString withoutColon(const QString& name) {
    return name + kSectionSign;
}

QString withSpacing(const QString& name, const QString& digit) {
    return kSectionSign + digit + name;
}

bool fitsColonCode(const QString& name) {
    return name.size() + 1 <= kMaxNameLength;
}

bool fitsSpacingCode(const QString& name) {
    return name.size() + 2 <= kMaxNameLength;
}

} // namespace name_codes
