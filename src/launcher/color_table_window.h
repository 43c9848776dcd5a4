#pragma once

#include "launcher/tool_window.h"

class QLabel;

// "Fur Color Table" (Form5): the picture of the fur colours, nothing more.
class ColorTableWindow : public ToolWindow {
    Q_OBJECT
public:
    ColorTableWindow();

    QLabel* Image1 = nullptr;
};
