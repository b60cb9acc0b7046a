#include "mixer/CrossfaderLaw.h"

#include <gtest/gtest.h>

using mixer::crossfaderCutA;
using mixer::crossfaderCutB;

namespace {
int levelA(int crossFader, int faderA) {
    return faderA - crossfaderCutA(crossFader, faderA);
}
int levelB(int crossFader, int faderB) {
    return faderB - crossfaderCutB(crossFader, faderB);
}
} // namespace

TEST(CrossfaderLaw, FaderEightyGivesTheDocumentedLevelsToDeckA) {
    EXPECT_EQ(levelA(50, 80), 80);
    EXPECT_EQ(levelA(49, 80), 62);
    EXPECT_EQ(levelA(40, 80), 80);
    EXPECT_EQ(levelA(20, 80), 40);
    EXPECT_EQ(levelA(0, 80), 0);
}

TEST(CrossfaderLaw, FaderHundredFadesLinearlyFromTheCentreToTheFarEnd) {
    EXPECT_EQ(levelA(50, 100), 100);
    EXPECT_EQ(levelA(25, 100), 50);
    EXPECT_EQ(levelA(0, 100), 0);
    EXPECT_EQ(levelB(75, 100), 50);
    EXPECT_EQ(levelB(100, 100), 0);
}

TEST(CrossfaderLaw, LowFaderBetweenItselfAndTheCentreGoesNegative) {
    EXPECT_EQ(levelA(40, 30), -20);
    EXPECT_EQ(levelB(60, 30), -20);
}

TEST(CrossfaderLaw, DeckBIsTheMirrorImageMeasuredFromTheOtherEnd) {
    EXPECT_EQ(levelB(50, 80), 80);
    EXPECT_EQ(levelB(51, 80), 62);
    EXPECT_EQ(levelB(60, 80), 80);
    EXPECT_EQ(levelB(80, 80), 40);
    EXPECT_EQ(levelB(100, 80), 0);
}

TEST(CrossfaderLaw, EachSideIsOnlyCutPastTheCentreTowardTheOtherDeck) {
    for (int crossFader = 50; crossFader <= 100; ++crossFader)
        EXPECT_EQ(crossfaderCutA(crossFader, 80), 0) << crossFader;
    for (int crossFader = 0; crossFader <= 50; ++crossFader)
        EXPECT_EQ(crossfaderCutB(crossFader, 80), 0) << crossFader;
}

TEST(CrossfaderLaw, HalfOfAnOddFaderIsTruncated) {
    // half(85) = 42: at F = 49 the cut is 2 x 7 = 14.
    EXPECT_EQ(crossfaderCutA(49, 85), 14);
    EXPECT_EQ(crossfaderCutB(51, 85), 14);
}
