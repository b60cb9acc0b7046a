#include "EqualizerPainter.h"

#include "ThumbPainter.h"
#include "WindowArt.h"

#include "mixer/EqualizerBands.h"

#include <QPainter>

#include <cmath>

namespace skin_painter {

namespace {

const QString kBandThumb = QStringLiteral("BandThumb.bmp");
const QString kBandThumbActive = QStringLiteral("BandThumbActive.bmp");
const QSize kBandThumbSize(14, 9);

// Each slider drives one or more of the engine's equal-width bands, so its
// caption and hint name what it covers in a stream at 44.1 kHz, the rate of
// nearly all music files.
constexpr double kCaptionSampleRateHz = 44100;

// The band's centre in kHz, short enough to stand under a slider: "0.3",
// "1.7", "11"; the unit stands once at the start of the row.
QString bandCaption(int band) {
    const mixer::BandFrequencies span = mixer::sliderFrequencies(band, kCaptionSampleRateHz);
    const double kiloHertz = (span.lowHz + span.highHz) / 2 / 1000;
    if (kiloHertz >= 10)
        return QString::number(std::lround(kiloHertz));
    return QString::number(kiloHertz, 'f', 1);
}

QString bandHint(QChar deck, int band) {
    const mixer::BandFrequencies span = mixer::sliderFrequencies(band, kCaptionSampleRateHz);
    return QStringLiteral("Deck %1 band %2 - %3 Hz")
        .arg(deck)
        .arg(std::lround(span.lowHz))
        .arg(std::lround(span.highHz));
}

void paintBank(WindowArt& art, QChar deck, int left) {
    const Palette& palette = art.palette();
    const int top = 50;
    const int length = 104;
    const int travel = length - kBandThumbSize.height();
    const int firstSlider = left + 30;
    const int pitch = 17;
    const double firstMark = top + kBandThumbSize.height() / 2.0;
    art.faces().paintAll([&](QPainter& painter) {
        const ControlPainter& controls = art.painter();
        controls.raisedPanel(painter, QRect(left, 24, 204, 152));
        controls.caption(painter, QRectF(left + 8, 27, 70, 16), QStringLiteral("DECK ") + deck, 11, palette.accent,
                         Qt::AlignLeft | Qt::AlignVCenter);
        // Guide lines at full boost, flat and full cut, behind the sliders.
        for (int step = 0; step <= 4; ++step) {
            const double y = std::round(firstMark + travel * step / 4.0) + 0.5;
            QColor line = step == 2 ? palette.accent : palette.labelDim;
            line.setAlpha(step == 2 ? 150 : 70);
            painter.setPen(QPen(line, 1));
            painter.drawLine(QPointF(left + 24, y), QPointF(left + 198, y));
        }
        controls.caption(painter, QRectF(left + 4, firstMark - 6, 20, 12), QStringLiteral("+"), 11, palette.label);
        controls.caption(painter, QRectF(left + 4, firstMark + travel / 2.0 - 6, 20, 12), QStringLiteral("0"), 9,
                         palette.label);
        controls.caption(painter, QRectF(left + 4, firstMark + travel - 6, 20, 12), QStringLiteral("\u2212"), 11,
                         palette.label);
        controls.caption(painter, QRectF(left + 2, top + length + 2, 24, 10), QStringLiteral("kHz"), 8,
                         palette.labelDim);
        for (int band = 0; band < 10; ++band) {
            const int x = firstSlider + band * pitch;
            controls.faderSlot(painter, QRectF(x + kBandThumbSize.width() / 2.0 - 1.5, top + 2, 3, length - 4));
            controls.caption(painter, QRectF(x - 3, top + length + 2, kBandThumbSize.width() + 6, 10),
                             bandCaption(band), 8, palette.labelDim);
        }
    });
    for (int band = 0; band < 10; ++band) {
        art.definition().addTrackBar(QString(deck) + QString::number(band + 1), kBandThumb, kBandThumbActive,
                                     {firstSlider + band * pitch, top}, length, Orientation::Vertical, 50,
                                     bandHint(deck, band));
    }
    art.ledSwitch(QStringLiteral("Enable") + deck + QStringLiteral("Button"), QRect(left + 96, 27, 48, 17),
                  QStringLiteral("Switch the equalizer of deck ") + deck + QStringLiteral(" on or off"),
                  QStringLiteral("ON"));
    art.button(QStringLiteral("Reset") + deck + QStringLiteral("Button"), QRect(left + 148, 27, 50, 17),
               QStringLiteral("Set every band of deck ") + deck + QStringLiteral(" flat"),
               glyphs::text(QStringLiteral("FLAT"), 9));
}

} // namespace

void EqualizerPainter::paint(SkinFolder& folder) const {
    const QSize size(429, 182);
    WindowArt art(m_style, QStringLiteral("EQ"), size, roundedOutline(size, 12));
    art.faces().paintAll([&](QPainter& painter) {
        art.painter().titleStrip(painter, QRect(1, 1, size.width() - 2, 19), QStringLiteral("EQUALIZER"));
    });
    art.button(QStringLiteral("LoadButton"), QRect(size.width() - 100, 4, 42, 13),
               QStringLiteral("Load a preset into both decks"), glyphs::text(QStringLiteral("LOAD"), 8));
    art.button(QStringLiteral("SaveButton"), QRect(size.width() - 54, 4, 42, 13),
               QStringLiteral("Save deck A's bands as a preset"), glyphs::text(QStringLiteral("SAVE"), 8));
    paintBank(art, QLatin1Char('A'), 8);
    paintBank(art, QLatin1Char('B'), 217);

    const ThumbPainter thumbs(m_style.palette);
    folder.addImage(kBandThumb, thumbs.cap(kBandThumbSize, Orientation::Vertical, false));
    folder.addImage(kBandThumbActive, thumbs.cap(kBandThumbSize, Orientation::Vertical, true));
    art.finish(folder, QStringLiteral("EQ.ini"));
}

} // namespace skin_painter
