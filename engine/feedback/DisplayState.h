#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>

class QPainter;

namespace engine {

inline constexpr int kWaveformCapacity = 65536;
inline constexpr int kSpectrumBands = 64;

// The display modes, as bits of the module-wide mode flags.
enum DisplayMode : uint8_t {
    kDisplaySpectrum = 1,
    kDisplayOscilloscope = 2,
    kDisplayLevelMeter = 4,
};

// Colours written the platform's way: red in the lowest byte.
inline constexpr uint32_t kLeftPenColourValue = 125;
inline constexpr uint32_t kRightPenColourValue = 32000;
QColor colourFromValue(uint32_t value);

// One channel's data as an audio event computed it.
struct ChannelFrame {
    std::array<int8_t, kWaveformCapacity> waveform{};
    int waveformLength = 0;
    std::array<uint8_t, kSpectrumBands> spectrum{};
};

// What an audio event hands to the display window (message 2048).
struct DisplayFrame {
    ChannelFrame left;
    ChannelFrame right;
};

struct ChannelDisplay {
    ChannelFrame data;
    std::array<uint8_t, kSpectrumBands> heldSpectrum{};
    int level = 0;
    int heldPeak = 0;
};

// Everything the window paints from. Owned and touched by the GUI thread only.
struct DisplayState {
    QImage background;
    int width = 0;
    int height = 0;
    int scale = 255;
    ChannelDisplay left;
    ChannelDisplay right;
    // Where a repaint is put together; kept to spare an allocation a frame.
    QImage canvas;
};

// Round(255 / height), a height below 1 counting as 1 (a height of 0 would
// divide by zero). Halves round to even.
int displayScale(int height);

// Takes a frame from an audio event: waveforms (with their valid lengths) and
// spectra. Held levels and peaks are left alone; painting moves them.
void acceptFrame(DisplayState& state, const DisplayFrame& frame);

// The clearing timer's tick: spectra, held spectra and waveforms become zero.
void clearDisplayData(DisplayState& state);

// The per-repaint movement of the held values, for the enabled modes: held
// spectrum levels follow a rise at once and fall by 8 (only while above 7);
// the level meter's held peak follows a rise at once and falls by 4 (only
// while above 3).
void advanceDisplayState(DisplayState& state, uint8_t modes);

// Paints the background over area, then each enabled mode in the order
// spectrum, oscilloscope, level meter. Call advanceDisplayState first.
void paintDisplay(QPainter& painter, DisplayState& state, const QRect& area, uint8_t modes);

// The spectrum mode alone painted as paintDisplay paints it, but straight
// into a 32-bit RGB image, the display's top left at origin there, which
// the area must lie inside: a window's own pixels need no painter.
void paintSpectrumInto(QImage& image, const QPoint& origin, const DisplayState& state, const QRect& area);

} // namespace engine
