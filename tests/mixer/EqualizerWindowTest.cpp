#include "mixer/Equalizer.h"
#include "mixer/EqualizerOutput.h"

#include "platform/ErrorReport.h"
#include "support/TemporaryFolder.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

using test_support::readFile;
using test_support::writeFile;

namespace {

// Stands in for the decks' engine players: records each table sent (none
// for "switched off") and each request for the current table.
class RecordingOutput : public mixer::EqualizerOutput {
public:
    struct Call {
        DeckSide deck;
        bool isGet;
        std::optional<XA_EqualizerInfo> table;
    };
    void setCodecEqualizer(DeckSide deck, const XA_EqualizerInfo* table) override {
        calls.push_back({deck, false, table != nullptr ? std::optional(*table) : std::nullopt});
    }
    void getCodecEqualizer(DeckSide deck) override { calls.push_back({deck, true, std::nullopt}); }

    std::vector<Call> sets(DeckSide deck) const {
        std::vector<Call> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [deck](const Call& call) { return call.deck == deck && !call.isGet; });
        return found;
    }
    // The last table sent to a deck; throws (failing the test) when none was.
    const Call& lastSet(DeckSide deck) const {
        for (auto call = calls.rbegin(); call != calls.rend(); ++call)
            if (call->deck == deck && !call->isGet)
                return *call;
        throw std::runtime_error("no table sent");
    }
    std::vector<Call> calls;
};

std::vector<int> leftBands(const XA_EqualizerInfo& table) {
    return {table.left, table.left + 32};
}
std::vector<int> rightBands(const XA_EqualizerInfo& table) {
    return {table.right, table.right + 32};
}

class EqualizerWindowTest : public ::testing::Test {
protected:
    EqualizerWindowTest() : workingDirectory(folder.path()) {
        m_previousReporter = platform::setErrorReporter([this](const QString& text) { errors << text; });
    }
    ~EqualizerWindowTest() override { platform::setErrorReporter(m_previousReporter); }

    std::unique_ptr<TEqualizerForm> openWindow() {
        auto window = std::make_unique<TEqualizerForm>(&output);
        window->choosePresetToLoad = [this] { return chosenFile; };
        window->choosePresetToSave = [this] { return chosenFile; };
        return window;
    }
    // What the skin engine does when the user drags a band slider.
    static void moveSlider(TEqualizerForm& window, const QString& name, int position) {
        window.SkinForm1->SetTrackBarPosition(name, position);
        window.SkinForm1->OnTrackBarNotify(name, position);
    }
    static int slider(const TEqualizerForm& window, const char* name) {
        return window.SkinForm1->GetTrackBarPosition(QLatin1String(name));
    }
    static const HotAreaInfoRec& hotArea(const TEqualizerForm& window, const char* name) {
        for (const auto& area : window.SkinForm1->model().hotAreas())
            if (area.Name == QLatin1String(name))
                return area;
        throw std::runtime_error("no hot area");
    }
    static void click(TEqualizerForm& window, const char* name) {
        const HotAreaInfoRec& area = hotArea(window, name);
        const QPointF at(area.Left + area.Width / 2, area.Top + area.Height / 2);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent event(type, at, window.SkinForm1->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
            QCoreApplication::sendEvent(window.SkinForm1, &event);
        }
    }

    test_support::TemporaryFolder folder;
    test_support::WorkingDirectory workingDirectory;
    RecordingOutput output;
    QStringList errors;
    QString chosenFile;

private:
    platform::ErrorReporter m_previousReporter;
};

} // namespace

