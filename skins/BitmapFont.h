#pragma once

#include <QChar>

namespace skins {

// Glyph cells of the two bitmap-font strips of a skin.
//
// Digit strip: one row of 12 cells for "0123456789: "; a character not in
// the strip is drawn with cell 0 (the digit zero).
inline constexpr int kDigitCells = 12;
int digitCell(QChar character);

// Letter strip: three rows of 30 cells. Row 0 holds A-Z, then @ " ? *;
// row 1 "0123456789 .:<>-'!_+\/[]^&%,=$"; row 2 a-z. A character in none
// of them is drawn with row 1, cell 10 (the blank).
inline constexpr int kLetterCells = 30;
inline constexpr int kLetterRows = 3;
struct LetterCell {
    int row;
    int cell;
    bool operator==(const LetterCell&) const = default;
};
LetterCell letterCell(QChar character);

} // namespace skins
