#include "TrackListView.h"

#include "PlayListRules.h"

#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

namespace playlist {
namespace {

constexpr int kColumnWidths[] = {0, 40, 150, 150};

QColor colourOf(uint32_t value) {
    return QColor(static_cast<int>(value & 0xff), static_cast<int>((value >> 8) & 0xff),
                  static_cast<int>((value >> 16) & 0xff));
}

} // namespace

TrackListView::TrackListView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setFrameShape(QFrame::NoFrame);
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
}

void TrackListView::applyAppearance(const ListAppearance& appearance) {
    setGeometry(appearance.left, appearance.top, appearance.width, appearance.height);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colourOf(appearance.backgroundColour));
    colours.setColor(QPalette::Window, colourOf(appearance.backgroundColour));
    colours.setColor(QPalette::Text, colourOf(appearance.fontColour));
    setPalette(colours);
    QFont face = font();
    face.setFamily(QString::fromLocal8Bit(appearance.fontName).trimmed());
    if (appearance.fontSize > 0)
        face.setPointSize(appearance.fontSize);
    setFont(face);
    // The widths are set again here because a model set later resets them.
    for (int column = 0; column < 4; ++column)
        setColumnWidth(column, kColumnWidths[column]);
}

std::vector<int> TrackListView::selectedRowIndexes() const {
    std::vector<int> rows;
    if (selectionModel() == nullptr)
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TrackListView::selectedRowCount() const {
    return selectionModel() != nullptr ? static_cast<int>(selectionModel()->selectedRows().size()) : 0;
}

void TrackListView::focusRow(int row) {
    const QModelIndex target = model()->index(row, 0);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
    setFocus();
}

WaitListView::WaitListView(QWidget* parent) : TrackListView(parent) {}

int WaitListView::rowAt(QPoint position) const {
    if (!viewport()->rect().contains(position))
        return -1;
    // Rows are selected whole, so the blank right of the last column counts
    // as the row too; the path column is hidden, so probe the tempo column.
    const QModelIndex index = indexAt(QPoint(columnViewportPosition(kBpmCell) + 1, position.y()));
    return index.isValid() ? index.row() : -1;
}

void WaitListView::mousePressEvent(QMouseEvent* event) {
    TrackListView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const int pressed = rowAt(event->position().toPoint());
    if (pressed < 0)
        return;
    m_pressedRow = pressed;
    viewport()->setCursor(Qt::DragMoveCursor);
}

void WaitListView::mouseMoveEvent(QMouseEvent* event) {
    // While an entry is carried the selection must not stretch to the rows
    // the pointer passes.
    if (isDragging())
        return;
    TrackListView::mouseMoveEvent(event);
}

void WaitListView::mouseReleaseEvent(QMouseEvent* event) {
    TrackListView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !isDragging())
        return;
    const int from = m_pressedRow;
    m_pressedRow = -1;
    viewport()->unsetCursor();
    if (from >= model()->rowCount())
        return;
    const int to = waitListDropIndex(rowAt(event->position().toPoint()), model()->rowCount());
    if (to != from && onMoveRow)
        onMoveRow(from, to);
    // The moved entry keeps its selection and gets the focus.
    selectionModel()->setCurrentIndex(model()->index(to, 0), QItemSelectionModel::NoUpdate);
}

} // namespace playlist
