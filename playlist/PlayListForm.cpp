#include "PlayListForm.h"

TPlayListForm::TPlayListForm() : platform::PlacedWindow("TPlayListForm", QSize(387, 306)) {
    setWindowTitle(QStringLiteral("Play List"));
    bindPlacementStore();
    move(19, 310);
}
