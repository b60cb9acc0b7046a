#include "app/DeckHandOver.h"
#include "app/DeckPreferenceValues.h"
#include "app/DeckTempo.h"
#include "app/DeckTexts.h"
#include "app/DeckTimeTexts.h"

#include <gtest/gtest.h>

using namespace app;

namespace {
const PitchRange kEightPercent = *pitchRangeForPercent(8);
}

TEST(DeckTimeTexts, DurationIsSplitIntoHoursMinutesAndSeconds) {
    const DurationParts parts = splitDuration(3 * 3600 + 25 * 60 + 7);
    EXPECT_EQ(parts.hours, 3);
    EXPECT_EQ(parts.minutes, 25);
    EXPECT_EQ(parts.seconds, 7);
    EXPECT_EQ(durationText(parts), QStringLiteral("25:07:00"));
    EXPECT_EQ(durationText(splitDuration(200)), QStringLiteral("03:20:00"));
}

TEST(DeckTimeTexts, ElapsedTextHasTwoDigitsPerField) {
    EXPECT_EQ(timeText(0, 0, 0), QStringLiteral("00:00:00"));
    EXPECT_EQ(timeText(1, 45, 7), QStringLiteral("01:45:07"));
    EXPECT_EQ(timeText(123, 5, 99), QStringLiteral("123:05:99"));
}

TEST(DeckTimeTexts, RemainingTimeAtTheStartReadsTheDurationPlusNinetyNineHundredths) {
    EXPECT_EQ(remainingText(splitDuration(200), 0, 0, 0), QStringLiteral("03:20:99"));
}

TEST(DeckTimeTexts, RemainingSecondsBorrowFromTheMinutesButHundredthsDoNot) {
    const RemainingTime borrowed = remainingTime(splitDuration(200), 1, 45, 30);
    EXPECT_EQ(borrowed.minutes, 1);
    EXPECT_EQ(borrowed.seconds, 35);
    EXPECT_EQ(borrowed.hundredths, 69);
    EXPECT_EQ(remainingText(splitDuration(200), 1, 45, 30), QStringLiteral("01:35:69"));
    // No borrow while the elapsed seconds are at or below the duration's.
    EXPECT_EQ(remainingText(splitDuration(200), 1, 20, 0), QStringLiteral("02:00:99"));
    EXPECT_EQ(remainingText(splitDuration(200), 3, 19, 99), QStringLiteral("00:01:00"));
    EXPECT_EQ(remainingText(splitDuration(200), 3, 20, 50), QStringLiteral("00:00:49"));
}

TEST(DeckTimeTexts, TimeTextsCompareInTimeOrder) {
    EXPECT_TRUE(timeTextAtOrBelow(QStringLiteral("00:10:00"), QStringLiteral("00:10:00")));
    EXPECT_TRUE(timeTextAtOrBelow(QStringLiteral("00:09:99"), QStringLiteral("00:10:00")));
    EXPECT_FALSE(timeTextAtOrBelow(QStringLiteral("00:10:01"), QStringLiteral("00:10:00")));
    EXPECT_FALSE(timeTextAtOrBelow(QStringLiteral("01:00:00"), QStringLiteral("00:59:99")));
    // Overlaps of 50 s and more make a load-next threshold beyond a minute.
    EXPECT_TRUE(timeTextAtOrBelow(QStringLiteral("00:59:99"), QStringLiteral("00:65:00")));
}

TEST(DeckTimeTexts, SeekRegionClickMapsItsXOntoThePositionRange) {
    EXPECT_EQ(seekOffsetForClick(125, 400, 250), 200);
    EXPECT_EQ(seekOffsetForClick(0, 400, 250), 0);
    EXPECT_EQ(seekOffsetForClick(249, 400, 250), 398);
    EXPECT_EQ(seekOffsetForClick(1, 100, 3), 33);
    EXPECT_EQ(seekOffsetForClick(100000, 100000, 200000), 50000);
    EXPECT_EQ(seekOffsetForClick(10, 400, 0), 0);
}

