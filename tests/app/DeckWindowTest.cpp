#include "Deck.h"
#include "MouseRegion.h"
#include "Players.h"
#include "Preferences.h"
#include "WindowSet.h"
#include "contracts/MessageNumbers.h"
#include "contracts/MixerApi.h"
#include "contracts/PlayListApi.h"
#include "engine/feedback/DisplayModes.h"
#include "engine/feedback/DisplayState.h"
#include "engine/feedback/FeedbackDisplay.h"
#include "mixer/Mixer.h"
#include "platform/ApplicationFolder.h"
#include "platform/ErrorReport.h"
#include "playlist/PlayListForm.h"

#include "support/AudioFixtures.h"
#include "support/EventLoop.h"
#include "support/FakeEngine.h"
#include "support/TemporaryFolder.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace test_support;

// Lets failures show texts rather than bytes.
void PrintTo(const QString& text, std::ostream* stream) {
    *stream << '"' << text.toStdString() << '"';
}

namespace {

class StandInPlayList : public PlayListApi {
public:
    QString NextTrack() override {
        ++asked;
        if (tracks.isEmpty())
            return QStringLiteral("False");
        LoadedBpm = QStringLiteral("000.0");
        return tracks.takeFirst();
    }
    void SelectAll() override { keyCommands << QStringLiteral("SelectAll"); }
    void RemoveSelected() override { keyCommands << QStringLiteral("ListMinus"); }
    void SendToWaitList() override { keyCommands << QStringLiteral("WaitListPlus"); }
    QStringList tracks;
    int asked = 0;
    QStringList keyCommands;
};

class StandInMixer : public MixerApi {
public:
    void AutoFadeToA() override { ++fadesToA; }
    void AutoFadeToB() override { ++fadesToB; }
    void MetersChanged() override { ++meterChanges; }
    int fadesToA = 0;
    int fadesToB = 0;
    int meterChanges = 0;
};

QString displayText(const TDeck& deck, const char* name) {
    for (const auto& display : deck.SkinForm1->model().displays())
        if (display.Name == QLatin1String(name))
            return display.Text;
    ADD_FAILURE() << "no display " << name;
    return {};
}

int gaugePosition(const TDeck& deck) {
    for (const auto& gauge : deck.SkinForm1->model().gauges())
        if (gauge.Name == QLatin1String("Position"))
            return gauge.Position;
    ADD_FAILURE() << "no Position gauge";
    return -1;
}

class DeckTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousReporter = platform::setErrorReporter([this](const QString& text) { errors << text; });
        TDeck::setEngineLibrary(QString::fromStdString(fake.path()));
        deckA = std::make_unique<TPlayerA>();
        playerA = fake.lastPlayer();
        deckB = std::make_unique<TPlayerB>();
        playerB = fake.lastPlayer();
        deckA->linkPartners(deckB.get(), &playList, &mixer);
        deckB->linkPartners(deckA.get(), &playList, &mixer);
        // The tests tick the display timer by hand: the real one would tick
        // whenever events are processed, at moments that depend on how busy
        // the machine is. Its signal is blocked rather than the timer
        // stopped, since the deck starts it again whenever there is
        // something to show.
        deckA->VrTimer1.blockSignals(true);
        deckB->VrTimer1.blockSignals(true);
        writeFile(folder.file("track.mp3"), std::string(4096, 'x'));
        track = QString::fromStdString(folder.file("track.mp3"));
    }

    void TearDown() override {
        deckB.reset();
        deckA.reset();
        TDeck::setEngineLibrary(QString());
        platform::setErrorReporter(std::move(m_previousReporter));
    }

    std::vector<FakeCommand> commandsOf(XA_Player* player, int code = -1) const {
        std::vector<FakeCommand> result;
        for (FakeCommand& command : fake.commands())
            if (command.player == player && (code < 0 || command.code == code))
                result.push_back(std::move(command));
        return result;
    }
    // The value of the last "OUTPUT.DIRECTSOUND.PITCH" sent to the player.
    int lastPitchSent(XA_Player* player) const {
        int pitch = -1;
        for (const FakeCommand& command : commandsOf(player, XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER))
            if (command.texts.at(0) == "OUTPUT.DIRECTSOUND.PITCH")
                pitch = command.integers.at(0);
        return pitch;
    }
    void notify(XA_Player* player, const XA_Message& message) {
        ASSERT_EQ(fake.post(player, message), XA_SUCCESS);
        processPostedEvents();
    }
    void playDeckA(uint32_t durationSeconds) {
        playList.LoadedBpm = QStringLiteral("000.0");
        deckA->LoadTrack(track);
        deckA->PlayPause();
        notify(playerA, playerStateNotification(1));
        notify(playerA, streamDurationNotification(durationSeconds));
    }

    TemporaryFolder folder;
    WorkingDirectory workingDirectory{folder.path()};
    FakeEngine fake;
    StandInPlayList playList;
    StandInMixer mixer;
    QStringList errors;
    std::unique_ptr<TPlayerA> deckA;
    std::unique_ptr<TPlayerB> deckB;
    XA_Player* playerA = nullptr;
    XA_Player* playerB = nullptr;
    QString track;

private:
    platform::ErrorReporter m_previousReporter;
};

} // namespace

TEST_F(DeckTest, CreationSetsUpTheEngineInOrderWithItsValues) {
    ASSERT_NE(playerA, nullptr);
    ASSERT_NE(playerA, playerB);
    EXPECT_EQ(fake.priority(playerA), 4);
    const int window = static_cast<int>(deckA->winId());
    // The default skin places the spectrum display.
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(deckA->SkinForm1->GetAreaRect(QStringLiteral("SpectrumDisplay"), left, top, width, height));
    struct Expected {
        int code;
        std::vector<std::string> texts;
        std::vector<int> integers;
    };
    const std::vector<Expected> expected = {
        {XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER, {"xa_dsound_output.dll"}, {}},
        {XA_MSG_SET_PLAYER_ENVIRONMENT_INTEGER, {"OUTPUT.DIRECTSOUND.WINDOW"}, {window}},
        {XA_MSG_SET_OUTPUT_NAME, {"/dev/dsound/0"}, {}},
        {XA_MSG_SET_INPUT_TIMECODE_GRANULARITY, {}, {1}},
        {XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER, {"CLIENT.MAIN-WINDOW"}, {window}},
        {XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER, {"DISPLAY.LEFT"}, {left}},
        {XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER, {"DISPLAY.TOP"}, {top}},
        {XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER, {"DISPLAY.WIDTH"}, {width}},
        {XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER, {"DISPLAY.HEIGHT"}, {height}},
        {XA_MSG_COMMAND_FEEDBACK_HANDLER_MODULE_REGISTER, {engine::feedbackModuleRegistrationName().toStdString()}, {}},
        {XA_MSG_SET_FEEDBACK_HANDLER_NAME, {"Feedback-Display"}, {}},
        {XA_MSG_SET_FEEDBACK_AUDIO_EVENT_RATE, {}, {40}},
        {XA_MSG_COMMAND_FEEDBACK_HANDLER_START, {}, {}},
    };
    // Deck A's first commands; the preferences were not applied here.
    const std::vector<FakeCommand> sent = commandsOf(playerA);
    ASSERT_GE(sent.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sent[i].code, expected[i].code) << i;
        EXPECT_EQ(sent[i].texts, expected[i].texts) << i;
        EXPECT_EQ(sent[i].integers, expected[i].integers) << i;
    }
    EXPECT_EQ(sent.size(), expected.size()) << "and nothing else";
    const QString registration = engine::feedbackModuleRegistrationName();
    ASSERT_TRUE(registration.startsWith(QStringLiteral("function@")));
    EXPECT_EQ(registration.mid(9), registration.mid(9).toLower());
    bool ok = false;
    EXPECT_EQ(registration.mid(9).toULongLong(&ok, 16), reinterpret_cast<quintptr>(&engine::feedbackDisplayModuleInit));
    EXPECT_TRUE(ok);
    EXPECT_EQ(commandsOf(playerB).size(), expected.size());
}

