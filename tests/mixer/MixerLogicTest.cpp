#include "RecordingEffects.h"

#include "mixer/MixerLogic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mixer;
using Lines = std::vector<std::string>;

namespace {

class MixerLogicTest : public ::testing::Test {
protected:
    // Sets a channel fader through its slider (which stores 100 - position).
    void setFaderA(int value) { logic.trackBarMoved("PitchSliderA", 100 - value); }
    void setFaderB(int value) { logic.trackBarMoved("PitchSliderB", 100 - value); }
    void setCrossFader(int value) { logic.trackBarMoved("PitchSliderF", 100 - value); }

    // Ticks until no fade runs; the number of ticks it took (0 when stuck).
    int ticksUntilIdle(int limit = 200) {
        for (int tick = 1; tick <= limit; ++tick) {
            logic.fadeTick();
            if (!logic.state().anyFadeRunning())
                return tick;
        }
        return 0;
    }

    RecordingEffects effects;
    MixerLogic logic{effects};
};

} // namespace

TEST_F(MixerLogicTest, StartsWithTheDocumentedState) {
    const MixerState& state = logic.state();
    EXPECT_EQ(state.FaderA, 80);
    EXPECT_EQ(state.FaderB, 80);
    EXPECT_EQ(state.CrossFader, 50);
    EXPECT_EQ(state.CutA, 0);
    EXPECT_EQ(state.CutB, 0);
    EXPECT_FALSE(state.anyFadeRunning());
    EXPECT_FALSE(state.FlashHeldA);
    EXPECT_FALSE(state.FlashHeldB);
}

TEST_F(MixerLogicTest, SkinChangePushesTheWholeStateIntoTheSkin) {
    setFaderA(65);
    setCrossFader(30);
    effects.take();
    logic.skinChanged({0, 0, 7, 9});
    EXPECT_EQ(effects.take(), (Lines{"slider PitchSliderA 35", "slider PitchSliderB 20", "slider PitchSliderF 70",
                                     "text GainA 65", "text GainB 80", "range Left 0 50", "range Right 0 50",
                                     "gauge LeftA 0", "gauge RightA 0", "gauge LeftB 7", "gauge RightB 9"}));
}

TEST_F(MixerLogicTest, CrossfaderAtFortyNineSendsSixtyTwoToDeckA) {
    logic.trackBarMoved("PitchSliderF", 51);
    EXPECT_EQ(effects.take(), (Lines{"post A 62", "text GainA 80", "post B 80", "text GainB 80"}));
    EXPECT_EQ(logic.state().CrossFader, 49);
    EXPECT_EQ(logic.state().CutA, 18);
}

TEST_F(MixerLogicTest, CrossfaderTowardBCutsDeckAToSilence) {
    setCrossFader(0);
    EXPECT_EQ(effects.lastPosted(DeckSide::A), 0);
    EXPECT_EQ(effects.lastPosted(DeckSide::B), 80);
    setCrossFader(100);
    EXPECT_EQ(effects.lastPosted(DeckSide::A), 80);
    EXPECT_EQ(effects.lastPosted(DeckSide::B), 0);
}

TEST_F(MixerLogicTest, NegativeLevelsReachTheDeckUnchanged) {
    setFaderA(30);
    setCrossFader(40);
    EXPECT_EQ(effects.lastPosted(DeckSide::A), -20);
}

TEST_F(MixerLogicTest, ChannelFaderKeepsTheCutOfTheLastCrossfaderMove) {
    setCrossFader(20); // cut A = 2 x |20 - 40| = 40
    effects.take();
    logic.trackBarMoved("PitchSliderA", 0);
    EXPECT_EQ(effects.take(), (Lines{"post A 60", "text GainA 100"}));
    EXPECT_EQ(logic.state().CutA, 40);
}

TEST_F(MixerLogicTest, ChannelFaderSliderSendsOnlyItsOwnDeck) {
    logic.trackBarMoved("PitchSliderB", 70);
    EXPECT_EQ(effects.take(), (Lines{"post B 30", "text GainB 30"}));
}

TEST_F(MixerLogicTest, NudgesStopAtTheEndsOfTheFaders) {
    setFaderA(97);
    effects.take();
    logic.Nudge("A", "INC");
    EXPECT_EQ(effects.take(), (Lines{"slider PitchSliderA 0", "post A 100", "text GainA 100"}));
    setFaderA(3);
    effects.take();
    logic.Nudge("A", "DEC");
    EXPECT_EQ(effects.take(), (Lines{"slider PitchSliderA 100", "post A 0", "text GainA 0"}));
    setFaderB(78);
    effects.take();
    logic.Nudge("B", "INC");
    EXPECT_EQ(effects.take(), (Lines{"slider PitchSliderB 17", "post B 83", "text GainB 83"}));
}

