#pragma once

#include "launcher/tool_window.h"

class QLabel;
class QTimer;

// "About Quillmere" (Form4): version, makers and credits, and the web address, which blinks
// between black and red for as long as the window is open. The address is not a link.
class AboutWindow : public ToolWindow {
    Q_OBJECT
public:
    AboutWindow();

    void Timer1_Timer();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label3 = nullptr;
    QTimer* Timer1 = nullptr;
};

// A label's text colour as a 0x00BBGGRR value (255 is pure red), and the other way round.
int foreColor(const QLabel* label);
void setForeColor(QLabel* label, int value);
