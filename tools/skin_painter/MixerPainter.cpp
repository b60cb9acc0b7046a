#include "MixerPainter.h"

#include "DeckPainter.h"
#include "ThumbPainter.h"
#include "WindowArt.h"

#include <QPainter>

namespace skin_painter {

namespace {

const QString kChannelThumb = QStringLiteral("FaderThumb.bmp");
const QString kChannelThumbActive = QStringLiteral("FaderThumbActive.bmp");
const QSize kChannelThumbSize(30, 16);
const QString kCrossThumb = QStringLiteral("CrossThumb.bmp");
const QString kCrossThumbActive = QStringLiteral("CrossThumbActive.bmp");
const QSize kCrossThumbSize(16, 22);

// One channel strip: gain readout, fader, scale and the deck's two meters.
struct ChannelStrip {
    QChar deck;
    int panelLeft;
    int faderLeft;
    int scaleX;
    bool scaleTowardLeft;
    int meterLeft;
};

void paintChannel(WindowArt& art, const ChannelStrip& strip) {
    const Palette& palette = art.palette();
    const QRect fader(strip.faderLeft, 52, kChannelThumbSize.width(), 126);
    const int travel = fader.height() - kChannelThumbSize.height();
    // The gain readout sits above its fader.
    const QRect gain(strip.faderLeft - 2, 29, 34, 17);
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        controls.raisedPanel(painter, QRect(strip.panelLeft, 24, 92, 160));
        controls.lcdPanel(painter, gain);
        controls.caption(painter, QRectF(strip.meterLeft - 4, 25, 28, 19), QString(strip.deck), 18, palette.accent);
        const double slotX = fader.left() + fader.width() / 2.0;
        controls.faderSlot(painter, QRectF(slotX - 2, fader.top() + 4, 4, fader.height() - 8));
        const double firstMark = fader.top() + kChannelThumbSize.height() / 2.0;
        controls.verticalScale(painter, strip.scaleX, firstMark, firstMark + travel, 11, 5, 5, strip.scaleTowardLeft);
        controls.caption(painter, QRectF(strip.meterLeft - 2, 43, 12, 9), QStringLiteral("L"), 8, palette.labelDim);
        controls.caption(painter, QRectF(strip.meterLeft + 10, 43, 12, 9), QStringLiteral("R"), 8, palette.labelDim);
    });
    art.definition().addStripDisplay(QStringLiteral("Gain") + strip.deck, DisplayKind::Text,
                                     {gain.left() + 5, gain.top() + 3}, QStringLiteral("80"));
    art.definition().addTrackBar(QStringLiteral("PitchSlider") + strip.deck, kChannelThumb, kChannelThumbActive,
                                 fader.topLeft(), fader.height(), Orientation::Vertical, 20,
                                 QStringLiteral("Channel fader of deck ") + strip.deck);
    art.meter(QStringLiteral("Left") + strip.deck, QRect(strip.meterLeft, 53, 8, 124), Orientation::Vertical);
    art.meter(QStringLiteral("Right") + strip.deck, QRect(strip.meterLeft + 12, 53, 8, 124), Orientation::Vertical);
}

} // namespace

