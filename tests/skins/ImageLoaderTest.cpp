#include "SkinFixtures.h"

#include "skins/SkinError.h"
#include "skins/SkinImageLoader.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

using skin_fixtures::BmpOptions;

namespace {

// A small picture with a few distinct colours, so palette formats and
// row order both show.
QImage testPicture() {
    QImage image(7, 5, QImage::Format_RGB32);
    const QRgb colors[] = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colors[(x / 2 + y) % 4]);
    return image;
}

QImage twoColourPicture() {
    QImage image(11, 3, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x + y) % 3 == 0 ? qRgb(0, 0, 0) : qRgb(250, 240, 10));
    return image;
}

void expectSamePixels(const QImage& actual, const QImage& expected, int tolerance = 0) {
    ASSERT_EQ(actual.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            ASSERT_LE(std::abs(qRed(a) - qRed(e)), tolerance) << x << "," << y;
            ASSERT_LE(std::abs(qGreen(a) - qGreen(e)), tolerance) << x << "," << y;
            ASSERT_LE(std::abs(qBlue(a) - qBlue(e)), tolerance) << x << "," << y;
        }
}

std::string errorOf(const std::string& path) {
    try {
        skins::LoadSkinImage(path);
    } catch (const skins::ESkinError& error) {
        return error.what();
    }
    return "no error";
}

struct BmpCase {
    const char* name;
    BmpOptions options;
    bool twoColours;
};

class BmpFormats : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpFormats, DecodeToTheWrittenPixels) {
    test_support::TemporaryFolder folder;
    const QImage picture = GetParam().twoColours ? twoColourPicture() : testPicture();
    const std::string path = folder.file("face.bmp");
    skin_fixtures::writeBmp(path, picture, GetParam().options);
    const QImage loaded = skins::LoadSkinImage(path);
    EXPECT_EQ(loaded.format(), QImage::Format_RGB32);
    expectSamePixels(loaded, picture);
}

INSTANTIATE_TEST_SUITE_P(
    Skins, BmpFormats,
    testing::Values(BmpCase{"bits24", {24, false, 40, false}, false},
                    BmpCase{"bits24TopDown", {24, true, 40, false}, false},
                    BmpCase{"bits32", {32, false, 40, false}, false},
                    BmpCase{"bits32V5", {32, false, 124, false}, false}, BmpCase{"bits8", {8, false, 40, false}, false},
                    BmpCase{"bits8V4", {8, false, 108, false}, false},
                    BmpCase{"bits8TopDown", {8, true, 40, false}, false}, BmpCase{"rle8", {8, false, 40, true}, false},
                    BmpCase{"bits4", {4, false, 40, false}, false}, BmpCase{"bits1", {1, false, 40, false}, true}),
    [](const testing::TestParamInfo<BmpCase>& info) { return std::string(info.param.name); });

TEST(SkinImageLoader, JpegDecodesCloseToTheOriginal) {
    test_support::TemporaryFolder folder;
    const QImage picture = skin_fixtures::solidImage(32, 16, qRgb(200, 40, 90));
    const std::string path = folder.file("face.jpeg");
    ASSERT_TRUE(picture.save(QString::fromStdString(path), "JPEG", 95));
    expectSamePixels(skins::LoadSkinImage(path), picture, 8);
    const std::string grey = folder.file("grey.JPG");
    ASSERT_TRUE(picture.convertToFormat(QImage::Format_Grayscale8).save(QString::fromStdString(grey), "JPEG"));
    EXPECT_EQ(skins::LoadSkinImage(grey).size(), QSize(32, 16));
}

TEST(SkinImageLoader, GifGivesTheFirstFrameWithTransparentPixelsWhite) {
    test_support::TemporaryFolder folder;
    const QImage picture = testPicture();
    skin_fixtures::writeGif(folder.file("face.gif"), picture);
    expectSamePixels(skins::LoadSkinImage(folder.file("face.gif")), picture);

    QImage holed = picture;
    holed.setPixel(3, 3, qRgb(1, 2, 3));
    skin_fixtures::writeGif(folder.file("holed.gif"), holed, qRgb(1, 2, 3));
    EXPECT_EQ(skins::LoadSkinImage(folder.file("holed.gif")).pixel(3, 3), qRgb(255, 255, 255));
}

TEST(SkinImageLoader, TheTypeWordAfterTheFirstFullStopSendsAFileToTheGifDecoder) {
    EXPECT_EQ(skins::imageTypeWord("/x.y/face.gif.bmp"), "GIF");
    EXPECT_EQ(skins::imageTypeWord("/skins/face"), " ");
    EXPECT_EQ(skins::imageTypeWord("a.Jp"), "JP");
    test_support::TemporaryFolder folder;
    skin_fixtures::writeGif(folder.file("face.gif.bmp"), testPicture());
    expectSamePixels(skins::LoadSkinImage(folder.file("face.gif.bmp")), testPicture());
    // A BMP named as a GIF by its last extension but not by its type word.
    skin_fixtures::writeBmp(folder.file("face.bmp.gif"), testPicture());
    EXPECT_NE(errorOf(folder.file("face.bmp.gif")).find("Damaged picture file"), std::string::npos);
}

TEST(SkinImageLoader, MissingFilesAndUnknownExtensionsGiveTheirTexts) {
    test_support::TemporaryFolder folder;
    EXPECT_EQ(errorOf(folder.file("ERROR")), "Cannot open file " + folder.file("ERROR"));
    EXPECT_EQ(errorOf(folder.file("gone.bmp")), "Cannot open file " + folder.file("gone.bmp"));
    EXPECT_EQ(errorOf(folder.path()), "Cannot open file " + folder.path());
    skin_fixtures::writeText(folder.file("face.png"), "not used");
    EXPECT_EQ(errorOf(folder.file("face.png")), "Unknown picture file extension (.png)");
    skin_fixtures::writeText(folder.file("face"), "not used");
    EXPECT_EQ(errorOf(folder.file("face")), "Unknown picture file extension (.)");
}

} // namespace
