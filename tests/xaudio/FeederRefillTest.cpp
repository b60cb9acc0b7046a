#include "AudioStream.h"
#include "Feeder.h"
#include "OutputRenderer.h"
#include "PlayerHarness.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using xaudio::Feeder;
using xaudio::OutputRenderer;

constexpr size_t kRequestFrames = 294; // what the sound server asks for every 6.7 ms
constexpr size_t kRefilledFrames = Feeder::kFillTargetFrames - Feeder::kMinimumRoomFrames;

// A stream made up as it is decoded, in frames as long as an MP3 frame. With
// frameNumber every sample is its frame's number, so a gap, a repeat or a
// frame out of order shows in what is rendered.
class SyntheticStream : public xaudio::AudioStream {
public:
    using Sample = std::function<float(int64_t frame)>;

    static float frameNumber(int64_t frame) { return static_cast<float>(frame); }

    SyntheticStream(int64_t lengthFrames, Sample sample)
        : AudioStream(xaudio::SampleFormat::FloatStereo), m_length(lengthFrames), m_sample(std::move(sample)),
          m_block(kMaxBlockFrames * 2) {}

    int decodeFrame(const void** pcm, size_t* frames) override {
        if (m_position >= m_length)
            return XA_ERROR_END_OF_STREAM;
        *frames = static_cast<size_t>(std::min<int64_t>(kMaxBlockFrames, m_length - m_position));
        for (size_t i = 0; i < *frames; ++i)
            m_block[2 * i] = m_block[2 * i + 1] = m_sample(m_position + static_cast<int64_t>(i));
        m_position += static_cast<int64_t>(*frames);
        *pcm = m_block.data();
        return XA_SUCCESS;
    }
    int seekToFrame(int64_t frame) override {
        m_position = frame;
        return XA_SUCCESS;
    }
    int64_t positionFrames() const override { return m_position; }
    void setEqualizer(const int8_t*, const int8_t*) override {}
    int sampleRateHz() const override { return 44100; }
    int channels() const override { return 2; }
    int bitRateKbps() const override { return 0; }
    int64_t lengthFrames() const override { return m_length; }

private:
    int64_t m_length;
    int64_t m_position = 0;
    Sample m_sample;
    std::vector<float> m_block;
};

// A player's renderer and feeder on a synthetic stream, with the output's
// thread played by the test: it renders a request and refills after it, as
// the sound server's connection thread does.
class FeederRig {
public:
    explicit FeederRig(SyntheticStream::Sample sample = SyntheticStream::frameNumber)
        : m_stream(3 * 44100, std::move(sample)) {
        m_renderer.setSampleRate(44100);
        m_renderer.setOutputRefills(true);
        auto lock = m_feeder.lock();
        m_feeder.setOutputRate(44100);
        m_feeder.setStream(&m_stream);
        m_feeder.setRunning(true);
    }
    ~FeederRig() {
        auto lock = m_feeder.lock();
        m_feeder.setRunning(false);
        m_feeder.setStream(nullptr);
    }

    size_t queued() { return m_renderer.ring().readableFrames(); }

    // As the player starts playing: the feeder sleeps while its ring is full
    // and nothing plays.
    void play() {
        m_renderer.setPlaying(true);
        auto lock = m_feeder.lock();
        m_feeder.wakeUp();
    }

    // True once the ring is refilled, or holds the stream's end.
    bool refilled() { return queued() >= kRefilledFrames || m_renderer.inputEnded(); }
    bool waitUntilRefilled() {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!refilled() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        return refilled();
    }

    void request(std::vector<float>& rendered) {
        std::vector<float> block(kRequestFrames * 2);
        m_renderer.render(block.data(), kRequestFrames);
        m_renderer.refillAfterRender();
        rendered.insert(rendered.end(), block.begin(), block.end());
    }

    SyntheticStream m_stream;
    OutputRenderer m_renderer;
    Feeder m_feeder{m_renderer};
};

class FeederRefillTest : public ::testing::Test, protected FeederRig {};

