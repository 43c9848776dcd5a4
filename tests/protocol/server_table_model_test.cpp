#include "protocol/server_table_model.h"

#include <QPersistentModelIndex>
#include <gtest/gtest.h>

namespace {

ServerListRow row(const char* name, const char* type = "", const char* version = "",
                  const char* players = "", const char* address = "") {
    return {name, type, version, players, address};
}

QStringList names(const ServerTableModel& m) {
    QStringList all;
    for (int r = 0; r < m.rowCount(); ++r)
        all << m.text(r, ServerTableModel::NameColumn);
    return all;
}

TEST(ServerTableModel, KeepsEveryFieldOfEveryRow) {
    const ServerListRow rows[] = {
        row("Sunday CTF", "CTF", "1.24", "1/12", "203.0.113.5"),
        row("", "", "", "", ""),
        row("", "", "1.21 x", "", ""),
        row("", "", "", "", "%P"),
        row("Caf\xE9 \xA7", "Trs", "", "0/8", "192.0.2.1%P"),
    };
    ServerTableModel m;
    for (const ServerListRow& r : rows)
        m.addRow(r);
    EXPECT_EQ(m.rowCount(), 0); // not shown before showAddedRows
    m.showAddedRows();
    ASSERT_EQ(m.rowCount(), int(std::size(rows)));
    for (int i = 0; i < m.rowCount(); ++i) {
        SCOPED_TRACE(i);
        const ServerListRow& r = rows[i];
        EXPECT_EQ(m.field(i, ServerTableModel::NameColumn), r.name);
        EXPECT_EQ(m.field(i, ServerTableModel::TypeColumn), r.type);
        EXPECT_EQ(m.field(i, ServerTableModel::VersionColumn), r.version);
        EXPECT_EQ(m.field(i, ServerTableModel::PlayersColumn), r.players);
        EXPECT_EQ(m.field(i, ServerTableModel::AddressColumn), r.address);
    }
    EXPECT_EQ(m.data(m.index(4, 0)).toString(), QStringLiteral(u"Café §"));
    EXPECT_EQ(m.text(99, 0), QString()); // no such row
}

TEST(ServerTableModel, SortsByTextWithoutRegardToCaseAndKeepsTiesInArrivalOrder) {
    ServerTableModel m;
    for (const char* name : {"beta", "Alpha", "\xC9mile", "alpha",
                             "\xE9"
                             "clair",
                             "Beta"})
        m.addRow(row(name));
    m.showAddedRows();
    m.sort(ServerTableModel::NameColumn, Qt::AscendingOrder);
    EXPECT_EQ(names(m), (QStringList{QStringLiteral("Alpha"), QStringLiteral("alpha"),
                                     QStringLiteral("beta"), QStringLiteral("Beta"),
                                     QStringLiteral(u"éclair"), QStringLiteral(u"Émile")}));
    m.sort(ServerTableModel::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(names(m), (QStringList{QStringLiteral(u"Émile"), QStringLiteral(u"éclair"),
                                     QStringLiteral("beta"), QStringLiteral("Beta"),
                                     QStringLiteral("Alpha"), QStringLiteral("alpha")}));
}

TEST(ServerTableModel, OnceSortedLaterRowsTakeTheirPlacesAndKeptIndexesFollowTheirRows) {
    ServerTableModel m;
    EXPECT_FALSE(m.isSorted());
    m.addRow(row("b", "Trs"));
    m.addRow(row("d", "Battle"));
    m.showAddedRows();
    m.sort(ServerTableModel::TypeColumn, Qt::AscendingOrder);
    EXPECT_TRUE(m.isSorted());
    const QPersistentModelIndex kept(m.index(1, 0)); // "b"
    m.addRow(row("a", "CTF"));
    m.addRow(row("c", "Battle"));
    m.addRow(row("e", ""));
    m.showAddedRows();
    EXPECT_EQ(names(m), (QStringList{QStringLiteral("e"), QStringLiteral("d"), QStringLiteral("c"),
                                     QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(kept.row(), 4);

    m.clear();
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_FALSE(kept.isValid());
    EXPECT_TRUE(m.isSorted()); // an emptied table stays sorted
}

} // namespace
