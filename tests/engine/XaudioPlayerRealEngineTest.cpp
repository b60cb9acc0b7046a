#include "engine/XaudioPlayer.h"

#include "support/AudioFixtures.h"
#include "support/EventLoop.h"
#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using test_support::processEventsUntil;

// The component against the engine library the application ships
// (libxaudio.so in the application folder), with the clock-paced null
// output so that the test needs no sound card.
TEST(XaudioPlayerRealEngine, OpensPlaysToTheEndAndReportsARefusedCommand) {
    setenv("XAUDIO_NULL_OUTPUT", "1", 1);
    test_support::TemporaryFolder folder;
    const std::string file = folder.file("T\xc3\xb6n.mp3");
    test_support::ToneOptions tone;
    tone.seconds = 2.0;
    test_support::makeToneMp3(file, tone);
    const QString path = QString::fromUtf8(file.c_str());

    TXaudioPlayer player;
    player.SetPriority(4);
    bool allOnGuiThread = true;
    auto onGui = [&] { allOnGuiThread = allOnGuiThread && QThread::currentThread() == qApp->thread(); };
    std::vector<int> acks;
    std::vector<std::pair<int, int>> nacks;
    std::vector<int> states;
    QString inputName;
    uint32_t duration = 0;
    uint32_t frequency = 0;
    int channels = 0;
    int timecodes = 0;
    int lastSecond = -1;
    player.OnNotifyAck = [&](TXaudioPlayer*, uint8_t command) {
        onGui();
        acks.push_back(command);
    };
    player.OnNotifyNack = [&](TXaudioPlayer*, uint8_t command, int16_t code) {
        onGui();
        nacks.emplace_back(command, code);
    };
    player.OnNotifyPlayerState = [&](TXaudioPlayer*, int state) {
        onGui();
        states.push_back(state);
    };
    player.OnNotifyInputName = [&](TXaudioPlayer*, const QString& name) { inputName = name; };
    player.OnNotifyStreamDuration = [&](TXaudioPlayer*, uint32_t seconds) { duration = seconds; };
    player.OnNotifyStreamParameters = [&](TXaudioPlayer*, uint32_t hz, int16_t, uint8_t count) {
        frequency = hz;
        channels = count;
    };
    player.OnNotifyInputTimecode = [&](TXaudioPlayer*, uint8_t, uint8_t, uint8_t seconds, uint8_t) {
        onGui();
        ++timecodes;
        lastSecond = seconds;
    };

    ASSERT_TRUE(player.Init());
    EXPECT_EQ((player.GetVersion(XA_API_ID_ASYNC) >> 8) & 0xffff, 0x0308);
    EXPECT_EQ(player.Priority(), 4);

    EXPECT_EQ(player.OutputModuleRegister(XA_DSOUND_OUTPUT_MODULE), XA_SUCCESS);
    EXPECT_EQ(player.SetInputTimecodeGranularity(1), XA_SUCCESS);
    EXPECT_EQ(player.InputOpen(path), XA_SUCCESS);
    ASSERT_TRUE(processEventsUntil([&] { return frequency != 0; }, 20000));
    EXPECT_EQ(inputName, path);
    EXPECT_EQ(duration, 2u);
    EXPECT_EQ(frequency, 44100u);
    EXPECT_EQ(channels, 2);

    EXPECT_EQ(player.Play(), XA_SUCCESS);
    ASSERT_TRUE(processEventsUntil([&] { return !states.empty() && states.back() == XA_PLAYER_STATE_EOS; }, 30000));
    EXPECT_NE(std::find(states.begin(), states.end(), XA_PLAYER_STATE_PLAYING), states.end());
    EXPECT_GT(timecodes, 10);
    EXPECT_GE(lastSecond, 1);
    EXPECT_NE(std::find(acks.begin(), acks.end(), XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER), acks.end());

    EXPECT_EQ(player.InputOpen(QString::fromStdString(folder.file("missing.mp3"))), XA_SUCCESS);
    ASSERT_TRUE(processEventsUntil([&] { return !nacks.empty(); }, 20000));
    EXPECT_EQ(nacks.front(), std::make_pair(int(XA_MSG_COMMAND_INPUT_OPEN), int(XA_ERROR_OPEN_FAILED)));
    EXPECT_FALSE(player.ErrorString(nacks.front().second).isEmpty());
    EXPECT_TRUE(allOnGuiThread);
}
