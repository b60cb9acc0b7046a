#include "skins/BitmapFont.h"
#include "skins/SkinElements.h"
#include "skins/SkinEntries.h"
#include "skins/SkinError.h"
#include "skins/SplitFields.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using skins::ESkinError;
using skins::SplitFields;
using testing::ElementsAre;

namespace {

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ESkinError& error) {
        return error.what();
    }
    return "no error";
}

TEST(SplitFields, SkipsLeadingBlanksAndKeepsBlanksInsideAndBeforeTheComma) {
    EXPECT_THAT(SplitFields("  Play, 10 ,20"), ElementsAre("Play", "10 ", "20"));
    EXPECT_THAT(SplitFields("\t Two words ,x"), ElementsAre("Two words ", "x"));
}

TEST(SplitFields, TwoCommasGiveAnEmptyFieldButATrailingCommaNone) {
    EXPECT_THAT(SplitFields("a,,b"), ElementsAre("a", "", "b"));
    EXPECT_THAT(SplitFields("a, ,b"), ElementsAre("a", "", "b"));
    EXPECT_THAT(SplitFields("a,b,"), ElementsAre("a", "b"));
    EXPECT_THAT(SplitFields(",a"), ElementsAre("", "a"));
    EXPECT_TRUE(SplitFields("").empty());
    EXPECT_TRUE(SplitFields("   ").empty());
}

