#include "PlayListPainter.h"

#include "WindowArt.h"

#include <QPainter>

namespace skin_painter {

QString PlayListPainter::listColour(const QColor& colour) {
    return QStringLiteral("$%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

void PlayListPainter::paint(SkinFolder& folder) const {
    const QSize size(387, 306);
    WindowArt art(m_style, QStringLiteral("PlayList"), size, roundedOutline(size, 12));
    const Palette& palette = art.palette();
    art.faces().paintAll([&](QPainter& painter) {
        art.painter().titleStrip(painter, QRect(1, 1, size.width() - 2, 19), QStringLiteral("LIBRARY"));
    });

    // "PLWLLabel" is a gauge the window fills to 100 while the wait list is
    // shown: the pressed face holds the "WAIT LIST" plate, the normal face
    // the "PLAY LIST" plate.
    const QRect label(size.width() - 104, 4, 92, 13);
    art.faces().paint([&](QPainter& painter, FaceState state) {
        const ControlPainter& controls = art.painter();
        const bool waitList = state == FaceState::Pressed;
        controls.recessedPanel(painter, label, waitList ? palette.accent.darker(260) : palette.lcd, 3);
        controls.caption(painter, QRectF(label).adjusted(0, 0, 0, -1),
                         waitList ? QStringLiteral("WAIT LIST") : QStringLiteral("PLAY LIST"), 9,
                         waitList ? palette.accent.lighter(130) : palette.lcdDim);
    });
    art.definition().addGauge(QStringLiteral("PLWLLabel"), label, Orientation::Horizontal);

    // Sort headers line up with the list's visible columns (40, 150, 150).
    const int listLeft = 12;
    const int header = 24;
    art.button(QStringLiteral("BPMSort"), QRect(listLeft, header, 40, 14), QStringLiteral("Sort by tempo"),
               glyphs::text(QStringLiteral("BPM"), 9));
    art.button(QStringLiteral("ArtistSort"), QRect(listLeft + 40, header, 150, 14), QStringLiteral("Sort by artist"),
               glyphs::text(QStringLiteral("ARTIST"), 9));
    art.button(QStringLiteral("TitleSort"), QRect(listLeft + 190, header, 150, 14), QStringLiteral("Sort by title"),
               glyphs::text(QStringLiteral("TITLE"), 9));

    const QRect well(10, 40, 367, 226);
    const QRect list = well.adjusted(2, 2, -2, -2);
    art.faces().paintAll([&](QPainter& painter) { art.painter().recessedPanel(painter, well, palette.panel, 3); });
    const QString geometry = QStringLiteral("%1, %2, %3, %4, %5, Arial, %6, 8")
                                 .arg(list.left())
                                 .arg(list.top())
                                 .arg(list.width())
                                 .arg(list.height())
                                 .arg(listColour(palette.panel), listColour(palette.label));
    art.definition().addSection(QStringLiteral("PLAYLISTINFO"),
                                {{QStringLiteral("PlayList"), geometry}, {QStringLiteral("WaitList"), geometry}});

    struct Button {
        const char* name;
        int width;
        const char* hint;
        Glyph glyph;
    };
    const Button buttons[] = {
        {"PlayListPlusButton", 38, "Add tracks", glyphs::withCaption(glyphs::plus(), QStringLiteral("ADD"), 9)},
        {"ListMinusButton", 38, "Remove the selected tracks",
         glyphs::withCaption(glyphs::minus(), QStringLiteral("DEL"), 9)},
        {"WaitListPlusButton", 42, "Queue the selected tracks in the wait list",
         glyphs::withCaption(glyphs::triangleRight(), QStringLiteral("WL"), 9)},
        {"WLPLButton", 46, "Switch between play list and wait list", glyphs::text(QStringLiteral("PL / WL"), 9)},
        {"UpButton", 24, "Move the selected wait list track up", glyphs::triangleUp()},
        {"DownButton", 24, "Move the selected wait list track down", glyphs::triangleDown()},
        {"BPMButton", 38, "Measure the tempo of the tracks not yet measured", glyphs::text(QStringLiteral("BPM"), 9)},
        {"LoadPlayListButton", 40, "Open a play list file", glyphs::text(QStringLiteral("OPEN"), 9)},
        {"SavePlayListButton", 40, "Save the play list", glyphs::text(QStringLiteral("SAVE"), 9)},
    };
    int x = listLeft;
    for (const Button& button : buttons) {
        art.button(QString::fromLatin1(button.name), QRect(x, 273, button.width, 22), QString::fromLatin1(button.hint),
                   button.glyph);
        x += button.width + 4;
    }
    art.finish(folder, QStringLiteral("PlayList.ini"));
}

} // namespace skin_painter