TEST_F(MixerLogicTest, CrossfaderNudgeAtTheTopStaysThereAndAppliesTheLaw) {
    setCrossFader(100);
    effects.take();
    logic.Nudge("F", "INC");
    EXPECT_EQ(logic.state().CrossFader, 100);
    EXPECT_EQ(effects.take(),
              (Lines{"slider PitchSliderF 0", "post A 80", "text GainA 80", "post B 0", "text GainB 80"}));
    setCrossFader(50);
    logic.Nudge("F", "DEC");
    EXPECT_EQ(logic.state().CrossFader, 45);
    EXPECT_EQ(effects.lastPosted(DeckSide::A), 70);
}

TEST_F(MixerLogicTest, NudgesWithUnknownArgumentsDoNothing) {
    logic.Nudge("C", "INC");
    logic.Nudge("A", "UP");
    logic.Nudge("a", "INC");
    EXPECT_TRUE(effects.take().empty());
    EXPECT_EQ(logic.state().FaderA, 80);
}

TEST_F(MixerLogicTest, UnknownElementNamesAreIgnored) {
    logic.trackBarMoved("PitchSlider", 10);
    logic.Start("lineartob");
    logic.Start("");
    logic.Release("HardCutToB");
    logic.Release("LinearToB");
    EXPECT_TRUE(effects.take().empty());
    EXPECT_FALSE(logic.state().anyFadeRunning());
}

TEST_F(MixerLogicTest, HardCutSendsBFirstAndCentresTheShownCrossfader) {
    logic.Start("HardCutToA");
    EXPECT_EQ(effects.take(), (Lines{"post B 0", "text GainB 0", "post A 80", "text GainA 80", "slider PitchSliderF 50",
                                     "slider PitchSliderA 20", "slider PitchSliderB 100"}));
    logic.Start("HardCutToB");
    EXPECT_EQ(effects.take(), (Lines{"post B 80", "text GainB 80", "post A 0", "text GainA 0", "slider PitchSliderF 50",
                                     "slider PitchSliderA 100", "slider PitchSliderB 20"}));
}

TEST_F(MixerLogicTest, HardCutLeavesTheStoredCrossfaderForTheNextNudge) {
    setCrossFader(30);
    logic.Start("HardCutToB");
    EXPECT_EQ(logic.state().CrossFader, 30);
    EXPECT_EQ(logic.state().CutA, 0);
    EXPECT_EQ(logic.state().CutB, 0);
    effects.take();
    logic.Nudge("F", "INC");
    EXPECT_EQ(effects.take().front(), "slider PitchSliderF 65");
}

TEST_F(MixerLogicTest, FadeStartSilencesTheTargetAndSendsOnlyIt) {
    setCrossFader(20);
    effects.take();
    logic.Start("LinearToB");
    EXPECT_EQ(effects.take(), (Lines{"post B 0", "text GainB 0", "slider PitchSliderF 50"}));
    EXPECT_TRUE(logic.state().fadeRunning({Curve::Linear, DeckSide::B}));
    EXPECT_EQ(logic.state().CutA, 0);
    EXPECT_EQ(logic.state().CrossFader, 20);
}

TEST_F(MixerLogicTest, LinearFadeToBSendsBothDecksEveryTickAndEndsAfterSixteen) {
    logic.Start("LinearToB");
    effects.take();
    for (int tick = 1; tick <= 16; ++tick) {
        logic.fadeTick();
        const int a = 80 - 5 * tick;
        const int b = 5 * tick;
        const Lines expected = {"post A " + std::to_string(a),
                                "text GainA " + std::to_string(a),
                                "post B " + std::to_string(b),
                                "text GainB " + std::to_string(b),
                                "slider PitchSliderA " + std::to_string(100 - a),
                                "slider PitchSliderB " + std::to_string(100 - b)};
        ASSERT_EQ(effects.take(), expected) << "tick " << tick;
    }
    EXPECT_FALSE(logic.state().anyFadeRunning());
    EXPECT_EQ(logic.state().FaderA, 0);
    EXPECT_EQ(logic.state().FaderB, 80);
    logic.fadeTick();
    EXPECT_TRUE(effects.take().empty());
}

