#pragma once

#include <QIcon>
#include <QString>

// What the game-path dialog needs of the main window, which is disabled while it is open.
class GamePathDialogHost {
public:
    virtual ~GamePathDialogHost() = default;

    virtual QIcon programIcon() const = 0;
    // The main window takes the 1.21 to 1.23 build's executable (jpath and path).
    virtual void setGameExecutable(const QString& file) = 0;
    virtual void enableMainWindow() = 0;
    // Arms the main window's Timer6, which takes the 1.24 build's executable from tfc.
    virtual void startTimer6(int msec) = 0;
    // The dialog is going; the main window forgets it.
    virtual void gamePathDialogUnloaded() = 0;
};