TEST_F(DeckTest, StartsClosedShowingItsInitialTextsAndWithDeckBsEarlierStartThreshold) {
    EXPECT_EQ(deckA->StateText, QStringLiteral("CLOSED"));
    EXPECT_EQ(displayText(*deckA, "PlayerState"), QStringLiteral("CLOSED"));
    EXPECT_EQ(displayText(*deckA, "Artist"), QStringLiteral("Drovan"));
    EXPECT_EQ(displayText(*deckA, "BPM"), QStringLiteral("BPM 000.0"));
    EXPECT_EQ(deckA->StartOtherThreshold, QStringLiteral("00:10:02"));
    EXPECT_EQ(deckB->StartOtherThreshold, QStringLiteral("00:10:00"));
    EXPECT_EQ(deckA->SkinForm1->GetTrackBarPosition(QStringLiteral("PitchSlider")), 50);
    // Nothing is sent while no track is loaded.
    const size_t before = commandsOf(playerA).size();
    deckA->PlayPause();
    deckA->StopTrack();
    deckA->SeekForward();
    EXPECT_EQ(commandsOf(playerA).size(), before);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(DeckTest, ARefusedCommandIsReportedWithItsName) {
    notify(playerA, nackNotification(XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER, XA_ERROR_NO_SUCH_MODULE));
    ASSERT_TRUE(processEventsUntil([&] { return !errors.isEmpty(); }));
    const QString engineText = deckA->XaudioPlayer1->ErrorString(XA_ERROR_NO_SUCH_MODULE);
    EXPECT_FALSE(engineText.isEmpty());
    EXPECT_EQ(errors.first(), QStringLiteral("Command Failed [OutputModuleRegister] (") + engineText + ")");
    notify(playerA, nackNotification(XA_MSG_COMMAND_INPUT_OPEN, XA_ERROR_OPEN_FAILED));
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("Command Failed [8] ("))) << errors[1].toStdString();
    EXPECT_EQ(deckA->StateText, QStringLiteral("CLOSED"));
}

TEST_F(DeckTest, AFailedSoundOutputIsReportedOnceWithTheDevicesName) {
    XA_Message error{};
    error.code = XA_MSG_NOTIFY_ERROR;
    error.data.error.code = XA_ERROR_OUTPUT_FAILED;
    std::strcpy(error.data.error.message, "The sound output /dev/dsound/1 (USB Audio) cannot be opened");
    notify(playerA, error);
    notify(playerA, nackNotification(XA_MSG_COMMAND_PLAY, XA_ERROR_OUTPUT_FAILED));
    notify(playerA, nackNotification(XA_MSG_COMMAND_INPUT_OPEN, XA_ERROR_OPEN_FAILED));
    ASSERT_TRUE(processEventsUntil([&] { return errors.size() >= 2; }));
    EXPECT_EQ(errors.first(), QStringLiteral("The sound output /dev/dsound/1 (USB Audio) cannot be opened"));
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("Command Failed [8] ("))) << errors[1].toStdString();
}

TEST_F(DeckTest, AnUntaggedFileShowsNoArtistAndItsNameAsTitle) {
    const std::string name = "an untagged file with a long name.mp3";
    writeFile(folder.file(name), std::string(1000, '\0'));
    playList.LoadedBpm = QStringLiteral("000.0");
    deckA->LoadTrack(QString::fromStdString(folder.file(name)));
    const auto opened = commandsOf(playerA, XA_MSG_COMMAND_INPUT_OPEN);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].texts.at(0), folder.file(name));
    EXPECT_EQ(deckA->StateText, QStringLiteral("LOADED"));
    EXPECT_EQ(displayText(*deckA, "PlayerState"), QStringLiteral("LOADED"));

    notify(playerA, inputNameNotification("ignored by the deck"));
    EXPECT_EQ(deckA->ArtistText, QString());
    EXPECT_EQ(displayText(*deckA, "Artist"), QString());
    EXPECT_EQ(deckA->TitleText, QString::fromStdString(name.substr(0, 30)) + " - ");
    EXPECT_EQ(displayText(*deckA, "Title"), deckA->TitleText);
}

TEST_F(DeckTest, TaggedFileShowsArtistAndTitleWithAlbumWithoutUnprintableBytes) {
    std::string tag = "TAG";
    auto field = [](std::string text, size_t size) {
        text.resize(size, '\0');
        return text;
    };
    tag += field("Night\x01 Drive", 30) +
           field("The \x7f"
                 "Band",
                 30) +
           field("First", 30) + field("2001", 4) + field("", 30) + std::string(1, '\x11');
    writeFile(folder.file("tagged.mp3"), std::string(500, 'x') + tag);
    playList.LoadedBpm = QStringLiteral("000.0");
    deckA->LoadTrack(QString::fromStdString(folder.file("tagged.mp3")));
    notify(playerA, inputNameNotification("x"));
    EXPECT_EQ(displayText(*deckA, "Artist"), QStringLiteral("The Band"));
    EXPECT_EQ(displayText(*deckA, "Title"), QStringLiteral("Night Drive - First"));
}