TEST_F(MixerLogicTest, EveryCurveTakesItsDocumentedLengthInBothDirections) {
    const std::vector<std::pair<std::string, int>> curves = {
        {"Linear", 16}, {"FastSlow", 16}, {"SlowFast", 16}, {"Equal", 39}, {"SlowSlow", 32}};
    for (const auto& [curve, ticks] : curves) {
        logic.Start("HardCutToA");
        logic.Start(curve + "ToB");
        EXPECT_EQ(ticksUntilIdle(), ticks) << curve << "ToB";
        EXPECT_EQ(logic.state().FaderB, 80);
        EXPECT_EQ(logic.state().FaderA, 0);
        logic.Start(curve + "ToA");
        EXPECT_EQ(ticksUntilIdle(), ticks) << curve << "ToA";
        EXPECT_EQ(logic.state().FaderA, 80);
        EXPECT_EQ(logic.state().FaderB, 0);
    }
}

TEST_F(MixerLogicTest, EqualFadeFromAHundredEndsAfterFortyThreeTicks) {
    setFaderA(100);
    logic.Start("EqualToB");
    EXPECT_EQ(ticksUntilIdle(), 43);
}

TEST_F(MixerLogicTest, SlowSlowFadeWithASilentEndsAfterSixteenTicks) {
    setFaderA(0);
    logic.Start("SlowSlowToB");
    EXPECT_EQ(ticksUntilIdle(), 16);
}

TEST_F(MixerLogicTest, SlidersMoveDuringAFadeAndTheFadeCarriesOn) {
    logic.Start("LinearToB");
    logic.fadeTick();
    setFaderA(20);
    logic.Nudge("B", "INC");
    EXPECT_EQ(logic.state().FaderA, 20);
    EXPECT_EQ(logic.state().FaderB, 10);
    EXPECT_EQ(ticksUntilIdle(), 14);
}

TEST_F(MixerLogicTest, RunningFadeGatesStartsAndFlashReleases) {
    logic.Start("EqualToA");
    logic.fadeTick();
    const MixerState before = logic.state();
    effects.take();
    for (const char* name : {"LinearToB", "EqualToB", "HardCutToB", "HardCutToA", "FlashToA", "FlashToB"})
        logic.Start(name);
    logic.Release("FlashToA");
    logic.Release("FlashToB");
    EXPECT_TRUE(effects.take().empty());
    EXPECT_EQ(logic.state().fadeFlags, before.fadeFlags);
    EXPECT_FALSE(logic.state().FlashHeldA);
    EXPECT_EQ(logic.state().FaderA, before.FaderA);
    EXPECT_EQ(logic.state().FaderB, before.FaderB);
}

TEST_F(MixerLogicTest, FlashToBWithAAtSixtyFiveReturnsToSixtyFive) {
    setFaderA(65);
    effects.take();
    logic.mouseDown("FlashToB");
    EXPECT_EQ(effects.take(), (Lines{"post B 80", "text GainB 80", "post A 0", "text GainA 0", "slider PitchSliderF 50",
                                     "slider PitchSliderA 100", "slider PitchSliderB 20"}));
    EXPECT_TRUE(logic.state().FlashHeldB);
    logic.Start("FlashToB"); // a repeated key-down
    EXPECT_TRUE(effects.take().empty());
    logic.mouseUp("FlashToB");
    EXPECT_EQ(effects.take(), (Lines{"post B 0", "text GainB 0", "post A 65", "text GainA 65", "slider PitchSliderF 50",
                                     "slider PitchSliderA 35", "slider PitchSliderB 100"}));
    EXPECT_FALSE(logic.state().FlashHeldB);
    EXPECT_EQ(logic.state().FaderA, 65);
    EXPECT_EQ(logic.state().FaderB, 0);
}

TEST_F(MixerLogicTest, FlashToARestoresDeckBAndSendsBFirst) {
    setFaderB(45);
    logic.Start("FlashToA");
    EXPECT_EQ(logic.state().FlashSavedB, 45);
    EXPECT_EQ(logic.state().FaderA, 80);
    effects.take();
    logic.Release("FlashToA");
    EXPECT_EQ(effects.take(), (Lines{"post B 45", "text GainB 45", "post A 0", "text GainA 0", "slider PitchSliderF 50",
                                     "slider PitchSliderA 100", "slider PitchSliderB 55"}));
}