TEST(DeckTempo, PitchRangeTableFollowsThePercent) {
    const int percents[] = {4, 8, 12, 16, 32, 64};
    const int minimums[] = {960, 920, 880, 840, 680, 360};
    const double steps[] = {0.8, 1.6, 2.4, 3.2, 6.4, 12.8};
    for (int i = 0; i < 6; ++i) {
        const auto range = pitchRangeForPercent(percents[i]);
        ASSERT_TRUE(range) << percents[i];
        EXPECT_EQ(range->minimum, minimums[i]);
        EXPECT_DOUBLE_EQ(range->step, steps[i]);
        EXPECT_EQ(range->maximum(), 2000 - minimums[i]);
        // The slider's ends are the range's ends, its middle normal speed.
        EXPECT_EQ(pitchFromSlider(0, *range), range->minimum);
        EXPECT_EQ(pitchFromSlider(50, *range), 1000) << percents[i];
        EXPECT_EQ(pitchFromSlider(100, *range), range->maximum()) << percents[i];
        EXPECT_EQ(sliderFromPitch(range->maximum(), *range), 100) << percents[i];
        EXPECT_EQ(sliderFromPitch(1000, *range), 50) << percents[i];
    }
    EXPECT_FALSE(pitchRangeForPercent(20));
    EXPECT_FALSE(pitchRangeForPercent(0));
}

TEST(DeckTempo, SliderPositionsTruncateTowardZero) {
    EXPECT_EQ(pitchFromSlider(33, kEightPercent), 972);
    EXPECT_EQ(pitchFromSlider(75, kEightPercent), 1040);
    EXPECT_EQ(pitchFromSlider(75, *pitchRangeForPercent(16)), 1080);
    EXPECT_EQ(sliderFromPitch(973, kEightPercent), 33);
    EXPECT_EQ(sliderFromPitch(972, kEightPercent), 32);
    // Every slider position of every range comes back from its pitch.
    for (int percent : {4, 8, 12, 16, 32, 64})
        for (int position = 0; position <= 100; position += 5)
            EXPECT_EQ(sliderFromPitch(pitchFromSlider(position, *pitchRangeForPercent(percent)),
                                      *pitchRangeForPercent(percent)),
                      position)
                << percent << " " << position;
}

TEST(DeckTempo, FasterAndSlowerStopAtTheEndsOfTheRange) {
    EXPECT_EQ(pitchFaster(1080, kEightPercent), 1080);
    EXPECT_EQ(pitchFaster(1079, kEightPercent), 1080);
    EXPECT_EQ(pitchSlower(920, kEightPercent), 920);
    EXPECT_EQ(pitchSlower(1000, kEightPercent), 999);
}

TEST(DeckTempo, CurrentTempoFollowsThePitchInItsShortestForm) {
    EXPECT_EQ(currentTempoText(QStringLiteral("128.0"), 1040), QStringLiteral("133.1"));
    EXPECT_EQ(currentTempoText(QStringLiteral("128.0"), 1000), QStringLiteral("128"));
    EXPECT_EQ(currentTempoText(QStringLiteral("120"), 920), QStringLiteral("110.4"));
    // 125 * 1.001 = 125.125: 1251.25 rounds down; 125.5 * 0.999 = 125.3745.
    EXPECT_EQ(currentTempoText(QStringLiteral("125"), 1001), QStringLiteral("125.1"));
    EXPECT_EQ(currentTempoText(QStringLiteral("125.5"), 999), QStringLiteral("125.4"));
}

TEST(DeckTempo, HalfTenthsRoundToEven) {
    // 100.25 and 100.75 are exact in binary, so their tenths are true ties.
    EXPECT_EQ(currentTempoText(QStringLiteral("100.25"), 1000), QStringLiteral("100.2"));
    EXPECT_EQ(currentTempoText(QStringLiteral("100.75"), 1000), QStringLiteral("100.8"));
}

TEST(DeckTempo, UnmeasuredOrUnreadableTemposGiveNoTempo) {
    EXPECT_FALSE(currentTempoText(QStringLiteral("000.0"), 1040));
    EXPECT_FALSE(currentTempoText(QString(), 1040));
    EXPECT_FALSE(currentTempoText(QStringLiteral("fast"), 1040));
    EXPECT_FALSE(currentTempoText(QStringLiteral("0"), 1040));
    EXPECT_FALSE(matchingPitch(QStringLiteral("130"), QStringLiteral("000.0"), kEightPercent));
    EXPECT_FALSE(matchingPitch(QStringLiteral("000.0"), QStringLiteral("120"), kEightPercent));
    EXPECT_FALSE(matchingPitch(QStringLiteral("130"), QStringLiteral("0.0"), kEightPercent));
}

