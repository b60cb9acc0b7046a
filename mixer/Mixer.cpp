#include "Mixer.h"

TMixer::TMixer() : platform::PlacedWindow("TMixer", QSize(385, 190)) {
    setWindowTitle(QStringLiteral("Mixer"));
    bindPlacementStore();
    move(404, 310);
}
