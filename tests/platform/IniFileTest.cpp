#include "platform/IniFile.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
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

// A settings file that is there but cannot be read must never be taken for
// an empty one: the next placement write would replace it with one section.
TEST(IniFile, AFileThatCannotBeReadIsReportedAndLeftAlone) {
    TemporaryFolder folder;
    const std::string oversized = folder.file("oversized.ini");
    const std::string content = "[Mine]\nsecret=42\n" + std::string(IniDocument::kMaximumFileBytes, ';');
    writeFile(oversized, content);
    ASSERT_EQ(mkfifo(folder.file("fifo.ini").c_str(), 0600), 0);
    // Reading /proc/self/mem at its start fails with an I/O error.
    ASSERT_EQ(symlink("/proc/self/mem", folder.file("failing.ini").c_str()), 0);
    ASSERT_EQ(mkdir(folder.file("folder.ini").c_str(), 0700), 0);

    for (const char* name : {"oversized.ini", "fifo.ini", "failing.ini", "folder.ini"}) {
        IniFile file(folder.file(name));
        EXPECT_THROW(IniDocument::load(file.path()), platform::IniReadError) << name;
        EXPECT_THROW(file.readString("Mine", "secret", ""), platform::IniReadError) << name;
        EXPECT_THROW(file.writeString("TPlayerA", "Visible", "1"), platform::IniReadError) << name;
        EXPECT_THROW(file.eraseSection("Mine"), platform::IniReadError) << name;
    }
    EXPECT_EQ(readFile(oversized), content);
    try {
        IniDocument::load(folder.file("fifo.ini"));
    } catch (const platform::IniReadError& error) {
        EXPECT_NE(std::string(error.what()).find(folder.file("fifo.ini")), std::string::npos) << error.what();
    }
}

TEST(IniFile, ARewriteKeepsTheFilesPermissionsAndWritesThroughASymbolicLink) {
    TemporaryFolder folder;
    ASSERT_EQ(mkdir(folder.file("real").c_str(), 0700), 0);
    const std::string target = folder.file("real/settings.ini");
    writeFile(target, "[Mine]\nsecret=42\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(symlink("real/settings.ini", folder.file("asdf.ini").c_str()), 0);

    IniFile file(folder.file("asdf.ini"));
    file.writeString("TMixer", "Visible", "1");

    struct stat link {};
    ASSERT_EQ(lstat(folder.file("asdf.ini").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode)) << "the link is still a link";
    struct stat written {};
    ASSERT_EQ(stat(target.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 07777, 0640u);
    EXPECT_EQ(readFile(target), "[Mine]\nsecret=42\n\n[TMixer]\nVisible=1\n");
}

TEST(IniDocument, LookupsFollowEveryChangeAndTheFirstSectionOfANameWins) {
    IniDocument document("[A]\nx=1\nx=2\n[B]\ny=2\n[a]\nx=3\nz=4\n");
    EXPECT_EQ(document.readString("a", "X", ""), "1");
    EXPECT_EQ(document.readString("A", "z", "none"), "none") << "only the first [A] counts";
    document.eraseKey("A", "x");
    EXPECT_EQ(document.readString("A", "x", ""), "2");
    document.eraseSection("A");
    EXPECT_EQ(document.readString("B", "y", ""), "2");
    EXPECT_FALSE(document.value("A", "x"));
    document.writeString("C", "k", "v");
    document.writeString("B", "w", "5");
    EXPECT_EQ(document.readString("c", "K", ""), "v");
    EXPECT_EQ(document.readInteger("b", "W", 0), 5);
    EXPECT_EQ(document.readString("B", "y", ""), "2");
}
