// A whole skin load from a definition in memory; every image it names is a
// small stand-in picture, so the work is in the definition alone.
#include "FuzzTarget.h"

#include "platform/IniFile.h"
#include "skins/SkinError.h"
#include "skins/SkinModel.h"

#include <QGuiApplication>

#include <string>

namespace {

// Texts in a system font need a font database, as in the application.
void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "fuzz_skin_definition";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(argc, argv);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureGuiApplication();
    const platform::IniDocument document(std::string(reinterpret_cast<const char*>(data), size));
    auto standIn = [](const std::string& name) {
        // The name picks the size, so that images of different sizes meet.
        const int side = 4 + static_cast<int>(std::hash<std::string>()(name) % 29);
        QImage image(side, side + 3, QImage::Format_RGB32);
        image.fill(qRgb(static_cast<int>(name.size() * 40 % 256), 90, 200));
        return image;
    };
    skins::SkinModel model;
    try {
        model.LoadSkinDocument(document, standIn);
        model.mousePress(Qt::LeftButton, 3, 3);
        model.mouseMove(9, 4);
        model.mouseRelease(9, 4);
        model.SetDisplayText(QStringLiteral("Title"), QStringLiteral("12:34 abc"));
    } catch (const skins::ESkinError&) {
    }
    return 0;
}
