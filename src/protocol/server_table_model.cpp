#include "protocol/server_table_model.h"

#include "platform/windows_1252.h"

#include <algorithm>
#include <cstring>
#include <numeric>

ServerTableModel::ServerTableModel(QObject* parent) : QAbstractTableModel(parent) {
    m_words << QByteArray(); // number 0: an empty field
    for (int i = 0; i < kColumns; ++i)
        m_titles << QString();
}

quint16 ServerTableModel::wordNumber(const QByteArray& word) {
    const qsizetype known = m_words.indexOf(word);
    if (known >= 0)
        return quint16(known);
    if (m_words.size() > 0xFFFF) // the parser knows a dozen words; this only guards the number
        return 0;
    m_words << word;
    return quint16(m_words.size() - 1);
}

ServerTableModel::Row::Row(QByteArrayView name, QByteArrayView players, QByteArrayView address,
                           quint16 type, quint16 version) {
    const Header h{quint32(name.size()), quint32(name.size() + players.size()),
                   quint32(name.size() + players.size() + address.size()), type, version};
    if (h.size == 0 && type == 0 && version == 0)
        return;
    m_block = std::make_unique_for_overwrite<char[]>(sizeof(Header) + h.size);
    char* out = m_block.get();
    std::memcpy(out, &h, sizeof h);
    out += sizeof h;
    for (QByteArrayView part : {name, players, address}) {
        if (!part.isEmpty())
            std::memcpy(out, part.data(), std::size_t(part.size()));
        out += part.size();
    }
}

ServerTableModel::Row::Header ServerTableModel::Row::header() const {
    Header h;
    if (m_block)
        std::memcpy(&h, m_block.get(), sizeof h);
    return h;
}

QByteArrayView ServerTableModel::Row::text(int column) const {
    if (!m_block)
        return {};
    const Header h = header();
    const char* text = m_block.get() + sizeof(Header);
    switch (column) {
    case NameColumn:
        return QByteArrayView(text, h.playersAt);
    case PlayersColumn:
        return QByteArrayView(text + h.playersAt, h.addressAt - h.playersAt);
    case AddressColumn:
        return QByteArrayView(text + h.addressAt, h.size - h.addressAt);
    default:
        return {};
    }
}

void ServerTableModel::addRow(const ServerListRow& row) {
    m_added.emplace_back(row.name, row.players, row.address, wordNumber(row.type),
                         wordNumber(row.version));
}

void ServerTableModel::showAddedRows() {
    if (m_added.empty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(m_added.size()) - 1);
    if (m_rows.empty()) {
        m_rows.swap(m_added);
    } else {
        m_rows.insert(m_rows.end(), std::make_move_iterator(m_added.begin()),
                      std::make_move_iterator(m_added.end()));
    }
    m_added.clear();
    m_added.shrink_to_fit();
    endInsertRows();
    if (isSorted())
        sortRows(first);
}

void ServerTableModel::clear() {
    m_added.clear();
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

void ServerTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumns)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    sortRows(0);
}

QByteArrayView ServerTableModel::cell(const Row& row, int column) const {
    switch (column) {
    case TypeColumn:
        return m_words.at(row.type());
    case VersionColumn:
        return m_words.at(row.version());
    default:
        return row.text(column);
    }
}

bool ServerTableModel::less(const Row& a, const Row& b) const {
    const QByteArrayView x = cell(a, m_sortColumn);
    const QByteArrayView y = cell(b, m_sortColumn);
    const qsizetype common = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < common; ++i) {
        const unsigned char p = platform::foldWindows1252(static_cast<unsigned char>(x[i]));
        const unsigned char q = platform::foldWindows1252(static_cast<unsigned char>(y[i]));
        if (p != q)
            return p < q;
    }
    return x.size() < y.size();
}

// Puts the rows in order; the first `sortedAlready` of them are in order already, so only the
// rest is sorted and then merged in. Selections and other kept places follow their rows.
void ServerTableModel::sortRows(int sortedAlready) {
    const int count = int(m_rows.size());
    if (count < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<int> order(std::size_t(count), 0);
    std::iota(order.begin(), order.end(), 0);
    const auto before = [this](int a, int b) {
        return m_sortOrder == Qt::AscendingOrder
                   ? less(m_rows[std::size_t(a)], m_rows[std::size_t(b)])
                   : less(m_rows[std::size_t(b)], m_rows[std::size_t(a)]);
    };
    const auto middle = order.begin() + std::clamp(sortedAlready, 0, count);
    std::stable_sort(middle, order.end(), before);
    std::inplace_merge(order.begin(), middle, order.end(), before);

    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newPlace(std::size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        sorted.push_back(std::move(m_rows[std::size_t(order[std::size_t(i)])]));
        newPlace[std::size_t(order[std::size_t(i)])] = i;
    }
    m_rows = std::move(sorted);

    const QModelIndexList kept = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(kept.size());
    for (const QModelIndex& index : kept)
        moved << this->index(newPlace[std::size_t(index.row())], index.column());
    changePersistentIndexList(kept, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QByteArray ServerTableModel::field(int row, int column) const {
    if (row < 0 || row >= rowCount())
        return {};
    return cell(m_rows[std::size_t(row)], column).toByteArray();
}

QString ServerTableModel::text(int row, int column) const {
    if (row < 0 || row >= rowCount())
        return {};
    return platform::fromWindows1252(cell(m_rows[std::size_t(row)], column));
}

int ServerTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ServerTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ServerTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

QVariant ServerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kColumns)
        return m_titles.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ServerTableModel::setHeaderData(int section, Qt::Orientation orientation,
                                     const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_titles[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}
