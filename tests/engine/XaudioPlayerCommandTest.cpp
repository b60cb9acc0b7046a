#include "engine/XaudioPlayer.h"

#include "support/FakeEngine.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstring>
#include <functional>

using test_support::FakeCommand;
using test_support::FakeEngine;

namespace {

class XaudioPlayerCommand : public ::testing::Test {
protected:
    XaudioPlayerCommand() { player.XaudioPath = QString::fromStdString(fake.path()); }

    FakeCommand sendOne(const std::function<int(TXaudioPlayer&)>& command) {
        fake.reset();
        EXPECT_EQ(command(player), XA_SUCCESS);
        auto commands = fake.commands();
        EXPECT_EQ(commands.size(), 1u);
        return commands.empty() ? FakeCommand{} : commands.front();
    }

    FakeEngine fake;
    TXaudioPlayer player;
};

struct CommandCase {
    const char* method;
    std::function<int(TXaudioPlayer&)> call;
    int code;
    const char* kinds;
};

// The whole command table: a wrong code or argument kind in any method shows
// up here by the method's name.
const std::vector<CommandCase>& commandTable() {
    static const std::vector<CommandCase> table = {
        {"Synchronize", [](TXaudioPlayer& p) { return p.Synchronize(); }, 2, "N"},
        {"Ping", [](TXaudioPlayer& p) { return p.Ping(1); }, 3, "I"},
        {"Play", [](TXaudioPlayer& p) { return p.Play(); }, 4, "N"},
        {"Pause", [](TXaudioPlayer& p) { return p.Pause(); }, 5, "N"},
        {"Stop", [](TXaudioPlayer& p) { return p.Stop(); }, 6, "N"},
        {"InputSeek", [](TXaudioPlayer& p) { return p.InputSeek(1, 2); }, 7, "II"},
        {"InputOpen", [](TXaudioPlayer& p) { return p.InputOpen("a"); }, 8, "S"},
        {"InputClose", [](TXaudioPlayer& p) { return p.InputClose(); }, 9, "N"},
        {"InputSendMessage", [](TXaudioPlayer& p) { return p.InputSendMessage(1, nullptr, 0); }, 10, "IPI"},
        {"InputAddFilter", [](TXaudioPlayer& p) { return p.InputAddFilter("f", 1); }, 11, "SI"},
        {"InputRemoveFilter", [](TXaudioPlayer& p) { return p.InputRemoveFilter("f", 1); }, 12, "SI"},
        {"InputFilterList", [](TXaudioPlayer& p) { return p.InputFilterList(); }, 13, "N"},
        {"InputModuleRegister", [](TXaudioPlayer& p) { return p.InputModuleRegister("m"); }, 14, "S"},
        {"InputModuleQuery", [](TXaudioPlayer& p) { return p.InputModuleQuery(1); }, 15, "I"},
        {"InputModulesList", [](TXaudioPlayer& p) { return p.InputModulesList(); }, 16, "N"},
        {"OutputOpen", [](TXaudioPlayer& p) { return p.OutputOpen("o"); }, 17, "S"},
        {"OutputClose", [](TXaudioPlayer& p) { return p.OutputClose(); }, 18, "N"},
        {"OutputSendMessage", [](TXaudioPlayer& p) { return p.OutputSendMessage(1, nullptr, 0); }, 19, "IPI"},
        {"OutputMute", [](TXaudioPlayer& p) { return p.OutputMute(); }, 20, "N"},
        {"OutputUnmute", [](TXaudioPlayer& p) { return p.OutputUnmute(); }, 21, "N"},
        {"OutputReset", [](TXaudioPlayer& p) { return p.OutputReset(); }, 22, "N"},
        {"OutputDrain", [](TXaudioPlayer& p) { return p.OutputDrain(); }, 23, "N"},
        {"OutputAddFilter", [](TXaudioPlayer& p) { return p.OutputAddFilter("f", 1); }, 24, "SI"},
        {"OutputRemoveFilter", [](TXaudioPlayer& p) { return p.OutputRemoveFilter("f", 1); }, 25, "SI"},
        {"OutputFilterList", [](TXaudioPlayer& p) { return p.OutputFilterList(); }, 26, "N"},
        {"OutputModuleRegister", [](TXaudioPlayer& p) { return p.OutputModuleRegister("m"); }, 27, "S"},
        {"OutputModuleQuery", [](TXaudioPlayer& p) { return p.OutputModuleQuery(1); }, 28, "I"},
        {"OutputModulesList", [](TXaudioPlayer& p) { return p.OutputModulesList(); }, 29, "N"},
        {"CodecSendMessage", [](TXaudioPlayer& p) { return p.CodecSendMessage(1, nullptr, 0); }, 30, "IPI"},
        {"CodecModuleRegister", [](TXaudioPlayer& p) { return p.CodecModuleRegister("m"); }, 31, "S"},
        {"CodecModuleQuery", [](TXaudioPlayer& p) { return p.CodecModuleQuery(1); }, 32, "I"},
        {"CodecModulesList", [](TXaudioPlayer& p) { return p.CodecModulesList(); }, 33, "N"},
        {"SetPlayerMode", [](TXaudioPlayer& p) { return p.SetPlayerMode(1); }, 34, "I"},
        {"GetPlayerMode", [](TXaudioPlayer& p) { return p.GetPlayerMode(); }, 35, "N"},
        {"SetPlayerEnvironmentInteger", [](TXaudioPlayer& p) { return p.SetPlayerEnvironmentInteger("n", 1); }, 36,
         "SI"},
        {"GetPlayerEnvironmentInteger", [](TXaudioPlayer& p) { return p.GetPlayerEnvironmentInteger("n"); }, 37, "S"},
        {"SetPlayerEnvironmentString", [](TXaudioPlayer& p) { return p.SetPlayerEnvironmentString("n", "v"); }, 38,
         "SS"},
        {"GetPlayerEnvironmentString", [](TXaudioPlayer& p) { return p.GetPlayerEnvironmentString("n"); }, 39, "S"},
        {"UnsetPlayerEnvironment", [](TXaudioPlayer& p) { return p.UnsetPlayerEnvironment("n"); }, 40, "S"},
        {"SetInputName", [](TXaudioPlayer& p) { return p.SetInputName("n"); }, 41, "S"},
        {"GetInputName", [](TXaudioPlayer& p) { return p.GetInputName(); }, 42, "N"},
        {"SetInputModule", [](TXaudioPlayer& p) { return p.SetInputModule(1); }, 43, "I"},
        {"GetInputModule", [](TXaudioPlayer& p) { return p.GetInputModule(); }, 44, "N"},
        {"SetInputPositionRange", [](TXaudioPlayer& p) { return p.SetInputPositionRange(1); }, 45, "I"},
        {"GetInputPositionRange", [](TXaudioPlayer& p) { return p.GetInputPositionRange(); }, 46, "N"},
        {"SetInputTimecodeGranularity", [](TXaudioPlayer& p) { return p.SetInputTimecodeGranularity(1); }, 47, "I"},
        {"GetInputTimecodeGranularity", [](TXaudioPlayer& p) { return p.GetInputTimecodeGranularity(); }, 48, "N"},
        {"SetOutputName", [](TXaudioPlayer& p) { return p.SetOutputName("n"); }, 49, "S"},
        {"GetOutputName", [](TXaudioPlayer& p) { return p.GetOutputName(); }, 50, "N"},
        {"SetOutputModule", [](TXaudioPlayer& p) { return p.SetOutputModule(1); }, 51, "I"},
        {"GetOutputModule", [](TXaudioPlayer& p) { return p.GetOutputModule(); }, 52, "N"},
        {"SetOutputVolume", [](TXaudioPlayer& p) { return p.SetOutputVolume(1, 2, 3); }, 57, "III"},
        {"GetOutputVolume", [](TXaudioPlayer& p) { return p.GetOutputVolume(); }, 58, "N"},
        {"SetOutputChannels", [](TXaudioPlayer& p) { return p.SetOutputChannels(1); }, 59, "I"},
        {"GetOutputChannels", [](TXaudioPlayer& p) { return p.GetOutputChannels(); }, 60, "N"},
        {"SetOutputPorts", [](TXaudioPlayer& p) { return p.SetOutputPorts(1); }, 61, "I"},
        {"GetOutputPorts", [](TXaudioPlayer& p) { return p.GetOutputPorts(); }, 62, "N"},
        {"SetCodecQuality", [](TXaudioPlayer& p) { return p.SetCodecQuality(1); }, 63, "I"},
        {"GetCodecQuality", [](TXaudioPlayer& p) { return p.GetCodecQuality(); }, 64, "N"},
        {"SetCodecEqualizer", [](TXaudioPlayer& p) { return p.SetCodecEqualizer(nullptr); }, 65, "P"},
        {"GetCodecEqualizer", [](TXaudioPlayer& p) { return p.GetCodecEqualizer(); }, 66, "N"},
        {"SetNotificationMask", [](TXaudioPlayer& p) { return p.SetNotificationMask(1); }, 69, "I"},
        {"GetNotificationMask", [](TXaudioPlayer& p) { return p.GetNotificationMask(); }, 70, "N"},
        {"SetDebugLevel", [](TXaudioPlayer& p) { return p.SetDebugLevel(1); }, 71, "I"},
        {"GetDebugLevel", [](TXaudioPlayer& p) { return p.GetDebugLevel(); }, 72, "N"},
        {"FeedbackHandlerModuleRegister", [](TXaudioPlayer& p) { return p.FeedbackHandlerModuleRegister("m"); }, 125,
         "S"},
        {"FeedbackHandlerModuleQuery", [](TXaudioPlayer& p) { return p.FeedbackHandlerModuleQuery(1); }, 126, "I"},
        {"FeedbackHandlerModulesList", [](TXaudioPlayer& p) { return p.FeedbackHandlerModulesList(); }, 127, "N"},
        {"FeedbackHandlerStart", [](TXaudioPlayer& p) { return p.FeedbackHandlerStart(); }, 129, "N"},
        {"FeedbackHandlerStop", [](TXaudioPlayer& p) { return p.FeedbackHandlerStop(); }, 130, "N"},
        {"FeedbackHandlerSendMessage", [](TXaudioPlayer& p) { return p.FeedbackHandlerSendMessage(1, nullptr, 0); },
         134, "IPI"},
        {"SetFeedbackAudioEventRate", [](TXaudioPlayer& p) { return p.SetFeedbackAudioEventRate(40); }, 139, "I"},
        {"GetFeedbackAudioEventRate", [](TXaudioPlayer& p) { return p.GetFeedbackAudioEventRate(); }, 140, "N"},
        {"SetFeedbackHandlerName", [](TXaudioPlayer& p) { return p.SetFeedbackHandlerName("n"); }, 141, "S"},
        {"GetFeedbackHandlerName", [](TXaudioPlayer& p) { return p.GetFeedbackHandlerName(); }, 142, "N"},
        {"SetFeedbackHandlerModule", [](TXaudioPlayer& p) { return p.SetFeedbackHandlerModule(1); }, 143, "I"},
        {"GetFeedbackHandlerModule", [](TXaudioPlayer& p) { return p.GetFeedbackHandlerModule(); }, 144, "N"},
        {"SetFeedbackHandlerEnvironmentInteger",
         [](TXaudioPlayer& p) { return p.SetFeedbackHandlerEnvironmentInteger("n", 1); }, 145, "SI"},
        {"GetFeedbackHandlerEnvironmentInteger",
         [](TXaudioPlayer& p) { return p.GetFeedbackHandlerEnvironmentInteger("n"); }, 146, "S"},
        {"SetFeedbackHandlerEnvironmentString",
         [](TXaudioPlayer& p) { return p.SetFeedbackHandlerEnvironmentString("n", "v"); }, 147, "SS"},
        {"GetFeedbackHandlerEnvironmentString",
         [](TXaudioPlayer& p) { return p.GetFeedbackHandlerEnvironmentString("n"); }, 148, "S"},
        {"UnsetFeedbackHandlerEnvironment", [](TXaudioPlayer& p) { return p.UnsetFeedbackHandlerEnvironment("n"); },
         149, "S"},
    };
    return table;
}

} // namespace

