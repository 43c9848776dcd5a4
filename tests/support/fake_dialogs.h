#pragma once

#include "platform/dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace support {

// Dialogs that never block: each box records what it was asked and returns the next scripted
// answer (or "cancelled" when none is left).
class FakeDialogs final : public platform::Dialogs {
public:
    struct Shown {
        QString kind; // "message", "input" or "open"
        QString text;
        QString title;
        QString filter;
        QString initialFolder;
    };

    void messageBox(const QString& text, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title) override;
    std::optional<QString> openFile(const QString& title, const QString& filter,
                                    const QString& initialFolder) override;

    void answerInput(const QString& text) { m_inputs.push_back(text); }
    // Runs while the next input boxes are open, as a user may look around before answering.
    void whileAsked(std::function<void()> look) { m_whileAsked = std::move(look); }
    // Runs while the next message boxes are open.
    void whileShown(std::function<void()> look) { m_whileShown = std::move(look); }
    // A chosen file; cancelOpenFile() scripts a cancelled dialog.
    void answerOpenFile(const QString& file) { m_files.push_back({true, file}); }
    void cancelOpenFile() { m_files.push_back({false, QString()}); }

    const std::vector<Shown>& shown() const { return m_shown; }
    QStringList messages() const;
    void clear() { m_shown.clear(); }

private:
    std::deque<QString> m_inputs;
    std::deque<std::pair<bool, QString>> m_files; // {chosen, file}
    std::vector<Shown> m_shown;
    std::function<void()> m_whileAsked;
    std::function<void()> m_whileShown;
};

} // namespace support