TEST_F(DeckTest, TimeTextsFollowDurationAndTimecodes) {
    playDeckA(200);
    EXPECT_EQ(displayText(*deckA, "RemainingTime"), QStringLiteral("03:20:00"));
    notify(playerA, inputTimecodeNotification(0, 0, 0, 0));
    EXPECT_EQ(deckA->ElapsedText, QStringLiteral("00:00:00"));
    EXPECT_EQ(deckA->RemainingText, QStringLiteral("03:20:99"));
    deckA->VrTimer1Timer();
    EXPECT_EQ(displayText(*deckA, "RemainingTime"), QStringLiteral("03:20:99"));

    notify(playerA, inputTimecodeNotification(0, 1, 45, 12));
    EXPECT_EQ(deckA->RemainingText, QStringLiteral("01:35:87"));
    deckA->VrTimer1Timer();
    EXPECT_EQ(displayText(*deckA, "ElapsedTime"), QStringLiteral("01:45:12"));

    deckA->TimeRegionClick();
    EXPECT_EQ(displayText(*deckA, "ElapsedTime"), QStringLiteral("01:35:87"));
    EXPECT_EQ(displayText(*deckA, "Elapsed"), QStringLiteral("Remaining"));
    deckA->VrTimer1Timer();
    EXPECT_EQ(displayText(*deckA, "ElapsedTime"), QStringLiteral("01:35:87"));
    deckA->TimeRegionClick();
    EXPECT_EQ(displayText(*deckA, "ElapsedTime"), QStringLiteral("01:45:12"));

    deckA->StopTrack();
    EXPECT_EQ(commandsOf(playerA, XA_MSG_COMMAND_STOP).size(), 1u);
    EXPECT_EQ(displayText(*deckA, "ElapsedTime"), QStringLiteral("00:00:00"));
    EXPECT_EQ(displayText(*deckA, "RemainingTime"), QStringLiteral("03:20:00"));
}

TEST_F(DeckTest, StreamParametersShowKilohertzAndKilobits) {
    notify(playerA, streamParametersNotification(44100, 128, 2));
    EXPECT_EQ(displayText(*deckA, "KHZ"), QStringLiteral("44.1KHz"));
    EXPECT_EQ(displayText(*deckA, "KBPS"), QStringLiteral("128Kbps"));
}

TEST_F(DeckTest, TheTimeRegionSitsOnTheElapsedTimeAndTogglesOnAClick) {
    int left = -1, top = -1;
    deckA->SkinForm1->GetDisplayPos(QStringLiteral("ElapsedTime"), left, top);
    EXPECT_EQ(deckA->TimeRegion->geometry(), QRect(left, top, 129, 49));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), deckA->TimeRegion->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), deckA->TimeRegion->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(deckA->TimeRegion, &press);
    QApplication::sendEvent(deckA->TimeRegion, &release);
    EXPECT_FALSE(deckA->ShowElapsed);
}

TEST_F(DeckTest, SliderPositionsGiveTruncatedPitchesInsideTheRange) {
    deckA->SkinForm1TrackBarNotify(QStringLiteral("PitchSlider"), 0);
    EXPECT_EQ(deckA->PitchValue, 920);
    EXPECT_EQ(lastPitchSent(playerA), 920);
    deckA->SkinForm1TrackBarNotify(QStringLiteral("PitchSlider"), 33);
    EXPECT_EQ(deckA->PitchValue, 972);
    EXPECT_EQ(lastPitchSent(playerA), 972);
    deckA->SkinForm1TrackBarNotify(QStringLiteral("PitchSlider"), 100);
    EXPECT_EQ(deckA->PitchValue, 1080);
    deckA->PitchFaster();
    EXPECT_EQ(deckA->PitchValue, 1080);
    EXPECT_EQ(lastPitchSent(playerA), 1080);
    deckA->PitchSlower();
    EXPECT_EQ(deckA->PitchValue, 1079);
    EXPECT_EQ(deckA->SkinForm1->GetTrackBarPosition(QStringLiteral("PitchSlider")), 99);

    deckA->BendUp();
    EXPECT_EQ(lastPitchSent(playerA), 1129);
    deckA->BendRelease();
    EXPECT_EQ(lastPitchSent(playerA), 1079);
    deckA->BendDown();
    EXPECT_EQ(lastPitchSent(playerA), 1029);
    EXPECT_EQ(deckA->PitchValue, 1079) << "a bend leaves the pitch value";

    deckA->PitchReset();
    EXPECT_EQ(deckA->PitchValue, 1000);
    EXPECT_EQ(lastPitchSent(playerA), 1000);
    EXPECT_EQ(deckA->SkinForm1->GetTrackBarPosition(QStringLiteral("PitchSlider")), 50);
}

TEST_F(DeckTest, ShownTempoFollowsThePitch) {
    playList.LoadedBpm = QStringLiteral("128.0");
    deckA->LoadTrack(track);
    EXPECT_EQ(deckA->CurrentBPM, QStringLiteral("128"));
    EXPECT_EQ(displayText(*deckA, "BPM"), QStringLiteral("BPM 128"));
    deckA->SkinForm1TrackBarNotify(QStringLiteral("PitchSlider"), 75);
    EXPECT_EQ(deckA->PitchValue, 1040);
    EXPECT_EQ(deckA->CurrentBPM, QStringLiteral("133.1"));
    EXPECT_EQ(displayText(*deckA, "BPM"), QStringLiteral("BPM 133.1"));
    deckA->PitchReset();
    EXPECT_EQ(displayText(*deckA, "BPM"), QStringLiteral("BPM 128.0"));

    // A track whose tempo was not measured shows none, whatever came before.
    playList.LoadedBpm = QStringLiteral("000.0");
    deckA->LoadTrack(track);
    deckA->SkinForm1TrackBarNotify(QStringLiteral("PitchSlider"), 75);
    EXPECT_EQ(deckA->CurrentBPM, QStringLiteral("000.0"));
    EXPECT_EQ(displayText(*deckA, "BPM"), QStringLiteral("BPM 000.0"));
}

TEST_F(DeckTest, MatchingTheOtherDecksTempoStaysInsideThePitchRange) {
    playList.LoadedBpm = QStringLiteral("130");
    deckB->LoadTrack(track);
    playList.LoadedBpm = QStringLiteral("120");
    deckA->LoadTrack(track);
    deckA->SkinForm1MouseDownNotify(QStringLiteral("BPMMatch"), Qt::LeftButton, 0, 0);
    EXPECT_EQ(deckA->PitchValue, 1080);
    EXPECT_EQ(lastPitchSent(playerA), 1080);
    EXPECT_EQ(deckA->SkinForm1->GetTrackBarPosition(QStringLiteral("PitchSlider")), 100);
    EXPECT_EQ(deckA->CurrentBPM, QStringLiteral("129.6"));

    PreferenceValues values;
    values.pitchPercentA = 16;
    deckA->ApplyPreferences(values);
    deckA->MatchBPM();
    EXPECT_EQ(deckA->PitchValue, 1083);
    EXPECT_EQ(deckA->CurrentBPM, QStringLiteral("130"));
}

