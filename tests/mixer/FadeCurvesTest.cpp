#include "mixer/FadeCurves.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mixer;

namespace {

struct CurveRun {
    int ticks = 0;
    std::vector<int> target;
    std::vector<int> other;
};

// Steps a curve until it finishes (or gives up after 500 ticks).
CurveRun runCurve(Curve curve, int target, int other) {
    CurveRun run;
    int equalCount = 0;
    while (run.ticks < 500) {
        ++run.ticks;
        const FadeProgress progress = stepFade(curve, target, other, equalCount);
        run.target.push_back(target);
        run.other.push_back(other);
        if (progress == FadeProgress::Finished)
            break;
    }
    return run;
}

} // namespace

TEST(FadeCurves, FromEightyTheCurvesTakeTheirDocumentedNumberOfTicks) {
    EXPECT_EQ(runCurve(Curve::Linear, 0, 80).ticks, 16);
    EXPECT_EQ(runCurve(Curve::FastSlow, 0, 80).ticks, 16);
    EXPECT_EQ(runCurve(Curve::SlowFast, 0, 80).ticks, 16);
    EXPECT_EQ(runCurve(Curve::Equal, 0, 80).ticks, 39);
    EXPECT_EQ(runCurve(Curve::SlowSlow, 0, 80).ticks, 32);
}

TEST(FadeCurves, EqualFromHundredTakesFortyThreeTicks) {
    EXPECT_EQ(runCurve(Curve::Equal, 0, 100).ticks, 43);
}

TEST(FadeCurves, SlowSlowWithTheOutgoingDeckSilentOnlyRaises) {
    const CurveRun run = runCurve(Curve::SlowSlow, 0, 0);
    EXPECT_EQ(run.ticks, 16);
    EXPECT_EQ(run.target.front(), 5);
}

TEST(FadeCurves, EveryCurveEndsWithTheTargetAtFadeTopAndTheOtherSilent) {
    for (Curve curve : {Curve::Linear, Curve::FastSlow, Curve::SlowFast, Curve::Equal, Curve::SlowSlow}) {
        const CurveRun run = runCurve(curve, 0, 100);
        EXPECT_LT(run.ticks, 500);
        EXPECT_EQ(run.target.back(), FadeTop);
        EXPECT_EQ(run.other.back(), 0);
        for (size_t tick = 0; tick < run.target.size(); ++tick) {
            EXPECT_LE(run.target[tick], FadeTop);
            EXPECT_GE(run.other[tick], 0);
        }
    }
}

TEST(FadeCurves, EqualHoldsTheIncomingDeckBeforeLoweringTheOutgoing) {
    const CurveRun run = runCurve(Curve::Equal, 0, 80);
    // Tick n is at index n - 1.
    EXPECT_EQ(run.target[14], 75);
    EXPECT_EQ(run.target[15], 80);
    EXPECT_EQ(run.other[22], 80);
    EXPECT_EQ(run.other[23], 75);
    EXPECT_EQ(run.other[38], 0);
}

TEST(FadeCurves, SlowSlowLowersFirstThenRaises) {
    const CurveRun run = runCurve(Curve::SlowSlow, 0, 80);
    EXPECT_EQ(run.other[15], 0);
    EXPECT_EQ(run.target[15], 0);
    EXPECT_EQ(run.target[16], 5);
}

TEST(FadeCurves, FastSlowSilencesTheOutgoingDeckAtHalfTime) {
    const CurveRun fastSlow = runCurve(Curve::FastSlow, 0, 80);
    EXPECT_EQ(fastSlow.other[6], 10);
    EXPECT_EQ(fastSlow.other[7], 0);
    EXPECT_EQ(fastSlow.target[7], 40);
    const CurveRun slowFast = runCurve(Curve::SlowFast, 0, 80);
    EXPECT_EQ(slowFast.target[7], 80);
    EXPECT_EQ(slowFast.other[7], 40);
}

TEST(FadeCurves, AnIncomingDeckAboveFadeTopIsBroughtDownToIt) {
    int target = 95;
    int other = 0;
    int equalCount = 0;
    EXPECT_EQ(stepFade(Curve::Linear, target, other, equalCount), FadeProgress::Finished);
    EXPECT_EQ(target, FadeTop);
}

TEST(FadeCurves, TheTickOrderListsEveryFadeOnce) {
    for (Curve curve : {Curve::Linear, Curve::FastSlow, Curve::SlowFast, Curve::Equal, Curve::SlowSlow})
        for (DeckSide deck : {DeckSide::A, DeckSide::B}) {
            const std::size_t index = fadeIndex({curve, deck});
            ASSERT_LT(index, kFadeCount);
            EXPECT_EQ(kTickOrder[index], (Fade{curve, deck}));
        }
}
