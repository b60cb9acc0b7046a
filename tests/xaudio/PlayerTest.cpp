#include "PlayerHarness.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using test_support::TemporaryFolder;
using xaudio_test::Capture;
using xaudio_test::PlayerHarness;
using xaudio_test::Received;
using xaudio_test::timecodeSeconds;
class PlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Tests run headless: the null output stands in for a device, and it
        // waits for the engine instead of underrunning, so that a busy machine
        // cannot change what is measured.
        setenv("XAUDIO_NULL_OUTPUT", "wait", 1);
        s_folder = std::make_unique<TemporaryFolder>();
        test_support::ToneOptions tone;
        tone.seconds = 10.0;
        test_support::makeToneMp3(s_folder->file("tone10.mp3"), tone);
        tone.seconds = 4.0;
        test_support::makeToneMp3(s_folder->file("tone4.mp3"), tone);
        tone.seconds = 2.0;
        test_support::makeToneMp3(s_folder->file("tone2.mp3"), tone);
        test_support::ToneOptions mono;
        mono.seconds = 2.0;
        mono.channels = 1;
        mono.sampleRateHz = 22050;
        mono.bitRateKbps = 0;
        test_support::makeToneMp3(s_folder->file("mono22vbr.mp3"), mono);
        test_support::writeFile(s_folder->file("text.mp3"), "This is a text file, not an MP3.\n");
    }
    static void TearDownTestSuite() { s_folder.reset(); }

    static std::string file(const std::string& name) { return s_folder->file(name); }

    static void capture(PlayerHarness& harness, const std::string& path) {
        const size_t from = harness.count();
        control_message_send_SS(harness.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, XA_ENV_OUTPUT_CAPTURE_FILE,
                                path.c_str());
        ASSERT_EQ(harness.waitForReply(XA_MSG_SET_PLAYER_ENVIRONMENT_STRING, 5000ms, from), XA_SUCCESS);
    }

    static void setPitch(PlayerHarness& harness, int pitch) {
        const size_t from = harness.count();
        control_message_send_SI(harness.player(), XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, XA_ENV_OUTPUT_PITCH, pitch);
        ASSERT_EQ(harness.waitForReply(XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, 5000ms, from), XA_SUCCESS);
    }

    static std::vector<double> timecodes(const std::vector<Received>& received, size_t from = 0) {
        std::vector<double> result;
        for (size_t i = from; i < received.size(); ++i) {
            if (received[i].message.code == XA_MSG_NOTIFY_INPUT_TIMECODE)
                result.push_back(timecodeSeconds(received[i].message));
        }
        return result;
    }

    // Waits until the player reports a media position of at least `seconds`
    // after notification `from`; returns the position reported.
    static double waitForTimecode(PlayerHarness& harness, double seconds, size_t from = 0) {
        const int index = harness.waitFor(
            [seconds](const XA_Message& message) {
                return message.code == XA_MSG_NOTIFY_INPUT_TIMECODE && timecodeSeconds(message) >= seconds;
            },
            10s, from);
        return index < 0 ? -1.0 : timecodeSeconds(harness.received()[static_cast<size_t>(index)].message);
    }

    static double lastTimecode(PlayerHarness& harness) {
        const std::vector<double> codes = timecodes(harness.received());
        return codes.empty() ? 0.0 : codes.back();
    }

    static std::unique_ptr<TemporaryFolder> s_folder;
};

std::unique_ptr<TemporaryFolder> PlayerTest::s_folder;

