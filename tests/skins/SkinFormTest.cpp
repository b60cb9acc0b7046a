#include "SkinFixtures.h"

#include "skins/SkinError.h"
#include "skins/SkinForm.h"
#include "skins/SkinModel.h"
#include "skins/SkinToolTips.h"

#include "support/EventLoop.h"
#include "support/TemporaryFolder.h"

#include <QApplication>
#include <QBackingStore>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QWindow>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using skin_fixtures::solidImage;
using skin_fixtures::writeBmp;
using skin_fixtures::writeText;

namespace {

const QRgb kNormal = qRgb(100, 100, 100);
const QRgb kPressed = qRgb(200, 0, 0);
const QRgb kHover = qRgb(0, 200, 0);
const QRgb kThumb = qRgb(0, 0, 200);
const QRgb kActiveThumb = qRgb(200, 200, 0);

QRgb digitColor(int cell) {
    return qRgb(10 * (cell + 1), 0, 77);
}
QRgb letterColor(int row, int cell) {
    return qRgb(row * 80, cell * 8, 50);
}

// A 120 x 80 skin with every kind of element; each image is one colour so
// the face shows which image a pixel came from.
const char* kSkinDefinition = R"([Version]
Ver=150
[BITMAPINFO]
MaskBitmap=mask.bmp
MouseUpBitmap=up.bmp
MouseDownBitmap=down.bmp
MouseOnBitmap=on.bmp
NumbersBitmap=digits.bmp
TextBitmap=letters.bmp
[HOTAREAINFO]
Count=5
1=Play, 0, 0, 10, 10, Start playing
2=Loop, 10, 0, 10, 10, , FALSE
3=A, 20, 0, 10, 10, , TRUE, G
4=B, 30, 0, 10, 10, , FALSE, G
5=Over, 0, 30, 10, 8
[GUAGEAREAINFO]
Count=1
1=Pos, 0, 20, 100, 4, H
[DISPLAYINFO]
Count=3
1=Time, Arial, FALSE, FALSE, 8, $FFFFFF, 0, 50, Number, 12:3a
2=Title, Arial, FALSE, FALSE, 8, $FFFFFF, 0, 60, Text
3=Label, Arial, TRUE, FALSE, 12, $0000FF, 40, 60
[TRACKBARINFO]
Count=1
1=Pitch, thumb.bmp, active.bmp, 0, 30, 100, H, 0, Pitch hint
)";

void writeSkinImages(const test_support::TemporaryFolder& folder) {
    QImage mask = solidImage(120, 80, qRgb(0, 0, 0));
    for (int x = 110; x < 120; ++x)
        mask.setPixel(x, 0, qRgb(255, 255, 255));
    writeBmp(folder.file("mask.bmp"), mask);
    writeBmp(folder.file("up.bmp"), solidImage(120, 80, kNormal));
    writeBmp(folder.file("down.bmp"), solidImage(120, 80, kPressed));
    writeBmp(folder.file("on.bmp"), solidImage(120, 80, kHover));
    writeBmp(folder.file("thumb.bmp"), solidImage(10, 8, kThumb));
    writeBmp(folder.file("active.bmp"), solidImage(10, 8, kActiveThumb));
    QImage digits(48, 5, QImage::Format_RGB32);
    for (int cell = 0; cell < 12; ++cell)
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 4; ++x)
                digits.setPixel(cell * 4 + x, y, digitColor(cell));
    writeBmp(folder.file("digits.bmp"), digits);
    QImage letters(60, 6, QImage::Format_RGB32);
    for (int row = 0; row < 3; ++row)
        for (int cell = 0; cell < 30; ++cell)
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    letters.setPixel(cell * 2 + x, row * 2 + y, letterColor(row, cell));
    writeBmp(folder.file("letters.bmp"), letters);
}

struct Recorded {
    std::vector<std::string> downs, ups, moves;
    std::vector<std::pair<std::string, int>> trackBars;
    int skinChanges = 0;
};

