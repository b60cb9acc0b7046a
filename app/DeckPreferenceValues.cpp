#include "DeckPreferenceValues.h"

#include <algorithm>

namespace app {

QString flashThresholdText(int flashSeconds) {
    return QString::asprintf("00:%.2d:00", flashSeconds);
}

QString startOtherThresholdText(int overlapSeconds) {
    return QString::asprintf("00:%.2d:02", overlapSeconds);
}

QString loadNextThresholdText(int overlapSeconds) {
    return QStringLiteral("00:") + QString::number(overlapSeconds + 10) + QStringLiteral(":00");
}

QString outputNameForSoundCard(int soundCard) {
    return QStringLiteral("/dev/dsound/") + QString::number(std::max(soundCard, 1) - 1);
}

QString pitchPlusPercentText(int percent) {
    return QStringLiteral("+") + QString::number(percent);
}

QString pitchMinusPercentText(int percent) {
    return QStringLiteral("- ") + QString::number(percent);
}

} // namespace app
