#include "common/name_codes.h"

#include <algorithm>

namespace name_codes {

namespace {

// Removes every `code` (one or two characters) from `text` in one pass from the left.
template <typename Text, typename Char, std::size_t N>
void removeAll(Text& text, const Char (&code)[N]) {
    qsizetype from = text.indexOf(code[0]);
    if (from < 0)
        return;
    const qsizetype size = text.size();
    auto* data = text.data();
    qsizetype to = from;
    while (from < size) {
        if (data[from] == code[0] && size - from >= qsizetype(N) &&
            std::equal(code + 1, code + N, data + from + 1)) {
            from += N;
            continue;
        }
        data[to++] = data[from++];
    }
    text.truncate(to);
}

template <typename Text, typename Char> Text strip(Text text, Codes codes, Char sign) {
    if (codes.bars) {
        const Char bar[] = {static_cast<Char>(u'|')};
        removeAll(text, bar);
    }
    for (const char digit : codes.digits) {
        const Char code[] = {sign, static_cast<Char>(char16_t(digit))};
        removeAll(text, code);
    }
    if (codes.loneSigns) {
        const Char lone[] = {sign};
        removeAll(text, lone);
    }
    return text;
}

} // namespace

QString stripped(QString name, Codes codes) {
    return strip(std::move(name), codes, kSectionSign);
}

QByteArray stripped(QByteArray name, Codes codes) {
    return strip(std::move(name), codes, '\xA7');
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
