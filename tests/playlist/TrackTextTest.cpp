#include "playlist/TrackText.h"
#include "playlist/ListAppearance.h"

#include <gtest/gtest.h>

using namespace playlist;

TEST(TrackText, PathCommasAreStoredEncodedAndComeBack) {
    EXPECT_EQ(encodePath("/music/a,b.mp3"), "/music/a*^@b.mp3");
    EXPECT_EQ(encodePath(",,"), "*^@*^@");
    EXPECT_EQ(encodePath("/plain.mp3"), "/plain.mp3");
    EXPECT_EQ(decodePath("/music/a*^@b.mp3"), "/music/a,b.mp3");
    for (const std::string path : {"", ",", "a,,b", ",start", "end,", "/a b/c.mp3"})
        EXPECT_EQ(decodePath(encodePath(path)), path) << path;
    // The encoding is not escaped: a path that holds the three characters itself comes back with a comma.
    EXPECT_EQ(decodePath(encodePath("/x/*^@,y.mp3")), "/x/,,y.mp3");
}

TEST(TrackText, DecodingResumesAfterEachReplacement) {
    EXPECT_EQ(decodePath("*^@^@"), ",^@");
    EXPECT_EQ(decodePath("**^@^@@"), "*,^@@");
    EXPECT_EQ(decodePath("*^*^@@"), "*^,@");
    EXPECT_EQ(decodePath("*^"), "*^");
}

TEST(TrackText, CleaningDropsCommasAndUnprintableBytes) {
    EXPECT_EQ(cleanTagText("Hello, World"), "Hello World");
    EXPECT_EQ(cleanTagText(std::string("Title\0\0\0", 8)), "Title");
    EXPECT_EQ(cleanTagText("tab\there\x7f\x80\xff~ "), "tabhere~ ");
    EXPECT_EQ(cleanTagText(",,,"), "");
    EXPECT_EQ(cleanTagText(" !~"), " !~");
}

TEST(TrackText, BpmResultsShowOneDecimalOrNone) {
    EXPECT_EQ(formatBpmResult(1200), "120.0");
    EXPECT_EQ(formatBpmResult(995), "99.5");
    EXPECT_EQ(formatBpmResult(990), "99");
    EXPECT_EQ(formatBpmResult(0), "0");
    EXPECT_EQ(formatBpmResult(1234), "123.4");
    EXPECT_EQ(formatBpmResult(900), "90");
    EXPECT_EQ(formatBpmResult(1000), "100.0");
    EXPECT_EQ(formatBpmResult(1005), "100.5");
    EXPECT_EQ(formatBpmResult(10000), "1000");
    EXPECT_EQ(formatBpmResult(5), "0.5");
    EXPECT_EQ(formatBpmResult(95), "9.5");
    EXPECT_EQ(formatBpmResult(-5), "-0.5");
    EXPECT_EQ(formatBpmResult(-120), "-12.0");
}

TEST(ListAppearance, DefaultValueGivesTheDefaults) {
    const ListAppearance appearance = parseListAppearance({"0", "0", "0", "0", "$000000", "Arial ", "$000000", "8"});
    EXPECT_EQ(appearance, ListAppearance{});
    EXPECT_EQ(appearance.fontName, "Arial ");
}

TEST(ListAppearance, ColourDigitsAreReadAsRedBlueGreen) {
    EXPECT_EQ(parseListColour("$FF0000"), 0x0000FFu) << "d1d2 is red";
    EXPECT_EQ(parseListColour("$00FF00"), 0xFF0000u) << "d3d4 is blue";
    EXPECT_EQ(parseListColour("$0000FF"), 0x00FF00u) << "d5d6 is green";
    EXPECT_EQ(parseListColour("$123456"), 0x345612u);
    EXPECT_EQ(parseListColour("$abcdef"), 0xcdefabu);
    EXPECT_EQ(parseListColour("$123456  "), 0x345612u);
    EXPECT_EQ(parseListColour("123456"), std::nullopt);
    EXPECT_EQ(parseListColour("$12345"), std::nullopt);
    EXPECT_EQ(parseListColour("$1234567"), std::nullopt);
    EXPECT_EQ(parseListColour("$12345g"), std::nullopt);
    EXPECT_EQ(parseListColour(""), std::nullopt);
}

TEST(ListAppearance, ReadsEveryItem) {
    const ListAppearance appearance =
        parseListAppearance({"12", "-3", "360", "250", "$102030", "Liberation Sans", "$A0B0C0", "10"});
    EXPECT_EQ(appearance.left, 12);
    EXPECT_EQ(appearance.top, -3);
    EXPECT_EQ(appearance.width, 360);
    EXPECT_EQ(appearance.height, 250);
    EXPECT_EQ(appearance.backgroundColour, 0x203010u);
    EXPECT_EQ(appearance.fontName, "Liberation Sans");
    EXPECT_EQ(appearance.fontColour, 0xB0C0A0u);
    EXPECT_EQ(appearance.fontSize, 10);
}

TEST(ListAppearance, MissingOrDamagedItemsKeepTheirDefaults) {
    EXPECT_EQ(parseListAppearance({}), ListAppearance{});
    const ListAppearance partial = parseListAppearance({"5", "x", "7 ", "", "red", "", "$12"});
    EXPECT_EQ(partial.left, 5);
    EXPECT_EQ(partial.top, 0);
    EXPECT_EQ(partial.width, 0) << "a blank before the comma makes the number invalid";
    EXPECT_EQ(partial.backgroundColour, 0u);
    EXPECT_EQ(partial.fontName, "Arial ");
    EXPECT_EQ(partial.fontSize, 8);
}
