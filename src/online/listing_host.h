#pragma once

#include <QIcon>
#include <QString>

class StatusLine;

// What the listing of a hosted game needs of the window that serves it. Every value is read at
// the moment it is used, so a change on the serve page during the listing counts.
class ListingHost {
public:
    virtual ~ListingHost() = default;

    virtual StatusLine& status() = 0;
    // The serve page's server name (Text2) and maximum players (Text1).
    virtual QString serverNameText() const = 0;
    virtual QString maxPlayersText() const = 0;
    // The serve page's TSF box (Check1): 0 clear, 1 ticked, 2 greyed.
    virtual int tsfValue() const = 0;
    // The served game's type word (GameType).
    virtual QString gameTypeWord() const = 0;
    // Carries the maximum players into the served game's command line (MaxPlayersArg).
    virtual void setMaxPlayersArg(const QString& value) = 0;
    virtual QString maxPlayersArg() const = 0;
    virtual QIcon programIcon() const = 0;
};