TEST_F(XaudioPlayerCommand, EveryMethodSendsItsCodeWithItsArgumentKinds) {
    ASSERT_TRUE(player.Init());
    for (const auto& entry : commandTable()) {
        SCOPED_TRACE(entry.method);
        const FakeCommand command = sendOne(entry.call);
        EXPECT_EQ(command.code, entry.code);
        EXPECT_EQ(command.kinds, entry.kinds);
        EXPECT_EQ(command.player, fake.lastPlayer());
    }
}

TEST_F(XaudioPlayerCommand, OrdinaryCommandsStartTheEngineThemselves) {
    EXPECT_FALSE(player.hasPlayer());
    EXPECT_EQ(player.Stop(), XA_SUCCESS);
    EXPECT_TRUE(player.hasPlayer());
    ASSERT_EQ(fake.commands().size(), 1u);
    EXPECT_EQ(fake.commands().front().code, XA_MSG_COMMAND_STOP);
}

TEST_F(XaudioPlayerCommand, FeedbackCommandsWithoutAPlayerSendNothingAndReportIt) {
    EXPECT_EQ(player.FeedbackHandlerStart(), XA_ERROR_INVALID_STATE);
    EXPECT_EQ(player.SetFeedbackHandlerName("Feedback-Display"), XA_ERROR_INVALID_STATE);
    EXPECT_FALSE(player.isLibraryLoaded());
    EXPECT_EQ(fake.livePlayers(), 0);
    EXPECT_TRUE(fake.commands().empty());
}

