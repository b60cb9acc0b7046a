#include "engine/feedback/DisplayState.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace engine;

namespace {

const QRgb kLeft = qRgb(125, 0, 0);
const QRgb kRight = qRgb(0, 125, 0);

std::unique_ptr<DisplayState> makeState(int width, int height) {
    auto state = std::make_unique<DisplayState>();
    state->width = width;
    state->height = height;
    state->scale = displayScale(height);
    return state;
}

// The display painted over white, over the whole image unless an area is given.
QImage render(DisplayState& state, uint8_t modes, QRect area = {}) {
    advanceDisplayState(state, modes);
    QImage image(state.width, state.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintDisplay(painter, state, area.isNull() ? image.rect() : area, modes);
    painter.end();
    return image;
}

// The columns holding at least one pixel of the colour.
std::vector<int> columnsWith(const QImage& image, QRgb colour) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == colour) {
                columns.push_back(x);
                break;
            }
    return columns;
}

std::vector<int> rowsWith(const QImage& image, int x, QRgb colour) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == colour)
            rows.push_back(y);
    return rows;
}

std::vector<int> expectedColumns(int first, int count) {
    std::vector<int> columns;
    for (int i = 0; i < count; ++i)
        columns.push_back(first + 2 * i);
    return columns;
}

} // namespace

TEST(DisplayState, WidthOf251DrawsFiftyNineBarsPerChannelWithTheRightStartingAt129) {
    auto state = makeState(251, 100);
    state->left.data.spectrum.fill(255);
    state->right.data.spectrum.fill(255);

    const QImage image = render(*state, kDisplaySpectrum);

    EXPECT_EQ(columnsWith(image, kLeft), expectedColumns(3, 59));
    EXPECT_EQ(columnsWith(image, kRight), expectedColumns(129, 59));
    // A held level of 255 reaches 85 pixels up; the bar stops 3 pixels above the bottom edge.
    const std::vector<int> rows = rowsWith(image, 3, kLeft);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), 15);
    EXPECT_EQ(rows.back(), 96);
    EXPECT_EQ(rows.size(), 82u);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0)) << "no background bitmap paints black";
}

TEST(DisplayState, BarIsDrawnOnlyWhenAThirdOfTheHeldLevelExceedsThree) {
    auto state = makeState(251, 100);
    state->left.data.spectrum[0] = 12;
    state->left.data.spectrum[1] = 11;
    const QImage image = render(*state, kDisplaySpectrum);
    EXPECT_EQ(rowsWith(image, 3, kLeft), std::vector<int>{96});
    EXPECT_TRUE(rowsWith(image, 5, kLeft).empty());
}

TEST(DisplayState, BarsAreMeasuredFromTheBottomOfThePaintArea) {
    auto state = makeState(251, 100);
    state->left.data.spectrum.fill(30);
    const QImage image = render(*state, kDisplaySpectrum, QRect(0, 0, 251, 50));
    EXPECT_EQ(rowsWith(image, 3, kLeft), (std::vector<int>{40, 41, 42, 43, 44, 45, 46}));
}

TEST(DisplayState, PartOfTheDisplayShowsItsBackgroundUnderTheBarsAndBlackBeyondTheBitmap) {
    auto state = makeState(251, 100);
    state->background = QImage(200, 80, QImage::Format_RGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x)
            state->background.setPixel(x, y, qRgb(x, y, 7));
    state->left.data.spectrum.fill(60);
    const QImage image = render(*state, kDisplaySpectrum, QRect(2, 10, 220, 60));

    // The bars stand on the area's bottom (row 70): rows 50 to 66.
    EXPECT_EQ(rowsWith(image, 3, kLeft).front(), 50);
    EXPECT_EQ(rowsWith(image, 3, kLeft).back(), 66);
    EXPECT_EQ(image.pixel(3, 49), qRgb(3, 49, 7));
    EXPECT_EQ(image.pixel(4, 60), qRgb(4, 60, 7));
    EXPECT_EQ(image.pixel(199, 69), qRgb(199, 69, 7));
    EXPECT_EQ(image.pixel(200, 40), qRgb(0, 0, 0)) << "beyond the bitmap";
    EXPECT_EQ(image.pixel(1, 40), qRgb(255, 255, 255)) << "left of the area";
    EXPECT_EQ(image.pixel(3, 70), qRgb(255, 255, 255)) << "below the area";
    EXPECT_EQ(image.pixel(222, 40), qRgb(255, 255, 255)) << "right of the area";
}