TEST_F(FeederRefillTest, TheOutputRefillsTheRingItselfAndEveryFrameIsHeardOnceInOrder) {
    ASSERT_TRUE(waitUntilRefilled()) << "the feeder's thread did not fill the ring before Play";
    play();
    std::vector<float> rendered;
    int refilledAtOnce = 0;
    int requests = 0;
    while (!m_renderer.inputEnded()) {
        request(rendered);
        ++requests;
        if (refilled()) {
            ++refilledAtOnce;
        } else {
            // The feeder's own thread held the lock and finishes the refill;
            // a device asks no faster than it plays.
            ASSERT_TRUE(waitUntilRefilled()) << "the ring was left unfilled after request " << requests;
        }
    }
    EXPECT_EQ(m_renderer.underruns(), 0u);
    // Only when the feeder's thread happens to hold the lock does the
    // output leave the refill to it.
    EXPECT_GT(refilledAtOnce, requests * 9 / 10);
    // Past the fade-in, every frame is its own number, on both channels.
    for (size_t frame = OutputRenderer::kEndFadeFrames; frame < rendered.size() / 2; ++frame) {
        ASSERT_EQ(rendered[2 * frame], static_cast<float>(frame)) << frame;
        ASSERT_EQ(rendered[2 * frame + 1], static_cast<float>(frame)) << frame;
    }
}

TEST_F(FeederRefillTest, TheOutputNeverWaitsForTheLockAndTheFeedersThreadRefillsInstead) {
    ASSERT_TRUE(waitUntilRefilled());
    play();
    std::vector<float> rendered;
    // The command thread seeks or opens with the lock held.
    auto lock = m_feeder.lock();
    auto output = std::async(std::launch::async, [&] {
        for (int i = 0; i < 2; ++i)
            request(rendered);
    });
    const bool returned = output.wait_for(10s) == std::future_status::ready;
    const size_t left = queued();
    lock.unlock();
    output.wait();
    EXPECT_TRUE(returned) << "the output's thread waits for the lock";
    EXPECT_LT(left, kRefilledFrames - kRequestFrames);
    EXPECT_TRUE(waitUntilRefilled()) << "nobody refilled the ring once the lock was free";
    EXPECT_EQ(m_renderer.underruns(), 0u);
}

// Every sample of a 1 kHz tone at 0.5.
float tone(int64_t frame) {
    constexpr double kTwoPi = 6.283185307179586;
    return static_cast<float>(0.5 * std::sin(kTwoPi * 1000.0 * static_cast<double>(frame) / 44100.0));
}

// What was rendered past the fade-in, as a capture to measure.
xaudio_test::Capture pastFadeIn(const std::vector<float>& rendered) {
    xaudio_test::Capture capture;
    capture.sampleRateHz = 44100;
    for (size_t frame = OutputRenderer::kEndFadeFrames; frame < rendered.size() / 2; ++frame) {
        capture.left.push_back(rendered[2 * frame]);
        capture.right.push_back(rendered[2 * frame + 1]);
    }
    return capture;
}

TEST(FeederGlideTest, BackAtNormalSpeedTheDecodedAudioFollowsTheBentAudioWithoutAJump) {
    std::vector<float> decoded(3 * 44100);
    for (size_t frame = 0; frame < decoded.size(); ++frame)
        decoded[frame] = tone(static_cast<int64_t>(frame));
    // The return to normal speed lands at a different place in the decoded
    // frame each time, also right before a frame's end, where the glide back
    // runs out of decoded audio. Given the same requests the feeder does the
    // same, so each case gives the same result every time.
    for (size_t returnRequest = 90; returnRequest < 110; ++returnRequest) {
        SCOPED_TRACE("pitch back to 1000 before request " + std::to_string(returnRequest));
        FeederRig rig(tone);
        ASSERT_TRUE(rig.waitUntilRefilled());
        rig.play();
        std::vector<float> rendered;
        for (size_t request = 0; request < 300; ++request) {
            if (request == 30)
                rig.m_feeder.setPitch(1080);
            if (request == returnRequest)
                rig.m_feeder.setPitch(1000);
            rig.request(rendered);
            ASSERT_TRUE(rig.waitUntilRefilled());
        }
        ASSERT_EQ(rig.m_renderer.underruns(), 0u);
        // A 1.08 kHz tone at 0.5 moves at most 0.0769 per sample. A dropped or
        // repeated stretch, audio out of line with the resampler's, or a
        // resampler that starts the bend looking back into silence steps
        // further.
        const xaudio_test::Capture heard = pastFadeIn(rendered);
        const auto [step, stepFrame] = heard.largestStepAndFrame();
        EXPECT_LT(step, 0.08) << "at frame " << stepFrame + OutputRenderer::kEndFadeFrames;
        // Well after the return the resampler is out of the way and the
        // decoded samples are output as they are.
        const auto tail = heard.left.end() - 4410;
        EXPECT_NE(std::search(decoded.begin(), decoded.end(), tail, heard.left.end()), decoded.end())
            << "the output at normal speed is not the decoded audio";
    }
}

} // namespace
