#include "platform/AtomicFile.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using platform::FileWriteError;
using platform::writeFileAtomically;
using test_support::readFile;
using test_support::TemporaryFolder;
using test_support::writeFile;

namespace {

mode_t permissionsOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(AtomicFile, AReplacedFileKeepsItsPermissionsAndANewFileGetsTheUsersDefault) {
    TemporaryFolder folder;
    const std::string path = folder.file("PL.ini");
    writeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    writeFileAtomically(path, "new contents");
    EXPECT_EQ(readFile(path), "new contents");
    EXPECT_EQ(permissionsOf(path), 0640u);

    const mode_t previous = ::umask(027);
    writeFileAtomically(folder.file("fresh.dpl"), "x");
    ::umask(previous);
    EXPECT_EQ(permissionsOf(folder.file("fresh.dpl")), 0640u);
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"PL.ini", "fresh.dpl"}));
}

TEST(AtomicFile, ALinkStaysALinkAndTheFileItPointsToIsReplaced) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.file("synced"));
    writeFile(folder.file("synced/PL.ini"), "old");
    std::filesystem::create_symlink("synced/PL.ini", folder.file("PL.ini"));
    writeFileAtomically(folder.file("PL.ini"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("PL.ini")));
    EXPECT_EQ(readFile(folder.file("synced/PL.ini")), "new");
}

TEST(AtomicFile, AFailedWriteReportsThePathAndLeavesEverythingAsItWas) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.file("taken.dpl"));
    writeFile(folder.file("taken.dpl/inside"), "kept");
    try {
        writeFileAtomically(folder.file("taken.dpl"), "x");
        ADD_FAILURE() << "a folder was replaced by a file";
    } catch (const FileWriteError& error) {
        EXPECT_NE(std::string(error.what()).find(folder.file("taken.dpl")), std::string::npos) << error.what();
    }
    EXPECT_EQ(readFile(folder.file("taken.dpl/inside")), "kept");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"taken.dpl"});

    EXPECT_THROW(writeFileAtomically(folder.file("missing/PL.ini"), "x"), FileWriteError);
}