TEST_F(XaudioPlayerCommand, IntegersArriveInTheCallersOrder) {
    auto seek = sendOne([](TXaudioPlayer& p) { return p.InputSeek(205, 400); });
    EXPECT_EQ(seek.integers, (std::vector<int>{205, 400}));

    auto volume = sendOne([](TXaudioPlayer& p) { return p.SetOutputVolume(-1, 80, -1); });
    EXPECT_EQ(volume.integers, (std::vector<int>{-1, 80, -1}));

    auto ping = sendOne([](TXaudioPlayer& p) { return p.Ping(-559038737); });
    EXPECT_EQ(ping.integers, (std::vector<int>{-559038737}));
}

TEST_F(XaudioPlayerCommand, ByteAndWordArgumentsAreZeroExtended) {
    auto quality = sendOne([](TXaudioPlayer& p) { return p.SetCodecQuality(200); });
    EXPECT_EQ(quality.integers, (std::vector<int>{200}));

    const char data[3] = {1, 2, 3};
    auto message = sendOne([&](TXaudioPlayer& p) { return p.InputSendMessage(0xfffe, data, 3); });
    EXPECT_EQ(message.integers, (std::vector<int>{0xfffe, 3}));
    EXPECT_FALSE(message.pointerIsNull);
    EXPECT_EQ(message.pointerBytes, (std::vector<uint8_t>{1, 2, 3}));

    auto ports = sendOne([](TXaudioPlayer& p) { return p.SetOutputPorts(0x80000001u); });
    EXPECT_EQ(static_cast<uint32_t>(ports.integers.at(0)), 0x80000001u);
}