TEST(DisplayState, WideDisplayDrawsNoMoreThanTheSixtyFourBands) {
    auto state = makeState(1000, 100);
    state->left.data.spectrum.fill(255);
    const QImage image = render(*state, kDisplaySpectrum);
    EXPECT_EQ(columnsWith(image, kLeft), expectedColumns(3, 64));
}

TEST(DisplayState, HeldSpectrumRisesAtOnceAndFallsByEightWhileAboveSeven) {
    auto state = makeState(251, 100);
    state->left.data.spectrum[0] = 20;
    state->left.data.spectrum[1] = 200;
    advanceDisplayState(*state, kDisplaySpectrum);
    EXPECT_EQ(state->left.heldSpectrum[0], 20);

    state->left.data.spectrum.fill(0);
    std::vector<int> held;
    for (int i = 0; i < 4; ++i) {
        advanceDisplayState(*state, kDisplaySpectrum);
        held.push_back(state->left.heldSpectrum[0]);
    }
    EXPECT_EQ(held, (std::vector<int>{12, 4, 4, 4}));
    EXPECT_EQ(state->left.heldSpectrum[1], 200 - 4 * 8);

    state->left.data.spectrum[1] = 168;
    advanceDisplayState(*state, kDisplaySpectrum);
    EXPECT_EQ(state->left.heldSpectrum[1], 168) << "an equal level replaces the held one";

    advanceDisplayState(*state, kDisplayOscilloscope);
    EXPECT_EQ(state->left.heldSpectrum[1], 168) << "only the spectrum mode moves the held levels";
}

TEST(DisplayState, LevelMeterDrawsTheLevelAndInvertsTheHeldPeak) {
    auto state = makeState(251, 100);
    state->left.data.waveformLength = 251;
    state->left.data.waveform[17] = -100;
    state->left.data.waveform[300] = 127; // beyond the valid length: not counted

    const QImage image = render(*state, kDisplayLevelMeter);

    EXPECT_EQ(state->left.level, 100);
    EXPECT_EQ(state->left.heldPeak, 100);
    // a = 251 div 2 - 64 = 61; lines for 2i <= 100 at x = 61 + 2i, rows 29..36 (H/3 = 33).
    EXPECT_EQ(columnsWith(image, kLeft), expectedColumns(61, 50));
    EXPECT_EQ(rowsWith(image, 61, kLeft), (std::vector<int>{29, 30, 31, 32, 33, 34, 35, 36}));
    // The peak at x = 161, 162 is inverted: the line there and the black beside it.
    EXPECT_EQ(image.pixel(161, 30), qRgb(130, 255, 255));
    EXPECT_EQ(image.pixel(162, 30), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(163, 30), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(161, 37), qRgb(0, 0, 0));
    // The silent right channel still shows its zero level and peak at 2H/3 = 66.
    EXPECT_EQ(image.pixel(61, 62), qRgb(255, 130, 255));
    EXPECT_EQ(image.pixel(62, 62), qRgb(255, 255, 255));
}

TEST(DisplayState, LevelMeterPeakFallsByFourWhileAboveThree) {
    auto state = makeState(251, 100);
    state->right.data.waveformLength = 10;
    state->right.data.waveform[3] = 11;
    advanceDisplayState(*state, kDisplayLevelMeter);
    state->right.data.waveform[3] = 0;
    std::vector<int> peaks;
    for (int i = 0; i < 4; ++i) {
        advanceDisplayState(*state, kDisplayLevelMeter);
        peaks.push_back(state->right.heldPeak);
    }
    EXPECT_EQ(peaks, (std::vector<int>{7, 3, 3, 3}));
    state->right.data.waveform[0] = -128;
    advanceDisplayState(*state, kDisplayLevelMeter);
    EXPECT_EQ(state->right.heldPeak, 128);
}

