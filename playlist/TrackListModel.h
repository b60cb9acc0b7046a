#pragma once

#include "TrackCells.h"

#include <QAbstractTableModel>
#include <QCollator>

#include <string>
#include <unordered_map>
#include <vector>

namespace playlist {

// The rows of the play list or of the wait list, shown by a view. Every row
// holds exactly four cells (a shorter row is padded with empty cells).
//
// The play list keeps its rows sorted by the path cell with the locale's
// case-sensitive collation: a new row goes to its place by binary search,
// which gives the order a full sort would give at a cost that does not grow
// with the list. A column sort (sortByColumn) holds only until the next row
// is added; that row first brings the whole list back into path order. Rows
// of equal path keep the order they arrived in. The wait list keeps the
// order in which rows arrive.
//
// GUI thread only.
class TrackListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Order { SortedByPath, Arrival };
    static constexpr int kColumnCount = 4;

    explicit TrackListModel(Order order, QObject* parent = nullptr);
    ~TrackListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int count() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    const TrackCells& row(int index) const { return m_rows.at(static_cast<size_t>(index)); }
    const std::string& cell(int index, int column) const { return row(index).at(static_cast<size_t>(column)); }
    // All rows in display order.
    const std::vector<TrackCells>& rows() const { return m_rows; }

    // Adds one row; returns the index it got.
    int addRow(TrackCells cells);
    // Adds many rows at once, keeping the order rule (one sort, one view update).
    void addRows(std::vector<TrackCells> rows);
    // Replaces every row (one sort, one view update).
    void replaceRows(std::vector<TrackCells> rows);
    // Removes the rows at these indexes (in any order; repeats are ignored).
    void removeRowsAt(std::vector<int> indexes);
    void removeRowAt(int index);
    void clear();

    void setCell(int index, int column, const std::string& text);
    // Moves one row so that it takes index `to`, the rows between shifting by one.
    void moveRowTo(int from, int to);
    void swapRows(int first, int second);

    // Stable sort by one cell, comparing the bytes of the texts; descending
    // reverses that order. Selections and other persistent indexes follow
    // their rows.
    void sortByColumn(int column, Qt::SortOrder order);

    // The first row whose path cell equals `encodedPath` ignoring letter case,
    // or -1. containsPath answers in constant time.
    int findPath(const std::string& encodedPath) const;
    bool containsPath(const std::string& encodedPath) const;
    // Whether the rows are in path order now (false after a column sort).
    bool isInPathOrder() const { return m_inPathOrder; }

private:
    static TrackCells normalised(TrackCells cells);
    QString collationText(const std::string& pathCell) const;
    // Sorts all rows into path order (stable), keeping persistent indexes.
    void sortByPath();
    // Reorders the rows so that the new row i is the old row newOrder[i].
    void applyOrder(const std::vector<int>& newOrder);
    size_t insertionPoint(const std::string& pathCell) const;
    void countPath(const std::string& pathCell, int delta);
    static QString pathKey(const std::string& pathCell);

    Order m_order;
    bool m_inPathOrder = true;
    std::vector<TrackCells> m_rows;
    QCollator m_collator;
    // How many rows hold each path, by case-folded path.
    std::unordered_map<QString, int> m_pathCounts;
};

} // namespace playlist