TEST_F(PlayerTest, TwoPlayersAtDifferentPitchesEndOnTimeAndSoundAtTheirSpeed) {
    PlayerHarness normal;
    PlayerHarness faster;
    ASSERT_EQ(normal.open(file("tone10.mp3")), XA_SUCCESS);
    ASSERT_EQ(faster.open(file("tone10.mp3")), XA_SUCCESS);
    capture(normal, file("normal.wav"));
    capture(faster, file("faster.wav"));
    setPitch(faster, 1080);

    control_message_send_N(normal.player(), XA_MSG_COMMAND_PLAY);
    control_message_send_N(faster.player(), XA_MSG_COMMAND_PLAY);
    const int fasterEnd = faster.waitForState(XA_PLAYER_STATE_EOS, 20s);
    const int normalEnd = normal.waitForState(XA_PLAYER_STATE_EOS, 20s);
    ASSERT_GE(fasterEnd, 0);
    ASSERT_GE(normalEnd, 0);
    const std::vector<Received> normalLog = normal.received();
    const std::vector<Received> fasterLog = faster.received();

    int duration = -1;
    bool parameters = false;
    for (const Received& received : normalLog) {
        if (received.message.code == XA_MSG_NOTIFY_STREAM_DURATION)
            duration = static_cast<int>(received.message.data.duration);
        if (received.message.code == XA_MSG_NOTIFY_STREAM_PARAMETERS) {
            parameters = true;
            EXPECT_EQ(received.message.data.stream_parameters.frequency, 44100u);
            EXPECT_EQ(received.message.data.stream_parameters.bitrate, 192);
            EXPECT_EQ(received.message.data.stream_parameters.nb_channels, 2);
        }
    }
    EXPECT_EQ(duration, 10);
    EXPECT_TRUE(parameters);

    // Timecodes follow the media position: they only grow, report every
    // whole second and end at the stream's length.
    const std::vector<double> codes = timecodes(normalLog);
    ASSERT_GT(codes.size(), 50u);
    for (size_t i = 1; i < codes.size(); ++i)
        ASSERT_GE(codes[i], codes[i - 1]);
    for (int second = 0; second < 10; ++second) {
        EXPECT_TRUE(std::any_of(codes.begin(), codes.end(), [&](double code) { return std::floor(code) == second; }))
            << second;
    }
    EXPECT_NEAR(codes.back(), 10.0, 0.05);
    EXPECT_NEAR(timecodes(fasterLog).back(), 10.0, 0.05);

    const Capture normalCapture = Capture::read(file("normal.wav"));
    const Capture fasterCapture = Capture::read(file("faster.wav"));
    // The output's own clock: every frame rendered while playing is captured.
    EXPECT_NEAR(normalCapture.seconds(), 10.0, 0.05);
    EXPECT_NEAR(fasterCapture.seconds(), 10.0 / 1.08, 0.05);
    EXPECT_NEAR(normalCapture.frequencyHz(1.0, 8.0), 1000.0, 2.0);
    EXPECT_NEAR(fasterCapture.frequencyHz(1.0, 8.0), 1080.0, 2.0);
}

TEST_F(PlayerTest, VolumeLevelZeroIsSilentAndChangesRampWithoutClicks) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(file("tone4.mp3")), XA_SUCCESS);
    capture(harness, file("volume.wav"));
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(waitForTimecode(harness, 1.0), 0);
    size_t from = harness.count();
    control_message_send_III(harness.player(), XA_MSG_SET_OUTPUT_VOLUME, -1, 0, -1);
    ASSERT_EQ(harness.waitForReply(XA_MSG_SET_OUTPUT_VOLUME, 5000ms, from), XA_SUCCESS);
    // The silence lasts at least 0.6 s of the stream.
    ASSERT_GE(waitForTimecode(harness, lastTimecode(harness) + 0.6, harness.count()), 0);
    from = harness.count();
    control_message_send_III(harness.player(), XA_MSG_SET_OUTPUT_VOLUME, -1, 80, -1);
    ASSERT_EQ(harness.waitForReply(XA_MSG_SET_OUTPUT_VOLUME, 5000ms, from), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s), 0);

    const Capture capture = Capture::read(file("volume.wav"));
    const double fullRms = capture.typicalRms(0.3, 0.9);
    EXPECT_NEAR(fullRms, 0.354, 0.02);
    // The ramp from full level to silence lasts well under 50 ms.
    const auto quiet = [&](double t) { return capture.rms(t, t + 0.002) == 0.0; };
    double firstSilent = 0;
    for (double t = 0.9; t < capture.seconds() && firstSilent == 0; t += 0.001) {
        if (quiet(t))
            firstSilent = t;
    }
    ASSERT_GT(firstSilent, 0);
    double lastLoud = 0;
    for (double t = 0.9; t < firstSilent; t += 0.001) {
        if (capture.rms(t, t + 0.002) > 0.9 * fullRms)
            lastLoud = t;
    }
    EXPECT_LT(firstSilent - lastLoud, 0.05);
    EXPECT_EQ(capture.rms(firstSilent, firstSilent + 0.5), 0.0);
    double lastSilent = firstSilent;
    while (lastSilent < capture.seconds() && quiet(lastSilent + 0.001))
        lastSilent += 0.001;
    ASSERT_LT(lastSilent + 0.4, capture.seconds());
    // Level 80 is -10 dB.
    EXPECT_NEAR(xaudio_test::decibels(capture.typicalRms(lastSilent + 0.05, capture.seconds() - 0.05) / fullRms), -10.0,
                0.5);
    // A 1 kHz sine at 0.5 moves at most 0.071 per sample; a click would jump.
    EXPECT_LT(capture.largestStep(), 0.09);
}