TEST_F(XaudioPlayerCommand, TextsArriveAsFileNameBytes) {
    const QString path = QString::fromUtf8("/music/Für Elise – Ωmega.mp3");
    auto open = sendOne([&](TXaudioPlayer& p) { return p.InputOpen(path); });
    ASSERT_EQ(open.texts.size(), 1u);
    EXPECT_EQ(open.texts[0], QFile::encodeName(path).toStdString());
    EXPECT_EQ(open.texts[0], "/music/F\xc3\xbcr Elise \xe2\x80\x93 \xce\xa9mega.mp3");

    auto pitch =
        sendOne([](TXaudioPlayer& p) { return p.SetPlayerEnvironmentInteger("OUTPUT.DIRECTSOUND.PITCH", 1040); });
    EXPECT_EQ(pitch.texts, (std::vector<std::string>{"OUTPUT.DIRECTSOUND.PITCH"}));
    EXPECT_EQ(pitch.integers, (std::vector<int>{1040}));

    auto both =
        sendOne([](TXaudioPlayer& p) { return p.SetPlayerEnvironmentString("OUTPUT.CAPTURE.FILE", "/tmp/a.wav"); });
    EXPECT_EQ(both.texts, (std::vector<std::string>{"OUTPUT.CAPTURE.FILE", "/tmp/a.wav"}));

    auto empty = sendOne([](TXaudioPlayer& p) { return p.SetOutputName(QString()); });
    EXPECT_EQ(empty.texts, (std::vector<std::string>{""}));
}