void MixerPainter::paint(SkinFolder& folder) const {
    const QSize size(385, 190);
    WindowArt art(m_style, QStringLiteral("Mixer"), size, roundedOutline(size, 12));
    const Palette& palette = art.palette();
    art.faces().paintAll([&](QPainter& painter) {
        art.painter().titleStrip(painter, QRect(1, 1, size.width() - 2, 19), QStringLiteral("MIXER"));
    });

    paintChannel(art, {QLatin1Char('A'), 8, 16, 49, false, 60});
    paintChannel(art, {QLatin1Char('B'), 285, 339, 335, true, 303});

    // Transitions: one row per curve, the button toward A on the left and
    // toward B on the right of the curve's name.
    struct Row {
        const char* curve;
        const char* caption;
        const char* hint;
    };
    const Row rows[] = {
        {"Linear", "LINEAR", "linear fade"},
        {"Equal", "EQUAL", "fade that holds both decks up before the outgoing one falls"},
        {"SlowSlow", "SLOW-SLOW", "fade out first and then fade in"},
        {"FastSlow", "FAST-SLOW", "fade with the outgoing deck falling fast"},
        {"SlowFast", "SLOW-FAST", "fade with the incoming deck rising fast"},
        {"HardCut", "HARD CUT", "cut at once"},
        {"Flash", "FLASH", "flash while held"},
    };
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        controls.recessedPanel(painter, QRect(104, 24, 177, 133), palette.panel, 4);
        controls.caption(painter, QRectF(106, 26, 52, 10), QStringLiteral("TO A"), 8, palette.labelDim);
        controls.caption(painter, QRectF(228, 26, 52, 10), QStringLiteral("TO B"), 8, palette.labelDim);
        controls.caption(painter, QRectF(160, 26, 66, 10), QStringLiteral("AUTO"), 8, palette.labelDim);
    });
    int y = 38;
    for (const Row& row : rows) {
        const QString curve = QString::fromLatin1(row.curve);
        const QString hint = QString::fromLatin1(row.hint);
        art.button(curve + QStringLiteral("ToA"), QRect(108, y, 50, 14), QStringLiteral("Deck A: ") + hint,
                   glyphs::withCaption(glyphs::triangleLeft(), QStringLiteral("A"), 9));
        art.button(curve + QStringLiteral("ToB"), QRect(228, y, 50, 14), QStringLiteral("Deck B: ") + hint,
                   glyphs::withCaption(glyphs::triangleRight(), QStringLiteral("B"), 9, false));
        art.faces().paintAll([&](QPainter& painter) {
            art.painter().caption(painter, QRectF(158, y, 70, 14), QString::fromLatin1(row.caption), 9, palette.label);
        });
        y += 17;
    }

    // "Left" and "Right": a master pair the mixer ranges but never fills.
    art.faces().paintAll([&](QPainter& painter) {
        art.painter().caption(painter, QRectF(110, 156, 20, 10), QStringLiteral("MST"), 7, palette.labelDim);
    });
    art.meter(QStringLiteral("Left"), QRect(134, 159, 116, 2), Orientation::Horizontal);
    art.meter(QStringLiteral("Right"), QRect(134, 162, 116, 2), Orientation::Horizontal);

    const QRect cross(110, 166, 166, kCrossThumbSize.height());
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        const double slotY = cross.top() + cross.height() / 2.0;
        controls.faderSlot(painter, QRectF(cross.left() + 4, slotY - 2, cross.width() - 8, 4));
        controls.caption(painter, QRectF(96, cross.top() + 4, 14, 14), QStringLiteral("A"), 10, palette.accent);
        controls.caption(painter, QRectF(276, cross.top() + 4, 14, 14), QStringLiteral("B"), 10, palette.accent);
    });
    art.definition().addTrackBar(QStringLiteral("PitchSliderF"), kCrossThumb, kCrossThumbActive, cross.topLeft(),
                                 cross.width(), Orientation::Horizontal, 50, QStringLiteral("Crossfader"));

    const ThumbPainter thumbs(palette);
    folder.addImage(kChannelThumb, thumbs.cap(kChannelThumbSize, Orientation::Vertical, false));
    folder.addImage(kChannelThumbActive, thumbs.cap(kChannelThumbSize, Orientation::Vertical, true));
    folder.addImage(kCrossThumb, thumbs.cap(kCrossThumbSize, Orientation::Horizontal, false));
    folder.addImage(kCrossThumbActive, thumbs.cap(kCrossThumbSize, Orientation::Horizontal, true));
    addSharedImages(m_style, folder);
    art.finish(folder, QStringLiteral("Mixer.ini"), {}, DeckPainter::kLetterStrip);
}

} // namespace skin_painter
