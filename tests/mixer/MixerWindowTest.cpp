#include "mixer/Mixer.h"

#include "contracts/MessageNumbers.h"
#include "platform/ApplicationFolder.h"
#include "platform/ErrorReport.h"
#include "platform/WindowMessages.h"
#include "skins/SkinFolders.h"
#include "support/EventLoop.h"
#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

// Stands in for a deck window: records the volume messages it receives.
class DeckStandIn : public QObject, public platform::MessageReceiver {
public:
    bool event(QEvent* event) override {
        return platform::dispatchWindowMessage(event, *this) || QObject::event(event);
    }
    bool handleMessage(const platform::WindowMessage& message, intptr_t&) override {
        numbers.push_back(message.number);
        // A deck reads the level back as a signed number.
        levels.push_back(static_cast<int>(static_cast<intptr_t>(message.wParam)));
        return true;
    }
    std::vector<uint32_t> numbers;
    std::vector<int> levels;
};

void sendMouse(QWidget* target, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// Collects what would go to the general error report instead of showing a
// message box, for the lifetime of the object.
class CapturedErrors {
public:
    CapturedErrors() {
        m_previous = platform::setErrorReporter([this](const QString& text) { texts << text; });
    }
    ~CapturedErrors() { platform::setErrorReporter(m_previous); }
    QStringList texts;

private:
    platform::ErrorReporter m_previous;
};

class MixerWindowTest : public ::testing::Test {
protected:
    MixerWindowTest() : workingDirectory(settingsFolder.path()) { mixerWindow.setDecks(&deckA, &deckB); }
    ~MixerWindowTest() override { EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join(u'\n').toStdString(); }

    const GuageAreaInfoRec& gauge(const char* name) const {
        for (const auto& gauge : mixerWindow.SkinForm1->model().gauges())
            if (gauge.Name == QLatin1String(name))
                return gauge;
        throw std::runtime_error("no gauge");
    }
    QString displayText(const char* name) const {
        for (const auto& display : mixerWindow.SkinForm1->model().displays())
            if (display.Name == QLatin1String(name))
                return display.Text;
        return QStringLiteral("<none>");
    }
    int slider(const char* name) const { return mixerWindow.SkinForm1->GetTrackBarPosition(QLatin1String(name)); }
    // The centre of a hot area of the loaded skin.
    QPoint hotArea(const char* name) const {
        for (const auto& area : mixerWindow.SkinForm1->model().hotAreas())
            if (area.Name == QLatin1String(name))
                return {area.Left + area.Width / 2, area.Top + area.Height / 2};
        throw std::runtime_error("no hot area");
    }

    CapturedErrors errors;
    test_support::TemporaryFolder settingsFolder;
    test_support::WorkingDirectory workingDirectory;
    DeckStandIn deckA;
    DeckStandIn deckB;
    TMixer mixerWindow;
};

} // namespace

TEST_F(MixerWindowTest, OpensWithTheDefaultSkinShowingTheInitialState) {
    EXPECT_STREQ(mixerWindow.metaObject()->className(), "TMixer");
    EXPECT_EQ(mixerWindow.size(), QSize(385, 190));
    EXPECT_EQ(mixerWindow.SkinFolder, skins::defaultSkinFolder());
    EXPECT_EQ(slider("PitchSliderA"), 20);
    EXPECT_EQ(slider("PitchSliderB"), 20);
    EXPECT_EQ(slider("PitchSliderF"), 50);
    EXPECT_EQ(displayText("GainA"), QStringLiteral("80"));
    EXPECT_EQ(gauge("Left").Max, 50);
    EXPECT_EQ(gauge("Right").Max, 50);
    // Nothing fades and every meter is at zero: neither timer wakes the
    // application up.
    EXPECT_FALSE(mixerWindow.fadeTimer()->isActive());
    EXPECT_EQ(mixerWindow.fadeTimer()->interval(), 300);
    EXPECT_FALSE(mixerWindow.meterTimer()->isActive());
    EXPECT_EQ(mixerWindow.meterTimer()->interval(), 50);
}