TEST_F(PlayerTest, PitchGlidesAcrossTheWholeRangeWithoutClicks) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(file("tone4.mp3")), XA_SUCCESS);
    capture(harness, file("glide.wav"));
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(waitForTimecode(harness, 0.6), 0);
    setPitch(harness, 360);
    // 0.4 s of the stream at 0.36 is 1.1 s of output.
    ASSERT_GE(waitForTimecode(harness, lastTimecode(harness) + 0.4, harness.count()), 0);
    setPitch(harness, 1640);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s), 0);
    const Capture capture = Capture::read(file("glide.wav"));
    EXPECT_NEAR(capture.frequencyHz(0.1, 0.45), 1000.0, 2.0);
    const double slow = capture.firstTimeAt(360.0, 2.0, 0.45);
    ASSERT_GT(slow, 0);
    EXPECT_NEAR(capture.frequencyHz(slow, slow + 0.5), 360.0, 2.0);
    const double fast = capture.firstTimeAt(1640.0, 3.0, slow);
    ASSERT_GT(fast, slow + 0.5);
    EXPECT_NEAR(capture.frequencyHz(fast, fast + 0.4), 1640.0, 3.0);
    // 1.64 kHz at 0.5 moves at most 0.117 per sample; a jump would be larger,
    // and so would a track that stops dead at its end.
    EXPECT_LT(capture.largestStep(), 0.125);
}

TEST_F(PlayerTest, BalanceAtZeroSilencesTheRightChannel) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(file("tone2.mp3")), XA_SUCCESS);
    capture(harness, file("balance.wav"));
    control_message_send_III(harness.player(), XA_MSG_SET_OUTPUT_VOLUME, -1, -1, 0);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s), 0);
    const Capture capture = Capture::read(file("balance.wav"));
    EXPECT_NEAR(capture.typicalRms(0.2, 1.8), 0.354, 0.02);
    double right = 0;
    for (float sample : capture.right)
        right = std::max(right, static_cast<double>(std::fabs(sample)));
    EXPECT_EQ(right, 0.0);
}