TEST_F(DeckTest, AutomaticMatchOnLoad) {
    playList.LoadedBpm = QStringLiteral("125");
    deckB->LoadTrack(track);
    deckA->AutoBPMMatch = true;
    playList.LoadedBpm = QStringLiteral("124");
    deckA->LoadTrack(track);
    EXPECT_EQ(deckA->PitchValue, 1008);
    EXPECT_EQ(deckA->CurrentBPM, QStringLiteral("125"));
}

TEST_F(DeckTest, SeekRegionLiesOverThePositionGaugeAndSeeksOnlyAfterFirstPlayback) {
    int left = 0, top = 0, width = 0, height = 0;
    deckA->SkinForm1->GetGaugeRect(QStringLiteral("Position"), left, top, width, height);
    ASSERT_GT(width, 1);
    EXPECT_EQ(deckA->SeekRegion->geometry(), QRect(left, top, width, height));
    auto pressAt = [&](int x) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 1), deckA->SeekRegion->mapToGlobal(QPointF(x, 1)),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(deckA->SeekRegion, &press);
    };

    playList.LoadedBpm = QStringLiteral("000.0");
    deckA->LoadTrack(track);
    notify(playerA, inputPositionNotification(0, 400));
    pressAt(width / 2);
    EXPECT_TRUE(commandsOf(playerA, XA_MSG_COMMAND_INPUT_SEEK).empty()) << "no seek before the first playback";

    notify(playerA, playerStateNotification(1));
    // Width 2n: half the width is exactly half the range; any width: x * range div width.
    pressAt(width / 2);
    const auto seeks = commandsOf(playerA, XA_MSG_COMMAND_INPUT_SEEK);
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0].integers, (std::vector<int>{width / 2 * 400 / width, 400}));
    if (width % 2 == 0) {
        EXPECT_EQ(seeks[0].integers.at(0), 200);
    }
    EXPECT_EQ(deckA->PositionOffset, seeks[0].integers.at(0));
    EXPECT_EQ(gaugePosition(*deckA), deckA->PositionOffset);

    deckA->SeekForward();
    EXPECT_EQ(commandsOf(playerA, XA_MSG_COMMAND_INPUT_SEEK).back().integers,
              (std::vector<int>{deckA->PositionOffset + 5, 400}));
}

TEST_F(DeckTest, AVolumeMessageBeforeFirstPlaybackIsAppliedAtTheFirstPlayingState) {
    platform::PostMessage(deckA.get(), messages::kVolumeDeckA, 55);
    platform::PostMessage(deckA.get(), messages::kVolumeDeckB, 11);
    processPostedEvents();
    EXPECT_EQ(deckA->Volume, 55);
    EXPECT_TRUE(commandsOf(playerA, XA_MSG_SET_OUTPUT_VOLUME).empty());

    playList.LoadedBpm = QStringLiteral("000.0");
    deckA->LoadTrack(track);
    deckA->PlayPause();
    EXPECT_EQ(commandsOf(playerA, XA_MSG_COMMAND_PLAY).size(), 1u);
    notify(playerA, playerStateNotification(1));
    EXPECT_EQ(deckA->StateText, QStringLiteral("PLAYING"));
    EXPECT_TRUE(deckA->VolumeApplied);
    auto volumes = commandsOf(playerA, XA_MSG_SET_OUTPUT_VOLUME);
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_EQ(volumes[0].integers, (std::vector<int>{-1, 55, -1}));

    platform::PostMessage(deckA.get(), messages::kVolumeDeckA, 70);
    processPostedEvents();
    volumes = commandsOf(playerA, XA_MSG_SET_OUTPUT_VOLUME);
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[1].integers, (std::vector<int>{-1, 70, -1}));

    // Below zero is silence, -1 included (the engine reads -1 as "keep").
    for (int level : {-1, -20}) {
        platform::PostMessage(deckA.get(), messages::kVolumeDeckA, static_cast<uintptr_t>(level));
        processPostedEvents();
        EXPECT_EQ(deckA->Volume, level);
        EXPECT_EQ(commandsOf(playerA, XA_MSG_SET_OUTPUT_VOLUME).back().integers, (std::vector<int>{-1, 0, -1}));
    }
    platform::PostMessage(deckA.get(), messages::kVolumeDeckA, 70);
    processPostedEvents();

    // Pausing and playing again does not apply it a second time.
    deckA->PlayPause();
    EXPECT_EQ(commandsOf(playerA, XA_MSG_COMMAND_PAUSE).size(), 1u);
    notify(playerA, playerStateNotification(2));
    EXPECT_EQ(displayText(*deckA, "PlayerState"), QStringLiteral("PAUSED"));
    notify(playerA, playerStateNotification(1));
    EXPECT_EQ(commandsOf(playerA, XA_MSG_SET_OUTPUT_VOLUME).size(), 5u);
}

TEST_F(DeckTest, DisplayTimerSleepsOnceAStoppedDeckShowsItsLastStateAndWakesForPlayback) {
    deckA->VrTimer1.blockSignals(false);
    playDeckA(200);
    notify(playerA, inputPositionNotification(150, 400));
    deckA->FlashActive = true;
    deckA->TickCount = 0;
    deckA->VrTimer1Timer();
    ASSERT_EQ(displayText(*deckA, "Elapsed"), QString());
    ASSERT_EQ(gaugePosition(*deckA), 0);
    ASSERT_TRUE(deckA->VrTimer1.isActive());

    // Stopped in the middle of a flash: the labels and the position come back
    // before the timer goes to sleep.
    notify(playerA, playerStateNotification(0));
    notify(playerA, inputPositionNotification(0, 400));
    EXPECT_TRUE(processEventsUntil([&] { return !deckA->VrTimer1.isActive(); }));
    EXPECT_EQ(displayText(*deckA, "Elapsed"), QStringLiteral("Elapsed"));
    EXPECT_EQ(displayText(*deckA, "Remaining"), QStringLiteral("Remaining"));
    EXPECT_EQ(gaugePosition(*deckA), 0);

    // A position that arrives while stopped (a seek) is shown too.
    notify(playerA, inputPositionNotification(200, 400));
    EXPECT_TRUE(deckA->VrTimer1.isActive());
    EXPECT_TRUE(processEventsUntil([&] { return !deckA->VrTimer1.isActive(); }));
    EXPECT_EQ(gaugePosition(*deckA), 200);

    deckA->PlayPause();
    notify(playerA, playerStateNotification(1));
    EXPECT_TRUE(deckA->VrTimer1.isActive());
}

