#include "support/fake_dialogs.h"

namespace support {

void FakeDialogs::messageBox(const QString& text, const QString& title) {
    m_shown.push_back({QStringLiteral("message"), text, title, {}, {}});
    if (m_whileShown)
        m_whileShown();
}

QString FakeDialogs::inputBox(const QString& prompt, const QString& title) {
    m_shown.push_back({QStringLiteral("input"), prompt, title, {}, {}});
    if (m_whileAsked)
        m_whileAsked();
    if (m_inputs.empty())
        return QString();
    QString answer = m_inputs.front();
    m_inputs.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::openFile(const QString& title, const QString& filter,
                                             const QString& initialFolder) {
    m_shown.push_back({QStringLiteral("open"), {}, title, filter, initialFolder});
    if (m_files.empty())
        return std::nullopt;
    const auto [chosen, file] = m_files.front();
    m_files.pop_front();
    if (!chosen)
        return std::nullopt;
    return file;
}

QStringList FakeDialogs::messages() const {
    QStringList out;
    for (const Shown& s : m_shown)
        if (s.kind == QStringLiteral("message"))
            out << s.text;
    return out;
}

} // namespace support
