#pragma once

#include "SkinFolder.h"
#include "SkinStyle.h"

#include <QChar>
#include <QString>

namespace skin_painter {

class WindowArt;

// The deck windows: display, position gauge, transport and pitch section.
class DeckPainter {
public:
    // Glyph strips shared by every window that shows times or tempo texts.
    static const QString kDigitStrip;
    static const QString kLetterStrip;
    static const QSize kDigitCell;
    static const QSize kLetterCell;

    DeckPainter(const SkinStyle& style, QChar deck, int widthPixels)
        : m_style(style), m_deck(deck), m_width(widthPixels) {}

    // Paints the deck and adds its files ("PlayerA.ini" or "PlayerB.ini").
    void paint(SkinFolder& folder) const;

private:
    void paintStandard(WindowArt& art) const;
    void paintCompact(WindowArt& art) const;
    void paintDisplay(WindowArt& art, const QRect& lcd) const;
    void paintSpectrumAndPosition(WindowArt& art, const QRect& spectrumWell, const QRect& position) const;

    SkinStyle m_style;
    QChar m_deck;
    int m_width;
};

// Adds the glyph strips and fader caps every window shares to the folder.
void addSharedImages(const SkinStyle& style, SkinFolder& folder);

} // namespace skin_painter
