#include "DeckEqualizers.h"
#include "Players.h"
#include "mixer/Equalizer.h"
#include "platform/ErrorReport.h"

#include "support/AudioFixtures.h"
#include "support/EventLoop.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace test_support;

namespace {

// The level of a steady tone in a 16-bit stereo capture: the median RMS of
// the left channel's 20 ms windows, so the engine's start and a gap left by
// a busy machine do not count.
double typicalLevel(const std::string& path) {
    const std::string bytes = readFile(path);
    const size_t data = bytes.find("data");
    if (data == std::string::npos || bytes.size() < data + 8)
        return 0;
    const size_t first = data + 8;
    const size_t frames = (bytes.size() - first) / 4;
    constexpr size_t kWindow = 882;
    std::vector<double> levels;
    for (size_t start = 0; start + kWindow <= frames; start += kWindow) {
        double sum = 0;
        for (size_t frame = start; frame < start + kWindow; ++frame) {
            int16_t sample = 0;
            std::memcpy(&sample, bytes.data() + first + frame * 4, sizeof sample);
            sum += static_cast<double>(sample) * sample;
        }
        levels.push_back(std::sqrt(sum / kWindow));
    }
    if (levels.empty())
        return 0;
    std::nth_element(levels.begin(), levels.begin() + static_cast<long>(levels.size() / 2), levels.end());
    return levels[levels.size() / 2];
}

double decibels(double level, double reference) {
    return 20.0 * std::log10(level / reference);
}

} // namespace

// The whole road of the equalizer: band sliders and switches of the window,
// the decks' player components and the engine the application ships, with
// the clock-paced null output writing what deck A plays to WAV files.
TEST(EqualizerWithTheRealEngine, TheSliderHolding1kHzCutsItAndTheLowestSliderCutsTheBass) {
    // The null output waits for the engine, so a busy machine leaves no gaps.
    setenv("XAUDIO_NULL_OUTPUT", "wait", 1);
    TemporaryFolder folder;
    WorkingDirectory workingDirectory(folder.path());
    QStringList errors;
    platform::ErrorReporter previous = platform::setErrorReporter([&](const QString& text) { errors << text; });
    ToneOptions tone;
    tone.seconds = 1.5;
    makeToneMp3(folder.file("1k.mp3"), tone);
    tone.frequencyHz = 60;
    makeToneMp3(folder.file("60.mp3"), tone);

    {
        TPlayerA deckA;
        TPlayerB deckB;
        DeckEqualizers decks(deckA, deckB);
        TEqualizerForm equalizer(&decks);
        const auto play = [&](const char* track, const char* capture) {
            deckA.XaudioPlayer1->SetPlayerEnvironmentString(QStringLiteral("OUTPUT.CAPTURE.FILE"),
                                                            QString::fromStdString(folder.file(capture)));
            deckA.LoadTrack(QString::fromStdString(folder.file(track)));
            deckA.PlayPause();
            ASSERT_TRUE(processEventsUntil([&] { return deckA.StateText == QLatin1String("PLAYING"); }));
            ASSERT_TRUE(processEventsUntil([&] { return deckA.StateText == QLatin1String("STOPPED"); }));
        };
        const auto moveSlider = [&](const char* name, int position) {
            equalizer.SkinForm1->SetTrackBarPosition(QLatin1String(name), position);
            equalizer.SkinForm1->OnTrackBarNotify(QLatin1String(name), position);
        };

        play("1k.mp3", "1k-flat.wav");
        play("60.mp3", "60-flat.wav");
        // 1 kHz lies in the engine's band 1 (689 to 1378 Hz), the second
        // slider's; the slider's bottom is its deepest cut.
        equalizer.ToggleDeck(DeckSide::A);
        moveSlider("A2", 100);
        play("1k.mp3", "1k-cut.wav");
        play("60.mp3", "60-second-cut.wav");
        equalizer.ToggleDeck(DeckSide::A);
        play("1k.mp3", "1k-switched-off.wav");
        equalizer.ToggleDeck(DeckSide::A);
        moveSlider("A2", 50);
        moveSlider("A1", 100);
        play("60.mp3", "60-first-cut.wav");
        deckA.XaudioPlayer1->SetPlayerEnvironmentString(QStringLiteral("OUTPUT.CAPTURE.FILE"), QString());
    }

    const double flat1k = typicalLevel(folder.file("1k-flat.wav"));
    const double flat60 = typicalLevel(folder.file("60-flat.wav"));
    ASSERT_GT(flat1k, 1000);
    ASSERT_GT(flat60, 1000);
    const double cut1k = decibels(typicalLevel(folder.file("1k-cut.wav")), flat1k);
    const double off1k = decibels(typicalLevel(folder.file("1k-switched-off.wav")), flat1k);
    const double second60 = decibels(typicalLevel(folder.file("60-second-cut.wav")), flat60);
    const double first60 = decibels(typicalLevel(folder.file("60-first-cut.wav")), flat60);
    std::printf("1 kHz cut %.2f dB, switched off %.2f dB; 60 Hz by slider 2 %.2f dB, by slider 1 %.2f dB\n", cut1k,
                off1k, second60, first60);
    // A full cut must take the band out of a mix: at least 12 dB at its centre.
    EXPECT_LE(cut1k, -12.0);
    EXPECT_NEAR(off1k, 0.0, 0.5);
    EXPECT_NEAR(second60, 0.0, 1.0);
    EXPECT_LE(first60, -12.0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    platform::setErrorReporter(std::move(previous));
}