TEST(SplitFields, QuotedFieldsKeepCommasAndTurnDoubledMarksIntoOne) {
    EXPECT_THAT(SplitFields(R"("a, b", "say ""hi""",c)"), ElementsAre("a, b", "say \"hi\"", "c"));
    EXPECT_THAT(SplitFields(R"("",x)"), ElementsAre("", "x"));
}

TEST(SplitFields, AnUnclosedQuotationTakesTheRestAndEnds) {
    EXPECT_THAT(SplitFields(R"(a,"open, end)"), ElementsAre("a", "open, end"));
}

TEST(SplitFields, ControlCharactersEndAFieldAndTheListIsEmptiedFirst) {
    std::vector<std::string> fields{"old"};
    SplitFields("a\tb,c", fields);
    EXPECT_THAT(fields, ElementsAre("a", "b", "c"));
    SplitFields(std::string("x\0y", 3), fields);
    EXPECT_THAT(fields, ElementsAre("x"));
}

TEST(SkinEntries, Version140EntriesArePlainButtonsSwitchesAndRadioButtons) {
    const HotAreaInfoRec play = skins::parseHotAreaEntry(SplitFields("Play, 10, 10, 20, 20"), 140);
    EXPECT_EQ(play.Name, "Play");
    EXPECT_FALSE(play.IsSwitch);
    EXPECT_EQ(play.rect(), PixelRect::fromSize(10, 10, 20, 20));

    const HotAreaInfoRec loop = skins::parseHotAreaEntry(SplitFields("Loop, 10, 10, 20, 20, FALSE"), 140);
    EXPECT_TRUE(loop.IsSwitch);
    EXPECT_FALSE(loop.Down);
    EXPECT_TRUE(loop.Group.isEmpty());

    const HotAreaInfoRec radio = skins::parseHotAreaEntry(SplitFields("A, 0, 0, 5, 5, TRUE, G"), 140);
    EXPECT_TRUE(radio.IsSwitch);
    EXPECT_TRUE(radio.Down);
    EXPECT_EQ(radio.Group, "G");
    EXPECT_TRUE(radio.Hint.isEmpty());

    const HotAreaInfoRec eight = skins::parseHotAreaEntry(SplitFields("B, 0, 0, 5, 5, FALSE, G, extra"), 140);
    EXPECT_TRUE(eight.IsSwitch);
    EXPECT_FALSE(eight.Down);
    EXPECT_TRUE(eight.Group.isEmpty());
}

TEST(SkinEntries, Version150PutsTheHintInFieldFiveAndShiftsStateAndGroup) {
    const HotAreaInfoRec five = skins::parseHotAreaEntry(SplitFields("Play, 1, 2, 3, 4"), 150);
    EXPECT_TRUE(five.Hint.isEmpty());
    EXPECT_FALSE(five.IsSwitch);

    const HotAreaInfoRec hinted = skins::parseHotAreaEntry(SplitFields("Play, 1, 2, 3, 4, Start playing"), 150);
    EXPECT_EQ(hinted.Hint, "Start playing");
    EXPECT_FALSE(hinted.IsSwitch);

    const HotAreaInfoRec radio = skins::parseHotAreaEntry(SplitFields("A, 0, 0, 5, 5, tip, FALSE, G"), 150);
    EXPECT_TRUE(radio.IsSwitch);
    EXPECT_FALSE(radio.Down);
    EXPECT_EQ(radio.Group, "G");
}

TEST(SkinEntries, OnlyTheExactWordFalseMeansUpAndOnlyUpperVMeansVertical) {
    EXPECT_TRUE(skins::parseHotAreaEntry(SplitFields("a,0,0,1,1,false"), 140).Down);
    EXPECT_TRUE(skins::parseHotAreaEntry(SplitFields("a,0,0,1,1,True"), 140).Down);
    EXPECT_FALSE(skins::parseHotAreaEntry(SplitFields("a,0,0,1,1,FALSE"), 140).Down);
    EXPECT_TRUE(skins::parseGaugeEntry(SplitFields("g,0,0,1,1,v")).Horizontal);
    EXPECT_FALSE(skins::parseGaugeEntry(SplitFields("g,0,0,1,1,V")).Horizontal);
}

TEST(SkinEntries, MissingFieldsFailWithTheFirstMissingIndex) {
    EXPECT_EQ(errorOf([] { skins::parseHotAreaEntry(SplitFields("Play, 10, 10"), 140); }),
              "List index out of bounds (3)");
    EXPECT_EQ(errorOf([] { skins::parseGaugeEntry(SplitFields("g,0,0,1,1")); }), "List index out of bounds (5)");
    EXPECT_EQ(errorOf([] { skins::parseDisplayEntry(SplitFields("d,Arial,FALSE,FALSE,8,$FF,1"), 1); }),
              "List index out of bounds (7)");
    TrackBarInfoRec trackBar;
    EXPECT_EQ(errorOf([&] { skins::parseTrackBarGeometry(SplitFields("t,a.bmp,b.bmp,1,2,3"), trackBar); }),
              "List index out of bounds (6)");
}

TEST(SkinEntries, AnUnknownVersionFailsEveryHotAreaEntry) {
    EXPECT_EQ(errorOf([] { skins::parseHotAreaEntry(SplitFields("Play, 1, 2, 3, 4"), 145); }),
              "List index out of bounds (5)");
}

TEST(SkinEntries, NumbersAreDecimalOrDollarHexAndABlankBeforeTheCommaFails) {
    EXPECT_EQ(skins::parseSkinInteger("-12"), -12);
    EXPECT_EQ(skins::parseSkinInteger("+7"), 7);
    EXPECT_EQ(skins::parseSkinInteger("$FF"), 255);
    EXPECT_EQ(errorOf([] { skins::parseHotAreaEntry(SplitFields("Play, 10 , 10, 20, 20"), 140); }),
              "'10 ' is not a valid integer value");
    EXPECT_EQ(errorOf([] { skins::parseSkinInteger("0x10"); }), "'0x10' is not a valid integer value");
    EXPECT_EQ(errorOf([] { skins::parseSkinInteger(""); }), "'' is not a valid integer value");
    EXPECT_EQ(errorOf([] { skins::parseSkinInteger("99999999999"); }), "'99999999999' is not a valid integer value");
}

TEST(SkinEntries, DisplayTextOnlyWithExactlyTenFields) {
    const std::string base = "d, Arial, TRUE, FALSE, 9, $0000FF, 3, 4";
    const DisplayInfoRec eight = skins::parseDisplayEntry(SplitFields(base), 1);
    EXPECT_TRUE(eight.Kind.isEmpty());
    EXPECT_TRUE(eight.Font.Bold);
    EXPECT_FALSE(eight.Font.Italic);
    EXPECT_EQ(eight.Font.color(), QColor(255, 0, 0));
    EXPECT_EQ(eight.Left, 3);
    EXPECT_EQ(eight.Top, 4);
    EXPECT_EQ(skins::parseDisplayEntry(SplitFields(base + ", Number"), 1).Kind, "Number");
    EXPECT_TRUE(skins::parseDisplayEntry(SplitFields(base + ", Number"), 1).Text.isEmpty());
    EXPECT_EQ(skins::parseDisplayEntry(SplitFields(base + ", Number, 12:34"), 1).Text, "12:34");
    EXPECT_TRUE(skins::parseDisplayEntry(SplitFields(base + ", Number, 12:34, x"), 1).Text.isEmpty());
}

TEST(SkinEntries, NegativeOrHugeCountsFailWithRangeCheckError) {
    EXPECT_EQ(skins::elementCount(0), 0);
    EXPECT_EQ(skins::elementCount(12), 12);
    EXPECT_EQ(errorOf([] { skins::elementCount(-1); }), "Range check error");
    EXPECT_EQ(errorOf([] { skins::elementCount(2000000000); }), "Range check error");
}

TrackBarInfoRec horizontalTrackBar(int length, int thumbWidth) {
    TrackBarInfoRec trackBar;
    trackBar.Left = 20;
    trackBar.Top = 5;
    trackBar.Length = length;
    trackBar.ThumbWidth = thumbWidth;
    trackBar.ThumbHeight = 8;
    return trackBar;
}

TEST(TrackBarMath, SetPositionWrapsAtOneHundredAndOneAndSnapsTheThumb) {
    TrackBarInfoRec trackBar = horizontalTrackBar(100, 10);
    EXPECT_EQ(trackBar.travel(), 90);
    trackBar.setPosition(50);
    EXPECT_EQ(trackBar.Position, 50);
    EXPECT_EQ(trackBar.Offset, 45);
    trackBar.setPosition(101);
    EXPECT_EQ(trackBar.Position, 0);
    EXPECT_EQ(trackBar.Offset, 0);
    trackBar.setPosition(150);
    EXPECT_EQ(trackBar.Position, 49);
    trackBar.setPosition(-20);
    EXPECT_EQ(trackBar.Position, 0);
}

TEST(TrackBarMath, PositionFromOffsetTruncatesThenSnaps) {
    TrackBarInfoRec trackBar = horizontalTrackBar(100, 10);
    trackBar.setOffsetWithinTravel(55);
    ASSERT_TRUE(trackBar.updatePositionFromOffset());
    EXPECT_EQ(trackBar.Position, 61);
    EXPECT_EQ(trackBar.Offset, 54);
    trackBar.setOffsetWithinTravel(500);
    EXPECT_EQ(trackBar.Offset, 90);
    trackBar.setOffsetWithinTravel(-3);
    EXPECT_EQ(trackBar.Offset, 0);
}

TEST(TrackBarMath, ATrackBarWithoutTravelKeepsItsPosition) {
    TrackBarInfoRec trackBar = horizontalTrackBar(10, 10);
    trackBar.Position = 30;
    EXPECT_FALSE(trackBar.updatePositionFromOffset());
    EXPECT_EQ(trackBar.Position, 30);
    trackBar.setPosition(70);
    EXPECT_EQ(trackBar.Offset, 0);
}

TEST(TrackBarMath, AVerticalTrackIgnoresPressesOnItsLastThumbHeight) {
    TrackBarInfoRec trackBar = horizontalTrackBar(100, 10);
    trackBar.Horizontal = false;
    EXPECT_EQ(trackBar.travel(), 92);
    EXPECT_TRUE(trackBar.trackRect().contains(20, 5 + 91));
    EXPECT_FALSE(trackBar.trackRect().contains(20, 5 + 92));
    EXPECT_TRUE(trackBar.hintRect().contains(20, 5 + 99));
}

TEST(GaugeFill, FillsInProportionAndNeverPastItsEdges) {
    GuageAreaInfoRec gauge;
    gauge.Left = 10;
    gauge.Top = 20;
    gauge.Width = 100;
    gauge.Height = 6;
    gauge.Max = 200;
    gauge.Position = 50;
    EXPECT_EQ(gauge.fill(), 25);
    EXPECT_EQ(gauge.fillRect(), PixelRect::fromSize(10, 20, 25, 6));
    gauge.Position = 1000; // a range change does not clamp the position
    EXPECT_EQ(gauge.fill(), 100);
    gauge.Position = -7;
    EXPECT_EQ(gauge.fill(), 0);
    gauge.Min = gauge.Max = 200;
    EXPECT_EQ(gauge.fill(), 0);
}

TEST(GaugeFill, AVerticalGaugeFillsUpwardFromItsBottomEdge) {
    GuageAreaInfoRec gauge;
    gauge.Horizontal = false;
    gauge.Top = 10;
    gauge.Width = 4;
    gauge.Height = 50;
    gauge.Position = 30; // of 0..100: 15 pixels
    EXPECT_EQ(gauge.fillRect(), PixelRect::fromSize(0, 45, 4, 15));
}

TEST(BitmapFont, DigitStripDrawsUnknownCharactersAsZero) {
    const QString text = QStringLiteral("12:3a ");
    std::vector<int> cells;
    for (QChar c : text)
        cells.push_back(skins::digitCell(c));
    EXPECT_THAT(cells, ElementsAre(1, 2, 10, 3, 0, 11));
}

TEST(BitmapFont, LetterStripLooksInCapitalsThenSymbolsThenSmallLetters) {
    using skins::LetterCell;
    EXPECT_EQ(skins::letterCell('A'), (LetterCell{0, 0}));
    EXPECT_EQ(skins::letterCell('*'), (LetterCell{0, 29}));
    EXPECT_EQ(skins::letterCell('"'), (LetterCell{0, 27}));
    EXPECT_EQ(skins::letterCell('7'), (LetterCell{1, 7}));
    EXPECT_EQ(skins::letterCell('\\'), (LetterCell{1, 20}));
    EXPECT_EQ(skins::letterCell('$'), (LetterCell{1, 29}));
    EXPECT_EQ(skins::letterCell('z'), (LetterCell{2, 25}));
    EXPECT_EQ(skins::letterCell('~'), (LetterCell{1, 10}));
    EXPECT_EQ(skins::letterCell(QChar(0x00E9)), (LetterCell{1, 10}));
}

} // namespace
