// Makes the stored window shape ("Mask2") of a picture at build time:
//   make_region_data <image> <out> [key colour $BBGGRR] [tolerance $BBGGRR]
// The key colour defaults to white and the tolerance to black.
#include "skins/RegionData.h"
#include "skins/RegionFromMask.h"
#include "skins/SkinEntries.h"
#include "skins/SkinImageLoader.h"

#include <QFile>

#include <cstdio>
#include <exception>

namespace {

QColor colorOf(const char* text) {
    const auto value = static_cast<uint32_t>(skins::parseSkinInteger(text));
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: %s <image> <out> [key $BBGGRR] [tolerance $BBGGRR]\n", argv[0]);
        return 2;
    }
    try {
        const QImage picture = skins::LoadSkinImage(argv[1]);
        const QColor key = argc > 3 ? colorOf(argv[3]) : QColor(Qt::white);
        const QColor tolerance = argc > 4 ? colorOf(argv[4]) : QColor(Qt::black);
        const QByteArray data = skins::writeRegionData(skins::CreateRegionFromMask(picture, key, tolerance));
        QFile out(QString::fromLocal8Bit(argv[2]));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(data) != data.size()) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
            return 1;
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
}
