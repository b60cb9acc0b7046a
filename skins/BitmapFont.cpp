#include "BitmapFont.h"

#include <QString>

namespace skins {
namespace {

const QString& digitRow() {
    static const QString row = QStringLiteral("0123456789: ");
    return row;
}

const QString& letterRow(int index) {
    static const QString rows[kLetterRows] = {
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ@\"?*"),
        QStringLiteral("0123456789 .:<>-'!_+\\/[]^&%,=$"),
        QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
    };
    return rows[index];
}

constexpr LetterCell kBlankCell{1, 10};

} // namespace

int digitCell(QChar character) {
    const auto index = digitRow().indexOf(character);
    return index < 0 ? 0 : static_cast<int>(index);
}

LetterCell letterCell(QChar character) {
    for (int row = 0; row < kLetterRows; ++row) {
        const auto index = letterRow(row).indexOf(character);
        if (index >= 0)
            return {row, static_cast<int>(index)};
    }
    return kBlankCell;
}

} // namespace skins
