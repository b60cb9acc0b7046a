#pragma once

class WindowSet;

// Lets the mixer's deck meters follow the music: every frame the spectrum
// display of a deck accepts (the audio that deck outputs, after its volume)
// sets that deck's pair of meters. GUI thread only.
void connectDeckMeters(WindowSet& windows);
void disconnectDeckMeters();
