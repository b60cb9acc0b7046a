#include "PlayerHarness.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <portaudio.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using test_support::TemporaryFolder;
using xaudio_test::PlayerHarness;

// A private PulseAudio server with a null sink, reached through ALSA's
// "default" device as on a desktop. The whole process sees it: this suite
// runs in its own executable, so the engine enumerates its devices after
// the server is up.
class SoundServer {
public:
    explicit SoundServer(const TemporaryFolder& folder) : m_folder(folder) {
        setenv("HOME", folder.path().c_str(), 1);
        setenv("PULSE_RUNTIME_PATH", folder.path().c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + socket()).c_str(), 1);
        test_support::writeFile(folder.file(".asoundrc"), "pcm.!default { type pulse }\nctl.!default { type pulse }\n");
    }
    ~SoundServer() { stop(); }

    static bool installed() { return test_support::runCommand("command -v pulseaudio >/dev/null 2>&1") == 0; }

    bool start() {
        m_pid = fork();
        if (m_pid == 0) {
            // Without rewinds: the null sink's rewind at the end of a stream's
            // start-up underrun holds it back for seconds, which no sound card does.
            const std::string sink = "--load=module-null-sink sink_name=test_null norewinds=1";
            const std::string native = "--load=module-native-protocol-unix socket=" + socket() + " auth-anonymous=1";
            execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                   sink.c_str(), native.c_str(), "--log-target=file:/dev/null", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (test_support::runCommand("pactl info >/dev/null 2>&1") == 0)
                return true;
            usleep(100000);
        }
        return false;
    }

    // As abrupt as pulling the plug.
    void stop() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    std::string socket() const { return m_folder.file("native"); }

    const TemporaryFolder& m_folder;
    pid_t m_pid = -1;
};

class OutputDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        unsetenv("XAUDIO_NULL_OUTPUT");
        s_folder = std::make_unique<TemporaryFolder>();
        if (!SoundServer::installed())
            return;
        s_server = std::make_unique<SoundServer>(*s_folder);
        if (!s_server->start())
            s_server.reset();
        test_support::ToneOptions tone;
        tone.seconds = 10.0;
        test_support::makeToneMp3(s_folder->file("tone10.mp3"), tone);
    }
    static void TearDownTestSuite() {
        s_server.reset();
        s_folder.reset();
    }
    void SetUp() override {
        if (!s_server)
            GTEST_SKIP() << "no PulseAudio server could be started";
    }

    static std::string deviceName(int number) {
        char name[256] = {};
        return xaudio_output_device_name(number, name, sizeof name) == XA_SUCCESS ? name : "";
    }

    static int errorNaming(PlayerHarness& harness, const std::string& text, size_t from) {
        return harness.waitFor(
            [&text](const XA_Message& message) {
                return message.code == XA_MSG_NOTIFY_ERROR && std::strstr(message.data.error.message, text.c_str());
            },
            10s, from);
    }

    static bool realTimeGranted() {
        bool granted = false;
        std::thread probe([&granted] {
            sched_param parameters{};
            parameters.sched_priority = 1;
            granted = pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters) == 0;
        });
        probe.join();
        return granted;
    }

    // The scheduling policies of this process's threads with that name.
    static std::vector<int> threadPolicies(const std::string& name) {
        std::vector<int> policies;
        for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
            std::string comm;
            std::getline(std::ifstream(task.path() / "comm"), comm);
            if (comm == name)
                policies.push_back(sched_getscheduler(std::stoi(task.path().filename().string())));
        }
        return policies;
    }

    // Waits up to the timeout for the output's clock to stand still (true)
    // or to move on (false) over a quarter of a second.
    static bool clockStandsStill(PlayerHarness& harness, bool still, std::chrono::seconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            const long before = harness.clockReading(harness.askForClock());
            std::this_thread::sleep_for(250ms);
            const long after = harness.clockReading(harness.askForClock());
            if (before >= 0 && (after == before) == still)
                return true;
        }
        return false;
    }

    static std::unique_ptr<TemporaryFolder> s_folder;
    static std::unique_ptr<SoundServer> s_server;
};

std::unique_ptr<TemporaryFolder> OutputDeviceTest::s_folder;
std::unique_ptr<SoundServer> OutputDeviceTest::s_server;

TEST_F(OutputDeviceTest, NumberOneIsTheSystemDefaultAndTheOthersFollowInTheSoundSystemsOrder) {
    ASSERT_EQ(Pa_Initialize(), paNoError);
    std::vector<std::string> others;
    bool hasDefault = false;
    for (int index = 0; index < Pa_GetDeviceCount(); ++index) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        if (info->maxOutputChannels < 2)
            continue;
        if (std::strcmp(info->name, "default") == 0 && Pa_GetHostApiInfo(info->hostApi)->type == paALSA && !hasDefault)
            hasDefault = true;
        else
            others.emplace_back(info->name);
    }
    Pa_Terminate();
    ASSERT_TRUE(hasDefault) << "ALSA's default device is missing";

    ASSERT_EQ(xaudio_output_device_count(), static_cast<int>(others.size()) + 1);
    EXPECT_EQ(deviceName(0), "default");
    for (size_t i = 0; i < others.size(); ++i)
        EXPECT_EQ(deviceName(static_cast<int>(i) + 1), others[i]) << i + 1;
    EXPECT_EQ(deviceName(xaudio_output_device_count()), "");
    EXPECT_EQ(xaudio_output_device_name(0, nullptr, 10), XA_ERROR_INVALID_PARAMETERS);
    char tiny[4];
    EXPECT_EQ(xaudio_output_device_name(0, tiny, sizeof tiny), XA_SUCCESS);
    EXPECT_STREQ(tiny, "def");
}

