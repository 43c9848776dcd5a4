#pragma once

#include <QFrame>

class MainWindow;

// The character page (Frame3): alias, fur colours and character, written as the game's player
// profile on "Finish".
class CharacterPage : public QFrame {
    Q_OBJECT
public:
    explicit CharacterPage(MainWindow& form1);

    void ShowCharacterPage();
    void SaveCharacterPage();
    void WriteProfile();

private:
    MainWindow& m_form1;
};
