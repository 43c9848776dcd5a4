#pragma once

#include "common/server_list_row.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <memory>
#include <vector>

// The rows of the server table. A reply may bring tens of thousands of servers in one data
// event, so the rows are kept compact, a whole event reaches the view as one insertion, and text
// is decoded only for the cells the view actually shows.
//
// Once sorted, the table stays sorted: later rows take their sorted places. Rows that compare
// equal keep their order of arrival.
class ServerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, TypeColumn, VersionColumn, PlayersColumn, AddressColumn, kColumns };

    explicit ServerTableModel(QObject* parent = nullptr);

    // Rows are gathered first and handed to the view together by showAddedRows().
    void addRow(const ServerListRow& row);
    void showAddedRows();
    void clear();

    // Sorts by the text of one column, letter case aside, and keeps sorting from then on.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool isSorted() const { return m_sortColumn >= 0; }
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // One cell, as the list server sent it and as shown.
    QByteArray field(int row, int column) const;
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

private:
    // One row in one block: the numbers of its type and version words, then name, players and
    // address one after another. A row with nothing in it holds no block at all, so even a reply
    // of nothing but line feeds costs a pointer a row.
    class Row {
    public:
        Row() = default;
        Row(QByteArrayView name, QByteArrayView players, QByteArrayView address, quint16 type,
            quint16 version);
        QByteArrayView text(int column) const; // name, players or address
        quint16 type() const { return header().type; }
        quint16 version() const { return header().version; }

    private:
        struct Header {
            quint32 playersAt = 0;
            quint32 addressAt = 0;
            quint32 size = 0;
            quint16 type = 0;
            quint16 version = 0;
        };
        Header header() const;
        std::unique_ptr<char[]> m_block;
    };

    quint16 wordNumber(const QByteArray& word);
    QByteArrayView cell(const Row& row, int column) const;
    bool less(const Row& a, const Row& b) const;
    void sortRows(int sortedAlready);

    std::vector<Row> m_rows;
    std::vector<Row> m_added;
    QByteArrayList m_words;
    QStringList m_titles;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
