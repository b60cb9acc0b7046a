#include "SkinFixtures.h"

#include "skins/ImageDecoders.h"
#include "skins/SkinError.h"
#include "skins/SkinModel.h"

#include "support/TemporaryFolder.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using Decoder = std::function<QImage(std::string_view, const std::string&)>;

// Runs the decoder and accepts a picture or the skin error, nothing else.
void expectPictureOrSkinError(const Decoder& decode, const std::string& bytes, const std::string& what) {
    try {
        const QImage image = decode(bytes, "damaged");
        EXPECT_FALSE(image.isNull()) << what;
        EXPECT_LE(image.width(), skins::kMaximumImageSide) << what;
    } catch (const skins::ESkinError& error) {
        EXPECT_NE(std::string(error.what()).find("damaged"), std::string::npos) << what;
    } catch (const std::exception& error) {
        ADD_FAILURE() << what << ": unexpected " << error.what();
    }
}

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37) % 256, (y * 91) % 256, ((x + y) * 13) % 256));
    return image;
}

QImage fewColours(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           ((x / 3 + y) % 3 == 0) ? qRgb(0, 0, 0) : ((x + y) % 2 ? qRgb(255, 0, 0) : qRgb(9, 99, 199)));
    return image;
}

std::string jpegBytes(const QImage& image, bool progressive) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return data.toStdString();
}

std::string gifBytes(const QImage& image) {
    test_support::TemporaryFolder folder;
    skin_fixtures::writeGif(folder.file("x.gif"), image);
    return test_support::readFile(folder.file("x.gif"));
}

// Truncates at many lengths and flips bytes at random places.
void hammer(const Decoder& decode, const std::string& valid, const std::string& name) {
    ASSERT_NO_THROW(decode(valid, "valid")) << name;
    const size_t step = std::max<size_t>(1, valid.size() / 300);
    for (size_t length = 0; length < valid.size(); length += step)
        expectPictureOrSkinError(decode, valid.substr(0, length), name + " cut at " + std::to_string(length));
    std::mt19937 random(1234);
    for (int round = 0; round < 400; ++round) {
        std::string damaged = valid;
        const int flips = 1 + round % 4;
        for (int i = 0; i < flips; ++i) {
            // Headers hold the fields that matter most; hit them often.
            const size_t limit = round % 2 == 0 ? std::min<size_t>(damaged.size(), 64) : damaged.size();
            damaged[random() % limit] = static_cast<char>(random() % 256);
        }
        expectPictureOrSkinError(decode, damaged, name + " damaged round " + std::to_string(round));
    }
    std::string garbage(valid.size(), '\0');
    for (char& c : garbage)
        c = static_cast<char>(random() % 256);
    expectPictureOrSkinError(decode, garbage, name + " garbage");
    expectPictureOrSkinError(decode, valid.substr(0, 2) + garbage, name + " garbage after the signature");
}

TEST(Robustness, DamagedBitmapsEndInAnError) {
    using skin_fixtures::BmpOptions;
    hammer(skins::decodeBmp, skin_fixtures::bmpBytes(gradient(13, 9)), "bmp24");
    hammer(skins::decodeBmp, skin_fixtures::bmpBytes(gradient(9, 7), BmpOptions{32, true, 124, false}), "bmp32v5");
    hammer(skins::decodeBmp, skin_fixtures::bmpBytes(fewColours(17, 9), BmpOptions{8, false, 40, true}), "rle8");
    hammer(skins::decodeBmp, skin_fixtures::bmpBytes(fewColours(17, 9), BmpOptions{4, false, 40, false}), "bmp4");
    hammer(skins::decodeBmp, skin_fixtures::bmpBytes(fewColours(17, 9), BmpOptions{8, false, 108, false}), "bmp8v4");
}

TEST(Robustness, HugeOrNegativeBitmapSizesAreRefusedBeforeAllocating) {
    std::string bytes = skin_fixtures::bmpBytes(gradient(4, 4));
    auto setInt = [&](size_t offset, int32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    };
    setInt(18, 100000);
    EXPECT_THROW(skins::decodeBmp(bytes, "huge"), skins::ESkinError);
    setInt(18, 4);
    setInt(22, std::numeric_limits<int32_t>::min());
    EXPECT_THROW(skins::decodeBmp(bytes, "min height"), skins::ESkinError);
    setInt(22, 8000);
    EXPECT_THROW(skins::decodeBmp(bytes, "rows past the data"), skins::ESkinError);
}