TEST_F(EqualizerWindowTest, SliderMovesReachTheEngineOnlyWhileTheDecksSwitchIsOn) {
    auto window = openWindow();
    EXPECT_EQ(window->size(), QSize(429, 182));
    // A fresh start switches both engines' equalizers off, deck A first.
    ASSERT_EQ(output.calls.size(), 2u);
    EXPECT_EQ(output.calls[0].deck, DeckSide::A);
    EXPECT_FALSE(output.calls[0].table);
    EXPECT_EQ(output.calls[1].deck, DeckSide::B);
    output.calls.clear();

    moveSlider(*window, QStringLiteral("B9"), 100);
    EXPECT_EQ(window->BandB[8], 80);
    ASSERT_EQ(output.calls.size(), 1u);
    EXPECT_EQ(output.calls[0].deck, DeckSide::B);
    EXPECT_FALSE(output.calls[0].table) << "deck B is switched off";

    click(*window, "EnableBButton");
    EXPECT_TRUE(window->EqOnB);
    EXPECT_TRUE(hotArea(*window, "EnableBButton").Down);
    EXPECT_FALSE(window->EqOnA);
    ASSERT_EQ(output.calls.size(), 3u);
    ASSERT_TRUE(output.calls[1].table);
    std::vector<int> expected(32, 0);
    std::fill(expected.begin() + 12, expected.begin() + 20, -80);
    EXPECT_EQ(leftBands(output.calls[1].table.value()), expected);
    EXPECT_EQ(rightBands(output.calls[1].table.value()), expected);
    EXPECT_TRUE(output.calls[2].isGet);
    EXPECT_EQ(output.calls[2].deck, DeckSide::B);

    // Off sends no table and keeps the bands; on again sends them unchanged.
    click(*window, "EnableBButton");
    EXPECT_FALSE(output.lastSet(DeckSide::B).table);
    EXPECT_FALSE(hotArea(*window, "EnableBButton").Down);
    EXPECT_EQ(window->BandB[8], 80);
    window->ToggleDeck(DeckSide::B);
    EXPECT_EQ(leftBands(output.lastSet(DeckSide::B).table.value()), expected);
    EXPECT_TRUE(output.sets(DeckSide::A).empty());

    moveSlider(*window, QStringLiteral("B1"), 0);
    EXPECT_EQ(output.lastSet(DeckSide::B).table.value().left[0], 80) << "the top of a slider boosts";
    EXPECT_EQ(output.lastSet(DeckSide::B).table.value().right[0], 80);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(EqualizerWindowTest, ResetFlattensOneDeckAndLeavesTheOtherAndBothSwitches) {
    auto window = openWindow();
    window->ToggleDeck(DeckSide::A);
    window->ToggleDeck(DeckSide::B);
    moveSlider(*window, QStringLiteral("A3"), 20);
    moveSlider(*window, QStringLiteral("B3"), 70);
    output.calls.clear();

    click(*window, "ResetBButton");
    EXPECT_EQ(window->BandB, mixer::EqualizerBands{});
    EXPECT_EQ(slider(*window, "B3"), 50);
    EXPECT_EQ(window->BandA[2], -48);
    EXPECT_EQ(slider(*window, "A3"), 20);
    EXPECT_TRUE(window->EqOnA);
    EXPECT_TRUE(window->EqOnB);
    ASSERT_EQ(output.sets(DeckSide::B).size(), 1u);
    EXPECT_EQ(leftBands(output.sets(DeckSide::B)[0].table.value()), std::vector<int>(32, 0));
    EXPECT_TRUE(output.sets(DeckSide::A).empty());
}

TEST_F(EqualizerWindowTest, PresetSavesDeckAAndLoadsIntoBothDecksAndAShortFileChangesNothing) {
    auto window = openWindow();
    window->ToggleDeck(DeckSide::A);
    const char* sliders[] = {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A10"};
    // Positions whose values a preset holds exactly (multiples of 4).
    const int positions[] = {5, 25, 45, 50, 55, 60, 65, 75, 95, 100};
    for (int band = 0; band < 10; ++band)
        moveSlider(*window, QLatin1String(sliders[band]), positions[band]);
    moveSlider(*window, QStringLiteral("B5"), 10);
    const mixer::EqualizerBands saved = window->BandA;
    EXPECT_EQ(saved, (mixer::EqualizerBands{-72, -40, -8, 0, 8, 16, 24, 40, 72, 80}));

    chosenFile = QString::fromStdString(folder.file("set.eqf"));
    click(*window, "SaveButton");
    const std::string bytes = readFile(folder.file("set.eqf"));
    ASSERT_EQ(bytes.size(), 299u);
    EXPECT_EQ(bytes.substr(0, 31), std::string("Winamp EQ library file v1.1\x1A!--"));
    EXPECT_EQ(bytes.back(), 31);

    click(*window, "ResetAButton");
    output.calls.clear();
    click(*window, "LoadButton");
    EXPECT_EQ(window->BandA, saved);
    EXPECT_EQ(window->BandB, saved) << "a preset loads into both decks";
    for (int band = 0; band < 10; ++band)
        EXPECT_EQ(slider(*window, sliders[band]), positions[band]) << sliders[band];
    EXPECT_EQ(slider(*window, "B10"), 100);
    ASSERT_EQ(output.sets(DeckSide::A).size(), 1u);
    EXPECT_EQ(output.sets(DeckSide::A)[0].table.value().left[20], -80);
    ASSERT_EQ(output.sets(DeckSide::B).size(), 1u);
    EXPECT_FALSE(output.sets(DeckSide::B)[0].table) << "deck B stays switched off";
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();

    // Short and missing files are refused with a message; nothing moves.
    output.calls.clear();
    writeFile(folder.file("short.eqf"), bytes.substr(0, 298));
    chosenFile = QString::fromStdString(folder.file("short.eqf"));
    click(*window, "LoadButton");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("short.eqf"))) << errors[0].toStdString();
    chosenFile = QString::fromStdString(folder.file("missing.eqf"));
    click(*window, "LoadButton");
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(window->BandA, saved);
    EXPECT_EQ(slider(*window, "A1"), 5);
    EXPECT_TRUE(output.calls.empty());
}