class SkinFormTest : public testing::Test {
protected:
    void SetUp() override {
        writeSkinImages(m_folder);
        writeText(m_folder.file("Skin.ini"), kSkinDefinition);
        m_form.move(300, 200);
        m_skin = new TSkinForm(&m_form);
        m_skin->OnMouseDownNotify = [this](const QString& id, Qt::MouseButton button, platform::ShiftState shift, int x,
                                           int y) {
            m_events.downs.push_back(id.toStdString());
            m_lastDown = {button, shift, QPoint(x, y)};
        };
        m_skin->OnMouseUpNotify = [this](const QString& id, Qt::MouseButton, platform::ShiftState, int, int) {
            m_events.ups.push_back(id.toStdString());
        };
        m_skin->OnMouseMoveNotify = [this](const QString& id, platform::ShiftState, int, int) {
            m_events.moves.push_back(id.toStdString());
        };
        m_skin->OnTrackBarNotify = [this](const QString& id, int position) {
            m_events.trackBars.emplace_back(id.toStdString(), position);
        };
        m_skin->OnSkinChanged = [this](TSkinForm* sender) {
            EXPECT_EQ(sender, m_skin);
            ++m_events.skinChanges;
        };
        m_skin->LoadSkin(m_folder.file("Skin.ini"));
    }

    void send(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? m_held
                                                                         : Qt::MouseButtons(button);
        if (type == QEvent::MouseButtonPress)
            m_held = button;
        if (type == QEvent::MouseButtonRelease)
            m_held = Qt::NoButton;
        QMouseEvent event(type, QPointF(at), QPointF(at + m_globalOffset),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(m_skin, &event);
    }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) { send(QEvent::MouseButtonPress, at, button); }
    void moveTo(QPoint at) { send(QEvent::MouseMove, at); }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton) { send(QEvent::MouseButtonRelease, at, button); }
    QRgb faceAt(int x, int y) const { return m_skin->face().pixel(x, y); }

    test_support::TemporaryFolder m_folder;
    QWidget m_form;
    TSkinForm* m_skin = nullptr;
    Recorded m_events;
    struct {
        Qt::MouseButton button = Qt::NoButton;
        platform::ShiftState shift;
        QPoint at;
    } m_lastDown;
    Qt::MouseButtons m_held;
    QPoint m_globalOffset{300, 200};
};