TEST_F(MixerWindowTest, TimersRunWhileAFadeRunsOrTheMetersChange) {
    mixerWindow.AutoFadeToB();
    EXPECT_TRUE(mixerWindow.fadeTimer()->isActive());
    EXPECT_TRUE(test_support::processEventsUntil([&] { return !mixerWindow.state().anyFadeRunning(); }, 30000));
    EXPECT_FALSE(mixerWindow.fadeTimer()->isActive()) << "the timer outlived the fade";

    mixerWindow.setDeckLevels(DeckSide::B, 20, 25);
    EXPECT_TRUE(mixerWindow.meterTimer()->isActive());
    EXPECT_TRUE(test_support::processEventsUntil([&] { return gauge("RightB").Position == 25; }));
    // A paused deck sends no more levels: its last ones stay shown and
    // nothing wakes the application for them.
    EXPECT_TRUE(test_support::processEventsUntil([&] { return !mixerWindow.meterTimer()->isActive(); }));
    EXPECT_EQ(gauge("RightB").Position, 25);
    // The deck stops and says so: its zeros are shown, then the refresh
    // sleeps again.
    MixerApi& asTheDecksSeeIt = mixerWindow;
    asTheDecksSeeIt.LevelLeftB = 0;
    asTheDecksSeeIt.LevelRightB = 0;
    asTheDecksSeeIt.MetersChanged();
    EXPECT_TRUE(mixerWindow.meterTimer()->isActive());
    EXPECT_TRUE(test_support::processEventsUntil([&] { return !mixerWindow.meterTimer()->isActive(); }));
    EXPECT_EQ(gauge("LeftB").Position, 0);
    EXPECT_EQ(gauge("RightB").Position, 0);
}

TEST_F(MixerWindowTest, CrossfaderMovePostsBothVolumeMessagesAfterTheHandlerReturns) {
    mixerWindow.SkinForm1->OnTrackBarNotify(QStringLiteral("PitchSliderF"), 51);
    EXPECT_TRUE(deckA.levels.empty()) << "the levels are posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(deckA.numbers, std::vector<uint32_t>{messages::kVolumeDeckA});
    EXPECT_EQ(deckA.levels, std::vector<int>{62});
    EXPECT_EQ(deckB.numbers, std::vector<uint32_t>{messages::kVolumeDeckB});
    EXPECT_EQ(deckB.levels, std::vector<int>{80});
}

TEST_F(MixerWindowTest, NegativeLevelReachesTheDeckAsANegativeNumber) {
    mixerWindow.SkinForm1->OnTrackBarNotify(QStringLiteral("PitchSliderA"), 70);
    mixerWindow.SkinForm1->OnTrackBarNotify(QStringLiteral("PitchSliderF"), 60);
    QCoreApplication::processEvents();
    EXPECT_EQ(deckA.levels.back(), -20);
}

TEST_F(MixerWindowTest, DragOnTheRealCrossfaderTrackSetsTheLevels) {
    // A press on the crossfader's track (not its thumb) moves the thumb there.
    const auto& trackBars = mixerWindow.SkinForm1->model().trackBars();
    const auto crossFader = std::find_if(trackBars.begin(), trackBars.end(),
                                         [](const auto& bar) { return bar.Name == QLatin1String("PitchSliderF"); });
    ASSERT_NE(crossFader, trackBars.end());
    const QPoint nearLeftEnd(crossFader->Left + 2, crossFader->Top + crossFader->ThumbHeight / 2);
    sendMouse(mixerWindow.SkinForm1, QEvent::MouseButtonPress, nearLeftEnd);
    sendMouse(mixerWindow.SkinForm1, QEvent::MouseButtonRelease, nearLeftEnd);
    QCoreApplication::processEvents();
    EXPECT_GT(mixerWindow.state().CrossFader, 90);
    ASSERT_FALSE(deckB.levels.empty());
    EXPECT_LT(deckB.levels.back(), 20);
}

TEST_F(MixerWindowTest, FlashHeldByTheMouseEndsOnlyOnAReleaseOverItsButton) {
    mixerWindow.SkinForm1->OnTrackBarNotify(QStringLiteral("PitchSliderA"), 35);
    sendMouse(mixerWindow.SkinForm1, QEvent::MouseButtonPress, hotArea("FlashToB"));
    EXPECT_TRUE(mixerWindow.state().FlashHeldB);
    sendMouse(mixerWindow.SkinForm1, QEvent::MouseButtonRelease, hotArea("HardCutToA"));
    EXPECT_TRUE(mixerWindow.state().FlashHeldB);
    EXPECT_EQ(slider("PitchSliderF"), 50);
    EXPECT_EQ(slider("PitchSliderB"), 20);
    mixerWindow.Release(QStringLiteral("FlashToB"));
    EXPECT_FALSE(mixerWindow.state().FlashHeldB);
    EXPECT_EQ(mixerWindow.state().FaderA, 65);
    EXPECT_EQ(slider("PitchSliderA"), 35);
    EXPECT_EQ(displayText("GainA"), QStringLiteral("65"));
    QCoreApplication::processEvents();
    EXPECT_EQ(deckA.levels.back(), 65);
    EXPECT_EQ(deckB.levels.back(), 0);
}