TEST_F(DeckTest, WithAutoPlayOffNothingIsHandedOverHoweverLowTheRemainingTime) {
    playList.AutoPlay = false;
    playList.tracks << track;
    playList.LoadedBpm = QStringLiteral("000.0");
    deckB->LoadTrack(track);
    playDeckA(30);
    for (uint8_t second : {0, 15, 20, 25, 29})
        notify(playerA, inputTimecodeNotification(0, 0, second, 99));
    processPostedEvents();
    EXPECT_EQ(playList.asked, 0);
    EXPECT_TRUE(commandsOf(playerB, XA_MSG_COMMAND_PLAY).empty());
    EXPECT_EQ(mixer.fadesToB, 0);
    EXPECT_TRUE(deckA->FlashActive) << "the warning flash does not depend on automatic play";
}

TEST_F(DeckTest, WithAutoPlayTheOtherDeckLoadsThenStartsAndTheMixerFades) {
    playList.tracks << track;
    playDeckA(60);
    notify(playerA, inputTimecodeNotification(0, 0, 39, 0)); // 00:21:99 left
    EXPECT_EQ(playList.asked, 0);
    notify(playerA, inputTimecodeNotification(0, 0, 40, 0)); // 00:20:99
    EXPECT_EQ(playList.asked, 0);
    notify(playerA, inputTimecodeNotification(0, 0, 40, 99)); // 00:20:00
    processPostedEvents();
    EXPECT_EQ(playList.asked, 1) << "deck B was asked to load the next track";
    EXPECT_EQ(deckB->StateText, QStringLiteral("LOADED"));
    EXPECT_FALSE(deckA->AutoLoadArmed);
    notify(playerA, inputTimecodeNotification(0, 0, 45, 0));
    EXPECT_EQ(playList.asked, 1) << "only once";

    notify(playerA, inputTimecodeNotification(0, 0, 50, 97)); // 00:10:02
    EXPECT_EQ(commandsOf(playerB, XA_MSG_COMMAND_PLAY).size(), 1u);
    EXPECT_EQ(mixer.fadesToB, 1);
    EXPECT_FALSE(deckA->FlashActive);
    notify(playerA, inputTimecodeNotification(0, 0, 50, 98)); // 00:10:01: the start check repeats
    EXPECT_EQ(commandsOf(playerB, XA_MSG_COMMAND_PLAY).size(), 2u);
    notify(playerB, playerStateNotification(1));
    notify(playerA, inputTimecodeNotification(0, 0, 50, 99)); // 00:10:00
    EXPECT_EQ(commandsOf(playerB, XA_MSG_COMMAND_PLAY).size(), 2u) << "stops once deck B plays";
    EXPECT_EQ(mixer.fadesToB, 2);
    EXPECT_TRUE(deckA->FlashActive);
    EXPECT_EQ(mixer.fadesToA, 0);
}

TEST_F(DeckTest, EndOfStreamClearsTheMixerLevelsAndLoadsTheNextTrack) {
    playDeckA(60);
    deckA->AutoLoadArmed = false;
    mixer.LevelLeftA = 30;
    mixer.LevelRightA = 31;
    mixer.LevelLeftB = 32;
    notify(playerA, playerStateNotification(3));
    EXPECT_EQ(deckA->StateText, QStringLiteral("STOPPED"));
    EXPECT_TRUE(deckA->AutoLoadArmed) << "without a next track the deck is armed again";
    EXPECT_EQ(mixer.LevelLeftA, 0);
    EXPECT_EQ(mixer.LevelRightA, 0);
    EXPECT_EQ(mixer.LevelLeftB, 32);
    EXPECT_EQ(mixer.meterChanges, 1) << "the mixer must be told to show the zeros";

    deckA->PlayPause();
    notify(playerA, playerStateNotification(1));
    playList.tracks << track;
    notify(playerA, playerStateNotification(3));
    EXPECT_EQ(deckA->StateText, QStringLiteral("LOADED"));
    EXPECT_EQ(displayText(*deckA, "PlayerState"), QStringLiteral("LOADED"));
    EXPECT_FALSE(deckA->AutoLoadArmed);
    EXPECT_EQ(commandsOf(playerA, XA_MSG_COMMAND_INPUT_OPEN).size(), 2u);
}

TEST_F(DeckTest, ALoadNextRequestIsIgnoredByALoadedDeck) {
    playList.tracks << track << track;
    platform::PostMessage(deckB.get(), messages::kLoadNextDeckB);
    processPostedEvents();
    EXPECT_EQ(deckB->StateText, QStringLiteral("LOADED"));
    platform::PostMessage(deckB.get(), messages::kLoadNextDeckB);
    platform::PostMessage(deckB.get(), messages::kLoadNextDeckA);
    processPostedEvents();
    EXPECT_EQ(playList.asked, 1);
}

TEST_F(DeckTest, FlashingBlanksLabelsAndGaugeForFiveTicksOutOfTen) {
    playDeckA(60);
    notify(playerA, inputPositionNotification(37, 100));
    notify(playerA, inputTimecodeNotification(0, 0, 55, 0));
    ASSERT_TRUE(deckA->FlashActive);
    deckA->TickCount = 0;
    for (int tick = 0; tick < 10; ++tick) {
        deckA->VrTimer1Timer();
        const bool blank = tick < 5;
        EXPECT_EQ(displayText(*deckA, "Elapsed").isEmpty(), blank) << tick;
        EXPECT_EQ(displayText(*deckA, "Remaining").isEmpty(), blank) << tick;
        EXPECT_EQ(gaugePosition(*deckA), blank ? 0 : 37) << tick;
    }
    EXPECT_EQ(deckA->TickCount, 0);
    deckA->LoadTrack(track);
    EXPECT_FALSE(deckA->FlashActive);
}

TEST_F(DeckTest, LoadButtonResetsTheLoadedTempoAndLoadsTheChosenFile) {
    playList.LoadedBpm = QStringLiteral("128.0");
    deckB->chooseTrackFile = [&] { return track; };
    deckB->SkinForm1MouseUpNotify(QStringLiteral("LoadButton"), Qt::LeftButton);
    EXPECT_EQ(playList.LoadedBpm, QStringLiteral("000.0"));
    EXPECT_EQ(deckB->StateText, QStringLiteral("LOADED"));
    EXPECT_EQ(deckB->BaseBPM, QStringLiteral("000.0"));
    deckB->chooseTrackFile = [] { return QString(); };
    deckB->SkinForm1MouseUpNotify(QStringLiteral("LoadButton"), Qt::LeftButton);
    EXPECT_EQ(commandsOf(playerB, XA_MSG_COMMAND_INPUT_OPEN).size(), 1u);
}

