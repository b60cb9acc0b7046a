#pragma once

// The names a deck's skin elements carry, and the deck's definition files.
namespace deck_elements {

// Hot areas.
inline constexpr const char* kPlayButton = "PlayButton";
inline constexpr const char* kStopButton = "StopButton";
inline constexpr const char* kInfoButton = "InfoButton";
inline constexpr const char* kExitButton = "ExitButton";
inline constexpr const char* kForwardButton = "ForwardButton";
inline constexpr const char* kRewindButton = "RewindButton";
inline constexpr const char* kPitchResetButton = "PitchResetButton";
inline constexpr const char* kPlusButton = "PlusButton";
inline constexpr const char* kMinusButton = "MinusButton";
inline constexpr const char* kPitchUpButton = "PitchUpButton";
inline constexpr const char* kPitchDownButton = "PitchDownButton";
inline constexpr const char* kPlayListButton = "PLButton";
inline constexpr const char* kMixerButton = "MXButton";
inline constexpr const char* kEqualizerButton = "EQButton";
inline constexpr const char* kMatchButton = "BPMMatch";
inline constexpr const char* kLoadButton = "LoadButton";
// Spelled so in every skin.
inline constexpr const char* kMinimizeButton = "MiminizeButton";

// Displays.
inline constexpr const char* kPlayerState = "PlayerState";
inline constexpr const char* kElapsedTime = "ElapsedTime";
inline constexpr const char* kRemainingTime = "RemainingTime";
inline constexpr const char* kElapsedLabel = "Elapsed";
inline constexpr const char* kRemainingLabel = "Remaining";
inline constexpr const char* kArtist = "Artist";
inline constexpr const char* kTitle = "Title";
inline constexpr const char* kSampleRate = "KHZ";
inline constexpr const char* kBitRate = "KBPS";
inline constexpr const char* kTempo = "BPM";
inline constexpr const char* kPitchPlusPercent = "PitchPlusPercent";
inline constexpr const char* kPitchMinusPercent = "PitchMinusPercent";

// Trackbar and gauge.
inline constexpr const char* kPitchSlider = "PitchSlider";
inline constexpr const char* kPosition = "Position";

// Areas.
// Optional: where the spectrum display lies and takes clicks.
inline constexpr const char* kSpectrumDisplay = "SpectrumDisplay";

} // namespace deck_elements
