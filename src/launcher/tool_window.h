#pragma once

#include <QPointer>
#include <QWidget>

// A small modeless window of fixed size with a tool caption (close box only). It is a window of
// its own, not a child of the main window, so that it stays usable whatever the main window's
// state; it centres itself on the screen when first shown and is destroyed when closed.
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    ToolWindow(const char* name, const QString& caption, QSize clientSize);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false;
};

// Shows the window held in `form`, loading a fresh one first when none is loaded (a closed
// window counts as unloaded even before its deletion has run). An open window stays the one
// window and is only brought to the front.
template <typename W> W& showModeless(QPointer<W>& form) {
    if (!form || form->isHidden()) {
        form = new W();
        form->show();
    } else {
        form->raise();
        form->activateWindow();
    }
    return *form;
}