TEST_F(DeckTest, PreferencesSetThresholdsOutputsAndPitchRange) {
    deckA->SkinForm1TrackBarNotify(QStringLiteral("PitchSlider"), 75);
    deckA->SkinForm1->SetTrackBarPosition(QStringLiteral("PitchSlider"), 75);
    EXPECT_EQ(deckA->PitchValue, 1040);
    PreferenceValues values;
    values.overlapSeconds = 5;
    values.flashSeconds = 7;
    values.soundCardB = 2;
    values.pitchPercentA = 16;
    values.nudge = 3;
    values.drag = 200;
    deckA->ApplyPreferences(values);
    deckB->ApplyPreferences(values);
    EXPECT_EQ(deckA->StartOtherThreshold, QStringLiteral("00:05:02"));
    EXPECT_EQ(deckB->StartOtherThreshold, QStringLiteral("00:05:02"));
    EXPECT_EQ(deckA->LoadNextThreshold, QStringLiteral("00:15:00"));
    EXPECT_EQ(deckA->FlashThreshold, QStringLiteral("00:07:00"));
    EXPECT_EQ(deckA->PitchValue, 1080) << "the slider keeps its place, the pitch follows the range";
    EXPECT_EQ(lastPitchSent(playerA), 1080);
    EXPECT_EQ(displayText(*deckA, "PitchPlusPercent"), QStringLiteral("+16"));
    EXPECT_EQ(displayText(*deckA, "PitchMinusPercent"), QStringLiteral("- 16"));
    EXPECT_EQ(commandsOf(playerA, XA_MSG_SET_OUTPUT_NAME).back().texts.at(0), "/dev/dsound/0");
    EXPECT_EQ(commandsOf(playerB, XA_MSG_SET_OUTPUT_NAME).back().texts.at(0), "/dev/dsound/1");
    EXPECT_EQ(fake.priority(playerA), 4);
    deckA->BendDown();
    EXPECT_EQ(lastPitchSent(playerA), 1080 - 2000);

    // A typed percent outside the table changes the labels only.
    values.pitchPercentA = 20;
    values.priority = 6;
    deckA->ApplyPreferences(values);
    EXPECT_EQ(deckA->PitchMinimum, 840);
    EXPECT_EQ(displayText(*deckA, "PitchPlusPercent"), QStringLiteral("+20"));
    EXPECT_EQ(fake.priority(playerA), 6);
}

