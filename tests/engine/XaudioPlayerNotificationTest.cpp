#include "engine/XaudioPlayer.h"

#include "support/EventLoop.h"
#include "support/FakeEngine.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

using namespace test_support;

namespace {

// Counts how often any of the specific events (everything but
// OnNotifyMessage) is raised.
void countEverySpecificEvent(TXaudioPlayer& player, int& count) {
    auto counter = [&count](auto&&...) { ++count; };
    player.OnNotifyReady = counter;
    player.OnNotifyAck = counter;
    player.OnNotifyNack = counter;
    player.OnNotifyPong = counter;
    player.OnNotifyExited = counter;
    player.OnNotifyPlayerState = counter;
    player.OnNotifyPlayerMode = counter;
    player.OnNotifyPlayerEnvironmentInteger = counter;
    player.OnNotifyPlayerEnvironmentString = counter;
    player.OnNotifyInputState = counter;
    player.OnNotifyInputName = counter;
    player.OnNotifyInputCaps = counter;
    player.OnNotifyInputPosition = counter;
    player.OnNotifyInputPositionRange = counter;
    player.OnNotifyInputTimecode = counter;
    player.OnNotifyInputTimecodeGranularity = counter;
    player.OnNotifyInputModule = counter;
    player.OnNotifyInputModuleInfo = counter;
    player.OnNotifyInputDeviceInfo = counter;
    player.OnNotifyInputFilterInfo = counter;
    player.OnNotifyOutputState = counter;
    player.OnNotifyOutputName = counter;
    player.OnNotifyOutputCaps = counter;
    player.OnNotifyOutputVolume = counter;
    player.OnNotifyOutputBalance = counter;
    player.OnNotifyOutputPcmLevel = counter;
    player.OnNotifyOutputMasterLevel = counter;
    player.OnNotifyOutputChannels = counter;
    player.OnNotifyOutputPorts = counter;
    player.OnNotifyOutputModule = counter;
    player.OnNotifyOutputModuleInfo = counter;
    player.OnNotifyOutputDeviceInfo = counter;
    player.OnNotifyOutputFilterInfo = counter;
    player.OnNotifyStreamMimeType = counter;
    player.OnNotifyStreamDuration = counter;
    player.OnNotifyStreamParameters = counter;
    player.OnNotifyStreamProperties = counter;
    player.OnNotifyCodecQuality = counter;
    player.OnNotifyCodecEqualizer = counter;
    player.OnNotifyCodecModule = counter;
    player.OnNotifyCodecModuleInfo = counter;
    player.OnNotifyCodecDeviceInfo = counter;
    player.OnNotifyNotificationMask = counter;
    player.OnNotifyDebugLevel = counter;
    player.OnNotifyProgress = counter;
    player.OnNotifyDebug = counter;
    player.OnNotifyError = counter;
}

class XaudioPlayerNotification : public ::testing::Test {
protected:
    XaudioPlayerNotification() {
        player.XaudioPath = QString::fromStdString(fake.path());
        player.OnNotifyMessage = [this](TXaudioPlayer* sender, XA_Message& message) {
            EXPECT_EQ(sender, &player);
            messages.push_back(message.code);
        };
    }

    XA_Player* start() {
        EXPECT_TRUE(player.Init());
        return fake.lastPlayer();
    }

    // Posts a marker after the notifications under test and waits for it, so
    // that everything posted before has been dispatched.
    void drain(XA_Player* engine) {
        const size_t before = messages.size();
        fake.post(engine, notification(XA_MSG_NOTIFY_PONG));
        ASSERT_TRUE(
            processEventsUntil([&] { return messages.size() > before && messages.back() == XA_MSG_NOTIFY_PONG; }));
        messages.pop_back();
    }

    FakeEngine fake;
    TXaudioPlayer player;
    std::vector<int> messages;
};

} // namespace

TEST_F(XaudioPlayerNotification, ReservedCodeNinetySevenRaisesOnlyTheMessageEvent) {
    XA_Player* engine = start();
    int specific = 0;
    countEverySpecificEvent(player, specific);
    fake.post(engine, notification(97));
    ASSERT_TRUE(processEventsUntil([&] { return !messages.empty(); }));
    EXPECT_EQ(messages, (std::vector<int>{97}));
    EXPECT_EQ(specific, 0);
}

