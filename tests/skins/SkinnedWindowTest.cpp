#include "SkinFixtures.h"

#include "skins/AboutSkin.h"
#include "skins/SkinFolders.h"
#include "skins/SkinnedWindow.h"

#include "platform/ErrorReport.h"
#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

using skin_fixtures::solidImage;
using skin_fixtures::writeBmp;
using skin_fixtures::writeText;
using skins::SkinnedWindow;

namespace {

// Skins are told apart by their size: the default skin's windows are
// 30 x 20, the other skin's 40 x 25.
void writeSkin(const std::string& folder, QSize size, const std::vector<std::string>& files) {
    writeBmp(folder + "mask.bmp", solidImage(size.width(), size.height(), qRgb(10, 10, 10)));
    for (const std::string& file : files)
        writeText(folder + file, "[BITMAPINFO]\nMaskBitmap=mask.bmp\n[HOTAREAINFO]\nCount=1\n1=Button, 0, 0, 5, 5\n");
}

class SkinFolderTest : public testing::Test {
protected:
    void SetUp() override {
        m_default = m_root.path() + "/Default/";
        m_other = m_root.path() + "/Other/";
        ASSERT_EQ(test_support::runCommand("mkdir -p " + m_default + " " + m_other), 0);
        using namespace skins::skin_files;
        writeSkin(m_default, {30, 20}, {kPlayerA, kPlayerB, kMixer, kAbout});
        writeSkin(m_other, {40, 25}, {kPlayerA});
        skins::setDefaultSkinFolder(m_default);
        m_previousReporter = platform::setErrorReporter([this](const QString& text) { m_errors.push_back(text); });
    }
    void TearDown() override {
        skins::setDefaultSkinFolder("");
        platform::setErrorReporter(m_previousReporter);
    }

    test_support::TemporaryFolder m_root;
    std::string m_default, m_other;
    std::vector<QString> m_errors;
    platform::ErrorReporter m_previousReporter;
};

TEST_F(SkinFolderTest, WindowsLoadTheirFileFromTheDefaultFolderAtCreation) {
    SkinnedWindow deck("TPlayerA", skins::skin_files::kPlayerA, SkinnedWindow::FolderPolicy::RecordAlways);
    EXPECT_EQ(deck.SkinFolder, m_default);
    EXPECT_EQ(deck.size(), QSize(30, 20));
    EXPECT_EQ(deck.SkinForm1->model().hotAreas().size(), 1u);
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(SkinFolderTest, AFolderWithTheFileIsLoadedAndRecorded) {
    SkinnedWindow deck("TPlayerA", skins::skin_files::kPlayerA, SkinnedWindow::FolderPolicy::RecordAlways);
    int loads = 0;
    deck.SkinForm1->OnSkinChanged = [&](TSkinForm*) { ++loads; };
    deck.ChangeSkinFolder(m_other);
    EXPECT_EQ(deck.SkinFolder, m_other);
    EXPECT_EQ(deck.size(), QSize(40, 25));
    deck.ChangeSkinFolder(m_other);
    EXPECT_EQ(loads, 1) << "the folder in use is not loaded again";
}

TEST_F(SkinFolderTest, ADeckRecordsAFolderLackingItsFileAndFallsBackOnce) {
    SkinnedWindow deckB("TPlayerB", skins::skin_files::kPlayerB, SkinnedWindow::FolderPolicy::RecordAlways);
    int loads = 0;
    deckB.SkinForm1->OnSkinChanged = [&](TSkinForm*) { ++loads; };
    deckB.ChangeSkinFolder(m_other);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(deckB.size(), QSize(30, 20)) << "the default skin's file";
    EXPECT_EQ(deckB.SkinFolder, m_other);
    deckB.ChangeSkinFolder(m_other);
    EXPECT_EQ(loads, 1);
}

TEST_F(SkinFolderTest, OtherWindowsRecordAFolderOnlyWhenTheirFileIsThere) {
    SkinnedWindow mixer("TMixer", skins::skin_files::kMixer, SkinnedWindow::FolderPolicy::RecordWhenFound);
    int loads = 0;
    mixer.SkinForm1->OnSkinChanged = [&](TSkinForm*) { ++loads; };
    mixer.ChangeSkinFolder(m_other);
    EXPECT_EQ(mixer.SkinFolder, m_default);
    EXPECT_EQ(mixer.size(), QSize(30, 20));
    mixer.ChangeSkinFolder(m_other);
    EXPECT_EQ(loads, 2) << "the fallback runs again for the same folder";
}

TEST_F(SkinFolderTest, AMissingDefaultSkinIsReportedAndTheWindowStays) {
    skins::setDefaultSkinFolder(m_root.path() + "/Nowhere/");
    SkinnedWindow equalizer("TEqualizerForm", skins::skin_files::kEqualizer,
                            SkinnedWindow::FolderPolicy::RecordWhenFound);
    ASSERT_EQ(m_errors.size(), 1u);
    EXPECT_TRUE(m_errors[0].startsWith("Cannot open file "));
}

void sendPress(QWidget* target, QPoint at, Qt::MouseButton button) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(at), QPointF(target->mapToGlobal(at)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

TEST_F(SkinFolderTest, AboutSkinCentresItselfAndClosesAtAnyPress) {
    TAboutSkin about;
    EXPECT_EQ(about.size(), QSize(30, 20));
    about.show();
    const QRect screen = about.screen()->geometry();
    EXPECT_EQ(about.pos(),
              QPoint(screen.left() + (screen.width() - 30) / 2, screen.top() + (screen.height() - 20) / 2));
    sendPress(about.SkinForm1, {2, 2}, Qt::LeftButton); // the hot area
    EXPECT_FALSE(about.isVisible());
    about.show();
    sendPress(about.SkinForm1, {20, 15}, Qt::RightButton);
    EXPECT_FALSE(about.isVisible());
    about.show();
    sendPress(about.SkinForm1, {20, 15}, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(SkinFolderTest, AboutSkinStaysOnTheDefaultPageWhenTheFolderLacksAboutIni) {
    TAboutSkin about;
    about.ChangeSkinFolder(m_other);
    EXPECT_EQ(about.SkinFolder, m_default);
    EXPECT_EQ(about.size(), QSize(30, 20));
}

} // namespace
