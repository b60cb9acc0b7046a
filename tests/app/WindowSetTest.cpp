#include "WindowSet.h"
#include "About.h"
#include "DeckMenu.h"
#include "MeterFeed.h"
#include "Players.h"
#include "Preferences.h"
#include "SkinFolderSwitch.h"
#include "Splash.h"
#include "contracts/SkinFolderClient.h"
#include "engine/feedback/TXADisplay.h"
#include "mixer/Equalizer.h"
#include "mixer/MeterLevels.h"
#include "mixer/Mixer.h"
#include "platform/ApplicationFolder.h"
#include "platform/IniFile.h"
#include "platform/WindowMessages.h"
#include "playlist/PlayListForm.h"
#include "skins/AboutSkin.h"
#include "skins/SkinEditor.h"
#include "skins/SkinError.h"

#include "support/FakeEngine.h"
#include "support/TemporaryFolder.h"

#include <QApplication>
#include <QFileInfo>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace test_support;

namespace {
class WindowSetTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    WorkingDirectory workingDirectory{folder.path()};
    FakeEngine fake;
    WindowSet set;
    void SetUp() override {
        TDeck::setEngineLibrary(QString::fromStdString(fake.path()));
        set.create();
    }
    void TearDown() override {
        set.destroy();
        TDeck::setEngineLibrary(QString());
    }
    platform::IniDocument settings() const { return platform::IniDocument::load(folder.file("asdf.ini")); }
};
} // namespace

TEST_F(WindowSetTest, WindowsHaveTheirClassNamesSizesAndVisibilityAtStart) {
    struct Expected {
        QWidget* window;
        const char* className;
        QSize size;
        bool visible;
    };
    const std::vector<Expected> expected = {
        {set.PlayerA, "TPlayerA", {380, 234}, true},
        {set.PlayList, "TPlayListForm", {387, 306}, true},
        {set.PlayerB, "TPlayerB", {370, 234}, true},
        {set.SkinEditor, "TMySkinEditor", {}, false},
        {set.Mixer, "TMixer", {385, 190}, true},
        {set.Preferences, "TPreferences", {}, false},
        {set.Equalizer, "TEqualizerForm", {429, 182}, false},
        {set.AboutSkin, "TAboutSkin", {}, false},
        {set.About, "TAbout", {397, 323}, false},
    };
    for (const Expected& window : expected) {
        ASSERT_NE(window.window, nullptr);
        EXPECT_STREQ(window.window->metaObject()->className(), window.className);
        EXPECT_EQ(window.window->isVisible(), window.visible) << window.className;
        if (window.size.isValid()) {
            EXPECT_EQ(window.window->size(), window.size) << window.className;
        }
    }
    EXPECT_EQ(set.PlayerA->pos(), QPoint(19, 49));
    EXPECT_EQ(set.PlayerB->pos(), QPoint(404, 53));
    EXPECT_EQ(set.About->versionText(), QStringLiteral("Version 0.1.10"));
}

TEST_F(WindowSetTest, BothDecksCarryTheSameMenuButForThePlayListCaption) {
    const QStringList common = {
        QStringLiteral("Mixer"),        QStringLiteral("EQ"),          QString(),
        QStringLiteral("Load Skin"),    QStringLiteral("Skin Editor"), QStringLiteral("Preferences"),
        QStringLiteral("About Drovan"), QStringLiteral("About Skin"),  QString(),
        QStringLiteral("Exit\tCtrl+E")};
    EXPECT_EQ(set.PlayerA->popupMenu().itemTexts(), QStringList{QStringLiteral("PlayList")} + common);
    EXPECT_EQ(set.PlayerB->popupMenu().itemTexts(), QStringList{QStringLiteral("Play List")} + common);
}