TEST(DeckTempo, MatchingPitchTruncatesAndStaysInsideTheRange) {
    const auto wide = *pitchRangeForPercent(16);
    EXPECT_EQ(matchingPitch(QStringLiteral("130"), QStringLiteral("120"), wide), 1083);
    EXPECT_EQ(matchingPitch(QStringLiteral("130"), QStringLiteral("120"), kEightPercent), 1080);
    EXPECT_EQ(matchingPitch(QStringLiteral("100"), QStringLiteral("120"), kEightPercent), 920);
    EXPECT_EQ(matchingPitch(QStringLiteral("119"), QStringLiteral("120"), kEightPercent), 991);
    EXPECT_EQ(matchingPitch(QStringLiteral("133.1"), QStringLiteral("128.0"), kEightPercent), 1039);
    EXPECT_EQ(matchingPitch(QStringLiteral("1e300"), QStringLiteral("1e-300"), kEightPercent), 1080);
}

TEST(DeckTexts, StreamParametersAreShownInKilohertzAndKilobits) {
    EXPECT_EQ(sampleRateText(44100), QStringLiteral("44.1"));
    EXPECT_EQ(sampleRateText(48000), QStringLiteral("48.0"));
    EXPECT_EQ(sampleRateText(22050), QStringLiteral("22.0"));
    EXPECT_EQ(sampleRateText(0), QStringLiteral("0.0"));
    EXPECT_EQ(bitRateText(128), QStringLiteral("128"));
}

TEST(DeckTexts, TagTextsKeepOnlyPrintableBytes) {
    EXPECT_EQ(printableTagText(std::string("Ti\x01tle\0\0", 8)), QStringLiteral("Title"));
    EXPECT_EQ(printableTagText("Caf\xe9~"), QStringLiteral("Caf~"));
    EXPECT_EQ(deckTitleText("Song", "Album"), QStringLiteral("Song - Album"));
    EXPECT_EQ(deckTitleText("track.mp3", ""), QStringLiteral("track.mp3 - "));
}

TEST(DeckTexts, RefusedCommandsNameOutputModuleRegisterAndNumberTheRest) {
    EXPECT_EQ(commandFailedText(27, QStringLiteral("no such module")),
              QStringLiteral("Command Failed [OutputModuleRegister] (no such module)"));
    EXPECT_EQ(commandFailedText(8, QStringLiteral("open failed")), QStringLiteral("Command Failed [8] (open failed)"));
}

TEST(DeckHandOver, PlayerStatesMapToStateTexts) {
    const QString loaded = QStringLiteral("LOADED");
    PlayerStateOutcome playing = playerStateOutcome(1, loaded, false);
    EXPECT_EQ(playing.stateText, QStringLiteral("PLAYING"));
    EXPECT_TRUE(playing.applyVolume);
    EXPECT_FALSE(playerStateOutcome(1, loaded, true).applyVolume);

    const PlayerStateOutcome stopped = playerStateOutcome(0, QStringLiteral("PLAYING"), true);
    EXPECT_EQ(stopped.stateText, QStringLiteral("STOPPED"));
    EXPECT_TRUE(stopped.clearMixerLevels);
    EXPECT_FALSE(stopped.loadNextTrack);

    EXPECT_EQ(playerStateOutcome(2, QStringLiteral("PLAYING"), true).stateText, QStringLiteral("PAUSED"));

    const PlayerStateOutcome ended = playerStateOutcome(3, QStringLiteral("PLAYING"), true);
    EXPECT_EQ(ended.stateText, QStringLiteral("STOPPED"));
    EXPECT_TRUE(ended.clearMixerLevels);
    EXPECT_TRUE(ended.rearmAutoLoad);
    EXPECT_TRUE(ended.loadNextTrack);

    const PlayerStateOutcome unknown = playerStateOutcome(7, QStringLiteral("PAUSED"), false);
    EXPECT_EQ(unknown.stateText, QStringLiteral("PAUSED"));
    EXPECT_FALSE(unknown.applyVolume || unknown.clearMixerLevels || unknown.loadNextTrack);
}