TEST_F(MixerLogicTest, FlashReleasedElsewhereStaysHeldUntilReleasedOverItsButton) {
    logic.mouseDown("FlashToB");
    logic.mouseUp("");
    logic.mouseUp("HardCutToB");
    EXPECT_TRUE(logic.state().FlashHeldB);
    EXPECT_EQ(logic.state().FaderB, 80);
    logic.Release("FlashToB");
    EXPECT_FALSE(logic.state().FlashHeldB);
    EXPECT_EQ(logic.state().FaderA, 80);
}

TEST_F(MixerLogicTest, HeldFlashDoesNotGateOtherStarts) {
    logic.Start("FlashToB");
    logic.Start("LinearToA");
    EXPECT_TRUE(logic.state().fadeRunning({Curve::Linear, DeckSide::A}));
}

TEST_F(MixerLogicTest, FlashReleaseIsNotCheckedAgainstAHeldFlash) {
    setFaderA(65);
    logic.Release("FlashToB");
    // Nothing was saved yet, so deck A falls silent.
    EXPECT_EQ(logic.state().FaderB, 0);
    EXPECT_EQ(logic.state().FaderA, 0);
}

TEST_F(MixerLogicTest, AutomaticFadeIgnoresTheGateAndRunsBesideTheSameDirection) {
    logic.Start("EqualToB");
    effects.take();
    logic.AutoFadeToB();
    EXPECT_EQ(effects.take(), (Lines{"post B 0", "text GainB 0", "slider PitchSliderF 50"}));
    EXPECT_TRUE(logic.state().fadeRunning({Curve::Linear, DeckSide::B}));
    EXPECT_TRUE(logic.state().fadeRunning({Curve::Equal, DeckSide::B}));
    // The Linear fade steps before the Equal fade, each with its own sends.
    logic.fadeTick();
    EXPECT_EQ(effects.take(), (Lines{"post A 75", "text GainA 75", "post B 5", "text GainB 5", "slider PitchSliderA 25",
                                     "slider PitchSliderB 95", "post A 75", "text GainA 75", "post B 10",
                                     "text GainB 10", "slider PitchSliderA 25", "slider PitchSliderB 90"}));
    EXPECT_GT(ticksUntilIdle(), 0);
}

TEST_F(MixerLogicTest, TickOrderPutsFastCurvesBeforeEqualAndSlowSlow) {
    logic.Start("SlowSlowToA");
    logic.AutoFadeToA();
    logic.fadeTick();
    // Linear first: A 5, B 75; then SlowSlow: B was not silent, so A stays, B 70.
    const std::vector<int> postedA = effects.postedTo(DeckSide::A);
    ASSERT_GE(postedA.size(), 2u);
    EXPECT_EQ(postedA[postedA.size() - 2], 5);
    EXPECT_EQ(effects.lastPosted(DeckSide::B), 70);
}

TEST_F(MixerLogicTest, OppositeAutomaticFadeReplacesTheRunningFadeSoItEnds) {
    logic.Start("LinearToB");
    for (int tick = 0; tick < 5; ++tick)
        logic.fadeTick();
    logic.AutoFadeToA();
    EXPECT_FALSE(logic.state().fadeRunning({Curve::Linear, DeckSide::B}));
    EXPECT_TRUE(logic.state().fadeRunning({Curve::Linear, DeckSide::A}));
    EXPECT_EQ(ticksUntilIdle(), 16);
    EXPECT_EQ(logic.state().FaderA, 80);
    EXPECT_EQ(logic.state().FaderB, 0);
}

TEST_F(MixerLogicTest, AutomaticFadeClearsEveryCurveRunningTheOtherWay) {
    logic.Start("SlowSlowToA");
    logic.AutoFadeToA();
    logic.AutoFadeToB();
    EXPECT_FALSE(logic.state().fadeRunning({Curve::SlowSlow, DeckSide::A}));
    EXPECT_FALSE(logic.state().fadeRunning({Curve::Linear, DeckSide::A}));
    EXPECT_EQ(ticksUntilIdle(), 16);
    EXPECT_EQ(logic.state().FaderB, 80);
}

TEST_F(MixerLogicTest, EqualFadeRestartsItsHoldCounter) {
    logic.Start("EqualToB");
    ASSERT_EQ(ticksUntilIdle(), 39);
    logic.Start("EqualToA");
    EXPECT_EQ(ticksUntilIdle(), 39);
}

TEST_F(MixerLogicTest, MeterTickShowsTheFourLevelsInOrder) {
    logic.meterTick({10, 20, 30, 40});
    EXPECT_EQ(effects.take(), (Lines{"gauge LeftA 10", "gauge RightA 20", "gauge LeftB 30", "gauge RightB 40"}));
}
