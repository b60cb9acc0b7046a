#pragma once

#include "platform/WindowPlacementStore.h"

#include <QEventLoop>
#include <QWidget>

namespace platform {

// A top-level window of fixed size whose placement is kept in the settings
// file ("asdf.ini" in the working directory at creation), in the section
// named after the window class.
class PlacedWindow : public QWidget {
    Q_OBJECT
public:
    enum class ReadAtCreation { No, Yes };
    PlacedWindow(const char* windowClass, QSize clientSize, Qt::WindowFlags flags = Qt::FramelessWindowHint,
                 QWidget* parent = nullptr);
    ~PlacedWindow() override;

    WindowPlacementStore& placementStore() { return m_placement; }
    // Binds the store to the settings file in the current working directory.
    void bindPlacementStore();
    // Shows a hidden window where it was, hides a shown one.
    void toggleVisibility();
    // Shows the window modally and returns once it is hidden again.
    void showModal();
    // Sets a new fixed client size (a skin decides the size of its window).
    void setClientSize(QSize size);
    // Writes the section unless it was written since it was last read. The
    // window set calls it before it deletes the window, while the derived
    // parts (control values) still exist.
    void writePlacementAtDestruction() { m_placement.writeIfNotWrittenSinceRead(); }

    static constexpr const char* kSettingsFileName = "asdf.ini";

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Whether an asked-for close may go ahead.
    virtual bool closeQuery() { return true; }

private:
    WindowPlacementStore m_placement;
    QEventLoop* m_modalLoop = nullptr;
};

} // namespace platform
