#include "SkinFixtures.h"

#include "skins/SkinDefinition.h"
#include "skins/SkinEntries.h"
#include "skins/SkinError.h"
#include "skins/SkinModel.h"
#include "skins/SplitFields.h"

#include "platform/IniFile.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

using namespace skins;
using skin_fixtures::writeText;

namespace {

HotAreaInfoRec engineHotArea(const std::string& entry) {
    return parseHotAreaEntry(SplitFields(entry), kVersion150);
}

TEST(SkinEditorEntries, ButtonsAreWrittenAsTheEngineReadsThem) {
    ButtonFields plain;
    plain.id = "Play";
    plain.x = "1";
    plain.y = "2";
    plain.width = "3";
    plain.height = "4";
    ASSERT_FALSE(prepareButton(plain));
    EXPECT_EQ(buttonEntry(plain), "Play, 1, 2, 3, 4,  ");
    HotAreaInfoRec area = engineHotArea(buttonEntry(plain));
    EXPECT_EQ(area.rect(), PixelRect::fromSize(1, 2, 3, 4));
    EXPECT_FALSE(area.IsSwitch);
    EXPECT_EQ(area.Hint, "");

    ButtonFields radio = plain;
    radio.hint = "Loop, or not";
    radio.isSwitch = true;
    radio.initialState = "TRUE";
    radio.isRadio = true;
    radio.group = "G";
    area = engineHotArea(buttonEntry(radio));
    EXPECT_EQ(area.Hint, "Loop, or not") << "a comma in a hint does not shift the state";
    EXPECT_TRUE(area.IsSwitch);
    EXPECT_TRUE(area.Down);
    EXPECT_EQ(area.Group, "G");
    EXPECT_EQ(buttonFieldsOf(buttonEntry(radio)), radio);

    // A radio button needs a state in front of its group; unless it is
    // marked as a switch it starts up.
    radio.isSwitch = false;
    area = engineHotArea(buttonEntry(radio));
    EXPECT_TRUE(area.IsSwitch);
    EXPECT_FALSE(area.Down);
    EXPECT_EQ(area.Group, "G");
}

TEST(SkinEditorEntries, DisplaysAndTrackBarsKeepEveryFieldThroughTheEngine) {
    TextFields text;
    text.id = "Title";
    text.x = "20";
    text.y = "x";
    text.text = "Hello, \"DJ\"";
    text.color = colorText(QColor(255, 0, 0));
    text.bold = "TRUE";
    text.style = "Number";
    ASSERT_FALSE(prepareText(text));
    EXPECT_EQ(text.y, "0");
    const DisplayInfoRec display = parseDisplayEntry(SplitFields(textEntry(text)), 1);
    EXPECT_EQ(display.Text, "Hello, \"DJ\"") << "a comma in the text no longer empties it";
    EXPECT_EQ(display.Font.Color, 0x0000FFu);
    EXPECT_TRUE(display.Font.Bold);
    EXPECT_EQ(display.Kind, "Number");
    EXPECT_EQ(display.Left, 20);
    EXPECT_EQ(textFieldsOf(textEntry(text)), text);

    TrackBarFields trackBar;
    trackBar.id = "Pitch";
    trackBar.upImage = "Thumb.bmp";
    trackBar.x = "3";
    trackBar.y = "4";
    trackBar.length = "100";
    trackBar.position = "50";
    trackBar.hint = "Pitch";
    ASSERT_FALSE(prepareTrackBar(trackBar));
    EXPECT_EQ(trackBar.downImage, "Thumb.bmp");
    const std::string entry = trackBarEntry(trackBar);
    EXPECT_EQ(entry, "Pitch, Thumb.bmp, Thumb.bmp, 3, 4, 100, , 50, Pitch");
    TrackBarInfoRec engine;
    parseTrackBarGeometry(SplitFields(entry), engine);
    EXPECT_TRUE(engine.Horizontal) << "no orientation reads as horizontal";
    EXPECT_EQ(engine.Position, 50);
    EXPECT_EQ(engine.Hint, "Pitch");
    EXPECT_EQ(trackBarFieldsOf(entry).orientation, "H");
    EXPECT_EQ(markerRect(ElementKind::TrackBar, entry), QRect(3, 4, 100, 8));
}

TEST(SkinDefinition, AddUpdateAndDeleteFollowTheListRules) {
    SkinDefinition definition;
    using Mode = SkinDefinition::StoreMode;
    EXPECT_FALSE(definition.store(ElementKind::Button, "A, 0, 0, 1, 1", Mode::Add, -1));
    EXPECT_FALSE(definition.store(ElementKind::Button, "B, 0, 0, 1, 1", Mode::Add, -1));
    EXPECT_EQ(definition.store(ElementKind::Button, "A, 5, 5, 1, 1", Mode::Add, -1),
              QString("Current ID has already existed!"));
    // Updating may give an entry the ID of another.
    EXPECT_FALSE(definition.store(ElementKind::Button, "A, 9, 9, 1, 1", Mode::Update, 1));
    EXPECT_EQ(definition.store(ElementKind::Button, "C, 0, 0, 1, 1", Mode::Update, 2),
              QString("Please Choose a item."));
    EXPECT_EQ(definition.entries(ElementKind::Button), (std::vector<std::string>{"A, 0, 0, 1, 1", "A, 9, 9, 1, 1"}));
    EXPECT_EQ(definition.counter(ElementKind::Button), 3) << "only what was stored counts";
    EXPECT_EQ(definition.counter(ElementKind::Text), 0);

    EXPECT_EQ(definition.remove(ElementKind::Button, 1), 0);
    EXPECT_EQ(definition.remove(ElementKind::Button, 0), -1);
    EXPECT_TRUE(definition.entries(ElementKind::Button).empty());
}

class SkinDefinitionFile : public testing::Test {
protected:
    test_support::TemporaryFolder m_folder;
};

TEST_F(SkinDefinitionFile, SavingKeepsForeignSectionsAndTurnsVersion140IntoWhatTheEngineReadsAlike) {
    const std::string path = m_folder.file("Skin.ini");
    writeText(path, "[Version]\nVer=140\n"
                    "[BITMAPINFO]\nMaskBitmap=Mask.bmp\nWallPaper=Wall.bmp\n"
                    "[HOTAREAINFO]\nCount=3\n1=Play, 1, 2, 3, 4\n2=Loop, 1, 2, 3, 4, FALSE\n3=A, 0, 0, 5, 5, TRUE, G\n"
                    "[GUAGEAREAINFO]\nCount=1\n1=Position, 24, 141, 251, 7, H\n"
                    "[PLAYLISTINFO]\nColumns=4\n"
                    "[TRACKBARINFO]\nCount=2\n1=Fader, T.bmp, TA.bmp, 1, 2, 50, V, 10\n");
    SkinDefinition definition = SkinDefinition::load(path);
    EXPECT_EQ(definition.counter(ElementKind::Button), 1);
    EXPECT_EQ(definition.images.mouseOver, "Mask.bmp");
    EXPECT_EQ(definition.images.numbers, "");
    EXPECT_EQ(definition.entries(ElementKind::TrackBar)[1], skin_keys::kTrackBarDefault);
    EXPECT_EQ(definition.imageFiles(), (std::vector<std::string>{"Mask.bmp", "NOT_DEFINED", "T.bmp", "TA.bmp"}));
    definition.save(path);

    const platform::IniDocument saved = platform::IniDocument::load(path);
    EXPECT_EQ(saved.readInteger("Version", "Ver", 0), 150);
    EXPECT_FALSE(saved.value("BITMAPINFO", "WallPaper"));
    EXPECT_EQ(saved.readString("GUAGEAREAINFO", "1", ""), "Position, 24, 141, 251, 7, H");
    EXPECT_EQ(saved.readString("PLAYLISTINFO", "Columns", ""), "4");
    EXPECT_EQ(saved.readString("DISPLAYINFO", "Charset", ""), "1");
    EXPECT_EQ(saved.readString("NEWIDNUMBER", "Trackbar", ""), "1");

    const char* names[] = {"Play", "Loop", "A"};
    const bool switches[] = {false, true, true};
    const bool down[] = {false, false, true};
    for (int i = 0; i < 3; ++i) {
        const HotAreaInfoRec area = engineHotArea(saved.readString("HOTAREAINFO", std::to_string(i + 1), ""));
        EXPECT_EQ(area.Name, names[i]);
        EXPECT_EQ(area.rect(), PixelRect::fromSize(i == 2 ? 0 : 1, i == 2 ? 0 : 2, i == 2 ? 5 : 3, i == 2 ? 5 : 4));
        EXPECT_EQ(area.IsSwitch, switches[i]);
        EXPECT_EQ(area.Down, down[i]);
        EXPECT_EQ(area.Hint, "");
    }
    EXPECT_EQ(engineHotArea(saved.readString("HOTAREAINFO", "3", "")).Group, "G");
    // What was saved loads again unchanged.
    SkinDefinition again = SkinDefinition::load(path);
    EXPECT_EQ(again.entries(ElementKind::Button), definition.entries(ElementKind::Button));
    EXPECT_EQ(again.images, definition.images);
}

TEST_F(SkinDefinitionFile, FilesTheEngineRefusesAreRefusedWithItsText) {
    const std::string path = m_folder.file("Bad.ini");
    const std::pair<const char*, std::string> cases[] = {
        {"[DISPLAYINFO]\nCount=1\n1=Title, Arial, FALSE\n", listIndexText(3)},
        {"[TRACKBARINFO]\nCount=1\n1=Fader, T.bmp, TA.bmp, 1, 2, x, V\n", invalidIntegerText("x")},
        {"[GUAGEAREAINFO]\nCount=1\n1=Position, 24, 141, 251, 7\n", listIndexText(5)},
        {"[HOTAREAINFO]\nCount=-1\n", kRangeCheckErrorText},
        {"[Version]\nVer=160\n[HOTAREAINFO]\nCount=1\n1=Play, 1, 2, 3, 4\n", listIndexText(5)},
    };
    for (const auto& [text, error] : cases) {
        writeText(path, text);
        try {
            SkinDefinition::load(path);
            ADD_FAILURE() << text;
        } catch (const ESkinError& thrown) {
            EXPECT_EQ(thrown.what(), error) << text;
        }
    }
}

} // namespace
