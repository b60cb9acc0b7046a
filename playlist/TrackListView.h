#pragma once

#include "ListAppearance.h"

#include <QTreeView>

#include <functional>
#include <vector>

namespace playlist {

// A report view of one track list: four columns 0, 40, 150 and 150 pixels
// wide (the path is hidden), no header, whole-row multi-selection, read-only.
// Rows are of uniform height, so the view lays out only what it shows. GUI
// thread only.
class TrackListView : public QTreeView {
    Q_OBJECT
public:
    explicit TrackListView(QWidget* parent = nullptr);

    // Places the view and sets its colours and font.
    void applyAppearance(const ListAppearance& appearance);
    // The selected rows, ascending.
    std::vector<int> selectedRowIndexes() const;
    int selectedRowCount() const;
    // Selects, focuses and shows one row.
    void focusRow(int row);
};

// The wait list's view. Pressing the left button on an entry and releasing
// it over another entry moves the pressed entry to that entry's index;
// releasing over no entry moves it to the end. The pointer shows the drag
// shape while the button is held after such a press.
class WaitListView : public TrackListView {
    Q_OBJECT
public:
    explicit WaitListView(QWidget* parent = nullptr);

    // Carries out a move; the window moves the row in its model.
    std::function<void(int from, int to)> onMoveRow;
    bool isDragging() const { return m_pressedRow >= 0; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The row under a point of the viewport, or -1.
    int rowAt(QPoint position) const;

    int m_pressedRow = -1;
};

} // namespace playlist
