#include "DeckPainter.h"

#include "StripPainter.h"
#include "ThumbPainter.h"
#include "WindowArt.h"

#include <QPainter>

namespace skin_painter {

const QString DeckPainter::kDigitStrip = QStringLiteral("Digits.bmp");
const QString DeckPainter::kLetterStrip = QStringLiteral("Letters.bmp");
const QSize DeckPainter::kDigitCell(16, 24);
const QSize DeckPainter::kLetterCell(8, 12);

namespace {

// Where the engine's spectrum feedback window lies over a deck whose skin
// does not place it; the skin keeps a dark well under it.
const QRect kSpectrumStrip(24, 131, 251, 1);
// The seek region and the position gauge are the same rectangle; it matches
// the spectrum's width so both read as one instrument.
const QRect kPositionArea(24, 141, 251, 7);
// The standard deck places the spectrum display itself, tall enough to be
// read, between a shorter screen and a thinner position bar.
const QRect kSpectrumDisplayArea(24, 122, 251, 21);
const QRect kThinPositionArea(24, 149, 251, 4);
const int kStandardScreenHeight = 92;

const QString kPitchThumb = QStringLiteral("PitchThumb.bmp");
const QString kPitchThumbActive = QStringLiteral("PitchThumbActive.bmp");
const QSize kPitchThumbSize(26, 14);
const QString kPitchThumbHorizontal = QStringLiteral("PitchThumbH.bmp");
const QString kPitchThumbHorizontalActive = QStringLiteral("PitchThumbHActive.bmp");
const QSize kPitchThumbHorizontalSize(14, 22);

const QString kArial = QStringLiteral("Arial");

} // namespace

void addSharedImages(const SkinStyle& style, SkinFolder& folder) {
    const StripPainter strips(style.palette);
    folder.addImage(DeckPainter::kDigitStrip, strips.digitStrip(DeckPainter::kDigitCell));
    folder.addImage(DeckPainter::kLetterStrip, strips.letterStrip(DeckPainter::kLetterCell));
}

void DeckPainter::paint(SkinFolder& folder) const {
    const QSize size = m_style.compactDeck ? QSize(420, 190) : QSize(m_width, 234);
    WindowArt art(m_style, QStringLiteral("Deck") + m_deck, size, roundedOutline(size, 12));
    if (m_style.compactDeck)
        paintCompact(art);
    else
        paintStandard(art);

    const ThumbPainter thumbs(m_style.palette);
    if (m_style.compactDeck) {
        folder.addImage(kPitchThumbHorizontal, thumbs.cap(kPitchThumbHorizontalSize, Orientation::Horizontal, false));
        folder.addImage(kPitchThumbHorizontalActive,
                        thumbs.cap(kPitchThumbHorizontalSize, Orientation::Horizontal, true));
    } else {
        folder.addImage(kPitchThumb, thumbs.cap(kPitchThumbSize, Orientation::Vertical, false));
        folder.addImage(kPitchThumbActive, thumbs.cap(kPitchThumbSize, Orientation::Vertical, true));
    }
    addSharedImages(m_style, folder);
    art.finish(folder, QStringLiteral("Player") + m_deck + QStringLiteral(".ini"), kDigitStrip, kLetterStrip);
}

void DeckPainter::paintDisplay(WindowArt& art, const QRect& lcd) const {
    const Palette& palette = art.palette();
    art.faces().paintAll([&](QPainter& painter) { art.painter().lcdPanel(painter, lcd); });
    SkinDefinition& definition = art.definition();
    const int left = lcd.left() + 8;
    const int right = lcd.right();
    const int column = right - 124; // the right-hand column of small readouts

    definition.addStripDisplay(QStringLiteral("PlayerState"), DisplayKind::Text, {left, lcd.top() + 5},
                               QStringLiteral("CLOSED"));
    definition.addStripDisplay(QStringLiteral("KHZ"), DisplayKind::Text, {column, lcd.top() + 5},
                               QStringLiteral("00.0KHz"));
    definition.addStripDisplay(QStringLiteral("KBPS"), DisplayKind::Text, {column + 62, lcd.top() + 5},
                               QStringLiteral("000Kbps"));
    definition.addStripDisplay(QStringLiteral("ElapsedTime"), DisplayKind::Number, {left, lcd.top() + 21},
                               QStringLiteral("00:00:00"));
    definition.addFontDisplay(QStringLiteral("Elapsed"), kArial, true, 7, palette.lcdDim, {left + 1, lcd.top() + 48},
                              QStringLiteral("Elapsed"));
    definition.addFontDisplay(QStringLiteral("Remaining"), kArial, true, 7, palette.lcdDim, {column, lcd.top() + 20},
                              QStringLiteral("Remaining"));
    definition.addStripDisplay(QStringLiteral("RemainingTime"), DisplayKind::Text, {column, lcd.top() + 33},
                               QStringLiteral("00:00:00"));
    definition.addStripDisplay(QStringLiteral("BPM"), DisplayKind::Text, {column, lcd.top() + 50},
                               QStringLiteral("BPM 000.0"));
    definition.addFontDisplay(QStringLiteral("Artist"), kArial, true, 8, palette.label, {left, lcd.top() + 63},
                              QStringLiteral("Drovan"));
    definition.addFontDisplay(QStringLiteral("Title"), kArial, false, 8, palette.lcdDim, {left, lcd.top() + 78});

    // Hairlines that separate the readouts, painted on the glass.
    art.faces().paintAll([&](QPainter& painter) {
        QColor line = palette.lcdText;
        line.setAlpha(45);
        painter.fillRect(QRect(left, lcd.top() + 19, lcd.width() - 16, 1), line);
        painter.fillRect(QRect(left, lcd.top() + 62, lcd.width() - 16, 1), line);
        painter.fillRect(QRect(column - 8, lcd.top() + 22, 1, 37), line);
    });
}

void DeckPainter::paintSpectrumAndPosition(WindowArt& art, const QRect& spectrumWell, const QRect& position) const {
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        controls.recessedPanel(painter, spectrumWell, Qt::black, 2);
        controls.recessedPanel(painter, position.adjusted(-2, -2, 2, 2), Qt::black, 2);
    });
    art.bar(QStringLiteral("Position"), position);
}