TEST_F(SkinFormTest, LoadingSizesAndShapesTheWindowAndComposesTheFace) {
    EXPECT_EQ(m_form.size(), QSize(120, 80));
    EXPECT_EQ(m_skin->geometry(), QRect(0, 0, 120, 80));
    EXPECT_TRUE(m_form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(m_form.mask().contains(QPoint(115, 0)));
    EXPECT_TRUE(m_form.mask().contains(QPoint(109, 0)));
    EXPECT_TRUE(m_form.mask().contains(QPoint(115, 1)));
    EXPECT_EQ(m_events.skinChanges, 1);
    const skins::SkinModel& model = m_skin->model();
    EXPECT_EQ(model.version(), 150);
    EXPECT_TRUE(model.hoverEnabled());
    EXPECT_EQ(model.hotAreas().size(), 5u);
    EXPECT_EQ(faceAt(60, 45), kNormal);
    EXPECT_EQ(faceAt(25, 5), kPressed) << "radio button A starts down";
    EXPECT_EQ(faceAt(15, 5), kNormal) << "switch Loop starts up";
    EXPECT_EQ(faceAt(2, 32), kThumb);
    EXPECT_EQ(model.groupNames(), std::vector<QString>{"G"});
    EXPECT_EQ(model.groupMembers(), std::vector<int>{2});
}

TEST_F(SkinFormTest, NumberDisplayDrawsDigitGlyphsAndUnknownCharactersAsZero) {
    const int expected[] = {1, 2, 10, 3, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(faceAt(i * 4 + 1, 52), digitColor(expected[i])) << i;
    EXPECT_EQ(faceAt(5 * 4 + 1, 52), kNormal);
}

TEST_F(SkinFormTest, TextDisplayDrawsLettersAndABlankCellForOtherCharacters) {
    m_skin->SetDisplayText("Title", QStringLiteral("A~z9"));
    EXPECT_EQ(faceAt(0, 60), letterColor(0, 0));
    EXPECT_EQ(faceAt(2, 60), letterColor(1, 10));
    EXPECT_EQ(faceAt(4, 61), letterColor(2, 25));
    EXPECT_EQ(faceAt(6, 60), letterColor(1, 9));
    m_skin->SetDisplayText("NoSuchDisplay", "x"); // changes nothing
    EXPECT_EQ(faceAt(0, 60), letterColor(0, 0));
}

TEST_F(SkinFormTest, FontDisplayDrawsItsTextInItsColour) {
    auto redPixels = [&] {
        int count = 0;
        for (int y = 60; y < 80; ++y)
            for (int x = 40; x < 120; ++x)
                if (qRed(faceAt(x, y)) > 180 && qGreen(faceAt(x, y)) < 80)
                    ++count;
        return count;
    };
    EXPECT_EQ(redPixels(), 0);
    // The same text drawn straight onto the face, as a painter would, is the
    // reference for where the display puts its glyphs.
    QImage expected = m_skin->face().copy();
    {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(12);
        font.setBold(true);
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(QPoint(40, 60 + QFontMetrics(font, &expected).ascent()), QStringLiteral("HELLO"));
    }
    m_skin->SetDisplayText("Label", "HELLO");
    EXPECT_GT(redPixels(), 10);
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (std::abs(qRed(faceAt(x, y)) - qRed(expected.pixel(x, y))) > 8 ||
                std::abs(qGreen(faceAt(x, y)) - qGreen(expected.pixel(x, y))) > 8)
                ++differing;
    EXPECT_EQ(differing, 0);
}

TEST_F(SkinFormTest, ComposingReportsOnlyWhatChangedOnTheFace) {
    skins::SkinModel model;
    model.LoadSkin(m_folder.file("Skin.ini"));
    EXPECT_EQ(model.takeChangedRect(), QRect(0, 0, 120, 80)); // a new skin: everything
    EXPECT_TRUE(model.takeChangedRect().isEmpty());
    // Several changes before the face is next needed come out as one.
    model.SetDisplayText("Time", QStringLiteral("1"));
    model.SetGaugeRange("Pos", 0, 100);
    model.SetGaugePosition("Pos", 50);
    const QRect changed = model.takeChangedRect();
    EXPECT_TRUE(changed.contains(QRect(0, 20, 50, 4)));   // the gauge's new fill
    EXPECT_TRUE(QRect(0, 20, 120, 40).contains(changed)); // down to the digits, nothing above
    // Setting what is already shown changes nothing.
    model.SetDisplayText("Time", QStringLiteral("1"));
    model.SetGaugePosition("Pos", 50);
    EXPECT_TRUE(model.takeChangedRect().isEmpty());
    model.SetDisplayText("Label", QStringLiteral("HELLO"));
    const QRect label = model.takeChangedRect();
    EXPECT_FALSE(label.isEmpty());
    EXPECT_GE(label.left(), 40);
    EXPECT_GE(label.top(), 60);

    // Composed in parts, the face is what composing it whole gives.
    const auto sameAsComposedWhole = [&model] {
        const QImage inParts = model.face().copy();
        model.ComposeFace();
        return inParts == model.face();
    };
    model.SetDisplayText("Label", QStringLiteral("Hi"));
    EXPECT_TRUE(sameAsComposedWhole());
    model.SetDisplayText("Title", QStringLiteral("AB"));
    EXPECT_TRUE(sameAsComposedWhole());
    model.SetDisplayText("Time", QStringLiteral("12:34"));
    EXPECT_TRUE(sameAsComposedWhole());
    model.SetGaugePosition("Pos", 10);
    EXPECT_TRUE(sameAsComposedWhole());
    model.SetTrackBarPosition("Pitch", 70);
    EXPECT_TRUE(sameAsComposedWhole());
    model.SetHotAreaDown("Loop", true);
    EXPECT_TRUE(sameAsComposedWhole());
}

TEST_F(SkinFormTest, GaugeFillsInProportionAndClampsItsPosition) {
    m_skin->SetGaugeRange("Pos", 0, 200);
    m_skin->SetGaugePosition("Pos", 50);
    EXPECT_EQ(faceAt(24, 21), kPressed);
    EXPECT_EQ(faceAt(25, 21), kNormal);
    m_skin->SetGaugePosition("Pos", 300);
    EXPECT_EQ(m_skin->model().gauges()[0].Position, 200);
    EXPECT_EQ(faceAt(99, 21), kPressed);
    m_skin->SetGaugePosition("Pos", -5);
    EXPECT_EQ(m_skin->model().gauges()[0].Position, 0);
    EXPECT_EQ(faceAt(0, 21), kNormal);
    int left = -1, top = -1, width = -1, height = -1;
    m_skin->GetGaugeRect("Pos", left, top, width, height);
    EXPECT_EQ(QRect(left, top, width, height), QRect(0, 20, 100, 4));
    m_skin->GetGaugeRect("Missing", left, top, width, height);
    EXPECT_EQ(QRect(left, top, width, height), QRect(0, 20, 100, 4));
    m_skin->GetDisplayPos("Label", left, top);
    EXPECT_EQ(QPoint(left, top), QPoint(40, 60));
}

TEST_F(SkinFormTest, PressingAButtonShowsItPressedUntilRelease) {
    press({5, 5});
    EXPECT_EQ(faceAt(5, 5), kPressed);
    EXPECT_FALSE(m_skin->isMovingWindow());
    release({5, 5});
    EXPECT_EQ(faceAt(5, 5), kNormal);
    EXPECT_THAT(m_events.downs, testing::ElementsAre("Play"));
    EXPECT_THAT(m_events.ups, testing::ElementsAre("Play"));
}

TEST_F(SkinFormTest, SwitchesFlipOnEachPress) {
    press({15, 5});
    release({15, 5});
    EXPECT_TRUE(m_skin->model().hotAreas()[1].Down);
    EXPECT_EQ(faceAt(15, 5), kPressed);
    press({15, 5});
    release({15, 5});
    EXPECT_FALSE(m_skin->model().hotAreas()[1].Down);
    EXPECT_EQ(faceAt(15, 5), kNormal);
}

TEST_F(SkinFormTest, RadioRuleKeepsOneMemberDown) {
    const auto& areas = m_skin->model().hotAreas();
    press({35, 5});
    release({35, 5});
    EXPECT_TRUE(areas[3].Down);
    EXPECT_FALSE(areas[2].Down);
    EXPECT_EQ(faceAt(35, 5), kPressed);
    EXPECT_EQ(faceAt(25, 5), kNormal);
    press({35, 5});
    release({35, 5});
    EXPECT_TRUE(areas[3].Down) << "pressing the down member leaves it down";
    EXPECT_FALSE(areas[2].Down);
    EXPECT_EQ(m_skin->model().groupMembers(), std::vector<int>{3});
}

TEST_F(SkinFormTest, TrackPressJumpsSnapsNotifiesAndMovesTheWindow) {
    press({60, 34});
    const TrackBarInfoRec& pitch = m_skin->model().trackBars()[0];
    EXPECT_EQ(pitch.Position, 61);
    EXPECT_EQ(pitch.Offset, 54);
    EXPECT_THAT(m_events.trackBars, testing::ElementsAre(std::make_pair(std::string("Pitch"), 61)));
    EXPECT_THAT(m_events.downs, testing::ElementsAre("Pitch"));
    EXPECT_EQ(faceAt(54, 32), kThumb);
    // Offscreen there is no system move: the window follows the pointer.
    EXPECT_TRUE(m_skin->isMovingWindow());
    moveTo({70, 44});
    EXPECT_EQ(m_form.pos(), QPoint(310, 210));
    EXPECT_EQ(pitch.Position, 61) << "moves during a window move belong to the move";
    release({70, 44});
    EXPECT_FALSE(m_skin->isMovingWindow());
}

TEST_F(SkinFormTest, DraggingTheThumbKeepsTheGrabOffsetAndStaysWithinTheTrack) {
    press({2, 32}); // hits the overlapping hot area and the thumb
    EXPECT_THAT(m_events.downs, testing::ElementsAre("Pitch"));
    EXPECT_TRUE(m_skin->model().hotAreas()[4].Pressed);
    EXPECT_FALSE(m_skin->isMovingWindow());
    EXPECT_TRUE(m_skin->model().isDragging());
    moveTo({52, 32});
    const TrackBarInfoRec& pitch = m_skin->model().trackBars()[0];
    EXPECT_EQ(pitch.Position, 55); // offset 50 of 90
    EXPECT_EQ(pitch.Offset, 49);
    EXPECT_EQ(faceAt(50, 32), kActiveThumb);
    moveTo({150, 32});
    EXPECT_EQ(pitch.Position, 55) << "outside the track the thumb stays";
    moveTo({100, 32});
    EXPECT_EQ(pitch.Position, 100);
    release({100, 32}, Qt::RightButton);
    EXPECT_FALSE(m_skin->model().isDragging());
    moveTo({30, 32});
    EXPECT_EQ(pitch.Position, 100);
    EXPECT_EQ(faceAt(95, 32), kThumb);
    ASSERT_EQ(m_events.trackBars.size(), 2u);
    EXPECT_EQ(m_events.trackBars[1].second, 100);
}

TEST_F(SkinFormTest, RightPressTestsNothingAndMovesNothing) {
    press({5, 5}, Qt::RightButton);
    EXPECT_THAT(m_events.downs, testing::ElementsAre(""));
    EXPECT_EQ(m_lastDown.button, Qt::RightButton);
    EXPECT_EQ(m_lastDown.shift, platform::ShiftState({platform::ShiftFlag::Right}));
    EXPECT_EQ(m_lastDown.at, QPoint(5, 5));
    EXPECT_FALSE(m_skin->isMovingWindow());
    EXPECT_EQ(faceAt(5, 5), kNormal);
    release({5, 5}, Qt::RightButton);
    EXPECT_THAT(m_events.ups, testing::ElementsAre("Play"));
}

TEST_F(SkinFormTest, PressOnNothingMovesTheWindowWithThePointer) {
    press({60, 45});
    EXPECT_THAT(m_events.downs, testing::ElementsAre(""));
    EXPECT_TRUE(m_skin->isMovingWindow());
    moveTo({40, 50});
    EXPECT_EQ(m_form.pos(), QPoint(280, 205));
    release({40, 50});
    EXPECT_FALSE(m_skin->isMovingWindow());
    EXPECT_THAT(m_events.ups, testing::ElementsAre(""));
}

TEST_F(SkinFormTest, HoverHighlightsAndTheNextMoveTakesItAway) {
    moveTo({5, 5});
    EXPECT_EQ(faceAt(5, 5), kHover);
    EXPECT_EQ(m_skin->toolTipText(), "Start playing");
    EXPECT_THAT(m_events.moves, testing::ElementsAre("Play"));
    moveTo({60, 45});
    EXPECT_TRUE(m_skin->model().repaintPending());
    moveTo({61, 45});
    EXPECT_EQ(faceAt(5, 5), kNormal);
    EXPECT_THAT(m_events.moves, testing::ElementsAre("Play", "", ""));
}

TEST_F(SkinFormTest, ToolTipsComeFromHotAreasAndTrackBars) {
    moveTo({50, 34});
    EXPECT_EQ(m_skin->toolTipText(), "Pitch hint");
    EXPECT_EQ(m_skin->toolTip(), "Pitch hint");
    moveTo({5, 34}); // the hot area over the track has no hint
    EXPECT_EQ(m_skin->toolTipText(), "");
    moveTo({60, 45});
    EXPECT_EQ(m_skin->toolTipText(), "");
}

TEST_F(SkinFormTest, MovingOffAPressedAreaTakesItsPressedLook) {
    moveTo({5, 5});
    press({5, 5});
    moveTo({60, 45});
    EXPECT_FALSE(m_skin->model().hotAreas()[0].Pressed);
    moveTo({61, 45});
    EXPECT_EQ(faceAt(5, 5), kNormal);
}

TEST_F(SkinFormTest, SetTrackBarPositionMovesTheThumbWithoutAnEvent) {
    m_skin->SetTrackBarPosition("Pitch", 50);
    EXPECT_EQ(m_skin->GetTrackBarPosition("Pitch"), 50);
    EXPECT_EQ(faceAt(45, 32), kThumb);
    m_skin->SetTrackBarPosition("Pitch", 150);
    EXPECT_EQ(m_skin->GetTrackBarPosition("Pitch"), 49);
    EXPECT_EQ(m_skin->GetTrackBarPosition("Nothing"), 0);
    EXPECT_TRUE(m_events.trackBars.empty());
    m_skin->SetHotAreaDown("Loop", true);
    EXPECT_EQ(faceAt(15, 5), kPressed);
}

// Counts the window's repaint requests and what the skin control paints.
class RepaintLog : public QObject {
public:
    RepaintLog(QWidget& form, QWidget& skin) : m_form(form) {
        form.installEventFilter(this);
        skin.installEventFilter(this);
    }
    int updateRequests = 0;
    std::vector<QRect> skinPaints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_form && event->type() == QEvent::UpdateRequest)
            ++updateRequests;
        else if (watched != &m_form && event->type() == QEvent::Paint)
            skinPaints.push_back(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }

private:
    QWidget& m_form;
};

TEST_F(SkinFormTest, PacedChangesArePaintedWithTheWindowsNextRepaintOrAfterTheLongestWait) {
    QWidget animation(&m_form); // stands for a display that repaints itself on the window
    animation.setGeometry(100, 70, 10, 10);
    m_form.show();
    ASSERT_TRUE(test_support::processEventsUntil([this] { return m_form.isVisible() && m_form.windowHandle(); }));
    test_support::processPostedEvents();
    RepaintLog log(m_form, *m_skin);
    const QRect time(0, 50, 20, 5); // where "12:34" is drawn

    m_skin->SetPacedShow(600000);
    m_skin->SetDisplayText("Time", QStringLiteral("12:34"));
    test_support::processPostedEvents();
    EXPECT_TRUE(log.skinPaints.empty()); // waits for the animation
    animation.update();
    test_support::processPostedEvents();
    EXPECT_EQ(log.updateRequests, 1);
    ASSERT_EQ(log.skinPaints.size(), 1u);
    EXPECT_TRUE(log.skinPaints[0].contains(time));

    // No repaint comes: shown after the longest wait.
    m_skin->SetPacedShow(20);
    m_skin->SetDisplayText("Time", QStringLiteral("00:00"));
    EXPECT_TRUE(test_support::processEventsUntil([&log] { return log.skinPaints.size() == 2; }));
    EXPECT_TRUE(log.skinPaints.back().contains(time));

    // Ending the pacing shows what waits.
    m_skin->SetPacedShow(600000);
    m_skin->SetDisplayText("Time", QStringLiteral("11:11"));
    m_skin->SetPacedShow(0);
    test_support::processPostedEvents();
    ASSERT_EQ(log.skinPaints.size(), 3u);
    EXPECT_TRUE(log.skinPaints.back().contains(time));
}

TEST_F(SkinFormTest, WindowRepaintCopiesTheFaceWhereTheControlLiesAndNothingBeyond) {
    m_skin->setGeometry(5, 7, 100, 60);
    m_form.show();
    ASSERT_TRUE(test_support::processEventsUntil(
        [this] { return m_form.windowHandle() != nullptr && m_form.windowHandle()->isExposed(); }));
    m_skin->SetDisplayText("Time", QStringLiteral("12:34"));
    m_form.repaint();
    const QImage window = static_cast<QImage*>(m_form.backingStore()->paintDevice())->copy();
    ASSERT_EQ(window.size(), QSize(120, 80));
    EXPECT_EQ(window.copy(5, 7, 100, 60), m_skin->face().copy(0, 0, 100, 60));
    const QRgb around = m_form.palette().color(QPalette::Window).rgb();
    for (const QPoint& outside : {QPoint(4, 7), QPoint(5, 6), QPoint(105, 66), QPoint(104, 67)})
        EXPECT_EQ(window.pixel(outside), around) << outside.x() << "," << outside.y();
}

TEST_F(SkinFormTest, ReloadingRestoresTheStatesOfTheFile) {
    press({35, 5});
    release({35, 5});
    m_skin->LoadSkin(m_folder.file("Skin.ini"));
    EXPECT_TRUE(m_skin->model().hotAreas()[2].Down);
    EXPECT_FALSE(m_skin->model().hotAreas()[3].Down);
    EXPECT_EQ(m_events.skinChanges, 2);
}

// Loading failures, each with a fresh window.
class SkinLoadTest : public testing::Test {
protected:
    std::string loadError(const std::string& definition) {
        writeText(m_folder.file("Bad.ini"), definition);
        try {
            m_skin->LoadSkin(m_folder.file("Bad.ini"));
        } catch (const skins::ESkinError& error) {
            return error.what();
        }
        return "no error";
    }
    void SetUp() override {
        writeSkinImages(m_folder);
        m_skin = new TSkinForm(&m_form);
    }
    test_support::TemporaryFolder m_folder;
    QWidget m_form;
    TSkinForm* m_skin = nullptr;
};

TEST_F(SkinLoadTest, AMissingDefinitionFileNamesTheMissingMask) {
    try {
        m_skin->LoadSkin(m_folder.file("Missing.ini"));
        FAIL();
    } catch (const skins::ESkinError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + m_folder.file("ERROR"));
    }
}

