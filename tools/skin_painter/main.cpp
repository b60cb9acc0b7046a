// Paints a Drovan skin: the images of every window and the six definition
// files, written into one folder.

#include "AboutPainter.h"
#include "DeckPainter.h"
#include "EqualizerPainter.h"
#include "MixerPainter.h"
#include "PlayListPainter.h"
#include "PreviewComposer.h"
#include "SkinFolder.h"
#include "SkinStyle.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <exception>

using namespace skin_painter;

namespace {

// Writes PNG copies of the images for looking at them.
void writePreview(const QString& skinFolder, const QString& previewFolder) {
    QDir().mkpath(previewFolder);
    const QDir source(skinFolder);
    for (const QString& name :
         source.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.gif")}, QDir::Files)) {
        QImage image(source.filePath(name));
        image.save(QDir(previewFolder).filePath(name.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".png")));
    }
    for (const QString& name : source.entryList({QStringLiteral("*.ini")}, QDir::Files)) {
        const QString base = QDir(previewFolder).filePath(name.section(QLatin1Char('.'), 0, 0));
        composePreview(skinFolder, name, false).save(base + QStringLiteral("-composed.png"));
        composePreview(skinFolder, name, true).save(base + QStringLiteral("-lit.png"));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // Painting needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Paints the images and definition files of a Drovan skin."));
    parser.addHelpOption();
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Folder to write the skin into."),
                                    QStringLiteral("folder"));
    const QCommandLineOption accent(QStringLiteral("accent"), QStringLiteral("Accent colour, e.g. #22c8ff."),
                                    QStringLiteral("colour"));
    const QCommandLineOption light(QStringLiteral("light"), QStringLiteral("Use the light palette."));
    const QCommandLineOption compact(QStringLiteral("compact"),
                                     QStringLiteral("Use the compact deck layout (horizontal pitch slider)."));
    const QCommandLineOption alternative(
        QStringLiteral("alternative"),
        QStringLiteral("The test skin: light, compact, JPEG faces, GIF masks, and no PlayerB.ini or About.ini."));
    const QCommandLineOption preview(QStringLiteral("preview"), QStringLiteral("Also write PNG copies here."),
                                     QStringLiteral("folder"));
    parser.addOptions({output, accent, light, compact, alternative, preview});
    parser.process(application);
    if (!parser.isSet(output)) {
        std::fprintf(stderr, "skin_painter: --output is required\n");
        return 2;
    }

    const bool isAlternative = parser.isSet(alternative);
    QColor accentColour = isAlternative ? QColor(0xd9, 0x48, 0x0f) : QColor(0x22, 0xc8, 0xff);
    if (parser.isSet(accent)) {
        accentColour = QColor(parser.value(accent));
        if (!accentColour.isValid()) {
            std::fprintf(stderr, "skin_painter: not a colour: %s\n", qPrintable(parser.value(accent)));
            return 2;
        }
    }
    SkinStyle style;
    style.palette = isAlternative || parser.isSet(light) ? Palette::light(accentColour) : Palette::dark(accentColour);
    style.compactDeck = isAlternative || parser.isSet(compact);
    if (isAlternative) {
        style.faceType = QStringLiteral("jpg");
        style.maskType = QStringLiteral("gif");
        style.skinName = QStringLiteral("Alternative");
    }

    try {
        SkinFolder folder(parser.value(output));
        DeckPainter(style, QLatin1Char('A'), 380).paint(folder);
        if (!isAlternative)
            DeckPainter(style, QLatin1Char('B'), 370).paint(folder);
        MixerPainter(style).paint(folder);
        PlayListPainter(style).paint(folder);
        EqualizerPainter(style).paint(folder);
        if (!isAlternative)
            AboutPainter(style).paint(folder);
        folder.write();
        if (parser.isSet(preview))
            writePreview(parser.value(output), parser.value(preview));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skin_painter: %s\n", error.what());
        return 1;
    }
    return 0;
}
