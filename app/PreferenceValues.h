#pragma once

// The values the preferences dialog holds, as the decks and the play list
// take them.
struct PreferenceValues {
    bool autoPlay = true;
    bool autoCrossfade = true;
    bool flashingWarning = true;
    bool autoBpmMatch = false;
    int overlapSeconds = 10;
    int flashSeconds = 10;
    int priority = 4;
    int drag = 5;
    int nudge = 5;
    int pitchPercentA = 8;
    int pitchPercentB = 8;
    int soundCardA = 1;
    int soundCardB = 1;
};