TEST_F(MixerWindowTest, LinearFadeRunsOnTheFadeTimerInAboutFiveSeconds) {
    mixerWindow.Start(QStringLiteral("LinearToB"));
    QElapsedTimer clock;
    clock.start();
    while (mixerWindow.state().anyFadeRunning() && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 elapsedMs = clock.elapsed();
    EXPECT_FALSE(mixerWindow.state().anyFadeRunning());
    // 16 ticks of 300 ms; timers may fire a little early and a loaded
    // machine late.
    EXPECT_GE(elapsedMs, 4000);
    EXPECT_LE(elapsedMs, 15000);
    QCoreApplication::processEvents();
    EXPECT_EQ(deckA.levels.back(), 0);
    EXPECT_EQ(deckB.levels.back(), 80);
    EXPECT_EQ(slider("PitchSliderA"), 100);
    EXPECT_EQ(slider("PitchSliderB"), 20);
}

TEST_F(MixerWindowTest, DeckLevelsShowOnTheMetersWithinTheRefresh) {
    mixerWindow.setDeckLevels(DeckSide::A, 30, 40);
    MixerApi& asTheDecksSeeIt = mixerWindow;
    asTheDecksSeeIt.LevelLeftB = 55;
    QElapsedTimer clock;
    clock.start();
    while (gauge("RightA").Position != 40 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(gauge("LeftA").Position, 30);
    EXPECT_EQ(gauge("RightA").Position, 40);
    EXPECT_EQ(gauge("LeftB").Position, 55);
    // A deck that stops zeroes its pair.
    asTheDecksSeeIt.LevelLeftA = 0;
    asTheDecksSeeIt.LevelRightA = 0;
    mixerWindow.VrTimer2Timer();
    EXPECT_EQ(gauge("LeftA").Position, 0);
}

TEST_F(MixerWindowTest, KeysGoToTheSharedHandlerAndRepeatsSendNoKeyUp) {
    std::vector<std::pair<int, uint8_t>> downs;
    std::vector<std::pair<int, uint8_t>> ups;
    mixerWindow.forwardKeyDown = [&](int key, platform::ShiftState shift) { downs.emplace_back(key, shift.bits()); };
    mixerWindow.forwardKeyUp = [&](int key, platform::ShiftState shift) { ups.emplace_back(key, shift.bits()); };
    QKeyEvent press(QEvent::KeyPress, Qt::Key_7, Qt::ControlModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_7, Qt::ControlModifier, QString(), true);
    QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_7, Qt::ControlModifier, QString(), true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_7, Qt::ControlModifier);
    for (QKeyEvent* event : {&press, &repeatedRelease, &repeat, &release})
        QCoreApplication::sendEvent(&mixerWindow, event);
    const uint8_t ctrl = platform::ShiftState{platform::ShiftFlag::Ctrl}.bits();
    EXPECT_EQ(downs, (std::vector<std::pair<int, uint8_t>>{{55, ctrl}, {55, ctrl}}));
    EXPECT_EQ(ups, (std::vector<std::pair<int, uint8_t>>{{55, ctrl}}));
}

TEST_F(MixerWindowTest, SkinFolderWithoutMixerFileLoadsTheDefaultAndKeepsTheFolder) {
    mixerWindow.Nudge(QStringLiteral("A"), QStringLiteral("INC"));
    test_support::TemporaryFolder elsewhere;
    const std::string folder = elsewhere.path() + "/";
    mixerWindow.ChangeSkinFolder(QString::fromStdString(folder));
    EXPECT_EQ(mixerWindow.SkinFolder, skins::defaultSkinFolder());
    // The reloaded skin shows the state, not the file's initial positions.
    EXPECT_EQ(slider("PitchSliderA"), 15);
    EXPECT_EQ(displayText("GainA"), QStringLiteral("85"));
}

TEST_F(MixerWindowTest, SkinFolderWithMixerFileBecomesTheMixersFolder) {
    test_support::TemporaryFolder skinCopy;
    for (const auto& entry : std::filesystem::directory_iterator(skins::defaultSkinFolder()))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), std::filesystem::path(skinCopy.path()) / entry.path().filename());
    const std::string folder = skinCopy.path() + "/";
    mixerWindow.Nudge(QStringLiteral("F"), QStringLiteral("DEC"));
    mixerWindow.ChangeSkinFolder(QString::fromStdString(folder));
    EXPECT_EQ(mixerWindow.SkinFolder, folder);
    EXPECT_EQ(slider("PitchSliderF"), 55);
    EXPECT_EQ(gauge("Left").Max, 50);
}

TEST_F(MixerWindowTest, DecksStartTheAutomaticFadeThroughTheirInterface) {
    mixerWindow.Start(QStringLiteral("EqualToA"));
    MixerApi& asTheDecksSeeIt = mixerWindow;
    asTheDecksSeeIt.AutoFadeToB();
    EXPECT_TRUE(mixerWindow.state().fadeRunning({mixer::Curve::Linear, DeckSide::B}));
    EXPECT_FALSE(mixerWindow.state().fadeRunning({mixer::Curve::Equal, DeckSide::A}));
    QCoreApplication::processEvents();
    EXPECT_EQ(deckB.levels.back(), 0);
}
