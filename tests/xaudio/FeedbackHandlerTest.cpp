#include "PlayerHarness.h"
#include "support/AudioFixtures.h"
#include "support/TemporaryFolder.h"
#include "xaudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using xaudio_test::PlayerHarness;

// What the engine did with the module below; written on the engine's thread.
struct ModuleLog {
    std::mutex mutex;
    std::string newName;
    int32_t width = -1;
    bool unknownKeyFound = true;
    int created = 0;
    int deleted = 0;
    int events = 0;
    uint32_t channels = 0;
    uint32_t samples = 0;
    int peak = 0;
    std::vector<uint32_t> commands;
    std::vector<uint8_t> commandData;
    uint32_t version = XA_FEEDBACK_HANDLER_API_VERSION;
    std::thread::id deletingThread;
};
ModuleLog g_log;
// How long each audio event keeps the engine's thread, like a display whose
// window thread is busy.
std::atomic<int> g_eventDelayMs{0};
int g_instance = 0;

int probe(const char* name) {
    return std::strcmp(name, "Test-Display") == 0 ? 0 : -1;
}
int query(XA_ModuleInfo* info, uint32_t) {
    std::strcpy(info->name, "Test Display Module");
    return 0;
}
int handlerNew(void** instance, const char* name, void* context, XA_EnvironmentIntegerLookup lookup) {
    std::lock_guard<std::mutex> guard(g_log.mutex);
    g_log.newName = name;
    lookup(context, "DISPLAY.WIDTH", &g_log.width);
    int32_t ignored = 0;
    g_log.unknownKeyFound = lookup(context, "DISPLAY.NOTHING", &ignored) == 0;
    ++g_log.created;
    *instance = &g_instance;
    return 0;
}
int handlerDelete(void* instance) {
    std::lock_guard<std::mutex> guard(g_log.mutex);
    g_log.deleted += instance == &g_instance ? 1 : 0;
    g_log.deletingThread = std::this_thread::get_id();
    return 0;
}
int nothing(void*) {
    return 0;
}
int command(void*, uint32_t code, const void* data, uint32_t size) {
    std::lock_guard<std::mutex> guard(g_log.mutex);
    g_log.commands.push_back(code);
    const auto* bytes = static_cast<const uint8_t*>(data);
    g_log.commandData.assign(bytes, bytes + size);
    return code == 2052 ? 0 : -1;
}
int audioEvent(void*, const XA_AudioEvent* event) {
    std::this_thread::sleep_for(std::chrono::milliseconds(g_eventDelayMs.load()));
    std::lock_guard<std::mutex> guard(g_log.mutex);
    ++g_log.events;
    g_log.channels = event->nb_channels;
    g_log.samples = event->nb_samples;
    for (uint32_t i = 0; i < event->nb_channels * event->nb_samples; ++i)
        g_log.peak = std::max(g_log.peak, std::abs(static_cast<int>(event->samples[i])));
    return 0;
}
int initialise(XA_FeedbackHandlerModule* module) {
    module->api_version_id = g_log.version;
    module->handler_probe = &probe;
    module->handler_query = &query;
    module->handler_new = &handlerNew;
    module->handler_delete = &handlerDelete;
    module->handler_start = &nothing;
    module->handler_stop = &nothing;
    module->handler_command = &command;
    module->handler_audio_event = &audioEvent;
    return 0;
}

std::string moduleName() {
    char text[64];
    std::snprintf(text, sizeof text, "function@%lx", reinterpret_cast<unsigned long>(&initialise));
    return text;
}

int reply(PlayerHarness& harness, int code, const std::function<void()>& send) {
    const size_t from = harness.count();
    send();
    return harness.waitForReply(code, 5000ms, from);
}

