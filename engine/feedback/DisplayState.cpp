#include "DisplayState.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace engine {
namespace {

void holdSpectrum(ChannelDisplay& channel) {
    for (int band = 0; band < kSpectrumBands; ++band) {
        uint8_t& held = channel.heldSpectrum[band];
        const uint8_t level = channel.data.spectrum[band];
        if (level >= held)
            held = level;
        else if (held > 7)
            held = static_cast<uint8_t>(held - 8);
    }
}

void holdLevel(ChannelDisplay& channel) {
    int level = 0;
    const int length = std::clamp(channel.data.waveformLength, 0, kWaveformCapacity);
    for (int i = 0; i < length; ++i)
        level = std::max(level, std::abs(static_cast<int>(channel.data.waveform[i])));
    channel.level = level;
    if (level >= channel.heldPeak)
        channel.heldPeak = level;
    else if (channel.heldPeak > 3)
        channel.heldPeak -= 4;
}

// Lines are drawn as one-pixel rectangles so that the covered pixels are
// exact: from y1 down to, but not including, y2 (the platform's line rule).
void verticalLine(QPainter& painter, int x, int y1, int y2, const QColor& colour) {
    if (y2 > y1)
        painter.fillRect(QRect(x, y1, 1, y2 - y1), colour);
}

// The spectrum is put together with the background in 32-bit pixels and
// drawn in one go: a painter's call for each of the 128 bars took longer than
// the rest of the frame. The pixels are the state's canvas, or the window's
// own when it paints without a painter. Writes stay inside area (display
// coordinates), whose pixels must lie inside the image.
class Canvas {
public:
    // The display's top left at origin in image.
    Canvas(QImage& image, const QPoint& origin, const QRect& area)
        : m_image(image), m_origin(origin), m_area(area), m_pixels(reinterpret_cast<QRgb*>(image.bits())),
          m_stride(image.bytesPerLine() / static_cast<int>(sizeof(QRgb))) {}

    // The background where it reaches, black elsewhere.
    void fillWith(const QImage& background) {
        const QRect covered = background.rect().intersected(m_area);
        if (covered != m_area)
            for (int y = m_area.top(); y <= m_area.bottom(); ++y)
                std::fill_n(pixel(m_area.left(), y), m_area.width(), qRgb(0, 0, 0));
        if (covered.isEmpty())
            return;
        if (background.format() != QImage::Format_RGB32) {
            QPainter painter(&m_image);
            painter.drawImage(covered.topLeft() + m_origin, background, covered);
            return;
        }
        for (int y = covered.top(); y <= covered.bottom(); ++y) {
            const auto* source = reinterpret_cast<const QRgb*>(background.constScanLine(y)) + covered.left();
            std::copy_n(source, covered.width(), pixel(covered.left(), y));
        }
    }

    // The same pixels as verticalLine, those outside the area left out.
    void verticalLine(int x, int y1, int y2, QRgb colour) {
        if (x < m_area.left() || x > m_area.right())
            return;
        y1 = std::max(y1, m_area.top());
        y2 = std::min(y2, m_area.bottom() + 1);
        for (int y = y1; y < y2; ++y)
            *pixel(x, y) = colour;
    }

private:
    QRgb* pixel(int x, int y) { return m_pixels + (y + m_origin.y()) * m_stride + (x + m_origin.x()); }

