#include "SkinFileView.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

using skins_default_test::SkinFileView;
using skins_default_test::splitFields;

namespace {

const char* const kHotAreas = "HOTAREAINFO";
const char* const kGauges = "GUAGEAREAINFO";
const char* const kDisplays = "DISPLAYINFO";
const char* const kTrackBars = "TRACKBARINFO";
const char* const kAreas = "AREAINFO";

// What each window's code looks up by name, and the client size it has.
struct WindowSpec {
    std::string file;
    QSize clientSize;
    std::map<std::string, std::vector<std::string>> names; // section -> element names
};

void PrintTo(const WindowSpec& spec, std::ostream* out) {
    *out << spec.file;
}

std::vector<std::string> deckHotAreas() {
    return {"PlayButton",       "StopButton", "InfoButton",  "ExitButton",    "ForwardButton",   "RewindButton",
            "PitchResetButton", "PlusButton", "MinusButton", "PitchUpButton", "PitchDownButton", "PLButton",
            "MXButton",         "EQButton",   "BPMMatch",    "LoadButton",    "MiminizeButton"};
}

std::vector<std::string> deckDisplays() {
    return {"PlayerState", "ElapsedTime", "RemainingTime", "Elapsed", "Remaining",        "Artist",
            "Title",       "KHZ",         "KBPS",          "BPM",     "PitchPlusPercent", "PitchMinusPercent"};
}

std::vector<std::string> mixerHotAreas() {
    std::vector<std::string> names;
    for (const char* curve : {"Linear", "Equal", "SlowSlow", "FastSlow", "SlowFast", "HardCut", "Flash"})
        for (const char* side : {"ToA", "ToB"})
            names.push_back(std::string(curve) + side);
    return names;
}

std::vector<std::string> equalizerTrackBars() {
    std::vector<std::string> names;
    for (const char* deck : {"A", "B"})
        for (int band = 1; band <= 10; ++band)
            names.push_back(deck + std::to_string(band));
    return names;
}

std::vector<WindowSpec> windows() {
    return {
        {"PlayerA.ini",
         {380, 234},
         {{kHotAreas, deckHotAreas()},
          {kDisplays, deckDisplays()},
          {kTrackBars, {"PitchSlider"}},
          {kGauges, {"Position"}},
          {kAreas, {"SpectrumDisplay"}}}},
        {"PlayerB.ini",
         {370, 234},
         {{kHotAreas, deckHotAreas()},
          {kDisplays, deckDisplays()},
          {kTrackBars, {"PitchSlider"}},
          {kGauges, {"Position"}},
          {kAreas, {"SpectrumDisplay"}}}},
        {"Mixer.ini",
         {385, 190},
         {{kHotAreas, mixerHotAreas()},
          {kTrackBars, {"PitchSliderA", "PitchSliderB", "PitchSliderF"}},
          {kDisplays, {"GainA", "GainB"}},
          {kGauges, {"LeftA", "RightA", "LeftB", "RightB", "Left", "Right"}}}},
        {"PlayList.ini",
         {387, 306},
         {{kHotAreas,
           {"WLPLButton", "WaitListPlusButton", "ListMinusButton", "UpButton", "DownButton", "BPMSort", "ArtistSort",
            "TitleSort", "LoadPlayListButton", "SavePlayListButton", "BPMButton", "PlayListPlusButton"}},
          {kGauges, {"PLWLLabel"}}}},
        {"EQ.ini",
         {429, 182},
         {{kTrackBars, equalizerTrackBars()},
          {kHotAreas, {"EnableAButton", "EnableBButton", "ResetAButton", "ResetBButton", "LoadButton", "SaveButton"}}}},
        {"About.ini", {300, 200}, {}},
    };
}

std::string sourceFolder(const std::string& relative) {
    const char* source = std::getenv("DROVAN_SOURCE_DIR");
    return std::string(source ? source : ".") + "/" + relative;
}

std::string defaultSkin() {
    return sourceFolder("skins/Default");
}
std::string alternativeSkin() {
    return sourceFolder("tests/fixtures/skins/Alternative");
}

bool isWhite(QRgb pixel) {
    return (pixel & 0xffffffu) == 0xffffffu;
}

// Required field counts of the engine; fewer fields fail a skin load.
const std::map<std::string, size_t> kRequiredFields = {{kHotAreas, 5}, {kGauges, 6}, {kDisplays, 8}, {kTrackBars, 7}};
// Which fields of each kind must be integers.
const std::map<std::string, std::vector<size_t>> kNumericFields = {
    {kHotAreas, {1, 2, 3, 4}}, {kGauges, {1, 2, 3, 4}}, {kDisplays, {4, 5, 6, 7}}, {kTrackBars, {3, 4, 5, 7}}};

class DefaultSkinWindow : public ::testing::TestWithParam<WindowSpec> {};

TEST_P(DefaultSkinWindow, DefinesEveryElementNameTheWindowUsesInTheRightSection) {
    const WindowSpec& spec = GetParam();
    const SkinFileView skin(defaultSkin(), spec.file);
    ASSERT_TRUE(skin.exists()) << spec.file;
    EXPECT_EQ(skin.document().readInteger("Version", "Ver", 140), 150);
    for (const auto& [section, names] : spec.names) {
        const auto present = skin.names(section);
        const std::set<std::string> presentSet(present.begin(), present.end());
        for (const std::string& name : names)
            EXPECT_TRUE(presentSet.count(name)) << spec.file << ": " << name << " missing in " << section;
        // A name given twice would leave the second element dead: lookups take the first.
        EXPECT_EQ(presentSet.size(), present.size()) << spec.file << ": duplicate names in " << section;
    }
}

TEST_P(DefaultSkinWindow, EveryEntryHasTheFieldsTheEngineRequiresWithValidNumbers) {
    const WindowSpec& spec = GetParam();
    const SkinFileView skin(defaultSkin(), spec.file);
    for (const auto& [section, required] : kRequiredFields) {
        for (const auto& fields : skin.entries(section)) {
            ASSERT_GE(fields.size(), required) << spec.file << " " << section;
            for (size_t index : kNumericFields.at(section)) {
                if (index >= fields.size())
                    continue;
                const std::string& text = fields[index];
                // Colours are "$" hexadecimal, the rest decimal; a blank
                // before a comma would make the engine reject the number.
                EXPECT_TRUE(platform::parseInteger(text).has_value())
                    << spec.file << " " << fields[0] << " field " << index << " '" << text << "'";
            }
            if (section == std::string(kHotAreas)) {
                EXPECT_GE(fields.size(), 6u) << spec.file << " " << fields[0] << " has no hint";
            }
            if (section == std::string(kTrackBars)) {
                EXPECT_EQ(fields.size(), 9u) << spec.file << " " << fields[0] << " lacks position or hint";
            }
        }
    }
}

TEST_P(DefaultSkinWindow, MaskHasTheClientSizeAndCutsTheCornersAway) {
    const WindowSpec& spec = GetParam();
    const SkinFileView skin(defaultSkin(), spec.file);
    const QImage mask = skin.image(skin.bitmapName("MaskBitmap"));
    ASSERT_FALSE(mask.isNull()) << skin.bitmapName("MaskBitmap");
    EXPECT_EQ(mask.size(), spec.clientSize);
    for (const QPoint corner : {QPoint(0, 0), QPoint(mask.width() - 1, 0), QPoint(0, mask.height() - 1),
                                QPoint(mask.width() - 1, mask.height() - 1)})
        EXPECT_TRUE(isWhite(mask.pixel(corner))) << spec.file << " corner " << corner.x() << "," << corner.y();
    EXPECT_FALSE(isWhite(mask.pixel(mask.width() / 2, mask.height() / 2)));
    // Nothing but pure white and the window's own pixels: a near-white fringe
    // would belong to the window and show as a halo.
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            ASSERT_TRUE(isWhite(mask.pixel(x, y)) || qGray(mask.pixel(x, y)) < 128) << x << "," << y;
}

TEST_P(DefaultSkinWindow, EveryNamedImageExistsDecodesAndFacesMatchTheMask) {
    const WindowSpec& spec = GetParam();
    const SkinFileView skin(defaultSkin(), spec.file);
    const QSize size = skin.image(skin.bitmapName("MaskBitmap")).size();
    for (const char* key : {"MouseUpBitmap", "MouseDownBitmap", "MouseOnBitmap", "WallPaper"}) {
        const QImage image = skin.image(skin.bitmapName(key));
        ASSERT_FALSE(image.isNull()) << spec.file << " " << key << " " << skin.bitmapName(key);
        EXPECT_EQ(image.size(), size) << spec.file << " " << key;
    }
    const std::string numbers = skin.bitmapName("NumbersBitmap");
    const std::string letters = skin.bitmapName("TextBitmap");
    if (!numbers.empty()) {
        const QImage strip = skin.image(numbers);
        ASSERT_FALSE(strip.isNull()) << numbers;
        EXPECT_EQ(strip.width() % 12, 0);
    }
    if (!letters.empty()) {
        const QImage strip = skin.image(letters);
        ASSERT_FALSE(strip.isNull()) << letters;
        EXPECT_EQ(strip.width() % 30, 0);
        EXPECT_EQ(strip.height() % 3, 0);
    }
    for (const auto& fields : skin.entries(kDisplays)) {
        if (fields.size() > 8 && fields[8] == "Number") {
            EXPECT_FALSE(numbers.empty()) << fields[0] << " needs a digit strip";
        }
        if (fields.size() > 8 && fields[8] == "Text") {
            EXPECT_FALSE(letters.empty()) << fields[0] << " needs a letter strip";
        }
    }
    for (const auto& fields : skin.entries(kTrackBars)) {
        const QImage thumb = skin.image(fields[1]);
        const QImage active = skin.image(fields[2]);
        ASSERT_FALSE(thumb.isNull()) << fields[1];
        ASSERT_FALSE(active.isNull()) << fields[2];
        EXPECT_EQ(thumb.size(), active.size()) << fields[0];
    }
}

TEST_P(DefaultSkinWindow, ControlsLieInsideTheWindowShapeAndDoNotOverlap) {
    const WindowSpec& spec = GetParam();
    const SkinFileView skin(defaultSkin(), spec.file);
    const QImage mask = skin.image(skin.bitmapName("MaskBitmap"));
    std::vector<std::pair<std::string, QRect>> controls;
    for (const auto& fields : skin.entries(kHotAreas))
        controls.emplace_back(fields[0], SkinFileView::areaOf(fields));
    for (const auto& fields : skin.entries(kGauges))
        controls.emplace_back(fields[0], SkinFileView::areaOf(fields));
    for (const auto& fields : skin.entries(kAreas))
        controls.emplace_back(fields[0], SkinFileView::areaOf(fields));
    for (const auto& fields : skin.entries(kTrackBars)) {
        const QRect track = skin.trackOf(fields);
        controls.emplace_back(fields[0], track);
        // The thumb needs room to travel.
        const QImage thumb = skin.image(fields[2]);
        const int along = fields[6] == "V" ? thumb.height() : thumb.width();
        EXPECT_GT((fields[6] == "V" ? track.height() : track.width()) - along, 0) << fields[0];
    }
    for (size_t index = 0; index < controls.size(); ++index) {
        const auto& [name, area] = controls[index];
        ASSERT_FALSE(area.isEmpty()) << name;
        ASSERT_TRUE(QRect(QPoint(0, 0), mask.size()).contains(area)) << spec.file << " " << name;
        for (const QPoint corner : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()})
            EXPECT_FALSE(isWhite(mask.pixel(corner))) << spec.file << " " << name << " is partly cut away";
        for (size_t other = index + 1; other < controls.size(); ++other)
            EXPECT_FALSE(area.intersects(controls[other].second))
                << spec.file << ": " << name << " overlaps " << controls[other].first;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, DefaultSkinWindow, ::testing::ValuesIn(windows()),
                         [](const ::testing::TestParamInfo<WindowSpec>& info) {
                             return info.param.file.substr(0, info.param.file.find('.'));
                         });

TEST(DefaultSkinDeck, TimeRegionSeekRegionAndSpectrumDisplayCoverNoButton) {
    // The deck lays a 129 x 49 click region at "ElapsedTime", a seek region
    // over "Position" and the spectrum display with its click region over
    // "SpectrumDisplay". Any button under them could never be pressed.
    for (const char* file : {"PlayerA.ini", "PlayerB.ini"}) {
        const SkinFileView skin(defaultSkin(), file);
        const auto elapsed = skin.entry(kDisplays, "ElapsedTime");
        ASSERT_GE(elapsed.size(), 8u);
        const QRect timeRegion(std::stoi(elapsed[6]), std::stoi(elapsed[7]), 129, 49);
        const QRect seekRegion = SkinFileView::areaOf(skin.entry(kGauges, "Position"));
        const QRect spectrum = SkinFileView::areaOf(skin.entry(kAreas, "SpectrumDisplay"));
        // Tall enough to show the bars, and the full width the display draws.
        EXPECT_GE(spectrum.height(), 16) << file;
        EXPECT_EQ(spectrum.width(), 251) << file;
        EXPECT_FALSE(seekRegion.intersects(spectrum));
        EXPECT_FALSE(timeRegion.intersects(spectrum)) << file;
        for (const auto& fields : skin.entries(kHotAreas)) {
            const QRect area = SkinFileView::areaOf(fields);
            EXPECT_FALSE(area.intersects(timeRegion)) << file << " " << fields[0];
            EXPECT_FALSE(area.intersects(seekRegion)) << file << " " << fields[0];
            EXPECT_FALSE(area.intersects(spectrum)) << file << " " << fields[0];
        }
        for (const auto& fields : skin.entries(kTrackBars))
            EXPECT_FALSE(skin.trackOf(fields).intersects(timeRegion.united(spectrum))) << file << " " << fields[0];
    }
}

TEST(DefaultSkinDeck, TimesAndTempoUseTheGlyphStrips) {
    const SkinFileView skin(defaultSkin(), "PlayerA.ini");
    EXPECT_EQ(skin.entry(kDisplays, "ElapsedTime").at(8), "Number");
    EXPECT_EQ(skin.entry(kDisplays, "RemainingTime").at(8), "Text");
    EXPECT_EQ(skin.entry(kDisplays, "BPM").at(8), "Text");
    // The artist and title are free text and use a font the system has.
    EXPECT_EQ(skin.entry(kDisplays, "Artist").at(1), "Arial");
}

TEST(DefaultSkinMixerAndEqualizer, FadersMeterAndBandsRunTheWayTheWindowsReadThem) {
    const SkinFileView mixer(defaultSkin(), "Mixer.ini");
    EXPECT_EQ(mixer.entry(kTrackBars, "PitchSliderA").at(6), "V");
    EXPECT_EQ(mixer.entry(kTrackBars, "PitchSliderB").at(6), "V");
    EXPECT_NE(mixer.entry(kTrackBars, "PitchSliderF").at(6), "V");
    for (const char* meter : {"LeftA", "RightA", "LeftB", "RightB"})
        EXPECT_EQ(mixer.entry(kGauges, meter).at(5), "V") << meter;

    const SkinFileView equalizer(defaultSkin(), "EQ.ini");
    for (const auto& fields : equalizer.entries(kTrackBars)) {
        EXPECT_EQ(fields.at(6), "V") << fields[0];
        EXPECT_EQ(fields.at(7), "50") << fields[0] << " does not start flat";
    }
    // The on/off buttons are switches (a state field) that start off.
    for (const char* name : {"EnableAButton", "EnableBButton"}) {
        const auto fields = equalizer.entry(kHotAreas, name);
        ASSERT_EQ(fields.size(), 7u) << name;
        EXPECT_EQ(fields[6], "FALSE");
    }
}

TEST(DefaultSkinPlayList, ListGeometryHasEightFieldsInsideTheWindow) {
    const SkinFileView skin(defaultSkin(), "PlayList.ini");
    for (const char* key : {"PlayList", "WaitList"}) {
        const auto fields = splitFields(skin.document().readString("PLAYLISTINFO", key, ""));
        ASSERT_EQ(fields.size(), 8u) << key;
        const QRect list(std::stoi(fields[0]), std::stoi(fields[1]), std::stoi(fields[2]), std::stoi(fields[3]));
        EXPECT_TRUE(QRect(0, 0, 387, 306).contains(list)) << key;
        EXPECT_GT(list.width() * list.height(), 387 * 306 / 2) << key;
        for (size_t colour : {4u, 6u}) {
            ASSERT_EQ(fields[colour].size(), 7u) << fields[colour];
            EXPECT_EQ(fields[colour][0], '$');
            EXPECT_TRUE(platform::parseInteger(fields[colour]).has_value()) << fields[colour];
        }
        EXPECT_EQ(fields[5], "Arial");
        // The list's colour is read as red = d1d2, blue = d3d4, green = d5d6;
        // read that way it must be the colour of the well painted under the
        // list, or the list shows as a patch of another colour.
        const auto digits = [&](size_t first) { return std::stoi(fields[4].substr(first, 2), nullptr, 16); };
        const QColor listColour(digits(1), digits(5), digits(3));
        const QImage face = skin.image(skin.bitmapName("MouseUpBitmap"));
        const QColor well = face.pixelColor(list.center());
        EXPECT_LE(std::abs(well.red() - listColour.red()) + std::abs(well.green() - listColour.green()) +
                      std::abs(well.blue() - listColour.blue()),
                  1)
            << key << ": list " << fields[4] << " on a well of " << well.name().toStdString();
        EXPECT_NE(fields[4], fields[6]) << "text would be invisible on its background";
    }
}

TEST(DefaultSkinFiles, UseAJpegSomewhereAndBmpForEveryWindowFace) {
    const SkinFileView about(defaultSkin(), "About.ini");
    EXPECT_NE(about.bitmapName("MouseUpBitmap").find(".jpg"), std::string::npos);
    const SkinFileView deck(defaultSkin(), "PlayerA.ini");
    EXPECT_NE(deck.bitmapName("MouseUpBitmap").find(".bmp"), std::string::npos);
    QFile bitmap(QString::fromStdString(defaultSkin() + "/" + deck.bitmapName("MouseUpBitmap")));
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    const QByteArray header = bitmap.read(30);
    ASSERT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<unsigned char>(header[28]), 24u) << "faces are 24-bit bitmaps";
}