TEST_F(XaudioPlayerNotification, EveryKnownCodeRaisesExactlyOneSpecificEventAfterTheMessageEvent) {
    XA_Player* engine = start();
    int specific = 0;
    countEverySpecificEvent(player, specific);
    // The generic event must come first: record the specific count it sees.
    std::vector<int> specificSeenByMessageEvent;
    player.OnNotifyMessage = [&](TXaudioPlayer*, XA_Message& message) {
        messages.push_back(message.code);
        specificSeenByMessageEvent.push_back(specific);
    };
    for (int code = 60; code <= 130; ++code) {
        SCOPED_TRACE(code);
        const int before = specific;
        const size_t messagesBefore = messages.size();
        fake.post(engine, notification(code));
        ASSERT_TRUE(processEventsUntil([&] { return messages.size() > messagesBefore; }));
        const bool known = code >= 73 && code <= 123 && (code < 96 || code > 99);
        EXPECT_EQ(specific - before, known ? 1 : 0);
        EXPECT_EQ(specificSeenByMessageEvent.back(), before);
    }
}

TEST_F(XaudioPlayerNotification, NotificationsFromAnEngineThreadArriveOnTheGuiThreadWithTheirParameters) {
    XA_Player* engine = start();
    QThread* guiThread = QCoreApplication::instance()->thread();

    std::vector<std::string> seen;
    auto onGuiThread = [&] { EXPECT_EQ(QThread::currentThread(), guiThread); };
    player.OnNotifyInputTimecode = [&](TXaudioPlayer*, uint8_t h, uint8_t m, uint8_t s, uint8_t f) {
        onGuiThread();
        seen.push_back("timecode " + std::to_string(h) + ":" + std::to_string(m) + ":" + std::to_string(s) + "." +
                       std::to_string(f));
    };
    player.OnNotifyInputPosition = [&](TXaudioPlayer*, uint32_t offset, uint32_t range) {
        onGuiThread();
        seen.push_back("position " + std::to_string(offset) + "/" + std::to_string(range));
    };
    player.OnNotifyNack = [&](TXaudioPlayer*, uint8_t command, int16_t code) {
        onGuiThread();
        seen.push_back("nack " + std::to_string(command) + " " + std::to_string(code));
    };
    player.OnNotifyStreamParameters = [&](TXaudioPlayer*, uint32_t frequency, int16_t bitrate, uint8_t channels) {
        onGuiThread();
        seen.push_back("stream " + std::to_string(frequency) + " " + std::to_string(bitrate) + " " +
                       std::to_string(channels));
    };
    player.OnNotifyInputName = [&](TXaudioPlayer*, const QString& name) {
        onGuiThread();
        seen.push_back("name " + name.toStdString());
    };
    player.OnNotifyStreamDuration = [&](TXaudioPlayer*, uint32_t seconds) {
        onGuiThread();
        seen.push_back("duration " + std::to_string(seconds));
    };
    player.OnNotifyPlayerState = [&](TXaudioPlayer*, int state) {
        onGuiThread();
        seen.push_back("state " + std::to_string(state));
    };

    std::thread engineThread([&] {
        fake.post(engine, playerStateNotification(XA_PLAYER_STATE_PLAYING));
        fake.post(engine, inputTimecodeNotification(1, 59, 58, 99));
        fake.post(engine, inputPositionNotification(4000000000u, 4294967295u));
        fake.post(engine, nackNotification(27, -32768));
        fake.post(engine, nackNotification(255, XA_ERROR_NO_SUCH_MODULE));
        fake.post(engine, streamParametersNotification(44100, 320, 2));
        fake.post(engine, streamDurationNotification(200));
        fake.post(engine, inputNameNotification("/music/Für Elise.mp3"));
    });
    engineThread.join();

    ASSERT_TRUE(processEventsUntil([&] { return seen.size() == 8; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"state 1", "timecode 1:59:58.99", "position 4000000000/4294967295",
                                              "nack 27 -32768", "nack 255 -8", "stream 44100 320 2", "duration 200",
                                              "name /music/Für Elise.mp3"}));
}