TEST_F(DeckTest, ASkinFolderWithoutTheDecksFileFallsBackButIsRecorded) {
    namespace fs = std::filesystem;
    const fs::path copy = fs::path(folder.path()) / "Copy";
    fs::copy(platform::applicationFolder() + "skins/Default", copy, fs::copy_options::recursive);
    fs::remove(copy / "PlayerB.ini");
    const std::string folderName = copy.string() + "/";

    playList.LoadedBpm = QStringLiteral("000.0");
    deckA->LoadTrack(track);
    deckB->LoadTrack(track);
    deckA->ChangeSkinFolder(folderName);
    deckB->ChangeSkinFolder(folderName);
    EXPECT_EQ(deckA->SkinFolder, folderName);
    EXPECT_EQ(deckB->SkinFolder, folderName);
    // Both loaded a skin, and both show their state in it.
    EXPECT_EQ(displayText(*deckA, "PlayerState"), QStringLiteral("LOADED"));
    EXPECT_EQ(displayText(*deckB, "PlayerState"), QStringLiteral("LOADED"));
    int left = 0, top = 0, width = 0, height = 0;
    deckB->SkinForm1->GetGaugeRect(QStringLiteral("Position"), left, top, width, height);
    EXPECT_EQ(deckB->SeekRegion->geometry(), QRect(left, top, width, height));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

TEST(DeckInWindowSet, StoredPreferencesApplyToBothDecksAndThePlayListAtStartUp) {
    TemporaryFolder folder;
    WorkingDirectory workingDirectory(folder.path());
    FakeEngine fake;
    TDeck::setEngineLibrary(QString::fromStdString(fake.path()));
    writeFile(folder.file("asdf.ini"), "[TPreferences]\nAutoPlay_Checked=False\nSpinEdit1_Value=5\nSpinEdit4_Value=7\n"
                                       "SpinEdit8_Value=16\nSpinEdit7_Value=3\nCheckBox3_Checked=True\n");
    WindowSet set;
    set.create();
    EXPECT_FALSE(set.PlayList->AutoPlay);
    for (const TDeck* deck : {static_cast<TDeck*>(set.PlayerA), static_cast<TDeck*>(set.PlayerB)}) {
        EXPECT_EQ(deck->StartOtherThreshold, QStringLiteral("00:05:02"));
        EXPECT_EQ(deck->LoadNextThreshold, QStringLiteral("00:15:00"));
        EXPECT_EQ(deck->FlashThreshold, QStringLiteral("00:07:00"));
        EXPECT_EQ(deck->NudgeAmount, 3);
        EXPECT_EQ(deck->DragAmount, 5);
        EXPECT_TRUE(deck->AutoBPMMatch);
        EXPECT_EQ(deck->PitchValue, 1000);
    }
    EXPECT_EQ(set.PlayerA->PitchMinimum, 840);
    EXPECT_EQ(set.PlayerB->PitchMinimum, 920);
    EXPECT_EQ(displayText(*set.PlayerA, "PitchPlusPercent"), QStringLiteral("+16"));
    EXPECT_EQ(displayText(*set.PlayerB, "PitchMinusPercent"), QStringLiteral("- 8"));

    // The mixer's levels reach the decks.
    set.Mixer->Nudge(QStringLiteral("A"), QStringLiteral("DEC"));
    set.Mixer->Nudge(QStringLiteral("B"), QStringLiteral("INC"));
    processPostedEvents();
    EXPECT_EQ(set.PlayerA->Volume, 75);
    EXPECT_EQ(set.PlayerB->Volume, 85);

    set.PlayerB->SkinForm1MouseDownNotify(QStringLiteral("ExitButton"), Qt::LeftButton, 0, 0);
    EXPECT_FALSE(set.PlayerA->isVisible()) << "deck B's exit button closes deck A";
    set.destroy();
    TDeck::setEngineLibrary(QString());
}

TEST(DeckWithTheRealEngine, PlaysATaggedTrackToItsEndAndShowsWhatTheEngineReports) {
    // Headless: the null output, asked for, so that the engine does not
    // report a machine without sound devices.
    setenv("XAUDIO_NULL_OUTPUT", "1", 1);
    TemporaryFolder folder;
    WorkingDirectory workingDirectory(folder.path());
    QStringList errors;
    platform::ErrorReporter previous = platform::setErrorReporter([&](const QString& text) { errors << text; });
    const std::string path = folder.file("tone.mp3");
    ToneOptions tone;
    tone.seconds = 2.5;
    tone.bitRateKbps = 128;
    makeToneMp3(path, tone);
    std::string tag = "TAG";
    for (const char* field : {"Tone", "Drovan Tests", "Fixtures"}) {
        std::string text = field;
        text.resize(30, ' ');
        tag += text;
    }
    tag += std::string(4 + 30, ' ') + std::string(1, '\0');
    writeFile(path, readFile(path) + tag);

    StandInPlayList playList;
    StandInMixer mixer;
    {
        TPlayerA deck;
        deck.linkPartners(nullptr, &playList, &mixer);
        playList.LoadedBpm = QStringLiteral("120.0");
        deck.LoadTrack(QString::fromStdString(path));
        deck.PlayPause();
        EXPECT_TRUE(processEventsUntil([&] { return deck.StateText == QLatin1String("PLAYING"); }));
        EXPECT_TRUE(deck.VolumeApplied);
        EXPECT_TRUE(processEventsUntil([&] { return deck.ElapsedText >= QLatin1String("00:01:00"); }));
        // 2.5 s of audio; encoder padding and rounding may make it 3.
        EXPECT_TRUE(deck.DurationSeconds == 2 || deck.DurationSeconds == 3) << deck.DurationSeconds;
        EXPECT_EQ(deck.SampleRateText, QStringLiteral("44.1"));
        EXPECT_EQ(deck.BitRateText, QStringLiteral("128"));
        EXPECT_EQ(displayText(deck, "Artist"), QStringLiteral("Drovan Tests"));
        EXPECT_EQ(displayText(deck, "Title"), QStringLiteral("Tone - Fixtures"));
        EXPECT_EQ(displayText(deck, "BPM"), QStringLiteral("BPM 120"));
        mixer.LevelLeftA = 12;
        EXPECT_TRUE(processEventsUntil([&] { return deck.StateText == QLatin1String("STOPPED"); }));
        EXPECT_EQ(mixer.LevelLeftA, 0);
        EXPECT_GE(playList.asked, 1) << "the end of the track asks for the next one";
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    platform::setErrorReporter(std::move(previous));
}

// Files other than MP3s through the same deck and engine: what the tags and
// the stream say reaches the displays.
TEST(DeckWithTheRealEngine, ShowsTheTagsAndStreamOfATaggedFlacAnId3v2OnlyMp3AndAnOpusFile) {
    setenv("XAUDIO_NULL_OUTPUT", "1", 1);
    TemporaryFolder folder;
    WorkingDirectory workingDirectory(folder.path());
    QStringList errors;
    platform::ErrorReporter previous = platform::setErrorReporter([&](const QString& text) { errors << text; });
    const std::string wav = folder.file("source.wav");
    makeTone(wav, Encoding::Wav, {.seconds = 2.0});
    encodeWav(wav, folder.file("tagged.flac"), Encoding::Flac, {"Flac Artist", "Flac Title"});
    encodeWav(wav, folder.file("v2only.mp3"), Encoding::Mp3, {"Mp3 Artist", "Mp3 Title"});
    encodeWav(wav, folder.file("plain.opus"), Encoding::Opus);
    const auto averageKbps = [&](const char* name) {
        return QString::number(
            std::lround(static_cast<double>(std::filesystem::file_size(folder.file(name))) * 8.0 / 2.0 / 1000.0));
    };

    StandInPlayList playList;
    StandInMixer mixer;
    {
        TPlayerA deck;
        deck.linkPartners(nullptr, &playList, &mixer);
        const auto load = [&](const char* name) {
            deck.SampleRateText.clear();
            deck.LoadTrack(QString::fromStdString(folder.file(name)));
            return processEventsUntil([&] { return !deck.SampleRateText.isEmpty(); });
        };
        ASSERT_TRUE(load("tagged.flac"));
        EXPECT_EQ(deck.StateText, QStringLiteral("LOADED"));
        EXPECT_EQ(deck.DurationSeconds, 2);
        EXPECT_EQ(deck.SampleRateText, QStringLiteral("44.1"));
        EXPECT_EQ(deck.BitRateText, averageKbps("tagged.flac"));
        EXPECT_EQ(displayText(deck, "Artist"), QStringLiteral("Flac Artist"));
        EXPECT_EQ(displayText(deck, "Title"), QStringLiteral("Flac Title - "));

        ASSERT_TRUE(load("v2only.mp3"));
        EXPECT_EQ(deck.BitRateText, QStringLiteral("128"));
        EXPECT_EQ(displayText(deck, "Artist"), QStringLiteral("Mp3 Artist"));
        EXPECT_EQ(displayText(deck, "Title"), QStringLiteral("Mp3 Title - "));

        ASSERT_TRUE(load("plain.opus"));
        EXPECT_EQ(deck.SampleRateText, QStringLiteral("48.0"));
        EXPECT_EQ(deck.BitRateText, averageKbps("plain.opus"));
        EXPECT_EQ(displayText(deck, "Artist"), QString());
        EXPECT_EQ(displayText(deck, "Title"), QStringLiteral("plain.opus - "));
        deck.PlayPause();
        EXPECT_TRUE(processEventsUntil([&] { return deck.StateText == QLatin1String("STOPPED"); }));
        EXPECT_GE(playList.asked, 1) << "the end of the track asks for the next one";
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    platform::setErrorReporter(std::move(previous));
}

TEST_F(DeckTest, KeysGoToTheSharedKeyHandler) {
    std::vector<std::pair<int, platform::ShiftState>> down, up;
    deckB->forwardKeyDown = [&](int key, platform::ShiftState shift) { down.emplace_back(key, shift); };
    deckB->forwardKeyUp = [&](int key, platform::ShiftState shift) { up.emplace_back(key, shift); };
    QKeyEvent press(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_E, Qt::ControlModifier);
    QApplication::sendEvent(deckB.get(), &press);
    QApplication::sendEvent(deckB.get(), &release);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].first, 69);
    EXPECT_EQ(down[0].second, platform::ShiftState({platform::ShiftFlag::Ctrl}));
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].first, 69);
}