TEST_F(OutputDeviceTest, TheThreadsPassingTheAudioToTheSoundServerRunRealTimeWherePermitted) {
    if (!realTimeGranted())
        GTEST_SKIP() << "this process may not use real-time scheduling";
    PlayerHarness harness;
    ASSERT_EQ(harness.open(s_folder->file("tone10.mp3")), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_PLAYING, 5000ms), 0);
    // The audio goes to the server from a client thread of PulseAudio's
    // library (the engine's own connection to the server, or ALSA's plug-in
    // for it); an ordinary one is held back on a busy machine until the
    // server runs dry.
    const std::vector<int> policies = threadPolicies("threaded-ml");
    ASSERT_FALSE(policies.empty()) << "no sound server client thread found";
    for (int policy : policies)
        EXPECT_TRUE(policy == SCHED_FIFO || policy == SCHED_RR) << "policy " << policy;
    // The player's command thread, which opened the stream, is ordinary
    // again (a PortAudio callback thread takes its name and is real-time).
    const std::vector<int> players = threadPolicies("xaudio player");
    EXPECT_EQ(std::count(players.begin(), players.end(), SCHED_OTHER), 1);
}

TEST_F(OutputDeviceTest, EachDeckHasAServerConnectionOfItsOwnAndEitherPlaysOnWithoutTheOther) {
    auto deckA = std::make_unique<PlayerHarness>();
    PlayerHarness deckB;
    for (PlayerHarness* deck : {deckA.get(), &deckB}) {
        ASSERT_EQ(deck->open(s_folder->file("tone10.mp3")), XA_SUCCESS);
        ASSERT_EQ(deck->command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    }
    EXPECT_TRUE(clockStandsStill(*deckA, false, 10s)) << "deck A does not play";
    EXPECT_TRUE(clockStandsStill(deckB, false, 10s)) << "deck B does not play";
    // A connection's thread also decodes for its deck: a deck stalled on its
    // file holds up only its own stream.
    EXPECT_EQ(threadPolicies("threaded-ml").size(), 2u);

    // Deck A's stream and connection go; deck B plays on, and a deck that
    // comes afterwards plays too.
    deckA.reset();
    EXPECT_EQ(threadPolicies("threaded-ml").size(), 1u);
    EXPECT_TRUE(clockStandsStill(deckB, false, 10s)) << "deck B stopped with deck A";
    PlayerHarness deckC;
    ASSERT_EQ(deckC.open(s_folder->file("tone10.mp3")), XA_SUCCESS);
    ASSERT_EQ(deckC.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    EXPECT_TRUE(clockStandsStill(deckC, false, 10s)) << "a new deck does not play";
    EXPECT_TRUE(clockStandsStill(deckB, false, 10s)) << "deck B stopped when deck C came";
}

TEST_F(OutputDeviceTest, AVanishedDeviceIsReportedByNameAndPlaysAgainWhenItComesBack) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(s_folder->file("tone10.mp3")), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    ASSERT_GE(harness.waitForState(XA_PLAYER_STATE_PLAYING, 5000ms), 0);

    size_t from = harness.count();
    s_server->stop();
    EXPECT_GE(errorNaming(harness, "/dev/dsound/0 (default) stopped", from), 0);
    EXPECT_GE(harness.waitForState(XA_PLAYER_STATE_PAUSED, 10s, from), 0);

    // Gone for good until it comes back: Play is refused, not faked.
    from = harness.count();
    EXPECT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_ERROR_OUTPUT_FAILED);
    EXPECT_GE(errorNaming(harness, "/dev/dsound/0 (default) cannot be opened", from), 0);

    ASSERT_TRUE(s_server->start());
    from = harness.count();
    EXPECT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    EXPECT_GE(harness.waitForState(XA_PLAYER_STATE_PLAYING, 5000ms, from), 0);
}

TEST_F(OutputDeviceTest, APausedDeckLetsTheDeviceRestAndPlayWakesIt) {
    PlayerHarness harness;
    ASSERT_EQ(harness.open(s_folder->file("tone10.mp3")), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    EXPECT_TRUE(clockStandsStill(harness, false, 10s)) << "the device does not play";

    // Paused, the device's stream is stopped after a short while: nothing
    // is rendered, so no thread of the sound system wakes up for silence.
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PAUSE), XA_SUCCESS);
    EXPECT_TRUE(clockStandsStill(harness, true, 20s)) << "the device keeps running while nothing plays";

    // A seek meanwhile is taken without a running device, and Play starts it.
    EXPECT_EQ(harness.command(XA_MSG_COMMAND_STOP), XA_SUCCESS);
    size_t from = harness.count();
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    EXPECT_GE(harness.waitForState(XA_PLAYER_STATE_PLAYING, 5s, from), 0);
    EXPECT_TRUE(clockStandsStill(harness, false, 10s)) << "Play did not wake the device";
    from = harness.count();
    EXPECT_LT(harness.waitFor([](const XA_Message& message) { return message.code == XA_MSG_NOTIFY_ERROR; }, 1s, from),
              0);
}

} // namespace
