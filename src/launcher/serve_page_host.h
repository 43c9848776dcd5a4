#pragma once

#include <QString>

// What the serve page needs of the window that holds it.
class ServePageHost {
public:
    // The window's pictures beside the pages: the logo and one per game type.
    enum class Picture { Logo, Battle, Coop, Capture, Race, Treasure };

    virtual ~ServePageHost() = default;

    // Hides the first page's three options and the spy check box.
    virtual void hideChoiceOptions() = 0;
    // Selects the first page's serve option (opServ), from which "Next >" opens this page.
    virtual void selectServeOption() = 0;
    virtual void setPictureVisible(Picture picture, bool visible) = 0;
    // The served game's type word (GameType) and coop difficulty (CoopDifficulty), which the
    // game's command line and the listing read.
    virtual void setGameType(const QString& word) = 0;
    virtual void setCoopDifficulty(const QString& word) = 0;
    // The executable of the 1.21 to 1.23 build (path); the levels lie in its folder.
    virtual QString gameExecutable() const = 0;
};
