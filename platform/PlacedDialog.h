#pragma once

#include "platform/WindowPlacementStore.h"

#include <QDialog>

namespace platform {

// A modal dialog whose placement (and control values) is kept in the
// settings file like a PlacedWindow's.
class PlacedDialog : public QDialog {
    Q_OBJECT
public:
    PlacedDialog(const char* windowClass, Qt::WindowFlags flags, QWidget* parent = nullptr);

    WindowPlacementStore& placementStore() { return m_placement; }
    void bindPlacementStore();
    void writePlacementAtDestruction() { m_placement.writeIfNotWrittenSinceRead(); }

protected:
    void showEvent(QShowEvent* event) override;
    // Accept, reject and the window system's close all end here: each counts
    // as an allowed close.
    void done(int result) override;

private:
    WindowPlacementStore m_placement;
};

} // namespace platform