TEST_F(XaudioPlayerNotification, ManyThreadsPostingAtOnceLoseNothing) {
    XA_Player* engine = start();
    std::vector<uint32_t> tags;
    player.OnNotifyPong = [&](TXaudioPlayer*, uint32_t tag) { tags.push_back(tag); };
    constexpr int kThreads = 4;
    constexpr int kPerThread = 250;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                XA_Message message = notification(XA_MSG_NOTIFY_PONG);
                message.data.pong.tag = static_cast<uint32_t>(t * kPerThread + i);
                fake.post(engine, message);
            }
        });
    }
    // The GUI thread keeps dispatching while the engine threads post.
    EXPECT_TRUE(processEventsUntil([&] { return tags.size() == kThreads * kPerThread; }));
    for (auto& thread : threads)
        thread.join();
    std::sort(tags.begin(), tags.end());
    for (size_t i = 0; i < tags.size(); ++i)
        ASSERT_EQ(tags[i], i);
}

TEST_F(XaudioPlayerNotification, TextParametersOfInfoAndErrorEvents) {
    XA_Player* engine = start();
    QString moduleName;
    QString moduleDescription;
    int moduleId = -1;
    player.OnNotifyOutputModuleInfo = [&](TXaudioPlayer*, uint8_t id, uint8_t devices, const QString& name,
                                          const QString& description) {
        moduleId = id * 100 + devices;
        moduleName = name;
        moduleDescription = description;
    };
    QString errorText;
    int errorCode = 0;
    player.OnNotifyError = [&](TXaudioPlayer*, uint8_t source, int16_t code, const QString& message) {
        errorCode = source * 1000 + code;
        errorText = message;
    };
    QString environmentName;
    QString environmentValue;
    player.OnNotifyPlayerEnvironmentString = [&](TXaudioPlayer*, const QString& name, const QString& value) {
        environmentName = name;
        environmentValue = value;
    };

    XA_Message info = notification(XA_MSG_NOTIFY_OUTPUT_MODULE_INFO);
    info.data.module_info.id = 3;
    info.data.module_info.nb_devices = 2;
    std::strcpy(info.data.module_info.name, "xa_dsound_output.dll");
    // No terminator at all: the text must stop at the end of the array.
    std::memset(info.data.module_info.description, 'd', sizeof(info.data.module_info.description));
    fake.post(engine, info);

    XA_Message error = notification(XA_MSG_NOTIFY_ERROR);
    error.data.error.source = 2;
    error.data.error.code = -7;
    std::strcpy(error.data.error.message, "no such device");
    fake.post(engine, error);

    XA_Message environment = notification(XA_MSG_NOTIFY_PLAYER_ENVIRONMENT_STRING);
    std::strcpy(environment.data.environment_string.name, "OUTPUT.CAPTURE.FILE");
    std::strcpy(environment.data.environment_string.value, "/tmp/capture.wav");
    fake.post(engine, environment);

    drain(engine);
    EXPECT_EQ(moduleId, 302);
    EXPECT_EQ(moduleName, "xa_dsound_output.dll");
    EXPECT_EQ(moduleDescription, QString(XA_MESSAGE_SHORT_TEXT_SIZE, 'd'));
    EXPECT_EQ(errorCode, 2000 - 7);
    EXPECT_EQ(errorText, "no such device");
    EXPECT_EQ(environmentName, "OUTPUT.CAPTURE.FILE");
    EXPECT_EQ(environmentValue, "/tmp/capture.wav");
}

TEST_F(XaudioPlayerNotification, EqualizerEventGetsTheTableAndMessageEventMayChangeIt) {
    XA_Player* engine = start();
    player.OnNotifyMessage = [](TXaudioPlayer*, XA_Message& message) {
        if (message.code == XA_MSG_NOTIFY_CODEC_EQUALIZER)
            message.data.equalizer.right[31] = 99;
    };
    XA_EqualizerInfo received{};
    player.OnNotifyCodecEqualizer = [&](TXaudioPlayer*, XA_EqualizerInfo& equalizer) { received = equalizer; };
    XA_Message message = notification(XA_MSG_NOTIFY_CODEC_EQUALIZER);
    message.data.equalizer.left[0] = -128;
    message.data.equalizer.right[0] = 127;
    fake.post(engine, message);
    ASSERT_TRUE(processEventsUntil([&] { return received.right[31] == 99; }));
    EXPECT_EQ(received.left[0], -128);
    EXPECT_EQ(received.right[0], 127);
}