TEST(FeedbackHandlerTest, RegisteredModuleReceivesTheOutputAtTheEventRate) {
    setenv("XAUDIO_NULL_OUTPUT", "wait", 1);
    test_support::TemporaryFolder folder;
    test_support::ToneOptions tone;
    tone.seconds = 2.0;
    test_support::makeToneMp3(folder.file("tone.mp3"), tone);

    PlayerHarness harness;
    XA_Player* player = harness.player();
    EXPECT_EQ(reply(harness, 129, [&] { control_message_send_N(player, 129); }), XA_ERROR_NO_SUCH_MODULE);
    EXPECT_EQ(reply(harness, 125, [&] { control_message_send_S(player, 125, "function@zz"); }),
              XA_ERROR_NO_SUCH_MODULE);
    g_log.version = 0x30601;
    EXPECT_EQ(reply(harness, 125, [&] { control_message_send_S(player, 125, moduleName().c_str()); }),
              XA_ERROR_NO_SUCH_MODULE);
    g_log.version = XA_FEEDBACK_HANDLER_API_VERSION;

    EXPECT_EQ(reply(harness, 145, [&] { control_message_send_SI(player, 145, "DISPLAY.WIDTH", 251); }), XA_SUCCESS);
    EXPECT_EQ(reply(harness, 125, [&] { control_message_send_S(player, 125, moduleName().c_str()); }), XA_SUCCESS);
    EXPECT_EQ(reply(harness, 141, [&] { control_message_send_S(player, 141, "Test-Display"); }), XA_SUCCESS);
    EXPECT_EQ(reply(harness, 139, [&] { control_message_send_I(player, 139, 40); }), XA_SUCCESS);
    EXPECT_EQ(reply(harness, 129, [&] { control_message_send_N(player, 129); }), XA_SUCCESS);
    {
        std::lock_guard<std::mutex> guard(g_log.mutex);
        EXPECT_EQ(g_log.created, 1);
        EXPECT_EQ(g_log.newName, "Test-Display");
        EXPECT_EQ(g_log.width, 251);
        EXPECT_FALSE(g_log.unknownKeyFound);
    }
    const uint8_t mode = 2;
    EXPECT_EQ(reply(harness, 134, [&] { control_message_send_IPI(player, 134, 2052, &mode, 1); }), XA_SUCCESS);
    EXPECT_NE(reply(harness, 134, [&] { control_message_send_IPI(player, 134, 4000, nullptr, 0); }), XA_SUCCESS);

    ASSERT_EQ(harness.open(folder.file("tone.mp3")), XA_SUCCESS);
    ASSERT_EQ(harness.command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    const auto heardSeconds = [&] {
        double seconds = 0;
        for (const xaudio_test::Received& received : harness.received()) {
            if (received.message.code == XA_MSG_NOTIFY_INPUT_TIMECODE)
                seconds = xaudio_test::timecodeSeconds(received.message);
        }
        return seconds;
    };
    ASSERT_GE(harness.waitFor(
                  [](const XA_Message& message) {
                      return message.code == XA_MSG_NOTIFY_INPUT_TIMECODE &&
                             xaudio_test::timecodeSeconds(message) >= 1.0;
                  },
                  10s),
              0);
    EXPECT_EQ(reply(harness, 130, [&] { control_message_send_N(player, 130); }), XA_SUCCESS);
    // The handler ended with the reply, so no time code after it counts.
    const double heard = heardSeconds();
    std::lock_guard<std::mutex> guard(g_log.mutex);
    EXPECT_EQ(g_log.deleted, 1);
    // 40 events for each second of audio output before the handler ended.
    EXPECT_GE(g_log.events, 35);
    EXPECT_LE(g_log.events, static_cast<int>(40 * (heard + 0.1)) + 2);
    EXPECT_EQ(g_log.channels, 2u);
    EXPECT_EQ(g_log.samples, 512u);
    // The tone is at half of full scale.
    EXPECT_NEAR(g_log.peak, 64, 4);
    EXPECT_EQ(g_log.commands, (std::vector<uint32_t>{2052, 4000}));
}

TEST(FeedbackHandlerTest, DeletingThePlayerEndsTheHandlerOnTheDeletingThread) {
    setenv("XAUDIO_NULL_OUTPUT", "1", 1);
    int deletedBefore = 0;
    {
        std::lock_guard<std::mutex> guard(g_log.mutex);
        deletedBefore = g_log.deleted;
    }
    {
        PlayerHarness harness;
        XA_Player* player = harness.player();
        EXPECT_EQ(reply(harness, 125, [&] { control_message_send_S(player, 125, moduleName().c_str()); }), XA_SUCCESS);
        EXPECT_EQ(reply(harness, 129, [&] { control_message_send_N(player, 129); }), XA_SUCCESS);
    }
    std::lock_guard<std::mutex> guard(g_log.mutex);
    EXPECT_EQ(g_log.deleted, deletedBefore + 1);
    EXPECT_EQ(g_log.deletingThread, std::this_thread::get_id());
}

TEST(FeedbackHandlerTest, DeletingAPlayerWhoseHandlerIsSlowEndsWhilePlaying) {
    setenv("XAUDIO_NULL_OUTPUT", "1", 1);
    test_support::TemporaryFolder folder;
    test_support::ToneOptions tone;
    tone.seconds = 6.0;
    test_support::makeToneMp3(folder.file("tone.mp3"), tone);
    auto harness = std::make_unique<PlayerHarness>();
    XA_Player* player = harness->player();
    ASSERT_EQ(reply(*harness, 125, [&] { control_message_send_S(player, 125, moduleName().c_str()); }), XA_SUCCESS);
    ASSERT_EQ(reply(*harness, 139, [&] { control_message_send_I(player, 139, 40); }), XA_SUCCESS);
    ASSERT_EQ(reply(*harness, 129, [&] { control_message_send_N(player, 129); }), XA_SUCCESS);
    ASSERT_EQ(harness->open(folder.file("tone.mp3")), XA_SUCCESS);
    ASSERT_EQ(harness->command(XA_MSG_COMMAND_PLAY), XA_SUCCESS);
    std::this_thread::sleep_for(500ms);
    // Each event now takes far longer than the audio it carries: the output
    // refills the tap faster than the handler empties it.
    g_eventDelayMs = 200;
    std::this_thread::sleep_for(500ms);
    auto deleted = std::async(std::launch::async, [&harness] { harness.reset(); });
    // A generous bound that only a hang exceeds.
    const bool ended = deleted.wait_for(30s) == std::future_status::ready;
    g_eventDelayMs = 0;
    EXPECT_TRUE(ended) << "player_delete did not return while the handler was slow";
    if (ended)
        deleted.get();
    else
        deleted.wait();
}

} // namespace