TEST_F(PlayerTest, EqualizerCutLowersItsBandAndANullTableRestoresIt) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(file("tone2.mp3")), XA_SUCCESS);
    const auto playInto = [&](const std::string& name) {
        capture(harness, file(name));
        const size_t from = harness.count();
        ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
        ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s, from), 0);
    };
    const auto setEqualizer = [&](const XA_EqualizerInfo* table) {
        const size_t from = harness.count();
        control_message_send_P(harness.player(), XA_MSG_SET_CODEC_EQUALIZER, table);
        ASSERT_EQ(harness.waitForReply(XA_MSG_SET_CODEC_EQUALIZER, 5000ms, from), XA_SUCCESS);
    };
    playInto("flat.wav");
    // 1 kHz lies in band 1 (689 to 1378 Hz at 44.1 kHz); -80 is -20 dB.
    XA_EqualizerInfo cut{};
    cut.left[1] = -80;
    cut.right[1] = -80;
    setEqualizer(&cut);
    playInto("cut.wav");
    XA_EqualizerInfo elsewhere{};
    elsewhere.left[20] = -80;
    elsewhere.right[20] = -80;
    setEqualizer(&elsewhere);
    playInto("elsewhere.wav");
    setEqualizer(nullptr);
    playInto("restored.wav");

    const auto level = [&](const char* name) { return Capture::read(file(name)).typicalRms(0.3, 1.7); };
    const double flat = level("flat.wav");
    EXPECT_NEAR(xaudio_test::decibels(level("cut.wav") / flat), -20.0, 1.5);
    EXPECT_NEAR(xaudio_test::decibels(level("elsewhere.wav") / flat), 0.0, 0.5);
    EXPECT_NEAR(xaudio_test::decibels(level("restored.wav") / flat), 0.0, 0.2);

    const size_t from = harness.count();
    setEqualizer(&cut);
    control_message_send_N(harness.player(), XA_MSG_GET_CODEC_EQUALIZER);
    const int reply = harness.waitFor(
        [](const XA_Message& message) { return message.code == XA_MSG_NOTIFY_CODEC_EQUALIZER; }, 5000ms, from);
    ASSERT_GE(reply, 0);
    EXPECT_EQ(harness.received()[static_cast<size_t>(reply)].message.data.equalizer.left[1], -80);
}

TEST_F(PlayerTest, SeekingToTheMiddleReportsATimecodeNearTheMiddle) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(file("tone4.mp3")), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    std::this_thread::sleep_for(300ms);
    const size_t from = harness.count();
    control_message_send_II(harness.player(), XA_MSG_COMMAND_INPUT_SEEK, 50, 100);
    ASSERT_EQ(harness.waitForReply(XA_MSG_COMMAND_INPUT_SEEK, 5000ms, from), XA_SUCCESS);
    const int position = harness.waitFor(
        [](const XA_Message& message) { return message.code == XA_MSG_NOTIFY_INPUT_POSITION; }, 1000ms, from);
    ASSERT_GE(position, 0);
    EXPECT_EQ(harness.received()[static_cast<size_t>(position)].message.data.position.offset, 50u);
    ASSERT_GE(waitForTimecode(harness, 2.3, from), 0);
    const std::vector<double> codes = timecodes(harness.received(), from);
    EXPECT_NEAR(codes.front(), 2.0, 0.05);
    // Nothing from before the seek is heard after it.
    EXPECT_GE(*std::min_element(codes.begin(), codes.end()), 1.99);
}

TEST_F(PlayerTest, PauseResumesFromTheSamePointAndStopRewinds) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(file("tone4.mp3")), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(waitForTimecode(harness, 0.8), 0);
    size_t from = harness.count();
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PAUSE), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_PAUSED, 1000ms, from), 0);
    const std::vector<double> beforePause = timecodes(harness.received());
    ASSERT_FALSE(beforePause.empty());
    std::this_thread::sleep_for(600ms);
    const size_t paused = harness.count();
    EXPECT_TRUE(timecodes(harness.received(), from).size() <= 1) << "time went on while paused";

    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(waitForTimecode(harness, beforePause.back() + 0.3, paused), 0);
    const std::vector<double> afterResume = timecodes(harness.received(), paused);
    EXPECT_NEAR(afterResume.front(), beforePause.back(), 0.15);

    from = harness.count();
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_STOP), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_STOPPED, 1000ms, from), 0);
    const std::vector<double> afterStop = timecodes(harness.received(), from);
    ASSERT_FALSE(afterStop.empty());
    EXPECT_EQ(afterStop.back(), 0.0);

    from = harness.count();
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(waitForTimecode(harness, 0.4, from), 0);
    const std::vector<double> afterRestart = timecodes(harness.received(), from);
    EXPECT_LT(afterRestart.front(), 0.2);
}

