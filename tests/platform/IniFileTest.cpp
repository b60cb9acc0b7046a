#include "platform/IniFile.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using platform::IniDocument;
using platform::IniFile;
using test_support::readFile;
using test_support::TemporaryFolder;
using test_support::writeFile;

TEST(IniDocument, SectionsAndKeysMatchRegardlessOfCaseAndBlanksAroundValuesAreDropped) {
    IniDocument document("[Version]\r\n  Ver =  150 \r\n[BitmapInfo]\nMaskBitmap= mask.bmp\n");
    EXPECT_EQ(document.readInteger("VERSION", "ver", 140), 150);
    EXPECT_EQ(document.readString("bitmapinfo", "MASKBITMAP", "ERROR"), "mask.bmp");
    EXPECT_EQ(document.readString("bitmapinfo", "MouseUpBitmap", "ERROR"), "ERROR");
    EXPECT_EQ(document.readString("Missing", "Key", "default"), "default");
}

TEST(IniDocument, ValuesAreReadUpTo2047Characters) {
    IniDocument document("[S]\nK=" + std::string(3000, 'x') + "\n");
    EXPECT_EQ(document.readString("S", "K", "").size(), 2047u);
}

TEST(IniDocument, IntegersAreWholeDecimalOrHexadecimalNumbersElseTheDefault) {
    IniDocument document("[S]\nA=42\nB=-7\nC=$1F\nD=0x10\nE=12abc\nF=\nG=$FFFFFFFF\nH=99999999999\n");
    EXPECT_EQ(document.readInteger("S", "A", 0), 42);
    EXPECT_EQ(document.readInteger("S", "B", 0), -7);
    EXPECT_EQ(document.readInteger("S", "C", 0), 31);
    EXPECT_EQ(document.readInteger("S", "D", 0), 16);
    EXPECT_EQ(document.readInteger("S", "E", 5), 5);
    EXPECT_EQ(document.readInteger("S", "F", 5), 5);
    EXPECT_EQ(document.readInteger("S", "G", 0), -1);
    EXPECT_EQ(document.readInteger("S", "H", 3), 3);
    EXPECT_EQ(document.readInteger("S", "Missing", 9), 9);
}

TEST(IniDocument, WritingAKeyKeepsEveryOtherLineAndTheLineEndings) {
    const std::string original = "; a comment\r\n[Other]\r\nKeep=me\r\n\r\n[TMixer]\r\nFlags=3\r\nShowCmd=1\r\n";
    IniDocument document(original);
    document.writeString("tmixer", "flags", "0");
    document.writeString("TMixer", "Visible", "1");
    document.writeString("New", "Key", "value");
    EXPECT_EQ(document.text(),
              "; a comment\r\n[Other]\r\nKeep=me\r\n\r\n[TMixer]\r\nflags=0\r\nShowCmd=1\r\nVisible=1\r\n"
              "\r\n[New]\r\nKey=value\r\n");
}

TEST(IniDocument, ErasingASectionRemovesItsKeysOnly) {
    IniDocument document("[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
    document.eraseSection("A");
    EXPECT_FALSE(document.sectionExists("a"));
    EXPECT_EQ(document.readString("B", "y", ""), "2");
    EXPECT_EQ(document.keys("B"), std::vector<std::string>{"y"});
}

TEST(IniFile, TheFileIsCreatedOnTheFirstWriteAndUnrelatedContentSurvives) {
    TemporaryFolder folder;
    IniFile file(folder.file("asdf.ini"));
    EXPECT_EQ(file.readString("TPlayerA", "NormPos", "none"), "none");
    file.writeString("TPlayerA", "NormPos", "1,2,3,4");
    EXPECT_EQ(file.readString("tplayera", "normpos", ""), "1,2,3,4");

    writeFile(folder.file("asdf.ini"), "[Mine]\nsecret=42\n[TPlayerA]\nNormPos=1,2,3,4\nExtra=yes\n");
    file.writeStrings("TPlayerA", {{"NormPos", "5,6,7,8"}, {"Visible", "1"}});
    EXPECT_EQ(readFile(folder.file("asdf.ini")),
              "[Mine]\nsecret=42\n[TPlayerA]\nNormPos=5,6,7,8\nExtra=yes\nVisible=1\n");
}

TEST(IniFile, AWriteIntoAFolderThatDoesNotExistFailsWithAClearError) {
    IniFile file("/nonexistent-folder-of-drovan/asdf.ini");
    EXPECT_THROW(file.writeString("S", "K", "V"), platform::IniWriteError);
}

// A process killed at any moment while it rewrites the file leaves either the
// old or the new file, complete, and no temporary files behind it that count.
TEST(IniFile, AProcessKilledWhileWritingNeverLeavesATruncatedFile) {
    TemporaryFolder folder;
    const std::string path = folder.file("asdf.ini");
    IniDocument seed;
    for (int key = 0; key < 3000; ++key)
        seed.writeString("Section" + std::to_string(key % 7), "Key" + std::to_string(key), std::string(40, 'v'));
    seed.writeString("Tail", "End", "0");
    seed.save(path);

    for (int round = 0; round < 12; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            IniDocument document = IniDocument::load(path);
            for (int generation = 1;; ++generation) {
                document.writeString("Tail", "End", std::to_string(generation));
                document.save(path);
            }
        }
        usleep(static_cast<useconds_t>(3000 + round * 2500));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        const IniDocument survivor = IniDocument::load(path);
        EXPECT_TRUE(survivor.value("Tail", "End").has_value()) << "round " << round;
        EXPECT_EQ(survivor.keys("Section3").size(), seed.keys("Section3").size()) << "round " << round;
        EXPECT_EQ(survivor.readString("Section2", "Key2998", ""), std::string(40, 'v'));
    }
}
