#pragma once

#include "addons/addon_services.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

// "Addons Configuration" (Form8): edits the add-on list. It reads the setting once when it is
// created and keeps every change in its own list until "Save"; "Cancel" and the close box drop
// them. It is modeless and deletes itself when it closes.
class AddonEditor : public QWidget {
    Q_OBJECT
public:
    explicit AddonEditor(AddonServices services);

    void List2_Click();
    void Command1_Click(); // "Add"
    void Command2_Click(); // "Browse"
    void Command3_Click(); // "Edit"
    void Command4_Click(); // "Del"
    void Command5_Click(); // "Save"
    void Command6_Click(); // "Cancel"

    QListWidget* List2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;

signals:
    // The window is closing; it is deleted soon after and must not be shown again.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    // False (with a message) when the boxes do not hold an entry that can be stored.
    bool checkEntry();
    int selectedRow() const;
    void resetBoxes();
    void unload();

    AddonServices m_services;
    bool m_unloading = false;
};