    QImage& m_image;
    QPoint m_origin;
    QRect m_area;
    QRgb* m_pixels;
    int m_stride;
};

void paintSpectrum(Canvas& canvas, const DisplayState& state, const QRect& area) {
    const int bottom = area.top() + area.height();
    const int bars = std::min(kSpectrumBands, (state.width / 2) / 2 - 3);
    const QRgb leftColour = colourFromValue(kLeftPenColourValue).rgb();
    const QRgb rightColour = colourFromValue(kRightPenColourValue).rgb();
    for (int i = 0; i < bars; ++i) {
        const int left = state.left.heldSpectrum[i] / 3;
        if (left > 3)
            canvas.verticalLine(3 + 2 * i, bottom - left, bottom - 3, leftColour);
        const int right = state.right.heldSpectrum[i] / 3;
        if (right > 3)
            canvas.verticalLine(129 + 2 * i, bottom - right, bottom - 3, rightColour);
    }
}

void paintWaveform(QPainter& painter, const DisplayState& state, const ChannelDisplay& channel, const QRect& area,
                   const QColor& colour) {
    // One point per pixel column from x = 3 to x = width - 5, each showing
    // the waveform sample of that column.
    const int last = std::min(area.width() - 5, channel.data.waveformLength - 1);
    if (last < 3)
        return;
    QPolygon points;
    points.reserve(last - 2);
    for (int x = 3; x <= last; ++x)
        points << QPoint(x, channel.data.waveform[x] / state.scale + state.height / 2);
    painter.setPen(QPen(colour, 1));
    painter.drawPolyline(points);
}

void paintOscilloscope(QPainter& painter, const DisplayState& state, const QRect& area) {
    if (area.width() < 6)
        return;
    paintWaveform(painter, state, state.left, area, colourFromValue(kLeftPenColourValue));
    paintWaveform(painter, state, state.right, area, colourFromValue(kRightPenColourValue));
}

void paintLevelMeter(QPainter& painter, const DisplayState& state) {
    const int a = state.width / 2 - 64;
    const int leftCentre = state.height / 3;
    const int rightCentre = 2 * state.height / 3;
    const QColor leftColour = colourFromValue(kLeftPenColourValue);
    const QColor rightColour = colourFromValue(kRightPenColourValue);
    for (int i = 0; i < 64; ++i) {
        if (state.left.level >= 2 * i)
            verticalLine(painter, a + 2 * i, leftCentre - 4, leftCentre + 4, leftColour);
        if (state.right.level >= 2 * i)
            verticalLine(painter, a + 2 * i, rightCentre - 4, rightCentre + 4, rightColour);
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillRect(QRect(a + state.left.heldPeak, leftCentre - 4, 2, 8), Qt::black);
    painter.fillRect(QRect(a + state.right.heldPeak, rightCentre - 4, 2, 8), Qt::black);
    painter.restore();
}

} // namespace

QColor colourFromValue(uint32_t value) {
    return QColor(static_cast<int>(value & 0xff), static_cast<int>((value >> 8) & 0xff),
                  static_cast<int>((value >> 16) & 0xff));
}

int displayScale(int height) {
    const double exact = 255.0 / std::max(height, 1);
    return static_cast<int>(std::nearbyint(exact));
}

void acceptFrame(DisplayState& state, const DisplayFrame& frame) {
    auto take = [](ChannelDisplay& channel, const ChannelFrame& source) {
        const int length = std::clamp(source.waveformLength, 0, kWaveformCapacity);
        std::copy_n(source.waveform.begin(), length, channel.data.waveform.begin());
        channel.data.waveformLength = length;
        channel.data.spectrum = source.spectrum;
    };
    take(state.left, frame.left);
    take(state.right, frame.right);
}

void clearDisplayData(DisplayState& state) {
    for (ChannelDisplay* channel : {&state.left, &state.right}) {
        channel->data.spectrum.fill(0);
        channel->heldSpectrum.fill(0);
        channel->data.waveform.fill(0);
    }
}

void advanceDisplayState(DisplayState& state, uint8_t modes) {
    if (modes & kDisplaySpectrum) {
        holdSpectrum(state.left);
        holdSpectrum(state.right);
    }
    if (modes & kDisplayLevelMeter) {
        holdLevel(state.left);
        holdLevel(state.right);
    }
}

void paintDisplay(QPainter& painter, DisplayState& state, const QRect& area, uint8_t modes) {
    if (area.isEmpty())
        return;
    if (state.canvas.size() != area.size() || state.canvas.format() != QImage::Format_RGB32)
        state.canvas = QImage(area.size(), QImage::Format_RGB32);
    if (state.canvas.isNull())
        return;
    Canvas canvas(state.canvas, -area.topLeft(), area);
    canvas.fillWith(state.background);
    if (modes & kDisplaySpectrum)
        paintSpectrum(canvas, state, area);
    painter.drawImage(area.topLeft(), state.canvas);
    if (modes & kDisplayOscilloscope)
        paintOscilloscope(painter, state, area);
    if (modes & kDisplayLevelMeter)
        paintLevelMeter(painter, state);
}

void paintSpectrumInto(QImage& image, const QPoint& origin, const DisplayState& state, const QRect& area) {
    if (area.isEmpty())
        return;
    Canvas canvas(image, origin, area);
    canvas.fillWith(state.background);
    paintSpectrum(canvas, state, area);
}

} // namespace engine
