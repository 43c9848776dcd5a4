#pragma once

#include "platform/dialogs.h"

namespace platform {

// The real boxes: QMessageBox, QInputDialog and QFileDialog, modal to the active window.
// Their nested event loop keeps timers and sockets running while the box is open.
class QtDialogs final : public Dialogs {
public:
    void messageBox(const QString& text, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title) override;
    std::optional<QString> openFile(const QString& title, const QString& filter,
                                    const QString& initialFolder) override;

    // "Name|*.ext|Other|*.a;*.b" -> "Name (*.ext);;Other (*.a *.b)"
    static QString toQtFilter(const QString& filter);
};

} // namespace platform
