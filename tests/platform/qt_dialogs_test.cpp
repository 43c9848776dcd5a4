#include "platform/gui/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

TEST(QtDialogs, FiltersKeepTheirPatternsWhereQtReadsThem) {
    struct Row {
        QString filter;
        QString qt;
        QStringList patterns; // what the file dialog then matches
    };
    const Row rows[] = {
        {u"Addon files [*.exe]|*.exe"_s, u"Addon files [*.exe] (*.exe)"_s, {u"*.exe"_s}},
        {u"Levels (*.j2l)|*.j2l"_s, u"Levels (*.j2l)"_s, {u"*.j2l"_s}},
        {u"Pictures|*.png;*.bmp|All|*.*"_s,
         u"Pictures (*.png *.bmp);;All (*.*)"_s,
         {u"*.png"_s, u"*.bmp"_s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.filter.toStdString());
        const QString qt = platform::QtDialogs::toQtFilter(row.filter);
        EXPECT_EQ(qt, row.qt);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilter(qt);
        EXPECT_EQ(dialog.findChild<QFileSystemModel*>()->nameFilters(), row.patterns);
    }
}

// Runs `open`, which shows a modal box, and `look` on that box once it is shown, then closes the
// box unless `look` did. A guard closes a box still open after 20 s, so a box that is never found
// cannot hang the test.
void openAndLook(const std::function<void()>& open, const std::function<void(QDialog&)>& look) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        look(*box);
        if (box->isVisible())
            box->reject();
    });
    poll.start(0);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            box->reject();
    });
    guard.start(20000);
    open();
}

Qt::TextFormat formatOfLabelShowing(const QDialog& box, const QString& text) {
    for (const QLabel* label : box.findChildren<QLabel*>())
        if (label->isVisible() && label->text() == text)
            return label->textFormat();
    ADD_FAILURE() << "no label shows " << text.toStdString();
    return Qt::AutoText;
}

TEST(QtDialogs, MessageAndInputBoxesShowTheirTextAsPlainText) {
    // An address the address check lets through, which rich text would draw as a heading.
    const QString text = u"<h2>Your&nbsp;copy&nbsp;is&nbsp;outdated</h2>"_s;
    platform::QtDialogs dialogs;
    Qt::TextFormat format = Qt::AutoText;
    const auto look = [&](QDialog& box) { format = formatOfLabelShowing(box, text); };
    openAndLook([&] { dialogs.messageBox(text, u"Error"_s); }, look);
    EXPECT_EQ(format, Qt::PlainText) << "message box";

    format = Qt::AutoText;
    QString typed = u"not cancelled"_s;
    openAndLook([&] { typed = dialogs.inputBox(text, u"Input"_s); }, look);
    EXPECT_EQ(format, Qt::PlainText) << "input box";
    EXPECT_EQ(typed, QString());
}

TEST(QtDialogs, QtsOwnOpenFileDialogListsHiddenFoldersAndReturnsTheChosenFile) {
    // Wine's prefix ~/.wine, where the game is installed by default.
    QTemporaryDir home;
    const QString game = home.path() + u"/.wine/drive_c/Jazz2.exe"_s;
    QFile gameFile(game);
    ASSERT_TRUE(QDir(home.path()).mkpath(u".wine/drive_c"_s) &&
                QDir(home.path()).mkdir(u"games"_s) && gameFile.open(QIODevice::WriteOnly));
    gameFile.close();
    const bool nativeWas = QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);

    QStringList listed;
    std::optional<QString> chosen;
    const auto open = [&] {
        chosen = platform::QtDialogs().openFile(u"Find"_s, u"Programs|*.exe"_s, home.path());
    };
    openAndLook(open, [&](QDialog& box) {
        auto* model = box.findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr) << "not Qt's own dialog";
        const QModelIndex folder = model->index(home.path());
        const auto names = [&] {
            QStringList out;
            for (int row = 0; row < model->rowCount(folder); ++row)
                out << model->index(row, 0, folder).data().toString();
            return out;
        };
        // The model reads the folder in the background and may list its entries in more than one
        // batch, so the wait is for the hidden one too (a dialog that hides it fails after 10 s).
        const bool both = QTest::qWaitFor(
            [&] { return names().contains(u"games"_s) && names().contains(u".wine"_s); }, 10000);
        listed = names();
        EXPECT_TRUE(both) << listed.join(u' ').toStdString();
        // selectFile() leaves the file name box alone while it has the focus, which it gets when
        // the window is activated: at a moment of the platform's choosing.
        if (QWidget* focused = box.focusWidget())
            focused->clearFocus();
        static_cast<QFileDialog&>(box).selectFile(game);
        box.accept();
    });
    EXPECT_EQ(chosen, game);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, nativeWas);
    EXPECT_TRUE(listed.contains(u".wine"_s)) << listed.join(u' ').toStdString();
}

} // namespace
