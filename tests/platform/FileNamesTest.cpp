#include "platform/FileNames.h"
#include "platform/LittleEndian.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(FileNames, PartsOfPathsWithAndWithoutFolders) {
    EXPECT_EQ(fileNameOf("/music/set/track.mp3"), "track.mp3");
    EXPECT_EQ(fileNameOf("track.mp3"), "track.mp3");
    EXPECT_EQ(fileNameOf("/music/"), "");

    EXPECT_EQ(folderWithSeparatorOf("skins/Night/PlayerA.ini"), "skins/Night/");
    EXPECT_EQ(folderWithSeparatorOf("PlayerA.ini"), "");

    EXPECT_EQ(folderOf("/music/set/list.dpl", "."), "/music/set");
    EXPECT_EQ(folderOf("/list.dpl", "."), "/");
    EXPECT_EQ(folderOf("list.dpl", "/here"), "/here");
}

TEST(FileNames, TypeWordIsUpToThreeUpperCaseLettersAfterTheFirstDotOfTheName) {
    EXPECT_EQ(typeWordOf("/a.b/Mix.m3u8"), "M3U");
    EXPECT_EQ(typeWordOf("back.up.Bmp"), "UP.");
    EXPECT_EQ(typeWordOf("/with.dot/noextension"), " ");
    EXPECT_EQ(typeWordOf("x.j"), "J");
    EXPECT_EQ(upperCase("Ab-\xe9z"), "AB-\xe9Z");
}

TEST(LittleEndian, ReadsTwoAndFourBytesLeastSignificantFirst) {
    const unsigned char bytes[] = {0x78, 0x56, 0x34, 0x12, 0xff};
    EXPECT_EQ(littleEndian(bytes, 4), 0x12345678u);
    EXPECT_EQ(littleEndian(bytes, 2), 0x5678u);
    EXPECT_EQ(littleEndian(bytes + 3, 2), 0xff12u);
}
