#include "TXADisplay.h"

#include "DisplayModes.h"

#include "platform/WindowPixels.h"

#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>

#include <optional>

// The bitmap resource sits in this static library; naming it here keeps the
// linker from dropping it. Q_INIT_RESOURCE must be used outside namespaces.
static void loadResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(FeedbackDisplay);
        return true;
    }();
    (void)loaded;
}

namespace {

constexpr const char* kBackgroundResource = ":/DISPLAYIMAGE";

} // namespace

TXADisplay::TXADisplay(int width, int height, QWidget* parent)
    : QWidget(parent), m_state(std::make_unique<engine::DisplayState>()) {
    loadResources();
    m_state->background = QImage(kBackgroundResource).convertToFormat(QImage::Format_RGB32);
    m_state->width = width;
    m_state->height = height;
    m_state->scale = engine::displayScale(height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (parent == nullptr) {
        setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
        setWindowTitle(QStringLiteral("Feedback Display"));
    } else {
        // Clicks belong to the window it is shown in, which lays its own
        // mouse regions under the display.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    resize(width, height);
    m_clearingTimer.setInterval(kClearingIntervalMs);
    connect(&m_clearingTimer, &QTimer::timeout, this, &TXADisplay::clearingTimerTick);
}

TXADisplay::~TXADisplay() {
    m_clearingTimer.stop();
}

namespace {
TXADisplay::FrameObserver& frameObserver() {
    static TXADisplay::FrameObserver observer;
    return observer;
}
} // namespace

void TXADisplay::setFrameObserver(FrameObserver observer) {
    frameObserver() = std::move(observer);
}

bool TXADisplay::handleMessage(const platform::WindowMessage& message, intptr_t& result) {
    if (message.number != messages::kDisplayData || message.lParam == 0)
        return false;
    const auto& frame = *reinterpret_cast<const engine::DisplayFrame*>(message.lParam);
    engine::acceptFrame(*m_state, frame);
    // Painted at once rather than at the next pass of the event loop: the
    // engine posts no more than two frames ahead, and a pass of its own for
    // each frame cost more than the painting.
    repaint();
    if (frameObserver())
        frameObserver()(parentWidget(), frame);
    result = 0;
    return true;
}

void TXADisplay::startClearingTimer() {
    m_clearingTimer.start();
}

void TXADisplay::stopClearingTimer() {
    m_clearingTimer.stop();
}

void TXADisplay::showInformation() {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Feedback-Display"),
                                QStringLiteral("Feedback Display Module\nVersion 1"), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool TXADisplay::event(QEvent* event) {
    if (platform::dispatchWindowMessage(event, *this))
        return true;
    return QWidget::event(event);
}

void TXADisplay::paintEvent(QPaintEvent* event) {
    const uint8_t modes = engine::displayModeFlags().load();
    engine::advanceDisplayState(*m_state, modes);
    if (modes == engine::kDisplaySpectrum && paintIntoWindowPixels(event->region()))
        return;
    QPainter painter(this);
    engine::paintDisplay(painter, *m_state, event->rect(), modes);
}

bool TXADisplay::paintIntoWindowPixels(const QRegion& region) {
    // Bars stand on the paint area's bottom edge as with a painter, and only
    // the area Qt asked for is written, so a region of several rectangles
    // takes a painter.
    if (region.rectCount() != 1 || sharedPainter() != nullptr)
        return false;
    QPoint offset;
    const std::optional<platform::WindowPixels> pixels = platform::windowPixels(redirected(&offset), offset);
    if (!pixels || !pixels->covers(region.boundingRect()))
        return false;
    engine::paintSpectrumInto(*pixels->image, pixels->origin, *m_state, region.boundingRect());
    return true;
}

void TXADisplay::clearingTimerTick() {
    engine::clearDisplayData(*m_state);
    update();
}
