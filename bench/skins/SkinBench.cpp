// Times the skin engine on the default deck skin: a whole skin load (images
// decoded, region built, face composed), one face composition with a
// display text change, and the window region of the deck's mask.
//   skins_bench [definition file]   (default: the application's PlayerA.ini)
#include "skins/RegionFromMask.h"
#include "skins/SkinFolders.h"
#include "skins/SkinModel.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <exception>

namespace {

template <typename Action> double microsecondsPerRun(int runs, Action action) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        action(i);
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / runs;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string path = argc > 1 ? argv[1] : skins::defaultSkinFolder() + skins::skin_files::kPlayerA;
    try {
        skins::SkinModel model;
        const double load = microsecondsPerRun(20, [&](int) {
            model.LoadSkin(path,
                           [](const QImage& mask) { (void)skins::CreateRegionFromMask(mask, Qt::white, Qt::black); });
        });
        const QString display = model.displays().empty() ? QString() : model.displays().front().Name;
        const double compose = microsecondsPerRun(2000, [&](int i) {
            model.SetDisplayText(display, QStringLiteral("%1:%2:00")
                                              .arg(i / 60 % 100, 2, 10, QLatin1Char('0'))
                                              .arg(i % 60, 2, 10, QLatin1Char('0')));
        });
        const QImage mask = model.images().Mask;
        size_t rectangles = 0;
        const double region = microsecondsPerRun(200, [&](int) {
            rectangles = static_cast<size_t>(skins::CreateRegionFromMask(mask, Qt::white, Qt::black)->rectCount());
        });
        std::printf("skin %s (%dx%d, %zu hot areas, %zu displays)\n", path.c_str(), mask.width(), mask.height(),
                    model.hotAreas().size(), model.displays().size());
        std::printf("LoadSkin:                 %9.1f us\n", load);
        std::printf("SetDisplayText + compose: %9.1f us\n", compose);
        std::printf("CreateRegionFromMask:     %9.1f us (%zu rectangles)\n", region, rectangles);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