TEST_F(WindowSetTest, MenuTogglesFlipTheVisibilityOfTheirWindows) {
    set.PlayerB->popupMenu().triggerItem(QStringLiteral("Play List"));
    EXPECT_FALSE(set.PlayList->isVisible());
    set.PlayerA->popupMenu().triggerItem(QStringLiteral("PlayList"));
    EXPECT_TRUE(set.PlayList->isVisible());
    set.PlayerA->popupMenu().triggerItem(QStringLiteral("Mixer"));
    EXPECT_FALSE(set.Mixer->isVisible());
    set.PlayerA->popupMenu().triggerItem(QStringLiteral("EQ"));
    EXPECT_TRUE(set.Equalizer->isVisible());
}

TEST_F(WindowSetTest, AHiddenAndShownWindowReturnsToItsStoredPosition) {
    set.PlayList->move(120, 130);
    set.PlayList->close();
    set.PlayList->move(500, 500);
    set.PlayerA->popupMenu().triggerItem(QStringLiteral("PlayList"));
    EXPECT_EQ(set.PlayList->pos(), QPoint(120, 130));
}

TEST_F(WindowSetTest, LoadSkinHandsTheChosenFolderToTheSixWindowsInOrder) {
    const QString chosen = QStringLiteral("/music/skins/Night/PlayerA.ini");
    EXPECT_EQ(skinFolderFromDefinitionFile(chosen), QStringLiteral("/music/skins/Night/"));

    const auto fromB = set.skinFolderClients(*set.PlayerB);
    const std::vector<SkinFolderClient*> expectedFromB = {set.PlayerB, set.PlayerA,   set.PlayList,
                                                          set.Mixer,   set.AboutSkin, set.Equalizer};
    EXPECT_EQ(fromB, expectedFromB);
    const auto fromA = set.skinFolderClients(*set.PlayerA);
    EXPECT_EQ(fromA[0], static_cast<SkinFolderClient*>(set.PlayerA));
    EXPECT_EQ(fromA[1], static_cast<SkinFolderClient*>(set.PlayerB));

    set.PlayerB->popupMenu().chooseSkinFile = [&] { return chosen; };
    set.PlayerB->popupMenu().triggerItem(QStringLiteral("Load Skin"));
    for (const skins::SkinnedWindow* window :
         std::initializer_list<const skins::SkinnedWindow*>{set.PlayList, set.Mixer, set.AboutSkin, set.Equalizer})
        EXPECT_EQ(window->SkinFolder, platform::applicationFolder() + "skins/Default/")
            << "a window keeps its folder when the new one lacks its file";
    // The decks record the folder even though it lacks their files.
    EXPECT_EQ(set.PlayerA->SkinFolder, "/music/skins/Night/");
    EXPECT_EQ(set.PlayerB->SkinFolder, "/music/skins/Night/");
}

TEST_F(WindowSetTest, ASkinFolderWithoutDeckBsFileSwitchesDeckAAndFallsDeckBBackToTheDefault) {
    const QString alternative = qEnvironmentVariable("DROVAN_SOURCE_DIR") + "/tests/fixtures/skins/Alternative/";
    ASSERT_TRUE(QFileInfo::exists(alternative + "PlayerA.ini"));
    ASSERT_FALSE(QFileInfo::exists(alternative + "PlayerB.ini"));
    set.PlayerA->popupMenu().chooseSkinFile = [&] { return alternative + "PlayerA.ini"; };
    set.PlayerA->popupMenu().triggerItem(QStringLiteral("Load Skin"));

    EXPECT_EQ(set.PlayerA->size(), QSize(420, 190)) << "deck A wears the alternative deck";
    EXPECT_EQ(set.PlayerB->size(), QSize(370, 234)) << "deck B falls back to the default file";
    EXPECT_EQ(QString::fromStdString(set.PlayerB->SkinFolder), alternative) << "a deck records the folder anyway";
    EXPECT_EQ(QString::fromStdString(set.Mixer->SkinFolder), alternative);
    EXPECT_EQ(set.AboutSkin->SkinFolder, platform::applicationFolder() + "skins/Default/")
        << "the about-skin window keeps the default page";
    EXPECT_FALSE(set.PlayerA->mask().isEmpty());
}

