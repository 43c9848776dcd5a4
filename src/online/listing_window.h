#pragma once

#include <QWidget>

class Listing;
class QIcon;
class QLabel;
class QPushButton;

// "Game Started" (Form2): shown while a hosted game is listed. Its caption is the listing's
// status; its one button withdraws the listing. Closing it any other way leaves the listing be.
class ListingWindow : public QWidget {
    Q_OBJECT
public:
    ListingWindow(Listing& listing, const QIcon& icon);
    ~ListingWindow() override;

    void Command1_Click(); // "Delist my server!"

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Image1 = nullptr; // the program's icon
    QLabel* Image2 = nullptr; // the window's own icon
    QPushButton* Command1 = nullptr;

private:
    Listing& m_listing;
};
