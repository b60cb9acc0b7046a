#pragma once

#include <string_view>

namespace mixer {

// The skin element names the equalizer reacts to and drives: the band
// sliders are "A1".."A10" and "B1".."B10".
namespace eq_element {
inline constexpr std::string_view kEnableA = "EnableAButton";
inline constexpr std::string_view kEnableB = "EnableBButton";
inline constexpr std::string_view kResetA = "ResetAButton";
inline constexpr std::string_view kResetB = "ResetBButton";
inline constexpr std::string_view kLoad = "LoadButton";
inline constexpr std::string_view kSave = "SaveButton";
} // namespace eq_element

// The preset dialogs: the folder below the application folder, filter and
// default extension.
namespace eq_preset {
inline constexpr const char* kFolder = "Eq";
inline constexpr const char* kFilter = "EQ files (*.eqf)|*.eqf";
inline constexpr const char* kExtension = "eqf";
} // namespace eq_preset

} // namespace mixer