TEST_F(SkinLoadTest, AMaskAloneServesEveryImageAndSwitchesHoverOff) {
    EXPECT_EQ(loadError("[BITMAPINFO]\nMaskBitmap=up.bmp\n[HOTAREAINFO]\nCount=1\n1=a,0,0,5,5\n"), "no error");
    EXPECT_FALSE(m_skin->model().hoverEnabled());
    EXPECT_EQ(m_skin->model().version(), 140);
    EXPECT_EQ(m_skin->model().images().WallPaper.pixel(0, 0), kNormal);
    EXPECT_EQ(m_form.size(), QSize(120, 80));
}

TEST_F(SkinLoadTest, MalformedEntriesFailWithTheirTexts) {
    const std::string head = "[BITMAPINFO]\nMaskBitmap=mask.bmp\n";
    EXPECT_EQ(loadError(head + "[HOTAREAINFO]\nCount=-1\n"), "Range check error");
    EXPECT_EQ(loadError(head + "[HOTAREAINFO]\nCount=1\n1=a, 1 ,2,3,4\n"), "'1 ' is not a valid integer value");
    EXPECT_EQ(loadError(head + "[HOTAREAINFO]\nCount=1\n1=a,1,2\n"), "List index out of bounds (3)");
    EXPECT_EQ(loadError(head + "[Version]\nVer=160\n[HOTAREAINFO]\nCount=1\n1=a,1,2,3,4\n"),
              "List index out of bounds (5)");
    EXPECT_EQ(loadError(head + "[GUAGEAREAINFO]\nCount=1\n1=g,1,2,3,4\n"), "List index out of bounds (5)");
    EXPECT_EQ(loadError(head + "[DISPLAYINFO]\nCount=1\n1=d,Arial,FALSE,FALSE,8,red,1,1\n"),
              "'red' is not a valid integer value");
    EXPECT_EQ(loadError(head + "[TRACKBARINFO]\nCount=1\n1=t,thumb.bmp,active.bmp,1,2,3\n"),
              "List index out of bounds (6)");
    EXPECT_EQ(loadError(head + "[TRACKBARINFO]\nCount=1\n"), "Cannot open file " + m_folder.file("NOT_DEFINED"));
    writeText(m_folder.file("digits.png"), "not a bitmap");
    EXPECT_EQ(loadError(head + "NumbersBitmap=digits.png\n"), "Unknown picture file extension (.png)");
}

