#pragma once

// What the character page needs of the window that holds it.
class CharacterPageHost {
public:
    virtual ~CharacterPageHost() = default;

    // Hides the first page's three options and the spy check box.
    virtual void hideChoiceOptions() = 0;
    // Selects the first page's character option (opChar), from which "Next >" opens this page.
    virtual void selectCharacterOption() = 0;
    // The wizard's left button ("< Back"): stores the page and shows the first page.
    virtual void Command7_Click() = 0;
};
