#pragma once

#include <QString>
#include <optional>

namespace platform {

// The modal boxes the launcher shows. The application uses the Qt implementation
// (platform/gui/qt_dialogs.h); tests script the answers instead, so no test ever waits in a
// modal loop.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message with an OK button.
    virtual void messageBox(const QString& text, const QString& title) = 0;

    // A prompt with a text field; the empty text when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title) = 0;

    // An open-file dialog. `filter` is in the "Description|*.ext" form (pairs separated by "|");
    // an empty `initialFolder` leaves the choice to the platform. nullopt when cancelled.
    virtual std::optional<QString> openFile(const QString& title, const QString& filter,
                                            const QString& initialFolder) = 0;
};

} // namespace platform
