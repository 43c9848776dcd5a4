#include "support/main_window_fixture.h"

#include "launcher/character_page.h"
#include "launcher/serve_page.h"
#include "online/join_page.h"

#include <QTest>

namespace support {

void MainWindowTest::storePaths(const QString& location, const QString& tsf) {
    sandbox.settings().SaveSetting(QStringLiteral("Jazz2 Location"), location);
    sandbox.settings().SaveSetting(QStringLiteral("Jazz2 TSF Location"), tsf);
}

MainWindow& MainWindowTest::open(bool keepPictureTimer) {
    m_window = std::make_unique<MainWindow>(sandbox.services());
    if (!keepPictureTimer)
        m_window->Timer2->stop();
    m_window->show();
    return *m_window;
}

void MainWindowTest::click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

void MainWindowTest::doubleClick(QWidget* option) {
    QTest::mouseDClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
}

QString MainWindowTest::page() const {
    QStringList open;
    if (visibleFlag(m_window->Frame3))
        open << QStringLiteral("character");
    if (visibleFlag(m_window->Frame1))
        open << QStringLiteral("join");
    if (visibleFlag(m_window->Frame2))
        open << QStringLiteral("serve");
    if (open.size() > 1)
        return QStringLiteral("mixed");
    return open.isEmpty() ? QStringLiteral("first") : open.front();
}

QString MainWindowTest::visiblePictures() const {
    QStringList names;
    for (QLabel* img : {m_window->imgJoin, m_window->imgBattle, m_window->imgTreasure,
                        m_window->imgRace, m_window->imgCTF, m_window->imgCoop,
                        m_window->imgQuillmere})
        if (visibleFlag(img))
            names << img->objectName();
    return names.join(u' ');
}

} // namespace support