TEST_F(XaudioPlayerNotification, MessagesBelowTheNotificationRangeAreIgnored) {
    XA_Player* engine = start();
    const XA_Message state = playerStateNotification(XA_PLAYER_STATE_PAUSED);
    fake.postRaw(engine, XA_NOTIFICATION_MESSAGE_BASE - 1, 0, &state, sizeof(state));
    fake.postRaw(engine, 1024, 0, &state, sizeof(state));
    drain(engine);
    EXPECT_TRUE(messages.empty());
}

TEST_F(XaudioPlayerNotification, ShortPayloadIsPaddedBeforeTheEngineReadsIt) {
    XA_Player* engine = start();
    int stateSeen = -1;
    player.OnNotifyPlayerState = [&](TXaudioPlayer*, int state) { stateSeen = state; };
    const XA_Message state = playerStateNotification(XA_PLAYER_STATE_EOS);
    // Code and state only; the engine still copies a whole record from it.
    fake.postRaw(engine, XA_NOTIFICATION_MESSAGE_BASE + XA_MSG_NOTIFY_PLAYER_STATE, 0, &state, 8);
    fake.postRaw(engine, XA_NOTIFICATION_MESSAGE_BASE + XA_MSG_NOTIFY_PLAYER_STATE, 0, nullptr, 0);
    drain(engine);
    EXPECT_EQ(messages, (std::vector<int>{XA_MSG_NOTIFY_PLAYER_STATE, XA_MSG_NOTIFY_PLAYER_STATE}));
    EXPECT_EQ(stateSeen, 0); // the empty payload came last
}

TEST_F(XaudioPlayerNotification, UnassignedEventsAreSkipped) {
    XA_Player* engine = start();
    player.OnNotifyMessage = nullptr;
    fake.post(engine, playerStateNotification(1));
    fake.post(engine, inputNameNotification("x"));
    int pongs = 0;
    player.OnNotifyPong = [&](TXaudioPlayer*, uint32_t) { ++pongs; };
    fake.post(engine, notification(XA_MSG_NOTIFY_PONG));
    EXPECT_TRUE(processEventsUntil([&] { return pongs == 1; }));
}

TEST_F(XaudioPlayerNotification, HandlerMayClearItsOwnSlot) {
    XA_Player* engine = start();
    int calls = 0;
    player.OnNotifyReady = [&](TXaudioPlayer* sender) {
        ++calls;
        sender->OnNotifyReady = nullptr;
    };
    fake.post(engine, notification(XA_MSG_NOTIFY_READY));
    fake.post(engine, notification(XA_MSG_NOTIFY_READY));
    drain(engine);
    EXPECT_EQ(calls, 1);
}

TEST_F(XaudioPlayerNotification, RefusedCommandArrivesAsNackThatErrorStringExplains) {
    fake.setAutoReply(true);
    std::vector<int> acks;
    std::vector<std::pair<int, int>> nacks;
    player.OnNotifyAck = [&](TXaudioPlayer*, uint8_t command) { acks.push_back(command); };
    player.OnNotifyNack = [&](TXaudioPlayer*, uint8_t command, int16_t code) { nacks.emplace_back(command, code); };

    EXPECT_EQ(player.Play(), XA_SUCCESS);
    fake.setCommandStatus(XA_ERROR_NO_SUCH_MODULE);
    EXPECT_EQ(player.OutputModuleRegister("xa_dsound_output.dll"), XA_ERROR_NO_SUCH_MODULE);
    ASSERT_TRUE(processEventsUntil([&] { return !nacks.empty(); }));
    EXPECT_EQ(acks, (std::vector<int>{XA_MSG_COMMAND_PLAY}));
    EXPECT_EQ(nacks.front(), std::make_pair(27, int(XA_ERROR_NO_SUCH_MODULE)));
    EXPECT_EQ(player.ErrorString(nacks.front().second), "fake error -8");
}

TEST(XaudioPlayerNotificationLifetime, NotificationsQueuedForADestroyedComponentAreDropped) {
    FakeEngine fake;
    int delivered = 0;
    {
        TXaudioPlayer player;
        player.XaudioPath = QString::fromStdString(fake.path());
        player.OnNotifyMessage = [&](TXaudioPlayer*, XA_Message&) { ++delivered; };
        ASSERT_TRUE(player.Init());
        XA_Player* engine = fake.lastPlayer();
        for (int i = 0; i < 10; ++i)
            fake.post(engine, playerStateNotification(1));
    }
    EXPECT_EQ(fake.livePlayers(), 0);
    processPostedEvents();
    EXPECT_EQ(delivered, 0);
}
