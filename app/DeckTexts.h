#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>

// Texts a deck shows or shares with the other windows. Plain logic, any
// thread.
namespace app {

// The deck state texts; the other deck and the play list compare them.
namespace deck_states {
inline constexpr const char* kClosed = "CLOSED";
inline constexpr const char* kLoaded = "LOADED";
inline constexpr const char* kPlaying = "PLAYING";
inline constexpr const char* kPaused = "PAUSED";
inline constexpr const char* kStopped = "STOPPED";
} // namespace deck_states

// The sample rate in kHz with one decimal, truncated: 44100 gives "44.1".
QString sampleRateText(uint32_t frequencyHz);
QString bitRateText(int bitRateKbps);

// A tag field with every byte outside 32..126 removed, as shown on the deck.
QString printableTagText(const std::string& field);
// The deck's title line: title, " - ", album (both cleaned).
QString deckTitleText(const std::string& title, const std::string& album);

// The text of a refused engine command: "Command Failed [" + command + "] ("
// + the engine's text + ")", where command 27 is named
// "OutputModuleRegister" and any other by its number.
QString commandFailedText(int command, const QString& engineText);

} // namespace app