// A skin whose mixer file cannot be read must not leave the decks in the new
// skin and the other windows in the old one.
TEST_F(WindowSetTest, ASkinFolderWithOneBrokenFileChangesNoWindowAndNamesTheFile) {
    const std::string alternative =
        qEnvironmentVariable("DROVAN_SOURCE_DIR").toStdString() + "/tests/fixtures/skins/Alternative";
    TemporaryFolder skin;
    ASSERT_EQ(runCommand("cp -r '" + alternative + "/.' '" + skin.path() + "'"), 0);
    ASSERT_EQ(runCommand("rm '" + skin.file("Mixer.ini") + "' && mkfifo '" + skin.file("Mixer.ini") + "'"), 0);
    const QSize deckSize = set.PlayerA->size();
    const std::string defaultFolder = platform::applicationFolder() + "skins/Default/";

    try {
        set.applySkinFolder(*set.PlayerA, QString::fromStdString(skin.path() + "/"));
        ADD_FAILURE() << "the broken folder was taken";
    } catch (const skins::ESkinError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(skin.file("Mixer.ini")), std::string::npos) << text;
        EXPECT_NE(text.find("not a regular file"), std::string::npos) << text;
    }
    for (const skins::SkinnedWindow* window : std::initializer_list<const skins::SkinnedWindow*>{
             set.PlayerA, set.PlayerB, set.PlayList, set.Mixer, set.AboutSkin, set.Equalizer})
        EXPECT_EQ(window->SkinFolder, defaultFolder) << window->definitionFile();
    EXPECT_EQ(set.PlayerA->size(), deckSize) << "deck A still wears the default skin";

    // Mended, the same folder switches every window that has a file in it.
    ASSERT_EQ(runCommand("rm '" + skin.file("Mixer.ini") + "' && cp '" + alternative + "/Mixer.ini' '" +
                         skin.file("Mixer.ini") + "'"),
              0);
    set.applySkinFolder(*set.PlayerA, QString::fromStdString(skin.path() + "/"));
    EXPECT_EQ(set.Mixer->SkinFolder, skin.path() + "/");
    EXPECT_EQ(set.PlayerA->size(), QSize(420, 190));
}

namespace {
// A window whose file loads aside but fails when it is really switched (it
// changed in between).
class FakeSkinClient : public SkinFolderClient {
public:
    explicit FakeSkinClient(bool failsToSwitch) : m_failsToSwitch(failsToSwitch) {}
    void ChangeSkinFolder(const QString& folder) override {
        if (folder == m_folder)
            return;
        m_folder = folder;
        if (m_failsToSwitch)
            throw skins::ESkinError("Range check error");
    }
    QString currentSkinFolder() const override { return m_folder; }
    void checkSkinFolder(const QString&) const override {}
    void restoreSkinFolder(const QString& folder) override { m_folder = folder; }

private:
    QString m_folder = QStringLiteral("/old/");
    bool m_failsToSwitch;
};
} // namespace

TEST(SkinFolderSwitch, AWindowFailingMidwayPutsTheWindowsSwitchedBeforeItBack) {
    FakeSkinClient first(false), second(false), failing(true), last(false);
    try {
        switchSkinFolder({&first, nullptr, &second, &failing, &last}, QStringLiteral("/new/"));
        ADD_FAILURE() << "the failure was swallowed";
    } catch (const skins::ESkinError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot switch to the skin in /new/: Range check error");
    }
    for (const FakeSkinClient* client : {&first, &second, &failing, &last})
        EXPECT_EQ(client->currentSkinFolder(), QStringLiteral("/old/"));
}

TEST_F(WindowSetTest, CancellingTheSkinDialogChangesNothing) {
    set.PlayerA->popupMenu().chooseSkinFile = [] { return QString(); };
    set.PlayerA->popupMenu().triggerItem(QStringLiteral("Load Skin"));
    EXPECT_EQ(set.PlayerB->SkinFolder, platform::applicationFolder() + "skins/Default/");
}

