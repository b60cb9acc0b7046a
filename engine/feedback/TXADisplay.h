#pragma once

#include "DisplayState.h"

#include "contracts/MessageNumbers.h"
#include "platform/WindowMessages.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// The window of the spectrum feedback display. It lives on the GUI thread;
// audio events reach it only as message messages::kDisplayData, whose lParam is
// the address of an engine::DisplayFrame valid during the call.
class TXADisplay : public QWidget, public platform::MessageReceiver {
    Q_OBJECT

public:
    static constexpr int kClearingIntervalMs = 40;

    // A child of parent at its position, or, without parent, a top-most tool
    // window. Size and scale come from width and height. Not shown yet.
    TXADisplay(int width, int height, QWidget* parent);
    ~TXADisplay() override;

    const engine::DisplayState& state() const { return *m_state; }

    // Told of every frame a display accepts, with the window the display
    // belongs to (its parent, or none); the application feeds the mixer's
    // deck meters from it. GUI thread only.
    using FrameObserver = std::function<void(QWidget* owner, const engine::DisplayFrame& frame)>;
    static void setFrameObserver(FrameObserver observer);

    bool handleMessage(const platform::WindowMessage& message, intptr_t& result) override;

    void startClearingTimer();
    void stopClearingTimer();
    bool clearingTimerActive() const { return m_clearingTimer.isActive(); }
    // A non-blocking information box about the module.
    void showInformation();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void clearingTimerTick();
    // The spectrum alone, written into the window's pixels without a
    // painter; false when this repaint needs one.
    bool paintIntoWindowPixels(const QRegion& region);

    std::unique_ptr<engine::DisplayState> m_state;
    QTimer m_clearingTimer;
};
