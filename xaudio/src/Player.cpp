#include "Player.h"

#include "OpenAudioStream.h"
#include "VolumeLaw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <pthread.h>

namespace xaudio {
namespace {

using namespace std::chrono_literals;

// While playing, the command thread wakes this often to post the position.
constexpr auto kTimecodeInterval = 50ms;
// Timecodes are not posted closer than this (commands in between wake the
// thread too), except that every change of the whole second is reported.
constexpr auto kMinimumTimecodeSpacing = 45ms;
// While a capture file takes the output's audio, it is handed on this often;
// a player that stopped playing looks this often whether its output has
// faded out.
constexpr auto kTapInterval = 20ms;
// A feedback handler's audio is handed over when the frames of its next
// event should be in the tap, this much later: the output renders in blocks
// (one sound-server request, about 7 ms), so that each hand-over carries one
// event and a spectrum display's frames come evenly. Waking at a fixed
// interval instead, four events came in five hand-overs at 40 a second.
constexpr auto kEventBlockAllowance = 8ms;
constexpr auto kUnderrunReportInterval = 1s;
// An output idle this long is suspended until the next Play; a DJ cueing
// with Pause and Play within it does not wait for the device to restart.
constexpr auto kSuspendDelay = 2s;
constexpr auto kFadeTimeout = 100ms;
constexpr auto kFlushTimeout = 250ms;
constexpr auto kPrefillTimeout = 300ms;
// All the feeder keeps: an output may take several blocks at once.
constexpr size_t kPrefillFrames = Feeder::kFillTargetFrames - Feeder::kMinimumRoomFrames;
constexpr size_t kTapChunkFrames = 4096;

std::atomic<int> g_playerCount{0};

template <typename Condition> bool waitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace

Player::Player(const XA_NotificationTarget* target)
    : m_feeder(m_renderer), m_tapBuffer(kTapChunkFrames * 2), m_outputName(std::string(XA_DSOUND_DEVICE_PREFIX) + "0") {
    if (target != nullptr)
        m_target = *target;
    m_nullMode = nullOutputMode();
    const int number = ++g_playerCount;
    if (const char* folder = std::getenv("XAUDIO_CAPTURE_DIR"); folder != nullptr && folder[0] != '\0')
        m_capturePath = std::string(folder) + "/player-" + std::to_string(number) + ".wav";
    if (const char* silence = std::getenv("XAUDIO_CAPTURE_SILENCE"); silence != nullptr && silence[0] == '1') {
        m_captureSilence = true;
        m_renderer.setTappingSilence(true);
    }
    updateTapping();
    applyGains();
    m_thread = std::thread([this] { run(); });
}

Player::~Player() {
    m_commands.close();
    m_thread.join();
    // A handler still running ends on the deleting thread: its window
    // usually belongs to that thread, which is now waiting here and could
    // not serve a call from the command thread.
    m_feedback.stop();
}

int Player::setPriority(int priority) {
    if (priority < 0 || priority > 10)
        return XA_ERROR_INVALID_PARAMETERS;
    m_priority.store(priority, std::memory_order_relaxed);
    // 4 is the normal priority; each step is two nice levels. Raising the
    // priority needs privileges the process may lack; that is not an error.
    m_feeder.setNiceLevel(std::clamp((4 - priority) * 2, -20, 19));
    return XA_SUCCESS;
}

void Player::run() {
    pthread_setname_np(pthread_self(), "xaudio player");
    postCode(XA_MSG_NOTIFY_READY);
    while (!m_commands.closed()) {
        // Only playback needs watching; an idle player sleeps until the next
        // command, once the output has faded and its tap is drained.
        const bool idle = m_state != State::Playing && (!m_output || m_renderer.silent()) &&
                          m_renderer.tap().readableFrames() == 0 && !(m_captureSilence && m_output);
        std::optional<Command> command;
        if (!idle) {
            m_idleSince.reset();
            command = m_commands.pop(monitorInterval());
        } else if (m_output && !m_output->suspended()) {
            // Commands that play nothing (a volume, a query) do not put the
            // suspension off.
            const auto now = std::chrono::steady_clock::now();
            if (!m_idleSince)
                m_idleSince = now;
            const auto due = *m_idleSince + kSuspendDelay;
            if (now >= due)
                m_output->suspend();
            else
                command = m_commands.pop(std::chrono::ceil<std::chrono::milliseconds>(due - now));
        } else {
            m_idleSince.reset();
            command = m_commands.pop();
        }
        if (command)
            execute(*command);
        monitor();
    }
    fadeOut();
    {
        auto lock = m_feeder.lock();
        m_feeder.setRunning(false);
        m_feeder.setStream(nullptr);
    }
    m_output.reset();
    drainTap();
    m_capture.close();
    postCode(XA_MSG_NOTIFY_EXITED);
}

void Player::execute(const Command& command) {
    int status = XA_FAILURE;
    try {
        status = dispatch(command);
    } catch (const std::bad_alloc&) {
        status = XA_ERROR_OUT_OF_MEMORY;
    } catch (...) {
        status = XA_FAILURE;
    }
    XA_Message message{};
    if (status == XA_SUCCESS) {
        message.code = XA_MSG_NOTIFY_ACK;
        message.data.ack.command = static_cast<uint8_t>(command.code);
    } else {
        message.code = XA_MSG_NOTIFY_NACK;
        message.data.nack.command = static_cast<uint8_t>(command.code);
        message.data.nack.code = static_cast<int16_t>(status);
    }
    post(message);
}

// ------------------------------------------------------------ transport

int Player::inputOpen(const std::string& path) {
    EqualizerLevels equalizer;
    if (m_equalizer)
        equalizer = {m_equalizer->left, m_equalizer->right};
    int status = XA_FAILURE;
    std::unique_ptr<AudioStream> stream = openAudioStream(path, SampleFormat::FloatStereo, equalizer, &status);
    if (!stream)
        return status;
    // Opening a file stops the old one silently: the deck shows the new
    // file as loaded, and a "stopped" report arriving later would undo that.
    fadeOut();
    {
        auto lock = m_feeder.lock();
        m_feeder.setRunning(false);
        flushRing();
        m_feeder.setStream(stream.get());
        m_stream = std::move(stream);
    }
    // A sound device can take a second or more to start pulling audio; it
    // starts now, and the ring fills, so that Play is heard at once. A
    // failure is told by Play.
    ensureOutput(Report::No);
    {
        auto lock = m_feeder.lock();
        m_feeder.setRunning(true);
    }
    m_state = State::Stopped;
    m_inputName = path;
    postName(XA_MSG_NOTIFY_INPUT_NAME, m_inputName);
    postStreamInfo();
    m_lastTimecodeHundredths = -1;
    m_lastOffset = -1;
    postPosition(0, true);
    return XA_SUCCESS;
}

int Player::inputClose() {
    if (!m_stream)
        return XA_SUCCESS;
    fadeOut();
    {
        auto lock = m_feeder.lock();
        m_feeder.setRunning(false);
        flushRing();
        m_feeder.setStream(nullptr);
        m_stream.reset();
    }
    m_inputName.clear();
    const bool wasStopped = m_state == State::Stopped;
    m_state = State::Stopped;
    if (!wasStopped)
        postState();
    return XA_SUCCESS;
}

int Player::play() {
    if (!m_stream)
        return XA_ERROR_NO_INPUT;
    if (m_state != State::Playing) {
        if (m_state == State::EndOfStream)
            reposition(0);
        const int rateBefore = m_output ? m_output->sampleRateHz() : 0;
        if (!ensureOutput(Report::Yes))
            return XA_ERROR_OUTPUT_FAILED;
        {
            auto lock = m_feeder.lock();
            m_feeder.setRunning(true);
        }
        // What the ring holds was made for another rate, or for no output.
        if (m_output->sampleRateHz() != rateBefore)
            restartFrom(heardFrame(), false);
        waitForPrefill();
        startRendering();
        m_state = State::Playing;
    }
    postState();
    return XA_SUCCESS;
}

int Player::pause() {
    if (!m_stream)
        return XA_ERROR_NO_INPUT;
    if (m_state == State::Playing) {
        // The feeder keeps the ring full, so resuming starts at once from
        // the same point.
        m_renderer.setPlaying(false);
        m_state = State::Paused;
        postState();
        return XA_SUCCESS;
    }
    // Not playing (already paused, or the stream just ended while the pause
    // was on its way): nothing to do, and nothing the user should be told.
    return XA_SUCCESS;
}

int Player::stop() {
    if (m_stream) {
        fadeOut();
        reposition(0);
    }
    m_state = State::Stopped;
    postState();
    if (m_stream)
        postPosition(0, true);
    return XA_SUCCESS;
}

int Player::seek(int offset, int range) {
    if (range <= 0)
        return XA_ERROR_INVALID_PARAMETERS;
    if (!m_stream)
        return XA_ERROR_NO_INPUT;
    offset = std::clamp(offset, 0, range);
    const int64_t frame = m_stream->lengthFrames() * offset / range;
    reposition(frame);
    if (m_state == State::EndOfStream) {
        m_state = State::Stopped;
        postState();
    }
    postPosition(frame, true);
    return XA_SUCCESS;
}

void Player::reposition(int64_t frame) {
    const bool wasPlaying = m_renderer.playing();
    fadeOut();
    restartFrom(frame, wasPlaying);
}

void Player::restartFrom(int64_t frame, bool resume) {
    {
        auto lock = m_feeder.lock();
        m_stream->seekToFrame(frame);
        flushRing();
        m_feeder.reset(m_stream->positionFrames());
    }
    if (resume) {
        waitForPrefill();
        startRendering();
    }
}

void Player::startRendering() {
    m_renderer.setPlaying(true);
    // The feeder sleeps while its ring is full and nothing plays.
    auto lock = m_feeder.lock();
    m_feeder.wakeUp();
}

void Player::fadeOut() {
    m_renderer.setPlaying(false);
    if (m_output)
        waitUntil([this] { return m_renderer.silent(); }, kFadeTimeout);
}

void Player::flushRing() {
    // Only the ring's consumer may drop its contents; without an output, or
    // with a suspended one, nobody consumes, and the command thread may
    // stand in.
    if (!m_output || m_output->suspended()) {
        m_renderer.ring().discardAll();
        return;
    }
    m_renderer.requestFlush();
    waitUntil([this] { return !m_renderer.flushPending(); }, kFlushTimeout);
}

void Player::waitForPrefill() {
    waitUntil([this] { return m_renderer.ring().readableFrames() >= kPrefillFrames || m_feeder.ended(); },
              kPrefillTimeout);
}

int64_t Player::heardFrame() {
    return m_feeder.heardMediaFrame(m_renderer.ring().readTotal());
}

void Player::endOfStream() {
    m_renderer.setPlaying(false);
    {
        auto lock = m_feeder.lock();
        m_feeder.setRunning(false);
    }
    postPosition(m_stream->lengthFrames(), true);
    m_state = State::EndOfStream;
    postState();
}

std::chrono::milliseconds Player::monitorInterval() {
    if (m_state != State::Playing)
        return kTapInterval;
    std::chrono::milliseconds interval = kTimecodeInterval;
    // The end is heard when the ring runs dry: no later than that.
    if (m_feeder.ended())
        interval = std::min(interval, framesToMilliseconds(m_renderer.ring().readableFrames()) + 1ms);
    if (m_renderer.tapping() || m_renderer.tap().readableFrames() > 0) {
        const size_t eventFrames = m_feedback.framesUntilNextEvent(m_renderer.sampleRateHz());
        interval = std::min(interval,
                            eventFrames > 0 ? framesToMilliseconds(eventFrames) + kEventBlockAllowance : kTapInterval);
    }
    return interval;
}

std::chrono::milliseconds Player::framesToMilliseconds(size_t frames) const {
    return std::chrono::milliseconds(frames * 1000 / static_cast<size_t>(m_renderer.sampleRateHz()));
}

void Player::monitor() {
    drainTap();
    postUnderruns();
    if (m_output && m_output->failed())
        outputFailed();
    if (m_state != State::Playing || !m_stream)
        return;
    // Read before the ring: once the feeder has ended, the ring holds all
    // that is left.
    const bool ended = m_feeder.ended();
    const int64_t frame = heardFrame();
    if (ended && m_renderer.ring().readableFrames() == 0)
        endOfStream();
    else
        postPosition(frame, false);
}

// --------------------------------------------------------------- output

bool Player::ensureOutput(Report report) {
    // A suspended device that cannot start again is opened afresh: it may
    // have gone and come back.
    if (m_output && m_output->resume())
        return true;
    m_output.reset();
    m_output = openAudioOutput(m_deviceNumber, m_nullMode, m_renderer);
    if (!m_output) {
        if (report == Report::Yes)
            postError("The sound output " + outputDescription() + " cannot be opened");
        return false;
    }
    if (m_output->isNull() && m_nullMode == NullOutputMode::Off && !m_toldNoDevice) {
        m_toldNoDevice = true;
        postError("This machine has no sound output device: nothing will be heard");
    }
    auto lock = m_feeder.lock();
    m_feeder.setOutputRate(m_output->sampleRateHz());
    return true;
}

std::string Player::outputDescription() const {
    const std::string name = outputDeviceName(m_deviceNumber);
    return m_outputName + (name.empty() ? std::string() : " (" + name + ")");
}

void Player::outputFailed() {
    const bool wasPlaying = m_state == State::Playing;
    const int64_t frame = m_stream ? heardFrame() : 0;
    m_renderer.setPlaying(false);
    m_output.reset();
    if (m_stream)
        restartFrom(frame, false);
    postError("The sound output " + outputDescription() + " stopped");
    if (wasPlaying) {
        m_state = State::Paused;
        postState();
    }
}

int Player::setOutputName(const std::string& name) {
    const int number = parseDeviceName(name);
    if (number < 0)
        return XA_ERROR_NO_SUCH_DEVICE;
    if (m_nullMode == NullOutputMode::Off) {
        const int count = outputDeviceCount();
        if (count > 0 && number >= count)
            return XA_ERROR_NO_SUCH_DEVICE;
    }
    m_outputName = name;
    if (number == m_deviceNumber)
        return XA_SUCCESS;
    m_deviceNumber = number;
    if (!m_output)
        return XA_SUCCESS;
    // Another device: carry on from what is being heard, at its rate.
    const bool wasPlaying = m_renderer.playing();
    const int64_t frame = m_stream ? heardFrame() : 0;
    fadeOut();
    m_output.reset();
    const bool opened = ensureOutput(Report::Yes);
    if (m_stream) {
        m_renderer.setPlaying(false);
        restartFrom(frame, wasPlaying && opened);
    }
    if (!opened && m_state == State::Playing) {
        m_state = State::Paused;
        postState();
    }
    return opened ? XA_SUCCESS : XA_ERROR_OUTPUT_FAILED;
}

int Player::setOutputVolume(int master, int pcm, int balance) {
    // -1 keeps a level; anything else below 0 is silence; above 100 is full.
    const auto level = [](int value, int current) { return value == -1 ? current : std::clamp(value, 0, 100); };
    m_masterLevel = level(master, m_masterLevel);
    m_pcmLevel = level(pcm, m_pcmLevel);
    m_balance = level(balance, m_balance);
    applyGains();
    XA_Message message{};
    message.code = XA_MSG_NOTIFY_OUTPUT_VOLUME;
    message.data.volume.master_level = static_cast<uint8_t>(m_masterLevel);
    message.data.volume.pcm_level = static_cast<uint8_t>(m_pcmLevel);
    message.data.volume.balance = static_cast<uint8_t>(m_balance);
    post(message);
    return XA_SUCCESS;
}

void Player::applyGains() {
    float left = 1.0f;
    float right = 1.0f;
    balanceToGains(m_balance, &left, &right);
    const float gain = m_muted ? 0.0f : levelToGain(m_masterLevel) * levelToGain(m_pcmLevel);
    m_renderer.setGains(gain * left, gain * right);
}

void Player::setCapturePath(const std::string& path) {
    drainTap();
    m_capture.close();
    m_capturePath = path;
    updateTapping();
}

void Player::updateTapping() {
    m_renderer.setTapping(!m_capturePath.empty() || m_feedback.active());
}

void Player::drainTap() {
    FrameRing& tap = m_renderer.tap();
    // Only what is in the tap now: the output goes on filling it while a
    // feedback handler may take its time, so draining until empty might never
    // end. Once the player is closing, its handler gets no more audio: its
    // window's thread may be the one waiting for this thread to end.
    size_t remaining = tap.readableFrames();
    const bool closing = m_commands.closed();
    while (remaining > 0) {
        const size_t frames = tap.read(m_tapBuffer.data(), std::min(remaining, kTapChunkFrames));
        if (frames == 0)
            return;
        remaining -= frames;
        const int rate = m_renderer.sampleRateHz();
        if (!m_capturePath.empty()) {
            if (!m_capture.isOpen() && !m_capture.open(m_capturePath, rate))
                m_capturePath.clear();
            m_capture.append(m_tapBuffer.data(), frames);
        }
        if (!closing)
            m_feedback.feed(m_tapBuffer.data(), frames, rate);
    }
}

// -------------------------------------------------------- notifications

void Player::post(XA_Message& message) {
    if (m_target.post == nullptr)
        return;
    m_target.post(m_target.context, XA_NOTIFICATION_MESSAGE_BASE + static_cast<uint32_t>(message.code),
                  static_cast<uintptr_t>(message.code), &message, sizeof message);
}

void Player::postCode(int code) {
    XA_Message message{};
    message.code = code;
    post(message);
}

void Player::postState() {
    XA_Message message{};
    message.code = XA_MSG_NOTIFY_PLAYER_STATE;
    message.data.state = static_cast<int32_t>(m_state);
    post(message);
}

void Player::postPosition(int64_t frame, bool force) {
    if (!m_stream || m_stream->sampleRateHz() <= 0)
        return;
    const int64_t hundredths = frame * 100 / m_stream->sampleRateHz();
    const bool secondChanged = hundredths / 100 != m_lastTimecodeHundredths / 100;
    const auto now = std::chrono::steady_clock::now();
    const bool due = m_granularity > 0 &&
                     std::abs(hundredths - m_lastTimecodeHundredths) >= static_cast<int64_t>(m_granularity) &&
                     now - m_lastTimecodePost >= kMinimumTimecodeSpacing;
    if (force || secondChanged || due) {
        m_lastTimecodeHundredths = hundredths;
        m_lastTimecodePost = now;
        XA_Message message{};
        message.code = XA_MSG_NOTIFY_INPUT_TIMECODE;
        const int64_t seconds = hundredths / 100;
        message.data.timecode.h = static_cast<uint8_t>(std::min<int64_t>(seconds / 3600, 255));
        message.data.timecode.m = static_cast<uint8_t>(seconds / 60 % 60);
        message.data.timecode.s = static_cast<uint8_t>(seconds % 60);
        message.data.timecode.f = static_cast<uint8_t>(hundredths % 100);
        post(message);
    }
    const int64_t length = m_stream->lengthFrames();
    const int64_t offset = length > 0 ? std::min<int64_t>(frame, length) * m_positionRange / length : 0;
    if (force || offset != m_lastOffset) {
        m_lastOffset = offset;
        XA_Message message{};
        message.code = XA_MSG_NOTIFY_INPUT_POSITION;
        message.data.position.offset = static_cast<uint32_t>(offset);
        message.data.position.range = m_positionRange;
        post(message);
    }
}

void Player::postStreamInfo() {
    XA_Message duration{};
    duration.code = XA_MSG_NOTIFY_STREAM_DURATION;
    duration.data.duration = m_stream->durationSeconds();
    post(duration);
    XA_Message parameters{};
    parameters.code = XA_MSG_NOTIFY_STREAM_PARAMETERS;
    parameters.data.stream_parameters.frequency = static_cast<uint32_t>(m_stream->sampleRateHz());
    parameters.data.stream_parameters.bitrate = static_cast<int16_t>(std::min(m_stream->bitRateKbps(), int{INT16_MAX}));
    parameters.data.stream_parameters.nb_channels = static_cast<uint8_t>(m_stream->channels());
    post(parameters);
}

void Player::postUnderruns() {
    const uint64_t underruns = m_renderer.underruns();
    const auto now = std::chrono::steady_clock::now();
    if (underruns == m_reportedUnderruns || now - m_lastUnderrunReport < kUnderrunReportInterval)
        return;
    XA_Message message{};
    message.code = XA_MSG_NOTIFY_PROGRESS;
    message.data.progress.source = XA_PROGRESS_SOURCE_OUTPUT;
    message.data.progress.code = XA_PROGRESS_CODE_UNDERRUN;
    message.data.progress.value = static_cast<int16_t>(std::min<uint64_t>(underruns - m_reportedUnderruns, 32767));
    std::strncpy(message.data.progress.message, "output underrun", sizeof message.data.progress.message - 1);
    post(message);
    m_reportedUnderruns = underruns;
    m_lastUnderrunReport = now;
}

void Player::postName(int code, const std::string& name) {
    XA_Message message{};
    message.code = code;
    std::strncpy(message.data.name, name.c_str(), sizeof message.data.name - 1);
    post(message);
}

void Player::postError(const std::string& text) {
    XA_Message message{};
    message.code = XA_MSG_NOTIFY_ERROR;
    message.data.error.source = XA_PROGRESS_SOURCE_OUTPUT;
    message.data.error.code = XA_ERROR_OUTPUT_FAILED;
    std::strncpy(message.data.error.message, text.c_str(), sizeof message.data.error.message - 1);
    post(message);
}

void Player::postModuleInfo(int code, int id, int devices, const char* name, const char* description) {
    XA_Message message{};
    message.code = code;
    message.data.module_info.id = static_cast<uint8_t>(id);
    message.data.module_info.nb_devices = static_cast<uint8_t>(devices);
    std::strncpy(message.data.module_info.name, name, sizeof message.data.module_info.name - 1);
    std::strncpy(message.data.module_info.description, description, sizeof message.data.module_info.description - 1);
    post(message);
}

} // namespace xaudio