TEST_F(PlayerTest, BadInputsAreRefusedAndTheLoadedFileStays) {
    PlayerHarness harness;
    EXPECT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_ERROR_NO_INPUT);
    ASSERT_EQ(harness.open(file("tone2.mp3")), XA_SUCCESS);
    EXPECT_EQ(harness.open(file("missing.mp3")), XA_ERROR_OPEN_FAILED);
    EXPECT_EQ(harness.open(file("text.mp3")), XA_ERROR_INVALID_FORMAT);
    EXPECT_STRNE(xaudio_error_string(XA_ERROR_INVALID_FORMAT), xaudio_error_string(XA_ERROR_OPEN_FAILED));
    EXPECT_EQ(harness.open(s_folder->path()), XA_ERROR_OPEN_FAILED);
    // The file opened before the failures still plays to its end.
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    EXPECT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s), 0);
}

TEST_F(PlayerTest, TruncatedAndDamagedFilesPlayWhatCanBePlayed) {
    const std::string whole = test_support::readFile(file("tone2.mp3"));
    test_support::writeFile(file("truncated.mp3"), whole.substr(0, whole.size() / 2 + 101));
    std::string damaged = whole;
    for (size_t i = damaged.size() / 3; i < damaged.size() / 3 + 3000; ++i)
        damaged[i] = static_cast<char>((i * 7919) & 0xff);
    test_support::writeFile(file("damaged.mp3"), damaged);

    for (const char* name : {"truncated.mp3", "damaged.mp3"}) {
        PlayerHarness harness;
        ASSERT_EQ(harness.open(file(name)), XA_SUCCESS) << name;
        capture(harness, file(std::string(name) + ".wav"));
        ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS) << name;
        ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s), 0) << name;
        const Capture capture = Capture::read(file(std::string(name) + ".wav"));
        EXPECT_GT(capture.seconds(), 0.8) << name;
        EXPECT_NEAR(capture.frequencyHz(0.1, 0.6), 1000.0, 2.0) << name;
    }
}

TEST_F(PlayerTest, MonoVbrStreamIsReportedAndResampledToTheOutput) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(file("mono22vbr.mp3")), XA_SUCCESS);
    const std::vector<Received> log = harness.received();
    const auto parameters = std::find_if(log.begin(), log.end(), [](const Received& received) {
        return received.message.code == XA_MSG_NOTIFY_STREAM_PARAMETERS;
    });
    ASSERT_NE(parameters, log.end());
    EXPECT_EQ(parameters->message.data.stream_parameters.frequency, 22050u);
    EXPECT_EQ(parameters->message.data.stream_parameters.nb_channels, 1);
    EXPECT_GT(parameters->message.data.stream_parameters.bitrate, 8);
    capture(harness, file("mono.wav"));
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_EOS, 10s), 0);
    const Capture capture = Capture::read(file("mono.wav"));
    EXPECT_EQ(capture.sampleRateHz, 44100);
    EXPECT_NEAR(capture.seconds(), 2.0, 0.1);
    EXPECT_NEAR(capture.frequencyHz(0.2, 1.8), 1000.0, 2.0);
    EXPECT_NEAR(capture.typicalRms(0.2, 1.8), 0.354, 0.03);
}

