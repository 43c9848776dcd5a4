#include "platform/gui/typing_limit.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace platform {

namespace {

// A validator rather than a key filter: QLineEdit runs it for every edit the user makes (keys,
// paste, drop, input methods), and setText, which has just cleared the box's modified state, is
// let through whole.
class TypingLimit final : public QValidator {
public:
    TypingLimit(QLineEdit* box, int maxLength)
        : QValidator(box), m_box(box), m_max(maxLength), m_shown(box->text()) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_shown = text; });
    }

    State validate(QString& input, int& pos) const override {
        if (input.size() <= m_max || input.size() <= m_shown.size() || !m_box->isModified())
            return Acceptable;
        // What the user put in lies between the parts that the text before and after share; keep
        // as much of it as fits, as a limited Windows edit box does.
        const qsizetype shortest = std::min(input.size(), m_shown.size());
        qsizetype head = 0;
        while (head < shortest && input[head] == m_shown[head])
            ++head;
        qsizetype tail = 0;
        while (tail < shortest - head &&
               input[input.size() - 1 - tail] == m_shown[m_shown.size() - 1 - tail])
            ++tail;
        const qsizetype inserted = input.size() - head - tail;
        const qsizetype kept =
            std::clamp<qsizetype>(m_max - (input.size() - inserted), 0, inserted);
        input = input.left(head + kept) + input.right(tail);
        pos = int(head + kept);
        return Acceptable;
    }

private:
    const QLineEdit* m_box;
    const qsizetype m_max;
    QString m_shown; // the box's text before the edit being validated
};

} // namespace

void limitTyping(QLineEdit* box, int maxLength) {
    box->setValidator(new TypingLimit(box, maxLength));
}

} // namespace platform