TEST(Robustness, DamagedJpegsEndInAnError) {
    hammer(skins::decodeJpeg, jpegBytes(gradient(40, 24), false), "jpeg");
    hammer(skins::decodeJpeg, jpegBytes(gradient(24, 16), true), "progressive jpeg");
}

TEST(Robustness, DamagedGifsEndInAnError) {
    hammer(skins::decodeGif, gifBytes(fewColours(23, 11)), "gif");
    hammer(skins::decodeGif, gifBytes(gradient(16, 16)), "gif256");
}

// Definition files: truncated at every length, and filled with garbage
// lines. Loading ends in a skin or in the skin error.
class DefinitionRobustness : public testing::Test {
protected:
    void SetUp() override {
        skin_fixtures::writeBmp(m_folder.file("m.bmp"), fewColours(40, 30));
        skin_fixtures::writeBmp(m_folder.file("t.bmp"), fewColours(6, 4));
    }
    void expectSkinOrError(const std::string& text, const std::string& what) {
        skin_fixtures::writeText(m_folder.file("s.ini"), text);
        skins::SkinModel model;
        try {
            model.LoadSkin(m_folder.file("s.ini"));
            model.mousePress(Qt::LeftButton, 5, 5);
            model.mouseMove(7, 5);
            model.mouseRelease(7, 5);
        } catch (const skins::ESkinError&) {
        } catch (const std::exception& error) {
            ADD_FAILURE() << what << ": unexpected " << error.what();
        }
    }
    test_support::TemporaryFolder m_folder;
};

TEST_F(DefinitionRobustness, TruncatedDefinitionsLoadOrFail) {
    const std::string full =
        "[Version]\nVer=150\n[BITMAPINFO]\nMaskBitmap=m.bmp\nNumbersBitmap=t.bmp\nTextBitmap=t.bmp\n"
        "[HOTAREAINFO]\nCount=2\n1=a, 0, 0, 10, 10, \"hint, with comma\"\n2=b,10,0,5,5,,TRUE,G\n"
        "[GUAGEAREAINFO]\nCount=1\n1=g,0,20,40,3,V\n"
        "[DISPLAYINFO]\nCount=2\nCharset=0\n1=n,Arial,FALSE,FALSE,8,$FF,0,0,Number,12:34\n"
        "2=f,Arial,TRUE,TRUE,-3,$FFFFFFFF,2000000000,-2000000000\n"
        "[TRACKBARINFO]\nCount=1\n1=t,t.bmp,t.bmp,2147483647,-2147483648,5,H,77,tip\n";
    for (size_t length = 0; length <= full.size(); ++length)
        expectSkinOrError(full.substr(0, length), "cut at " + std::to_string(length));
}

TEST_F(DefinitionRobustness, GarbageEntriesLoadOrFail) {
    std::mt19937 random(99);
    const std::vector<std::string> pieces = {
        ",",     "\"",    "\"\"", " ",    "$",    "-",      "0x",     "2147483648", "-2147483649", "TRUE", "FALSE", "V",
        "t.bmp", "m.bmp", "\t",   "\x01", "\xff", "999999", "Number", "Text",       "=",           "[",    "]"};
    const std::vector<std::string> sections = {"HOTAREAINFO", "GUAGEAREAINFO", "DISPLAYINFO", "TRACKBARINFO"};
    for (int round = 0; round < 150; ++round) {
        std::string text = "[Version]\nVer=" +
                           std::string(round % 3 == 0   ? "140"
                                       : round % 3 == 1 ? "150"
                                                        : "x") +
                           "\n[BITMAPINFO]\nMaskBitmap=m.bmp\n";
        for (const std::string& section : sections) {
            text += "[" + section + "]\nCount=" + std::to_string(random() % 4) + "\n";
            for (int entry = 1; entry <= 3; ++entry) {
                text += std::to_string(entry) + "=";
                const int count = static_cast<int>(random() % 14);
                for (int i = 0; i < count; ++i)
                    text += pieces[random() % pieces.size()] + (random() % 2 ? "," : "");
                text += "\n";
            }
        }
        expectSkinOrError(text, "round " + std::to_string(round));
    }
}

} // namespace