TEST_F(SkinLoadTest, MissingCountsAndEntriesTakeTheirDefaults) {
    EXPECT_EQ(loadError("[BITMAPINFO]\nMaskBitmap=mask.bmp\n[HOTAREAINFO]\nCount=x\n[GUAGEAREAINFO]\nCount=2\n"),
              "no error");
    EXPECT_TRUE(m_skin->model().hotAreas().empty());
    ASSERT_EQ(m_skin->model().gauges().size(), 2u);
    EXPECT_EQ(m_skin->model().gauges()[1].Name, "NOT_DEFINED");
    EXPECT_EQ(m_skin->model().gauges()[1].Max, 100);
}

TEST_F(SkinLoadTest, AnInitialPositionAbove100IsLimited) {
    EXPECT_EQ(loadError("[BITMAPINFO]\nMaskBitmap=mask.bmp\n[TRACKBARINFO]\nCount=2\n"
                        "1=t,thumb.bmp,active.bmp,0,30,100,H,250\n2=u,thumb.bmp,active.bmp,0,30,100,V,40,tip\n"),
              "no error");
    const auto& trackBars = m_skin->model().trackBars();
    EXPECT_EQ(trackBars[0].Position, 100);
    EXPECT_EQ(trackBars[0].Offset, 90);
    EXPECT_FALSE(trackBars[1].Horizontal);
    EXPECT_EQ(trackBars[1].Offset, 36); // travel 92 x 40 div 100
    EXPECT_EQ(trackBars[1].Hint, "tip");
}

