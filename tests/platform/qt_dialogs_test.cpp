#include "platform/gui/qt_dialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
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

} // namespace