namespace {
HandOverInput handOverAt(const char* remaining) {
    HandOverInput input;
    input.remainingText = QString::fromLatin1(remaining);
    input.flashThreshold = flashThresholdText(10);
    input.loadNextThreshold = loadNextThresholdText(10);
    input.startOtherThreshold = startOtherThresholdText(10);
    input.otherStateText = QStringLiteral("LOADED");
    return input;
}
} // namespace

TEST(DeckHandOver, ChecksActAtTheirThresholds) {
    HandOverActions far = handOverActions(handOverAt("00:20:01"));
    EXPECT_FALSE(far.startFlashing || far.requestLoadNext || far.startOther || far.startFade);

    HandOverActions loadNext = handOverActions(handOverAt("00:20:00"));
    EXPECT_TRUE(loadNext.requestLoadNext);
    EXPECT_FALSE(loadNext.startFlashing || loadNext.startOther);

    HandOverActions start = handOverActions(handOverAt("00:10:02"));
    EXPECT_TRUE(start.startOther);
    EXPECT_TRUE(start.startFade);
    EXPECT_FALSE(start.startFlashing);

    EXPECT_TRUE(handOverActions(handOverAt("00:10:00")).startFlashing);
}

TEST(DeckHandOver, NothingIsHandedOverWithAutoPlayOff) {
    HandOverInput input = handOverAt("00:00:01");
    input.autoPlay = false;
    const HandOverActions actions = handOverActions(input);
    EXPECT_FALSE(actions.requestLoadNext);
    EXPECT_FALSE(actions.startOther);
    EXPECT_FALSE(actions.startFade);
    EXPECT_TRUE(actions.startFlashing);
}

TEST(DeckHandOver, StartNeedsAWaitingOtherDeckAndFadeNeedsAutoCrossfade) {
    HandOverInput input = handOverAt("00:05:00");
    input.autoLoadArmed = false;
    EXPECT_FALSE(handOverActions(input).requestLoadNext);
    input.otherStateText = QStringLiteral("PAUSED");
    EXPECT_TRUE(handOverActions(input).startOther);
    for (const char* state : {"PLAYING", "STOPPED", "CLOSED"}) {
        input.otherStateText = QString::fromLatin1(state);
        EXPECT_FALSE(handOverActions(input).startOther) << state;
    }
    input.otherStateText = QStringLiteral("LOADED");
    input.autoCrossfade = false;
    const HandOverActions actions = handOverActions(input);
    EXPECT_TRUE(actions.startOther);
    EXPECT_FALSE(actions.startFade);
    input.flashEnabled = false;
    EXPECT_FALSE(handOverActions(input).startFlashing);
}

TEST(DeckPreferenceValues, ThresholdsFollowOverlapAndFlashTime) {
    EXPECT_EQ(flashThresholdText(10), QStringLiteral("00:10:00"));
    EXPECT_EQ(flashThresholdText(7), QStringLiteral("00:07:00"));
    EXPECT_EQ(startOtherThresholdText(10), QStringLiteral("00:10:02"));
    EXPECT_EQ(loadNextThresholdText(10), QStringLiteral("00:20:00"));
    EXPECT_EQ(startOtherThresholdText(5), QStringLiteral("00:05:02"));
    EXPECT_EQ(loadNextThresholdText(5), QStringLiteral("00:15:00"));
    EXPECT_EQ(startOtherThresholdText(0), QStringLiteral("00:00:02"));
    EXPECT_EQ(loadNextThresholdText(0), QStringLiteral("00:10:00"));
    EXPECT_EQ(startOtherThresholdText(55), QStringLiteral("00:55:02"));
    EXPECT_EQ(loadNextThresholdText(55), QStringLiteral("00:65:00"));
}

TEST(DeckPreferenceValues, SoundCardsNameEngineDevicesFromZero) {
    EXPECT_EQ(outputNameForSoundCard(1), QStringLiteral("/dev/dsound/0"));
    EXPECT_EQ(outputNameForSoundCard(2), QStringLiteral("/dev/dsound/1"));
    EXPECT_EQ(outputNameForSoundCard(0), QStringLiteral("/dev/dsound/0"));
    EXPECT_EQ(pitchPlusPercentText(8), QStringLiteral("+8"));
    EXPECT_EQ(pitchMinusPercentText(16), QStringLiteral("- 16"));
}
