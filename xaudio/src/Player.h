#pragma once

#include "AudioOutput.h"
#include "AudioStream.h"
#include "Command.h"
#include "FeedbackHandler.h"
#include "Feeder.h"
#include "OutputRenderer.h"
#include "WavWriter.h"
#include "xaudio.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace xaudio {

// One asynchronous player. The owner queues commands with send(); the
// command thread executes them in order, owns the stream, the output and
// the feedback handler, watches the position of what is being heard and
// posts every notification. The feeder thread decodes; the output's thread
// renders. See xaudio.h for the contract.
class Player {
public:
    explicit Player(const XA_NotificationTarget* target);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void send(Command command) { m_commands.push(std::move(command)); }
    int setPriority(int priority);
    int priority() const { return m_priority.load(std::memory_order_relaxed); }

private:
    enum class State {
        Stopped = XA_PLAYER_STATE_STOPPED,
        Playing = XA_PLAYER_STATE_PLAYING,
        Paused = XA_PLAYER_STATE_PAUSED,
        EndOfStream = XA_PLAYER_STATE_EOS
    };

    void run();
    void execute(const Command& command);
    int dispatch(const Command& command);
    int dispatchSetting(const Command& command);
    int dispatchFeedback(const Command& command);
    void monitor();

    // Transport.
    int inputOpen(const std::string& path);
    int inputClose();
    int play();
    int pause();
    int stop();
    int seek(int offset, int range);
    void reposition(int64_t frame);
    // Seeks the stream to `frame`, refills the ring and, when asked, resumes
    // the output. The output must be silent.
    void restartFrom(int64_t frame, bool resume);
    void fadeOut();
    void startRendering();
    void flushRing();
    void waitForPrefill();
    void endOfStream();
    int64_t heardFrame();
    // How long the command thread may sleep while it follows playback.
    std::chrono::milliseconds monitorInterval();
    std::chrono::milliseconds framesToMilliseconds(size_t frames) const;

    // Output.
    int setOutputName(const std::string& name);
    enum class Report { No, Yes };
    // Opens the chosen output unless it is open; false when it cannot be
    // opened, which is posted as an error naming the device when asked to.
    bool ensureOutput(Report report);
    // Drops a device that stopped pulling, keeps the position, pauses and
    // says so; the next Play opens the device again.
    void outputFailed();
    std::string outputDescription() const;
    int setOutputVolume(int master, int pcm, int balance);
    void applyGains();
    void setCapturePath(const std::string& path);
    void drainTap();
    void updateTapping();

    // Settings.
    int setEnvironmentInteger(const std::string& name, int value);
    int setEnvironmentString(const std::string& name, const std::string& value);
    int setEqualizer(const Command& command);

    // Notifications.
    void post(XA_Message& message);
    void postCode(int code);
    void postState();
    void postPosition(int64_t frame, bool force);
    void postStreamInfo();
    void postUnderruns();
    void postName(int code, const std::string& name);
    void postError(const std::string& text);
    void postModuleInfo(int code, int id, int devices, const char* name, const char* description);

    XA_NotificationTarget m_target{};
    CommandQueue m_commands;
    OutputRenderer m_renderer;
    Feeder m_feeder;
    std::unique_ptr<AudioStream> m_stream;
    std::unique_ptr<AudioOutput> m_output;
    FeedbackHandler m_feedback;
    WavWriter m_capture;
    std::string m_capturePath;
    // The capture holds silence too (XAUDIO_CAPTURE_SILENCE).
    bool m_captureSilence = false;
    std::vector<float> m_tapBuffer;

    State m_state = State::Stopped;
    std::string m_inputName;
    std::string m_outputName;
    int m_deviceNumber = 0;
    NullOutputMode m_nullMode = NullOutputMode::Off;
    int m_masterLevel = 100;
    int m_pcmLevel = 100;
    int m_balance = 50;
    bool m_muted = false;
    bool m_toldNoDevice = false;
    uint32_t m_positionRange = 100;
    uint32_t m_granularity = 1;
    std::optional<XA_EqualizerInfo> m_equalizer;
    std::map<std::string, int> m_integers;
    std::map<std::string, std::string> m_strings;
    int m_playerMode = 0;
    int m_inputModule = 0;
    int m_outputModule = 0;
    int m_outputChannels = 0;
    uint32_t m_outputPorts = 0;
    int m_codecQuality = 0;
    uint32_t m_notificationMask = 0xffffffffu;
    int m_debugLevel = 0;

    int64_t m_lastTimecodeHundredths = -1;
    std::chrono::steady_clock::time_point m_lastTimecodePost{};
    int64_t m_lastOffset = -1;
    uint64_t m_reportedUnderruns = 0;
    // Since when nothing has been heard while the output ran.
    std::optional<std::chrono::steady_clock::time_point> m_idleSince;
    std::chrono::steady_clock::time_point m_lastUnderrunReport{};
    std::atomic<int> m_priority{4};
    std::thread m_thread;
};

} // namespace xaudio