TEST(DefaultSkinFiles, BuildCopiesTheSkinIntoTheApplicationFolder) {
    // Tests run in the application folder; the application finds its skin
    // there, so the copy must match the sources byte for byte.
    const QDir source(QString::fromStdString(defaultSkin()));
    const QDir copy(QDir::current().filePath(QStringLiteral("skins/Default")));
    ASSERT_TRUE(copy.exists()) << copy.path().toStdString();
    const auto hash = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                                              : QByteArray();
    };
    const QStringList files = source.entryList({"*.ini", "*.bmp", "*.jpg", "*.gif"}, QDir::Files);
    EXPECT_GE(files.size(), 20);
    for (const QString& name : files)
        EXPECT_EQ(hash(source.filePath(name)), hash(copy.filePath(name))) << name.toStdString();
}

TEST(AlternativeSkin, HasADeckAButNoDeckBOrAboutPageSoThoseFallBack) {
    const SkinFileView deckA(alternativeSkin(), "PlayerA.ini");
    ASSERT_TRUE(deckA.exists());
    EXPECT_FALSE(SkinFileView(alternativeSkin(), "PlayerB.ini").exists());
    EXPECT_FALSE(SkinFileView(alternativeSkin(), "About.ini").exists());
    const auto present = deckA.names(kHotAreas);
    for (const std::string& name : deckHotAreas())
        EXPECT_NE(std::find(present.begin(), present.end(), name), present.end()) << name;

    // It really differs: another window size and a horizontal pitch slider.
    const QImage mask = deckA.image(deckA.bitmapName("MaskBitmap"));
    ASSERT_FALSE(mask.isNull()) << "GIF mask must decode";
    EXPECT_NE(mask.size(), QSize(380, 234));
    EXPECT_TRUE(isWhite(mask.pixel(0, 0)));
    EXPECT_NE(deckA.entry(kTrackBars, "PitchSlider").at(6), "V");
    const QImage face = deckA.image(deckA.bitmapName("MouseUpBitmap"));
    ASSERT_FALSE(face.isNull()) << "JPEG face must decode";
    EXPECT_EQ(face.size(), mask.size());
    EXPECT_GT(qGray(face.pixel(face.width() / 2, face.height() - 30)), 128) << "a light skin";
}

TEST(SkinFieldSplitting, FollowsTheEngineRules) {
    EXPECT_EQ(splitFields("  Play, 10,10 , \"a,\"\"b\"\"\",,x,"),
              (std::vector<std::string>{"Play", "10", "10 ", "a,\"b\"", "", "x"}));
}

} // namespace
