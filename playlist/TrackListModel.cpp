#include "TrackListModel.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace playlist {

TrackListModel::TrackListModel(Order order, QObject* parent) : QAbstractTableModel(parent), m_order(order) {
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
    m_collator.setNumericMode(false);
}

TrackListModel::~TrackListModel() = default;

int TrackListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int TrackListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TrackListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count() || index.column() >= kColumnCount)
        return {};
    return QString::fromLocal8Bit(cell(index.row(), index.column()));
}

QVariant TrackListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kCaptions[kColumnCount] = {"Path", "BPM", "Artist", "Title"};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    return QString::fromLatin1(kCaptions[section]);
}

TrackCells TrackListModel::normalised(TrackCells cells) {
    cells.resize(kColumnCount);
    return cells;
}

QString TrackListModel::collationText(const std::string& pathCell) const {
    return QString::fromLocal8Bit(pathCell);
}

QString TrackListModel::pathKey(const std::string& pathCell) {
    return QString::fromLocal8Bit(pathCell).toCaseFolded();
}

void TrackListModel::countPath(const std::string& pathCell, int delta) {
    const QString key = pathKey(pathCell);
    int& paths = m_pathCounts[key];
    paths += delta;
    if (paths <= 0)
        m_pathCounts.erase(key);
}

size_t TrackListModel::insertionPoint(const std::string& pathCell) const {
    if (m_order == Order::Arrival)
        return m_rows.size();
    // After the last row that does not collate after the new one, so rows of
    // equal path keep their order of arrival.
    const QString text = collationText(pathCell);
    size_t low = 0;
    size_t high = m_rows.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (m_collator.compare(text, collationText(m_rows[middle][kPathCell])) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int TrackListModel::addRow(TrackCells cells) {
    cells = normalised(std::move(cells));
    if (m_order == Order::SortedByPath && !m_inPathOrder)
        sortByPath();
    const size_t at = insertionPoint(cells[kPathCell]);
    beginInsertRows({}, static_cast<int>(at), static_cast<int>(at));
    countPath(cells[kPathCell], 1);
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(cells));
    endInsertRows();
    return static_cast<int>(at);
}

void TrackListModel::addRows(std::vector<TrackCells> rows) {
    if (rows.empty())
        return;
    const int first = count();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (TrackCells& cells : rows) {
        cells = normalised(std::move(cells));
        countPath(cells[kPathCell], 1);
        m_rows.push_back(std::move(cells));
    }
    endInsertRows();
    if (m_order == Order::SortedByPath)
        sortByPath();
}

void TrackListModel::replaceRows(std::vector<TrackCells> rows) {
    beginResetModel();
    m_rows.clear();
    m_pathCounts.clear();
    endResetModel();
    addRows(std::move(rows));
}

void TrackListModel::clear() {
    replaceRows({});
}

void TrackListModel::removeRowsAt(std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end(), std::greater<>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(), [this](int i) { return i < 0 || i >= count(); }),
                  indexes.end());
    // Contiguous runs go in one step each, from the end, so the indexes still
    // to come stay valid and removing a whole selection stays cheap.
    size_t runStart = 0;
    while (runStart < indexes.size()) {
        size_t runEnd = runStart;
        while (runEnd + 1 < indexes.size() && indexes[runEnd + 1] == indexes[runEnd] - 1)
            ++runEnd;
        const int last = indexes[runStart];
        const int first = indexes[runEnd];
        beginRemoveRows({}, first, last);
        for (int i = first; i <= last; ++i)
            countPath(m_rows[static_cast<size_t>(i)][kPathCell], -1);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
        runStart = runEnd + 1;
    }
}

void TrackListModel::removeRowAt(int index) {
    removeRowsAt({index});
}

void TrackListModel::setCell(int index, int column, const std::string& text) {
    if (index < 0 || index >= count() || column < 0 || column >= kColumnCount)
        return;
    std::string& target = m_rows[static_cast<size_t>(index)][static_cast<size_t>(column)];
    if (column == kPathCell) {
        countPath(target, -1);
        countPath(text, 1);
    }
    target = text;
    emit dataChanged(this->index(index, column), this->index(index, column));
    // A path set anywhere puts the whole play list back into path order.
    if (column == kPathCell && m_order == Order::SortedByPath)
        sortByPath();
}

void TrackListModel::moveRowTo(int from, int to) {
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to)
        return;
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    const auto first = m_rows.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    endMoveRows();
}

void TrackListModel::swapRows(int first, int second) {
    if (first < 0 || first >= count() || second < 0 || second >= count() || first == second)
        return;
    std::swap(m_rows[static_cast<size_t>(first)], m_rows[static_cast<size_t>(second)]);
    emit dataChanged(index(first, 0), index(first, kColumnCount - 1));
    emit dataChanged(index(second, 0), index(second, kColumnCount - 1));
}

void TrackListModel::sortByColumn(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kColumnCount)
        return;
    std::vector<int> newOrder(m_rows.size());
    std::iota(newOrder.begin(), newOrder.end(), 0);
    const auto columnIndex = static_cast<size_t>(column);
    // std::string compares as unsigned bytes: the ordinal order of the texts.
    if (order == Qt::AscendingOrder)
        std::stable_sort(newOrder.begin(), newOrder.end(), [&](int a, int b) {
            return m_rows[static_cast<size_t>(a)][columnIndex] < m_rows[static_cast<size_t>(b)][columnIndex];
        });
    else
        std::stable_sort(newOrder.begin(), newOrder.end(), [&](int a, int b) {
            return m_rows[static_cast<size_t>(b)][columnIndex] < m_rows[static_cast<size_t>(a)][columnIndex];
        });
    applyOrder(newOrder);
    m_inPathOrder = false;
}

void TrackListModel::sortByPath() {
    // One collation key per row makes the full sort a sort of byte strings.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (const TrackCells& cells : m_rows)
        keys.push_back(m_collator.sortKey(collationText(cells[kPathCell])));
    std::vector<int> newOrder(m_rows.size());
    std::iota(newOrder.begin(), newOrder.end(), 0);
    std::stable_sort(newOrder.begin(), newOrder.end(), [&keys](int a, int b) {
        return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
    });
    applyOrder(newOrder);
    m_inPathOrder = true;
}

void TrackListModel::applyOrder(const std::vector<int>& newOrder) {
    if (std::is_sorted(newOrder.begin(), newOrder.end()))
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> oldToNew(newOrder.size());
    std::vector<TrackCells> reordered;
    reordered.reserve(m_rows.size());
    for (size_t i = 0; i < newOrder.size(); ++i) {
        oldToNew[static_cast<size_t>(newOrder[i])] = static_cast<int>(i);
        reordered.push_back(std::move(m_rows[static_cast<size_t>(newOrder[i])]));
    }
    m_rows.swap(reordered);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to.append(index(oldToNew[static_cast<size_t>(old.row())], old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TrackListModel::findPath(const std::string& encodedPath) const {
    if (!containsPath(encodedPath))
        return -1;
    // The exact spelling is by far the common case and needs no folding.
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i][kPathCell] == encodedPath)
            return static_cast<int>(i);
    const QString key = pathKey(encodedPath);
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (pathKey(m_rows[i][kPathCell]) == key)
            return static_cast<int>(i);
    return -1;
}

bool TrackListModel::containsPath(const std::string& encodedPath) const {
    return m_pathCounts.find(pathKey(encodedPath)) != m_pathCounts.end();
}

} // namespace playlist
