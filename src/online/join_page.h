#pragma once

#include <QFrame>

// The join page (Frame1): the public server list and the address to join.
class JoinPage : public QFrame {
    Q_OBJECT
public:
    explicit JoinPage(QWidget* parent = nullptr);

    // Report view with the list's five columns; run once by the main window's load.
    void SetUpServerTable();
};
