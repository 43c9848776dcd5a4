#pragma once

#include "launcher/main_window.h"
#include "support/test_environment.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <memory>

namespace support {

// A main window over a sandbox. The game paths are set by default so that the first-run dialog
// stays shut; tests of the first run clear them.
class MainWindowTest : public testing::Test {
protected:
    void storePaths(const QString& location = QStringLiteral("/games/jazz2.exe"),
                    const QString& tsf = QStringLiteral("1.24"));
    // Creates the window from the store as it stands. The start-up picture timer is stopped: on a
    // busy machine it ticks late and brings the logo back over a page that a test has opened;
    // only the test of that timer keeps it running.
    MainWindow& open(bool keepPictureTimer = false);
    MainWindow& window() { return *m_window; }

    void click(QAbstractButton* button);
    void doubleClick(QWidget* option);

    // The page the wizard shows, named by the visible panel ("first", "character", "join",
    // "serve"); "mixed" when more than one panel is visible.
    QString page() const;
    QString visiblePictures() const;

    Sandbox sandbox;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace support
