// Skins travel between users: files made to hang, exhaust or crash the
// loader end in a clear error instead, after bounded work.
#include "SkinFixtures.h"

#include "platform/IniFile.h"
#include "skins/ImageDecoders.h"
#include "skins/RegionData.h"
#include "skins/RegionFromMask.h"
#include "skins/SkinError.h"
#include "skins/SkinModel.h"

#include "support/TemporaryFolder.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <sys/stat.h>

using test_support::TemporaryFolder;

namespace {

QImage checkerboard(int side) {
    QImage mask(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = (x + y) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return mask;
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const skins::ESkinError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(HostileSkin, AFineCheckerboardMaskIsRefusedAndAMillionRunsStillMakeTheExactShape) {
    const std::string error =
        errorOf([] { (void)skins::CreateRegionFromMask(checkerboard(4096), Qt::white, Qt::black); });
    EXPECT_NE(error.find("separate pieces"), std::string::npos) << error;

    // Half a million runs in rows that never repeat: one pass, no merging.
    const QImage board = checkerboard(1024);
    const auto region = skins::CreateRegionFromMask(board, Qt::white, Qt::black);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->rectCount(), 1024 * 512);
    EXPECT_FALSE(region->contains(QPoint(0, 0)));
    EXPECT_TRUE(region->contains(QPoint(1, 0)));
    EXPECT_TRUE(region->contains(QPoint(1022, 1023)));
    EXPECT_FALSE(region->contains(QPoint(1023, 1023)));
}

TEST(HostileSkin, StoredShapeDataInAnyOrderIsJoinedIntoTheSameShape) {
    // Rows of one rectangle each, stored bottom row first: every join used to
    // rebuild the growing region.
    const int rows = 20000;
    QByteArray data;
    auto put = [&data](int32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            data.append(static_cast<char>((static_cast<uint32_t>(value) >> shift) & 0xFF));
    };
    put(32 + 16 * rows);
    for (int32_t value : {32, 1, rows, 16 * rows, 0, 0, 3, rows})
        put(value);
    for (int row = rows - 1; row >= 0; --row)
        for (int32_t value : {row % 2, row, 3 - row % 2, row + 1})
            put(value);
    const auto region = skins::readRegionData(data);
    ASSERT_TRUE(region);
    QRegion expected;
    std::vector<QRect> rectangles;
    for (int row = 0; row < rows; ++row)
        rectangles.emplace_back(row % 2, row, 3 - 2 * (row % 2), 1);
    expected.setRects(rectangles.data(), static_cast<int>(rectangles.size()));
    EXPECT_EQ(*region, expected);

    // Coordinates far outside any screen would overflow the sizes.
    QByteArray far;
    data.swap(far);
    put(32 + 16);
    for (int32_t value : {32, 1, 1, 16, 0, 0, 1, 1, -2000000000, 0, 2000000000, 1})
        put(value);
    EXPECT_THROW(skins::readRegionData(data), skins::ESkinError);
}

class HostileDefinition : public testing::Test {
protected:
    void SetUp() override {
        skin_fixtures::writeBmp(m_folder.file("m.bmp"), skin_fixtures::solidImage(40, 30, qRgb(1, 2, 3)));
        skin_fixtures::writeBmp(m_folder.file("thumb.bmp"), skin_fixtures::solidImage(512, 512, qRgb(9, 9, 9)));
    }
    std::string loadError(const std::string& name) {
        return errorOf([&] {
            skins::SkinModel model;
            model.LoadSkin(m_folder.file(name));
        });
    }
    TemporaryFolder m_folder;
};

TEST_F(HostileDefinition, TenThousandTrackbarsWithLargeThumbsEndInAnError) {
    std::string text = "[BITMAPINFO]\nMaskBitmap=m.bmp\n[TRACKBARINFO]\nCount=10000\n";
    for (int i = 1; i <= 10000; ++i)
        text += std::to_string(i) + "=t" + std::to_string(i) + ",thumb.bmp,thumb.bmp,0,0,40,H\n";
    skin_fixtures::writeText(m_folder.file("huge.ini"), text);
    const std::string error = loadError("huge.ini");
    EXPECT_NE(error.find("MiB"), std::string::npos) << error;
    EXPECT_NE(error.find("thumb.bmp"), std::string::npos) << error;

    // The same thumb on a few trackbars is fine: it is decoded once.
    skin_fixtures::writeText(m_folder.file("few.ini"), "[BITMAPINFO]\nMaskBitmap=m.bmp\n[TRACKBARINFO]\nCount=3\n"
                                                       "1=a,thumb.bmp,thumb.bmp,0,0,40,H\n"
                                                       "2=b,thumb.bmp,thumb.bmp,0,0,40,H\n"
                                                       "3=c,thumb.bmp,thumb.bmp,0,0,40,H\n");
    EXPECT_EQ(loadError("few.ini"), "no error");
}

TEST_F(HostileDefinition, ADefinitionThatIsAFifoADeviceOrTooLargeIsRefused) {
    ASSERT_EQ(mkfifo(m_folder.file("fifo.ini").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", m_folder.file("zero.ini").c_str()), 0);
    skin_fixtures::writeText(m_folder.file("large.ini"),
                             "[BITMAPINFO]\nMaskBitmap=m.bmp\n" +
                                 std::string(platform::IniDocument::kMaximumFileBytes, ';'));
    for (const char* name : {"fifo.ini", "zero.ini"}) {
        const std::string error = loadError(name);
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << name << ": " << error;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
    EXPECT_NE(loadError("large.ini").find("larger than"), std::string::npos);
}

// A progressive picture whose last scan is repeated a thousand times: each
// repetition is a full pass over the picture.
TEST(HostileSkin, AJpegWithThousandsOfScansIsRefused) {
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 5, (x ^ y) * 3));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(picture));
    const std::string valid = data.toStdString();
    ASSERT_NO_THROW(skins::decodeJpeg(valid, "valid.jpg"));

    const size_t lastScan = valid.rfind("\xFF\xDA");
    const size_t end = valid.rfind("\xFF\xD9");
    ASSERT_NE(lastScan, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    std::string hostile = valid.substr(0, end);
    for (int i = 0; i < 3000; ++i)
        hostile += valid.substr(lastScan, end - lastScan);
    hostile += "\xFF\xD9";
    const std::string error = errorOf([&] { (void)skins::decodeJpeg(hostile, "hostile.jpg"); });
    EXPECT_NE(error.find("scans"), std::string::npos) << error;
}
