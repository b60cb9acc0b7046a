#pragma once

#include <QString>

// The values the preferences dialog hands to a deck, as the deck keeps them.
// Plain logic, any thread.
namespace app {

// "00:" + two-digit seconds + ":00": the remaining time at which the warning
// flash starts.
QString flashThresholdText(int flashSeconds);
// "00:" + two-digit overlap + ":02": the remaining time at which the other
// deck is started.
QString startOtherThresholdText(int overlapSeconds);
// "00:" + (overlap + 10) + ":00": the remaining time at which the other deck
// is asked to load. Overlaps of 50 s and more give "00:60:00" and beyond,
// which every remaining time under a minute is below.
QString loadNextThresholdText(int overlapSeconds);

// The engine's output name of a "Sound Card" number (counted from 1):
// "/dev/dsound/" + (card - 1). Numbers below 1 name the first device.
QString outputNameForSoundCard(int soundCard);

// The pitch range labels of a "Pitch Percent" value.
QString pitchPlusPercentText(int percent);
QString pitchMinusPercentText(int percent);

} // namespace app