TEST(DisplayState, OscilloscopeDrawsEachWaveformFromXThreeToFiveShortOfTheWidth) {
    auto state = makeState(251, 100);
    state->left.data.waveformLength = 251;
    state->left.data.waveform.fill(50);
    state->right.data.waveformLength = 251;
    state->right.data.waveform.fill(-60);

    const QImage image = render(*state, kDisplayOscilloscope);

    // Scale Round(255 / 100) = 3: 50 / 3 + 50 = 66 and -60 / 3 + 50 = 30.
    const std::vector<int> left = columnsWith(image, kLeft);
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left.front(), 3);
    EXPECT_EQ(left.back(), 246);
    EXPECT_EQ(rowsWith(image, 100, kLeft), std::vector<int>{66});
    EXPECT_EQ(rowsWith(image, 100, kRight), std::vector<int>{30});
}

TEST(DisplayState, NarrowPaintAreaDrawsNoOscilloscope) {
    auto state = makeState(251, 100);
    state->left.data.waveformLength = 251;
    state->left.data.waveform.fill(50);
    advanceDisplayState(*state, kDisplayOscilloscope);
    QImage image(251, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintDisplay(painter, *state, QRect(0, 0, 5, 100), kDisplayOscilloscope);
    painter.end();
    EXPECT_TRUE(columnsWith(image, kLeft).empty());
}

TEST(DisplayState, DisabledModesDrawNothing) {
    auto state = makeState(251, 100);
    state->left.data.spectrum.fill(255);
    state->left.data.waveformLength = 251;
    state->left.data.waveform.fill(100);
    const QImage image = render(*state, 0);
    EXPECT_TRUE(columnsWith(image, kLeft).empty());
}

TEST(DisplayState, ScaleRoundsHalvesToEvenAndTreatsHeightsBelowOneAsOne) {
    EXPECT_EQ(displayScale(1), 255);
    EXPECT_EQ(displayScale(0), 255);
    EXPECT_EQ(displayScale(-5), 255);
    EXPECT_EQ(displayScale(100), 3);
    EXPECT_EQ(displayScale(2), 128);
    EXPECT_EQ(displayScale(6), 42);
    EXPECT_EQ(displayScale(10), 26);
    EXPECT_EQ(displayScale(600), 0);
}

TEST(DisplayState, ClearingZeroesSpectraHeldLevelsAndWaveforms) {
    auto state = makeState(251, 100);
    state->left.data.spectrum.fill(9);
    state->right.heldSpectrum.fill(9);
    state->left.data.waveformLength = 251;
    state->left.data.waveform.fill(9);
    state->right.heldPeak = 40;
    clearDisplayData(*state);
    for (const ChannelDisplay* channel : {&state->left, &state->right}) {
        EXPECT_EQ(channel->data.spectrum, (std::array<uint8_t, kSpectrumBands>{}));
        EXPECT_EQ(channel->heldSpectrum, (std::array<uint8_t, kSpectrumBands>{}));
        EXPECT_EQ(*std::max_element(channel->data.waveform.begin(), channel->data.waveform.end()), 0);
    }
    EXPECT_EQ(state->right.heldPeak, 40);
}

TEST(DisplayState, PenColoursKeepRedInTheLowestByte) {
    EXPECT_EQ(colourFromValue(kLeftPenColourValue), QColor(125, 0, 0));
    EXPECT_EQ(colourFromValue(kRightPenColourValue), QColor(0, 125, 0));
}

TEST(DisplayState, TinyAndEmptyDisplaysPaintWithoutHarm) {
    for (int width : {0, 1, 5, 6, 12, 16}) {
        for (int height : {0, 1, 3}) {
            auto state = makeState(width, height);
            state->left.data.spectrum.fill(255);
            state->left.data.waveformLength = width;
            state->left.data.waveform.fill(-128);
            QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
            image.fill(Qt::white);
            advanceDisplayState(*state, 0xff);
            QPainter painter(&image);
            paintDisplay(painter, *state, QRect(0, 0, width, height), 0xff);
            painter.end();
            EXPECT_EQ(state->left.heldPeak, width > 0 ? 128 : 0) << width << "x" << height;
        }
    }
}