TEST_F(EqualizerWindowTest, BandsAndSwitchesComeBackAfterARestartOnSlidersAndInTheEngine) {
    {
        auto window = openWindow();
        moveSlider(*window, QStringLiteral("A2"), 100);
        moveSlider(*window, QStringLiteral("B10"), 0);
        window->ToggleDeck(DeckSide::A);
        window->writePlacementAtDestruction();
    }
    output.calls.clear();
    auto window = openWindow();
    EXPECT_EQ(window->BandA[1], 80);
    EXPECT_EQ(window->BandB[9], -80);
    EXPECT_TRUE(window->EqOnA);
    EXPECT_FALSE(window->EqOnB);
    EXPECT_EQ(slider(*window, "A2"), 100);
    EXPECT_EQ(slider(*window, "B10"), 0);
    EXPECT_TRUE(hotArea(*window, "EnableAButton").Down);
    EXPECT_FALSE(hotArea(*window, "EnableBButton").Down);
    ASSERT_EQ(output.calls.size(), 3u);
    EXPECT_EQ(output.calls[0].deck, DeckSide::A);
    ASSERT_TRUE(output.calls[0].table);
    EXPECT_EQ(output.calls[0].table.value().left[1], -80);
    EXPECT_EQ(output.calls[0].table.value().right[1], -80);
    EXPECT_EQ(output.calls[2].deck, DeckSide::B);
    EXPECT_FALSE(output.calls[2].table);

    // Showing the window reads its section again; the bands set since the
    // start stay.
    moveSlider(*window, QStringLiteral("A2"), 50);
    window->show();
    window->hide();
    EXPECT_EQ(window->BandA[1], 0);
    EXPECT_EQ(slider(*window, "A2"), 50);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();

    // Hand-edited values beyond the sliders are held at their ends.
    window.reset();
    writeFile(folder.file("asdf.ini"), "[TEqualizerForm]\nA1=500\nA2=-1000\nA=1\n");
    output.calls.clear();
    window = openWindow();
    EXPECT_EQ(window->BandA[0], 80);
    EXPECT_EQ(window->BandA[1], -80);
    ASSERT_FALSE(output.calls.empty());
    ASSERT_TRUE(output.calls[0].table);
    EXPECT_EQ(output.calls[0].table.value().left[0], -80);
}