TEST_F(XaudioPlayerCommand, EqualizerTableOrNullReachesTheEngine) {
    XA_EqualizerInfo table{};
    for (int band = 0; band < 32; ++band) {
        table.left[band] = static_cast<int8_t>(band - 16);
        table.right[band] = static_cast<int8_t>(16 - band);
    }
    auto set = sendOne([&](TXaudioPlayer& p) { return p.SetCodecEqualizer(&table); });
    EXPECT_TRUE(set.hasPointer);
    EXPECT_FALSE(set.pointerIsNull);
    ASSERT_EQ(set.pointerBytes.size(), sizeof(XA_EqualizerInfo));
    EXPECT_EQ(std::memcmp(set.pointerBytes.data(), &table, sizeof(table)), 0);

    auto off = sendOne([](TXaudioPlayer& p) { return p.SetCodecEqualizer(nullptr); });
    EXPECT_TRUE(off.hasPointer);
    EXPECT_TRUE(off.pointerIsNull);
}

TEST_F(XaudioPlayerCommand, EngineStatusIsReturnedUnchanged) {
    ASSERT_TRUE(player.Init());
    fake.setCommandStatus(XA_ERROR_UNKNOWN_COMMAND);
    EXPECT_EQ(player.Play(), XA_ERROR_UNKNOWN_COMMAND);
    EXPECT_EQ(player.FeedbackHandlerStart(), XA_ERROR_UNKNOWN_COMMAND);
}

TEST_F(XaudioPlayerCommand, DeckSetUpSequenceReachesTheEngineInOrder) {
    player.SetPriority(4);
    player.OutputModuleRegister("xa_dsound_output.dll");
    player.SetOutputName("/dev/dsound/0");
    player.SetFeedbackHandlerEnvironmentInteger("DISPLAY.LEFT", 24);
    player.FeedbackHandlerModuleRegister("function@7f00deadbeef");
    player.FeedbackHandlerStart();

    const auto commands = fake.commands();
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_EQ(commands[0].code, 27);
    EXPECT_EQ(commands[0].texts.at(0), "xa_dsound_output.dll");
    EXPECT_EQ(commands[1].code, 49);
    EXPECT_EQ(commands[2].code, 145);
    EXPECT_EQ(commands[3].code, 125);
    EXPECT_EQ(commands[3].texts.at(0), "function@7f00deadbeef");
    EXPECT_EQ(commands[4].code, 129);
    EXPECT_EQ(fake.priority(fake.lastPlayer()), 4);
}