TEST_F(SkinLoadTest, AnAllKeyMaskHidesTheWholeWindow) {
    writeBmp(m_folder.file("white.bmp"), solidImage(20, 10, qRgb(255, 255, 255)));
    EXPECT_EQ(loadError("[BITMAPINFO]\nMaskBitmap=white.bmp\n"), "no error");
    EXPECT_FALSE(m_form.mask().isEmpty());
    EXPECT_FALSE(m_form.mask().intersects(QRect(0, 0, 20, 10)));
}

TEST(SkinToolTipHook, TheLastEngineHoldsTheHookAndTheTimingsAreSet) {
    QWidget first;
    QWidget second;
    auto firstSkin = std::make_unique<TSkinForm>(&first);
    auto secondSkin = std::make_unique<TSkinForm>(&second);
    EXPECT_EQ(skins::SkinToolTips::holder(), secondSkin.get());
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 2000);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_FallAsleepDelay), 500);
    firstSkin.reset();
    EXPECT_EQ(skins::SkinToolTips::holder(), secondSkin.get());
    secondSkin.reset();
    EXPECT_EQ(skins::SkinToolTips::holder(), nullptr);
}

TEST(SkinFormPlacement, RefusesAChildControlAsItsForm) {
    QWidget form;
    auto* child = new QWidget(&form);
    EXPECT_THROW(TSkinForm skin(child), skins::ESkinError);
}

} // namespace
