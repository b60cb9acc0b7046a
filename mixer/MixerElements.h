#pragma once

#include <string_view>

namespace mixer {

// The skin element names the mixer reacts to and drives. They link the
// skin file "Mixer.ini" to this window's code.
namespace element {
// The skin calls the three faders pitch sliders; they set volume, not speed.
inline constexpr std::string_view kFaderA = "PitchSliderA";
inline constexpr std::string_view kFaderB = "PitchSliderB";
inline constexpr std::string_view kCrossFader = "PitchSliderF";

inline constexpr std::string_view kGainA = "GainA";
inline constexpr std::string_view kGainB = "GainB";

inline constexpr std::string_view kMeterLeftA = "LeftA";
inline constexpr std::string_view kMeterRightA = "RightA";
inline constexpr std::string_view kMeterLeftB = "LeftB";
inline constexpr std::string_view kMeterRightB = "RightB";
// Two gauges that only ever get a range.
inline constexpr std::string_view kMeterLeft = "Left";
inline constexpr std::string_view kMeterRight = "Right";

inline constexpr std::string_view kLinearToA = "LinearToA";
inline constexpr std::string_view kLinearToB = "LinearToB";
inline constexpr std::string_view kEqualToA = "EqualToA";
inline constexpr std::string_view kEqualToB = "EqualToB";
inline constexpr std::string_view kSlowSlowToA = "SlowSlowToA";
inline constexpr std::string_view kSlowSlowToB = "SlowSlowToB";
inline constexpr std::string_view kFastSlowToA = "FastSlowToA";
inline constexpr std::string_view kFastSlowToB = "FastSlowToB";
inline constexpr std::string_view kSlowFastToA = "SlowFastToA";
inline constexpr std::string_view kSlowFastToB = "SlowFastToB";
inline constexpr std::string_view kHardCutToA = "HardCutToA";
inline constexpr std::string_view kHardCutToB = "HardCutToB";
inline constexpr std::string_view kFlashToA = "FlashToA";
inline constexpr std::string_view kFlashToB = "FlashToB";
} // namespace element

// The arguments of Nudge.
namespace nudge {
inline constexpr std::string_view kChannelA = "A";
inline constexpr std::string_view kChannelB = "B";
inline constexpr std::string_view kChannelCrossFader = "F";
inline constexpr std::string_view kIncrease = "INC";
inline constexpr std::string_view kDecrease = "DEC";
} // namespace nudge

} // namespace mixer
