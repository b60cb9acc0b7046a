// Times how fast the skin loader turns hostile input away: a 4096 x 4096
// checkerboard mask (refused after the run limit), a 1024 x 1024 one (half a
// million runs, built), 20,000 stored shape rectangles in reverse order, a
// progressive JPEG with 3,000 repeated scans, and a definition asking for
// 10,000 trackbars with 512 x 512 thumbs.
//   hostile_skin_bench
#include "skins/ImageDecoders.h"
#include "skins/RegionData.h"
#include "skins/RegionFromMask.h"
#include "skins/SkinError.h"
#include "skins/SkinModel.h"

#include "platform/IniFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

void time(const char* what, const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    std::string outcome = "done";
    try {
        action();
    } catch (const skins::ESkinError& error) {
        outcome = error.what();
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%-34s %9.1f ms  (%s)\n", what, elapsed.count(), outcome.substr(0, 70).c_str());
}

QImage checkerboard(int side) {
    QImage mask(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            mask.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return mask;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QImage large = checkerboard(4096);
    const QImage medium = checkerboard(1024);
    time("region of 4096x4096 checkerboard", [&] { (void)skins::CreateRegionFromMask(large, Qt::white, Qt::black); });
    time("region of 1024x1024 checkerboard", [&] { (void)skins::CreateRegionFromMask(medium, Qt::white, Qt::black); });

    QByteArray data;
    auto put = [&data](int32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            data.append(static_cast<char>((static_cast<uint32_t>(value) >> shift) & 0xFF));
    };
    const int rows = 20000;
    put(32 + 16 * rows);
    for (int32_t value : {32, 1, rows, 16 * rows, 0, 0, 3, rows})
        put(value);
    for (int row = rows - 1; row >= 0; --row)
        for (int32_t value : {row % 2, row, 3 - row % 2, row + 1})
            put(value);
    time("20000 unordered shape rectangles", [&] { (void)skins::readRegionData(data); });

    QImage picture(256, 256, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 200));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    writer.write(picture);
    const std::string valid = jpeg.toStdString();
    const size_t lastScan = valid.rfind("\xFF\xDA");
    const size_t end = valid.rfind("\xFF\xD9");
    std::string hostile = valid.substr(0, end);
    for (int i = 0; i < 3000; ++i)
        hostile += valid.substr(lastScan, end - lastScan);
    hostile += "\xFF\xD9";
    time("JPEG with 3000 repeated scans", [&] { (void)skins::decodeJpeg(hostile, "hostile.jpg"); });

    std::string text = "[BITMAPINFO]\nMaskBitmap=m\n[TRACKBARINFO]\nCount=10000\n";
    for (int i = 1; i <= 10000; ++i)
        text += std::to_string(i) + "=t,thumb,thumb,0,0,40,H\n";
    const platform::IniDocument definition(text);
    time("10000 trackbars, 512x512 thumbs", [&] {
        skins::SkinModel model;
        model.LoadSkinDocument(definition, [](const std::string& name) {
            QImage image(name == "m" ? 40 : 512, name == "m" ? 30 : 512, QImage::Format_RGB32);
            image.fill(Qt::gray);
            return image;
        });
    });
    return 0;
}