void DeckPainter::paintStandard(WindowArt& art) const {
    const int width = art.size().width();
    const Palette& palette = art.palette();
    const bool deckA = m_deck == QLatin1Char('A');
    art.faces().paintAll([&](QPainter& painter) {
        art.painter().titleStrip(painter, QRect(1, 1, width - 2, 19), QStringLiteral("DECK ") + m_deck);
    });
    art.button(QStringLiteral("MiminizeButton"), QRect(width - 52, 4, 20, 13), QStringLiteral("Minimize"),
               glyphs::minimise());
    art.button(QStringLiteral("ExitButton"), QRect(width - 28, 4, 20, 13), QStringLiteral("Exit Drovan"),
               glyphs::close());

    const int lcdRight = width - 90;
    paintDisplay(art, QRect(12, 25, lcdRight - 12, kStandardScreenHeight));
    paintSpectrumAndPosition(art, kSpectrumDisplayArea.adjusted(-4, -3, 4, 3), kThinPositionArea);
    art.definition().addArea(QStringLiteral("SpectrumDisplay"), kSpectrumDisplayArea);

    // Transport.
    const int row = 156;
    art.button(QStringLiteral("RewindButton"), QRect(20, row, 40, 30), QStringLiteral("Rewind"), glyphs::rewind());
    art.button(QStringLiteral("PlayButton"), QRect(64, row, 56, 30), QStringLiteral("Play / Pause"),
               glyphs::playPause(), true);
    art.button(QStringLiteral("StopButton"), QRect(124, row, 40, 30), QStringLiteral("Stop"), glyphs::stop());
    art.button(QStringLiteral("ForwardButton"), QRect(168, row, 40, 30), QStringLiteral("Fast forward"),
               glyphs::forward());
    art.button(QStringLiteral("LoadButton"), QRect(216, row, 40, 30), QStringLiteral("Load a track"), glyphs::eject());

    // Window and helper buttons.
    const int small = 196;
    art.button(QStringLiteral("PLButton"), QRect(20, small, 34, 18), QStringLiteral("Show or hide the play list"),
               glyphs::text(QStringLiteral("PL"), 9));
    art.button(QStringLiteral("MXButton"), QRect(58, small, 34, 18), QStringLiteral("Show or hide the mixer"),
               glyphs::text(QStringLiteral("MIX"), 9));
    art.button(QStringLiteral("EQButton"), QRect(96, small, 34, 18), QStringLiteral("Show or hide the equalizer"),
               glyphs::text(QStringLiteral("EQ"), 9));
    art.button(QStringLiteral("BPMMatch"), QRect(136, small, 58, 18),
               QStringLiteral("Match the tempo of the other deck"), glyphs::text(QStringLiteral("BPM MATCH"), 9));
    art.button(QStringLiteral("InfoButton"), QRect(200, small, 42, 18),
               deckA ? QStringLiteral("About Drovan") : QStringLiteral("Preferences"),
               glyphs::text(deckA ? QStringLiteral("INFO") : QStringLiteral("PREFS"), 9));

    // The deck letter.
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        controls.caption(painter, QRectF(lcdRight - 30, 190, 36, 10), QStringLiteral("DECK"), 8, palette.labelDim);
        controls.caption(painter, QRectF(lcdRight - 30, 198, 36, 30), QString(m_deck), 28, palette.accent);
    });

    // Pitch section.
    const int section = width - 84;
    const QRect slider(section + 8, 50, kPitchThumbSize.width(), 154);
    const int travel = slider.height() - kPitchThumbSize.height();
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        controls.raisedPanel(painter, QRect(section, 25, 74, 200));
        controls.caption(painter, QRectF(section, 27, 74, 11), QStringLiteral("PITCH"), 9, palette.label);
        const double slotX = slider.left() + slider.width() / 2.0;
        controls.faderSlot(painter, QRectF(slotX - 2, slider.top() + 4, 4, slider.height() - 8));
        const double firstMark = slider.top() + kPitchThumbSize.height() / 2.0;
        controls.verticalScale(painter, slider.right() + 2, firstMark, firstMark + travel, 21, 5, 6, false);
        controls.verticalScale(painter, slider.left() - 1, firstMark, firstMark + travel, 21, 5, 4, true);
        controls.caption(painter, QRectF(section + 44, 70, 28, 14), QStringLiteral("BEND"), 7, palette.labelDim);
    });
    SkinDefinition& definition = art.definition();
    definition.addFontDisplay(QStringLiteral("PitchMinusPercent"), kArial, true, 7, palette.label, {section + 8, 38},
                              QStringLiteral("- 8"));
    definition.addFontDisplay(QStringLiteral("PitchPlusPercent"), kArial, true, 7, palette.label, {section + 8, 207},
                              QStringLiteral("+8"));
    definition.addTrackBar(QStringLiteral("PitchSlider"), kPitchThumb, kPitchThumbActive, slider.topLeft(),
                           slider.height(), Orientation::Vertical, 50,
                           QStringLiteral("Pitch: up is slower and down is faster"));
    const int buttons = section + 47;
    art.button(QStringLiteral("PitchUpButton"), QRect(buttons, 50, 22, 18), QStringLiteral("Pitch one step slower"),
               glyphs::triangleUp());
    art.button(QStringLiteral("MinusButton"), QRect(buttons, 86, 22, 18), QStringLiteral("Bend slower while held"),
               glyphs::minus());
    art.button(QStringLiteral("PitchResetButton"), QRect(buttons, 118, 22, 18),
               QStringLiteral("Reset the pitch to normal speed"), glyphs::text(QStringLiteral("0"), 10), true);
    art.button(QStringLiteral("PlusButton"), QRect(buttons, 150, 22, 18), QStringLiteral("Bend faster while held"),
               glyphs::plus());
    art.button(QStringLiteral("PitchDownButton"), QRect(buttons, 186, 22, 18), QStringLiteral("Pitch one step faster"),
               glyphs::triangleDown());
}