TEST_F(WindowSetTest, ExitFromDeckBClosesDeckAAndShutdownWritesTheSixSections) {
    set.PlayerB->popupMenu().triggerItem(QStringLiteral("Exit"));
    EXPECT_FALSE(set.PlayerA->isVisible());
    EXPECT_EQ(settings().readString("TPlayerA", "Visible", ""), "0");
    set.destroy();
    const platform::IniDocument written = settings();
    for (const char* section : {"TPlayerA", "TPlayListForm", "TPlayerB", "TMixer", "TPreferences", "TEqualizerForm"})
        EXPECT_EQ(written.readString(section, "FormVersion", ""), "0") << section;
    EXPECT_EQ(written.readString("TPlayerB", "Visible", ""), "1");
    EXPECT_EQ(written.readString("TPreferences", "SpinEdit8_Value", ""), "8");
    EXPECT_EQ(written.readString("TPreferences", "CheckBox3_Checked", ""), "False");
    EXPECT_EQ(written.readString("TEqualizerForm", "B10", ""), "0");
    EXPECT_FALSE(written.sectionExists("TAbout"));
    EXPECT_FALSE(written.sectionExists("TMySkinEditor"));
}

TEST(Preferences, PitchPercentStepsOnlyThroughTheSixRanges) {
    EXPECT_EQ(TPreferences::steppedPitchPercent(16, 20), 32);
    EXPECT_EQ(TPreferences::steppedPitchPercent(32, 36), 64);
    EXPECT_EQ(TPreferences::steppedPitchPercent(64, 60), 32);
    EXPECT_EQ(TPreferences::steppedPitchPercent(32, 28), 16);
    EXPECT_EQ(TPreferences::steppedPitchPercent(8, 12), 12);
    EXPECT_EQ(TPreferences::steppedPitchPercent(12, 8), 8);
}

TEST(Preferences, StoredValuesAreReadAtCreationAndCancelWritesTheRestoredOnes) {
    TemporaryFolder folder;
    WorkingDirectory workingDirectory(folder.path());
    writeFile(folder.file("asdf.ini"), "[TPreferences]\nSpinEdit1_Value=5\nSpinEdit8_Value=16\nAutoPlay_Checked="
                                       "False\nSpinEdit6_Value=notanumber\n");
    TPreferences preferences;
    PreferenceValues values = preferences.values();
    EXPECT_EQ(values.overlapSeconds, 5);
    EXPECT_EQ(values.pitchPercentA, 16);
    EXPECT_FALSE(values.autoPlay);
    EXPECT_EQ(values.drag, 5) << "an unreadable value leaves the control as it was";

    preferences.show();
    preferences.pitchPercentField(true)->stepUp();
    EXPECT_EQ(preferences.pitchPercentField(true)->value(), 32);
    preferences.reject();
    EXPECT_EQ(preferences.pitchPercentField(true)->value(), 16);
    EXPECT_EQ(platform::IniDocument::load(folder.file("asdf.ini")).readString("TPreferences", "SpinEdit8_Value", ""),
              "16");
}

// A choice of card made while a USB interface was plugged in must survive a
// run without it: the field can only show the cards present now.
TEST(Preferences, AStoredSoundCardThatIsNotPluggedInSurvivesARun) {
    TemporaryFolder folder;
    WorkingDirectory workingDirectory(folder.path());
    writeFile(folder.file("asdf.ini"), "[TPreferences]\nSpinEdit2_Value=99\nSpinEdit3_Value=2\n");
    {
        TPreferences preferences;
        EXPECT_LT(preferences.values().soundCardA, 99) << "the engine is handed a card that exists";
        preferences.show();
        preferences.accept();
    }
    const auto stored = platform::IniDocument::load(folder.file("asdf.ini"));
    EXPECT_EQ(stored.readString("TPreferences", "SpinEdit2_Value", ""), "99");

    EXPECT_EQ(TPreferences::soundCardToStore(3, 1, 1), 3) << "untouched field";
    EXPECT_EQ(TPreferences::soundCardToStore(3, 2, 2), 3) << "untouched field";
    EXPECT_EQ(TPreferences::soundCardToStore(3, 1, 2), 1) << "the user chose another card";
    EXPECT_EQ(TPreferences::soundCardToStore(2, 2, 4), 2);
    EXPECT_EQ(TPreferences::soundCardToStore(0, 1, 4), 1) << "a stored value below 1 is not kept";
}

