// How soon commands are heard and what normal speed sounds like, measured on
// the engine's own output clock: the capture holds every frame the output
// renders, silence included, and the player is asked for that clock right
// before each command.
#include "PlayerHarness.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "support/ToneEvents.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

using namespace std::chrono_literals;
using test_support::periodBelow;
using test_support::TemporaryFolder;
using xaudio_test::Capture;
using xaudio_test::PlayerHarness;

// Sound starts where a sample exceeds this.
constexpr float kSoundThreshold = 0.01f;

// The output's frames from a command to its first audible effect may not
// exceed this (23 ms at 44.1 kHz): the ring the feeder keeps, a glide and a
// block of the null output. A ring, a decoder or a command path that holds
// changes back for longer fails.
constexpr size_t kLatestEffectFrames = 1024;

class PlayerResponseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("XAUDIO_NULL_OUTPUT", "wait", 1);
        s_folder = std::make_unique<TemporaryFolder>();
        test_support::ToneOptions tone;
        tone.seconds = 6.0;
        test_support::makeToneMp3(s_folder->file("tone6.mp3"), tone);
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    void SetUp() override { setenv("XAUDIO_CAPTURE_SILENCE", "1", 1); }
    void TearDown() override { unsetenv("XAUDIO_CAPTURE_SILENCE"); }

    static std::string file(const std::string& name) { return s_folder->file(name); }

    // Starts the capture before the output opens, so that its frames count
    // from the output's first.
    static void openWithCapture(PlayerHarness& harness, const std::string& capture) {
        control_message_send_SS(harness.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE,
                                capture.c_str());
        ASSERT_EQ(harness.open(file("tone6.mp3")), XA_SUCCESS);
    }

    static size_t clockReading(PlayerHarness& harness, size_t from) {
        const long frames = harness.clockReading(from);
        EXPECT_GE(frames, 0) << "no clock reading";
        return frames < 0 ? 0 : static_cast<size_t>(frames);
    }

    static void waitForOutputFrames(PlayerHarness& harness, size_t frames) {
        for (;;) {
            if (clockReading(harness, harness.askForClock()) >= frames)
                return;
        }
    }

    static std::unique_ptr<TemporaryFolder> s_folder;
};

std::unique_ptr<TemporaryFolder> PlayerResponseTest::s_folder;

// The first frame from `from` on where the peak of a 2 ms window stays below
// half the tone's amplitude.
size_t levelHalved(const std::vector<float>& samples, size_t from) {
    constexpr size_t kWindow = 88;
    for (size_t i = from; i + kWindow < samples.size(); ++i)
        if (std::all_of(samples.begin() + static_cast<long>(i), samples.begin() + static_cast<long>(i + kWindow),
                        [](float sample) { return std::fabs(sample) < 0.25f; }))
            return i;
    return samples.size();
}

