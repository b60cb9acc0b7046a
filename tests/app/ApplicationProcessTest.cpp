#include "platform/ApplicationFolder.h"
#include "platform/IniFile.h"

#include "support/TemporaryFolder.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using namespace test_support;

namespace {
// Runs the real program (by default the one beside the tests) in a working
// directory until SIGTERM ends it.
void runDrovanUntilTerminated(const std::string& workingDirectory,
                              const std::string& programFolder = platform::applicationFolder(),
                              const std::string& dataHome = {}) {
    QProcess drovan;
    drovan.setProgram(QString::fromStdString(programFolder + "drovan"));
    drovan.setWorkingDirectory(QString::fromStdString(workingDirectory));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!dataHome.empty())
        environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(dataHome));
    drovan.setProcessEnvironment(environment);
    drovan.start();
    ASSERT_TRUE(drovan.waitForStarted(10000));
    drovan.waitForFinished(3000); // lets the windows come up; the program does not end by itself
    ASSERT_EQ(drovan.state(), QProcess::Running) << drovan.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(drovan.processId()), SIGTERM);
    ASSERT_TRUE(drovan.waitForFinished(20000));
    EXPECT_EQ(drovan.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(drovan.exitCode(), 0);
}

const std::vector<std::string> kPlacementKeys = {"FormVersion", "Flags",   "ShowCmd", "PixelsPerInch",
                                                 "MinMaxPos",   "NormPos", "Visible"};
} // namespace

TEST(ApplicationProcess, AFirstRunInAnEmptyFolderLeavesTheSixSectionsWithEveryKey) {
    TemporaryFolder folder;
    runDrovanUntilTerminated(folder.path());
    const platform::IniDocument settings = platform::IniDocument::load(folder.file("asdf.ini"));
    for (const char* section : {"TPlayerA", "TPlayListForm", "TPlayerB", "TMixer"})
        EXPECT_EQ(settings.keys(section), kPlacementKeys) << section;
    std::vector<std::string> preferences = kPlacementKeys;
    for (const char* key :
         {"AutoPlay_Checked", "CheckBox1_Checked", "CheckBox2_Checked", "SpinEdit1_Value", "SpinEdit8_Value",
          "SpinEdit9_Value", "SpinEdit2_Value", "SpinEdit3_Value", "SpinEdit4_Value", "SpinEdit5_Value",
          "SpinEdit6_Value", "SpinEdit7_Value", "CheckBox3_Checked"})
        preferences.push_back(key);
    EXPECT_EQ(settings.keys("TPreferences"), preferences);
    std::vector<std::string> equalizer = kPlacementKeys;
    for (char deck : {'A', 'B'})
        for (int band = 1; band <= 10; ++band)
            equalizer.push_back(std::string(1, deck) + std::to_string(band));
    equalizer.push_back("A");
    equalizer.push_back("B");
    EXPECT_EQ(settings.keys("TEqualizerForm"), equalizer);
    EXPECT_EQ(settings.readString("TPlayerA", "NormPos", ""), "19,49,399,283");
}

TEST(ApplicationProcess, MovedWindowsComeBackAndForeignPlacementsAndSectionsAreRespected) {
    TemporaryFolder folder;
    runDrovanUntilTerminated(folder.path());
    platform::IniDocument settings = platform::IniDocument::load(folder.file("asdf.ini"));
    const std::string pixelsPerInch = settings.readString("TPlayerA", "PixelsPerInch", "");
    settings.writeString("TPlayerA", "NormPos", "200,150,580,384");
    settings.writeString("TMixer", "NormPos", "600,400,985,590");
    settings.writeString("TMixer", "PixelsPerInch", std::to_string(std::stoi(pixelsPerInch) + 48));
    settings.writeString("MySettings", "Colour", "$00FF00");
    settings.writeString("TPlayerB", "Comment", "kept");
    settings.save(folder.file("asdf.ini"));

    runDrovanUntilTerminated(folder.path());
    const platform::IniDocument after = platform::IniDocument::load(folder.file("asdf.ini"));
    EXPECT_EQ(after.readString("TPlayerA", "NormPos", ""), "200,150,580,384");
    EXPECT_EQ(after.readString("TMixer", "NormPos", ""), "412,300,797,490")
        << "a placement written at another resolution is ignored";
    EXPECT_EQ(after.readString("MySettings", "Colour", ""), "$00FF00");
    EXPECT_EQ(after.readString("TPlayerB", "Comment", ""), "kept");
}

// An installed copy lies in a folder nobody may write to; the play list then
// lives in the user's data folder and comes back at the next start. The seed
// is unsorted with LF line ends, so a rewritten file shows that the program
// read it and saved it there.
TEST(ApplicationProcess, AnInstalledReadOnlyCopyKeepsThePlayListInTheUsersDataFolder) {
    namespace fs = std::filesystem;
    TemporaryFolder installation;
    TemporaryFolder data;
    TemporaryFolder working;
    const std::string built = platform::applicationFolder();
    for (const char* file : {"drovan", "libtempik.so", "libxaudio.so"})
        fs::copy_file(built + file, installation.file(file));
    fs::copy(built + "skins", installation.file("skins"), fs::copy_options::recursive);
    const std::string storedList = data.file("drovan/PL.ini");
    fs::create_directories(data.file("drovan"));
    writeFile(storedList, "/music/zeta.mp3,000.0,Z,Last\n/music/a*^@b ç.mp3,120.5,A,First\n");
    const std::string expected = "/music/a*^@b ç.mp3,120.5,A,First\r\n/music/zeta.mp3,000.0,Z,Last\r\n";
    const auto readOnly = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(installation.path(), readOnly, fs::perm_options::remove);

    for (int run = 0; run < 2; ++run) {
        runDrovanUntilTerminated(working.path(), installation.path() + "/", data.path());
        EXPECT_EQ(readFile(storedList), expected) << "run " << run;
    }
    EXPECT_FALSE(fs::exists(installation.file("PL.ini")));
    fs::permissions(installation.path(), fs::perms::owner_write, fs::perm_options::add);
}