TEST_F(PlayerTest, CommandsAreAnsweredAsTheDecksExpect) {
    PlayerHarness harness;
    ASSERT_GE(harness.waitFor([](const XA_Message& m) { return m.code == XA_MSG_NOTIFY_READY; }, 5000ms), 0);
    size_t from = harness.count();
    control_message_send_I(harness.player(), XA_MSG_COMMAND_PING, 4242);
    const int pong = harness.waitFor([](const XA_Message& m) { return m.code == XA_MSG_NOTIFY_PONG; }, 5000ms, from);
    ASSERT_GE(pong, 0);
    EXPECT_EQ(harness.received()[static_cast<size_t>(pong)].message.data.pong.tag, 4242u);

    const auto reply = [&](const std::function<void()>& send, int code) {
        const size_t before = harness.count();
        send();
        return harness.waitForReply(code, 5000ms, before);
    };
    XA_Player* player = harness.player();
    EXPECT_EQ(reply([&] { control_message_send_S(player, 27, XA_DSOUND_OUTPUT_MODULE); }, 27), XA_SUCCESS);
    EXPECT_EQ(reply([&] { control_message_send_S(player, 27, "xa_wave_output.dll"); }, 27), XA_ERROR_NO_SUCH_MODULE);
    EXPECT_EQ(
        reply([&] { control_message_send_S(player, XA_MSG_SET_OUTPUT_NAME, "/dev/dsound/0"); }, XA_MSG_SET_OUTPUT_NAME),
        XA_SUCCESS);
    EXPECT_EQ(
        reply([&] { control_message_send_S(player, XA_MSG_SET_OUTPUT_NAME, "speakers"); }, XA_MSG_SET_OUTPUT_NAME),
        XA_ERROR_NO_SUCH_DEVICE);
    EXPECT_EQ(reply([&] { control_message_send_I(player, XA_MSG_SET_INPUT_TIMECODE_GRANULARITY, 1); },
                    XA_MSG_SET_INPUT_TIMECODE_GRANULARITY),
              XA_SUCCESS);
    EXPECT_EQ(reply([&] { control_message_send_N(player, 200); }, 200), XA_ERROR_UNKNOWN_COMMAND);
    EXPECT_EQ(reply([&] { control_message_send_SI(player, XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, "MY.KEY", 7); },
                    XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER),
              XA_SUCCESS);
    from = harness.count();
    EXPECT_EQ(reply([&] { control_message_send_S(player, XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER, "MY.KEY"); },
                    XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER),
              XA_SUCCESS);
    const int value = harness.waitFor(
        [](const XA_Message& m) { return m.code == XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_INTEGER; }, 5000ms, from);
    ASSERT_GE(value, 0);
    EXPECT_EQ(harness.received()[static_cast<size_t>(value)].message.data.environment_integer.value, 7);
    EXPECT_EQ(reply([&] { control_message_send_S(player, XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER, "NO.SUCH"); },
                    XA_MSG_GET_PLAYER_ENVIRONMENT_INTEGER),
              XA_ERROR_NO_SUCH_ENVIRONMENT);
    from = harness.count();
    EXPECT_EQ(reply([&] { control_message_send_III(player, XA_MSG_SET_OUTPUT_VOLUME, -1, 80, -1); },
                    XA_MSG_SET_OUTPUT_VOLUME),
              XA_SUCCESS);
    const int volume =
        harness.waitFor([](const XA_Message& m) { return m.code == XA_MSG_NOTIFY_OUTPUT_VOLUME; }, 5000ms, from);
    ASSERT_GE(volume, 0);
    EXPECT_EQ(harness.received()[static_cast<size_t>(volume)].message.data.volume.pcm_level, 80);
    EXPECT_EQ(harness.received()[static_cast<size_t>(volume)].message.data.volume.master_level, 100);

    EXPECT_EQ(player_set_priority(player, 4), XA_SUCCESS);
    EXPECT_EQ(player_get_priority(player), 4);
    EXPECT_EQ(player_set_priority(player, 11), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(xaudio_get_version(XA_API_ID_ASYNC) >> 8, 0x0308u);

    XA_Message message{};
    EXPECT_EQ(control_win32_params_to_message(player, &message, 0x1234, 0, 0), XA_FAILURE);
    EXPECT_EQ(player_new(nullptr, nullptr), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(control_message_send_N(nullptr, XA_MSG_COMMAND_PLAY), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_EQ(control_message_send_S(player, XA_MSG_COMMAND_INPUT_OPEN, nullptr), XA_ERROR_INVALID_PARAMETERS);
    EXPECT_GE(xaudio_output_device_count(), 0);
}

TEST_F(PlayerTest, CaptureFolderReceivesOneFilePerPlayer) {
    TemporaryFolder folder;
    setenv("XAUDIO_CAPTURE_DIR", folder.path().c_str(), 1);
    {
        PlayerHarness harness;
        ASSERT_EQ(harness.open(file("tone2.mp3")), XA_SUCCESS);
        ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
        ASSERT_GE(waitForTimecode(harness, 0.5), 0);
    }
    unsetenv("XAUDIO_CAPTURE_DIR");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename().string());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind("player-", 0), 0u);
    const Capture capture = Capture::read(folder.file(names[0]));
    EXPECT_GE(capture.seconds(), 0.45);
    EXPECT_NEAR(capture.frequencyHz(0.1, 0.4), 1000.0, 2.0);
}

} // namespace
