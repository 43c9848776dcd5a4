#pragma once

#include <QTableView>

// The server table as a report view: one line per server, whole rows selected, no grid.
// It reports a click and each stage of a key stroke: key down before the table moves its
// selection, key press for keys that type a character, and key up after the move.
class ServerTableView : public QTableView {
    Q_OBJECT
public:
    explicit ServerTableView(QWidget* parent = nullptr);

signals:
    void clickedAnywhere();
    void keyDown();
    void keyPressed();
    void keyUp();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