TEST_F(PlayerResponseTest, PlayPitchAndEqualizerAreHeardWithinTheQueuedAudio) {
    PlayerHarness harness;
    openWithCapture(harness, file("response.wav"));
    waitForOutputFrames(harness, 4410);

    // Each command is bracketed by clock readings before and after it: the
    // command thread may be held up between the two on a busy machine while
    // the output runs on, so the effect is timed from the later reading.
    const size_t playAsked = harness.askForClock();
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    const size_t playFrame = clockReading(harness, playAsked);
    const size_t playTaken = clockReading(harness, harness.askForClock());
    waitForOutputFrames(harness, playFrame + 22050);

    const size_t pitchAsked = harness.askForClock();
    control_message_send_SI(harness.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH, 1500);
    const size_t pitchFrame = clockReading(harness, pitchAsked);
    const size_t pitchTaken = clockReading(harness, harness.askForClock());
    waitForOutputFrames(harness, pitchFrame + 22050);

    XA_EqualizerInfo cut{};
    std::fill(std::begin(cut.left), std::end(cut.left), static_cast<int8_t>(-80));
    std::fill(std::begin(cut.right), std::end(cut.right), static_cast<int8_t>(-80));
    const size_t equalizerAsked = harness.askForClock();
    control_message_send_P(harness.player(), XA_MSG_SET_CODEC_EQUALIZER, &cut);
    const size_t equalizerFrame = clockReading(harness, equalizerAsked);
    const size_t equalizerTaken = clockReading(harness, harness.askForClock());
    waitForOutputFrames(harness, equalizerFrame + 22050);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_STOP), XA_SUCCESS);
    harness.command(XA_MSG_COMMAND_INPUT_CLOSE);
    control_message_send_SS(harness.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE, "");
    ASSERT_EQ(harness.waitForReply(XA_MSG_SET_PLAYER_ENVIRONMENT_STRING), XA_SUCCESS);

    const Capture capture = Capture::read(file("response.wav"));
    ASSERT_GT(capture.left.size(), equalizerFrame + 22050);
    EXPECT_GE(test_support::firstSound(capture.left, 0, kSoundThreshold), playFrame)
        << "sound before Play, or the capture is off the clock";
    const size_t sound = test_support::firstSound(capture.left, playFrame, kSoundThreshold);
    EXPECT_LE(std::max(sound, playTaken) - playTaken, 256u) << "Play waits for the decoder instead of a filled ring";
    // 1 kHz has a period of 44.1 frames, 1.5 kHz one of 29.4.
    const size_t faster = periodBelow(capture.left, pitchFrame, 36.0);
    EXPECT_GT(faster, pitchFrame + 64) << "the new speed came before the audio queued ahead of it";
    EXPECT_LE(std::max(faster, pitchTaken) - pitchTaken, kLatestEffectFrames);
    // The decoder's synthesis filter carries the new band levels fully only
    // after up to 512 frames.
    const size_t cutHeard = levelHalved(capture.left, equalizerFrame);
    EXPECT_GE(cutHeard, equalizerFrame);
    EXPECT_LE(std::max(cutHeard, equalizerTaken) - equalizerTaken, kLatestEffectFrames + 512);
}

TEST_F(PlayerResponseTest, BackAtNormalSpeedTheDecodedAudioIsOutputUnchangedAndWithoutAGap) {
    unsetenv("XAUDIO_CAPTURE_SILENCE");
    // The reference: a player that never left normal speed outputs the
    // decoded frames as they are.
    PlayerHarness reference;
    openWithCapture(reference, file("reference.wav"));
    ASSERT_EQ(reference.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    PlayerHarness bent;
    openWithCapture(bent, file("bent.wav"));
    ASSERT_EQ(bent.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    waitForOutputFrames(bent, 22050);
    control_message_send_SI(bent.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH, 1080);
    waitForOutputFrames(bent, 44100);
    control_message_send_SI(bent.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH, 1000);
    ASSERT_GE(bent.waitForState(XA_PLAYER_STATE_EOS, 20s), 0);
    ASSERT_GE(reference.waitForState(XA_PLAYER_STATE_EOS, 20s), 0);
    for (PlayerHarness* harness : {&reference, &bent}) {
        control_message_send_SS(harness->player(), XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE,
                                "");
        ASSERT_EQ(harness->waitForReply(XA_MSG_SET_PLAYER_ENVIRONMENT_STRING), XA_SUCCESS);
    }

    const Capture expected = Capture::read(file("reference.wav"));
    const Capture heard = Capture::read(file("bent.wav"));
    // Well after the return to normal speed the bent player's output is the
    // decoded audio again, sample for sample: the resampler, which at any
    // fractional position would change the samples, is out of the way.
    ASSERT_GT(heard.left.size(), 4 * 44100u);
    const auto window = heard.left.begin() + 3 * 44100;
    const auto found = std::search(expected.left.begin(), expected.left.end(), window, window + 4410);
    EXPECT_NE(found, expected.left.end()) << "the output at normal speed is not the decoded audio";
    // The hand-over from the resampler neither drops nor repeats audio: a
    // 1.08 kHz tone at 0.5 moves at most 0.077 per sample, and the hand-over
    // may shift the tone by less than a sample; a lost or repeated frame
    // would step further.
    const auto [step, stepFrame] = heard.largestStepAndFrame();
    EXPECT_LT(step, 0.125) << "at frame " << stepFrame << " of " << heard.left.size()
                           << " (an underrun breaks off to silence; the hand-over shifts the tone)";
    EXPECT_NEAR(heard.frequencyHz(2.5, 4.0), 1000.0, 2.0);
}

} // namespace