TEST(Splash, TakesTheOutlineStoredWithItsPicture) {
    TSplash splash;
    EXPECT_EQ(splash.size(), QSize(552, 189));
    const QRegion shape = splash.mask();
    ASSERT_FALSE(shape.isEmpty());
    EXPECT_FALSE(shape.contains(QPoint(0, 0))) << "the rounded corners are cut away";
    EXPECT_FALSE(shape.contains(QPoint(551, 188)));
    EXPECT_TRUE(shape.contains(QPoint(276, 94)));
    EXPECT_TRUE(shape.contains(QPoint(0, 94)));
}

TEST_F(WindowSetTest, TheMixersDeckMetersFollowTheAudioEachDecksDisplayShows) {
    connectDeckMeters(set);
    QWidget stranger;
    TXADisplay onDeckB(251, 40, set.PlayerB);
    TXADisplay elsewhere(251, 40, &stranger);
    engine::DisplayFrame frame;
    frame.left.waveformLength = 4;
    frame.left.waveform = {10, -127, 3, 0};
    frame.right.waveformLength = 4;
    frame.right.waveform = {0, 64, -20, 5};
    platform::SendMessage(&onDeckB, messages::kDisplayData, 0, reinterpret_cast<intptr_t>(&frame));
    platform::SendMessage(&elsewhere, messages::kDisplayData, 0, reinterpret_cast<intptr_t>(&frame));
    disconnectDeckMeters();
    const mixer::DeckMeterValues meters = set.Mixer->meterValues();
    EXPECT_EQ(meters.LevelLeftA, 0);
    EXPECT_EQ(meters.LevelRightA, 0);
    EXPECT_EQ(meters.LevelLeftB, mixer::peakLevel(frame.left.waveform.data(), 4));
    EXPECT_EQ(meters.LevelRightB, mixer::peakLevel(frame.right.waveform.data(), 4));
    EXPECT_GT(meters.LevelLeftB, meters.LevelRightB);
}

TEST_F(WindowSetTest, MinimizeFromDeckAMinimizesTheShownWindowsAndRestoringDeckABringsThemBack) {
    set.PlayerA->popupMenu().triggerItem(QStringLiteral("Mixer")); // hidden before the minimize
    const std::vector<QWidget*> shown = {set.PlayerA, set.PlayList, set.PlayerB};
    for (QWidget* window : shown)
        ASSERT_TRUE(window->isVisible());

    // "MiminizeButton" acts on release, as a user's click ends.
    set.PlayerA->SkinForm1MouseUpNotify(QStringLiteral("MiminizeButton"), Qt::LeftButton);
    for (QWidget* window : shown)
        EXPECT_TRUE(window->isMinimized()) << window->metaObject()->className();
    EXPECT_FALSE(set.Mixer->isMinimized());

    // The task bar restores the main window alone; the others follow it.
    set.PlayerA->setWindowState(set.PlayerA->windowState() & ~Qt::WindowMinimized);
    for (QWidget* window : shown) {
        EXPECT_FALSE(window->isMinimized()) << window->metaObject()->className();
        EXPECT_TRUE(window->isVisible()) << window->metaObject()->className();
    }
    EXPECT_FALSE(set.Mixer->isVisible()) << "a window hidden before stays hidden";

    // Deck B minimized on its own stays so when deck A is restored later.
    set.PlayerB->setWindowState(Qt::WindowMinimized);
    set.PlayerA->setWindowState(Qt::WindowMinimized);
    set.PlayerA->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(set.PlayerB->isMinimized());
}
