#include "platform/ApplicationFolder.h"
#include "platform/IniFile.h"

#include "support/TemporaryFolder.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>

using namespace test_support;

namespace {
// Runs the real program in a working directory until SIGTERM ends it.
void runDrovanUntilTerminated(const std::string& workingDirectory) {
    QProcess drovan;
    drovan.setProgram(QString::fromStdString(platform::applicationFolder() + "drovan"));
    drovan.setWorkingDirectory(QString::fromStdString(workingDirectory));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
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