void DeckPainter::paintCompact(WindowArt& art) const {
    const int width = art.size().width();
    const Palette& palette = art.palette();
    art.faces().paintAll([&](QPainter& painter) {
        art.painter().titleStrip(painter, QRect(1, 1, width - 2, 19), QStringLiteral("DECK ") + m_deck);
    });
    art.button(QStringLiteral("MiminizeButton"), QRect(width - 52, 4, 20, 13), QStringLiteral("Minimize"),
               glyphs::minimise());
    art.button(QStringLiteral("ExitButton"), QRect(width - 28, 4, 20, 13), QStringLiteral("Exit Drovan"),
               glyphs::close());
    paintDisplay(art, QRect(12, 25, 274, 98));
    paintSpectrumAndPosition(art, kSpectrumStrip.adjusted(-4, -4, 4, 5), kPositionArea);

    const auto cell = [](int column, int row, int height) { return QRect(296 + column * 40, row, 36, height); };
    art.button(QStringLiteral("RewindButton"), cell(0, 26, 26), QStringLiteral("Rewind"), glyphs::rewind());
    art.button(QStringLiteral("PlayButton"), cell(1, 26, 26), QStringLiteral("Play / Pause"), glyphs::playPause(),
               true);
    art.button(QStringLiteral("ForwardButton"), cell(2, 26, 26), QStringLiteral("Fast forward"), glyphs::forward());
    art.button(QStringLiteral("StopButton"), cell(0, 56, 26), QStringLiteral("Stop"), glyphs::stop());
    art.button(QStringLiteral("LoadButton"), cell(1, 56, 26), QStringLiteral("Load a track"), glyphs::eject());
    art.button(QStringLiteral("BPMMatch"), cell(2, 56, 26), QStringLiteral("Match the tempo of the other deck"),
               glyphs::text(QStringLiteral("SYNC"), 9));
    art.button(QStringLiteral("PLButton"), cell(0, 86, 18), QStringLiteral("Show or hide the play list"),
               glyphs::text(QStringLiteral("PL"), 9));
    art.button(QStringLiteral("MXButton"), cell(1, 86, 18), QStringLiteral("Show or hide the mixer"),
               glyphs::text(QStringLiteral("MIX"), 9));
    art.button(QStringLiteral("EQButton"), cell(2, 86, 18), QStringLiteral("Show or hide the equalizer"),
               glyphs::text(QStringLiteral("EQ"), 9));
    art.button(QStringLiteral("InfoButton"), cell(0, 108, 18), QStringLiteral("About Drovan"),
               glyphs::text(QStringLiteral("INFO"), 9));
    art.button(QStringLiteral("MinusButton"), cell(1, 108, 18), QStringLiteral("Bend slower while held"),
               glyphs::minus());
    art.button(QStringLiteral("PlusButton"), cell(2, 108, 18), QStringLiteral("Bend faster while held"),
               glyphs::plus());

    const QRect slider(20, 154, 250, kPitchThumbHorizontalSize.height());
    const int travel = slider.width() - kPitchThumbHorizontalSize.width();
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        const double slotY = slider.top() + slider.height() / 2.0;
        controls.faderSlot(painter, QRectF(slider.left() + 4, slotY - 2, slider.width() - 8, 4));
        const double firstMark = slider.left() + kPitchThumbHorizontalSize.width() / 2.0;
        controls.horizontalScale(painter, slider.bottom() + 2, firstMark, firstMark + travel, 21, 5, 5);
        controls.caption(painter, QRectF(296, 132, 116, 14), QStringLiteral("PITCH"), 9, palette.label);
    });
    SkinDefinition& definition = art.definition();
    definition.addFontDisplay(QStringLiteral("PitchMinusPercent"), kArial, true, 7, palette.label, {16, 177},
                              QStringLiteral("- 8"));
    definition.addFontDisplay(QStringLiteral("PitchPlusPercent"), kArial, true, 7, palette.label, {252, 177},
                              QStringLiteral("+8"));
    definition.addTrackBar(QStringLiteral("PitchSlider"), kPitchThumbHorizontal, kPitchThumbHorizontalActive,
                           slider.topLeft(), slider.width(), Orientation::Horizontal, 50,
                           QStringLiteral("Pitch: left is slower and right is faster"));
    art.button(QStringLiteral("PitchUpButton"), QRect(296, 152, 36, 22), QStringLiteral("Pitch one step slower"),
               glyphs::triangleLeft());
    art.button(QStringLiteral("PitchResetButton"), QRect(336, 152, 36, 22),
               QStringLiteral("Reset the pitch to normal speed"), glyphs::text(QStringLiteral("0"), 10), true);
    art.button(QStringLiteral("PitchDownButton"), QRect(376, 152, 36, 22), QStringLiteral("Pitch one step faster"),
               glyphs::triangleRight());
}

} // namespace skin_painter