TEST_F(DeckTest, CtrlKeysOnDeckBActOnThePlayListAndTheSameKeysWithAltDoNot) {
    for (Qt::KeyboardModifier modifier : {Qt::ControlModifier, Qt::AltModifier}) {
        for (Qt::Key key : {Qt::Key_A, Qt::Key_Delete, Qt::Key_W}) {
            QKeyEvent press(QEvent::KeyPress, key, modifier);
            QKeyEvent release(QEvent::KeyRelease, key, modifier);
            QApplication::sendEvent(deckB.get(), &press);
            QApplication::sendEvent(deckB.get(), &release);
        }
    }
    EXPECT_EQ(playList.keyCommands,
              (QStringList{QStringLiteral("SelectAll"), QStringLiteral("ListMinus"), QStringLiteral("WaitListPlus")}));
}

namespace {

// A copy of the default skin whose deck A file names no "Position" gauge, no
// "ElapsedTime" display and no "SpectrumDisplay" area, and has its play
// button in the top-left corner.
std::string skinWithoutDeckRegions(const TemporaryFolder& folder) {
    namespace fs = std::filesystem;
    const fs::path copy = fs::path(folder.path()) / "Bare";
    fs::copy(platform::applicationFolder() + "skins/Default", copy, fs::copy_options::recursive);
    QString definition = QString::fromStdString(readFile((copy / "PlayerA.ini").string()));
    const std::pair<const char*, const char*> renames[] = {
        {"=Position,", "=Progress,"},
        {"=ElapsedTime,", "=Clock,"},
        {"=SpectrumDisplay,", "=Elsewhere,"},
        {"=PlayButton, 64, 156,", "=PlayButton, 4, 4,"},
    };
    for (const auto& [from, to] : renames) {
        EXPECT_TRUE(definition.contains(QLatin1String(from))) << from;
        definition.replace(QLatin1String(from), QLatin1String(to));
    }
    writeFile((copy / "PlayerA.ini").string(), definition.toStdString());
    return copy.string() + "/";
}

void clickAt(QWidget& window, QPoint position) {
    QWidget* target = window.childAt(position);
    ASSERT_NE(target, nullptr);
    const QPointF local = target->mapFrom(&window, QPointF(position));
    const QPointF global = window.mapToGlobal(QPointF(position));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

} // namespace

TEST_F(DeckTest, ASkinWithoutTheRegionsElementsLeavesItsButtonsFreeAndTheDisplayOnItsStrip) {
    const QRect seekBefore = deckA->SeekRegion->geometry();
    const QRect timeBefore = deckA->TimeRegion->geometry();
    const size_t before = commandsOf(playerA).size();
    deckA->ChangeSkinFolder(skinWithoutDeckRegions(folder));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();

    for (const MouseRegion* region : {deckA->SeekRegion, deckA->TimeRegion, deckA->DisplayRegion})
        EXPECT_TRUE(region->isHidden()) << region->objectName().toStdString();
    // Neither the corner nor the places the regions had take clicks away from the skin.
    for (const QPoint point : {QPoint(10, 10), QPoint(50, 20), seekBefore.center(), timeBefore.center()})
        EXPECT_EQ(deckA->childAt(point), deckA->SkinForm1) << point.x() << "," << point.y();

    playList.LoadedBpm = QStringLiteral("000.0");
    deckA->LoadTrack(track);
    clickAt(*deckA, QPoint(10, 10));
    EXPECT_EQ(commandsOf(playerA, XA_MSG_COMMAND_PLAY).size(), 1u) << "the play button in the corner responds";

    // The display moves back to the strip every deck has had.
    std::vector<FakeCommand> sent = commandsOf(playerA);
    sent.erase(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(before));
    ASSERT_GE(sent.size(), 6u);
    EXPECT_EQ(sent[0].code, XA_MSG_COMMAND_FEEDBACK_HANDLER_STOP);
    const std::pair<const char*, int> strip[] = {
        {"DISPLAY.LEFT", 24}, {"DISPLAY.TOP", 131}, {"DISPLAY.WIDTH", 251}, {"DISPLAY.HEIGHT", 1}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(sent[1 + i].code, XA_MSG_SET_FEEDBACK_HANDLER_ENVIRONMENT_INTEGER);
        EXPECT_EQ(sent[1 + i].texts, std::vector<std::string>{strip[i].first});
        EXPECT_EQ(sent[1 + i].integers, std::vector<int>{strip[i].second});
    }
    EXPECT_EQ(sent[5].code, XA_MSG_COMMAND_FEEDBACK_HANDLER_START);

    // Back on the default skin every region is in place again.
    const size_t restarts = commandsOf(playerA, XA_MSG_COMMAND_FEEDBACK_HANDLER_START).size();
    deckA->ChangeSkinFolder(platform::applicationFolder() + "skins/Default/");
    EXPECT_EQ(deckA->SeekRegion->geometry(), seekBefore);
    EXPECT_EQ(deckA->TimeRegion->geometry(), timeBefore);
    for (const MouseRegion* region : {deckA->SeekRegion, deckA->TimeRegion, deckA->DisplayRegion})
        EXPECT_FALSE(region->isHidden()) << region->objectName().toStdString();
    EXPECT_EQ(commandsOf(playerA, XA_MSG_COMMAND_FEEDBACK_HANDLER_START).size(), restarts + 1);
}

TEST_F(DeckTest, AClickOnTheSpectrumDisplayStepsThroughItsThreeModes) {
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(deckA->SkinForm1->GetAreaRect(QStringLiteral("SpectrumDisplay"), left, top, width, height));
    const QRect area(left, top, width, height);
    EXPECT_EQ(deckA->DisplayRegion->geometry(), area);
    ASSERT_EQ(deckA->childAt(area.center()), deckA->DisplayRegion);

    // The modes are the display module's, shared by both decks; the engine
    // sets them from the message, so the test plays the engine's part.
    const std::pair<uint8_t, uint8_t> steps[] = {
        {engine::kDisplaySpectrum, engine::kDisplayOscilloscope},
        {engine::kDisplayOscilloscope, engine::kDisplayLevelMeter},
        {engine::kDisplayLevelMeter, engine::kDisplaySpectrum},
        {engine::kDisplaySpectrum | engine::kDisplayLevelMeter, engine::kDisplaySpectrum}};
    for (const auto& [current, next] : steps) {
        engine::displayModeFlags().store(current);
        clickAt(*deckA, area.center());
        const auto messages = commandsOf(playerA, XA_MSG_COMMAND_FEEDBACK_HANDLER_SEND_MESSAGE);
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back().integers.at(0), engine::kFeedbackSetModes);
        EXPECT_EQ(messages.back().pointerBytes, std::vector<uint8_t>{next}) << int(current);
    }
    engine::displayModeFlags().store(engine::kDisplaySpectrum);
    EXPECT_TRUE(commandsOf(playerB, XA_MSG_COMMAND_FEEDBACK_HANDLER_SEND_MESSAGE).empty());
}
