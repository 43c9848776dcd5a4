#pragma once

#include <QtGlobal>

namespace platform {
class Dialogs;
}
class StatusLine;

// What the join page needs of the window that holds it.
class JoinPageHost {
public:
    virtual ~JoinPageHost() = default;

    virtual StatusLine& status() = 0;
    // Hides the first page's three options and the spy check box.
    virtual void hideChoiceOptions() = 0;
    // Hides the logo and shows the join page's picture.
    virtual void showJoinPicture() = 0;
    // Enables the wizard's right button ("Finish").
    virtual void enableFinish() = 0;
    // A click into the address box.
    virtual void Text4_Click() = 0;
    // Message boxes.
    virtual platform::Dialogs& dialogs() = 0;
    // The port game servers are queried on.
    virtual quint16 gamePort() const = 0;
};
