#pragma once

#include <QFrame>

class MainWindow;

// The serve page (Frame2): game type, level, limits and the options of a hosted game.
class ServePage : public QFrame {
    Q_OBJECT
public:
    explicit ServePage(MainWindow& form1);

    void ShowServePage();
    void SaveServePage();

private:
    MainWindow& m_form1;
};
