#pragma once

#include "SkinElements.h"

#include <string>
#include <vector>

namespace skins {

// The names of a skin definition file: sections, keys, fixed words.
namespace skin_keys {
inline constexpr const char* kVersionSection = "Version";
inline constexpr const char* kVersionKey = "Ver";
inline constexpr const char* kBitmapSection = "BITMAPINFO";
inline constexpr const char* kMaskBitmap = "MaskBitmap";
inline constexpr const char* kMouseUpBitmap = "MouseUpBitmap";
inline constexpr const char* kMouseDownBitmap = "MouseDownBitmap";
inline constexpr const char* kMouseOnBitmap = "MouseOnBitmap";
inline constexpr const char* kWallPaper = "WallPaper";
inline constexpr const char* kNumbersBitmap = "NumbersBitmap";
inline constexpr const char* kTextBitmap = "TextBitmap";
inline constexpr const char* kMaskDefault = "ERROR";
inline constexpr const char* kHotAreaSection = "HOTAREAINFO";
inline constexpr const char* kGaugeSection = "GUAGEAREAINFO";
inline constexpr const char* kDisplaySection = "DISPLAYINFO";
inline constexpr const char* kTrackBarSection = "TRACKBARINFO";
// Optional; older skins have no such section.
inline constexpr const char* kAreaSection = "AREAINFO";
inline constexpr const char* kCountKey = "Count";
inline constexpr const char* kCharsetKey = "Charset";
inline constexpr const char* kHotAreaDefault = "NOT_DEFINED, 0, 0, 0, 0";
inline constexpr const char* kGaugeDefault = "NOT_DEFINED, 0, 0, 0, 0, H";
inline constexpr const char* kDisplayDefault = "NOT_DEFINED, Arial, FALSE, FALSE, 0, $000000, 0, 0";
inline constexpr const char* kAreaDefault = "NOT_DEFINED, 0, 0, 0, 0";
inline constexpr const char* kTrackBarDefault = "NOT_DEFINED, NOT_DEFINED, NOT_DEFINED, 0, 0, 0, H";
inline constexpr const char* kFalse = "FALSE";
inline constexpr const char* kTrue = "TRUE";
inline constexpr const char* kVertical = "V";
inline constexpr const char* kNumberKind = "Number";
inline constexpr const char* kTextKind = "Text";
} // namespace skin_keys

inline constexpr int kVersion140 = 140;
inline constexpr int kVersion150 = 150;
// More elements of one kind than any window could show; a larger "Count"
// is refused rather than read as that many default entries.
inline constexpr int kMaximumElementCount = 10000;

// Field access and conversion with the skin loader's errors: a missing
// field is "List index out of bounds (%d)", a field that is not a decimal
// integer with optional sign or a hexadecimal one after "$" is
// "'%s' is not a valid integer value".
const std::string& fieldAt(const std::vector<std::string>& fields, size_t index);
int integerField(const std::vector<std::string>& fields, size_t index);
int32_t parseSkinInteger(const std::string& text);

// Texts of the files are bytes in the locale's 8-bit encoding.
QString textOf(const std::string& bytes);

// One entry of each kind, split into fields. Throws ESkinError.
HotAreaInfoRec parseHotAreaEntry(const std::vector<std::string>& fields, int version);
GuageAreaInfoRec parseGaugeEntry(const std::vector<std::string>& fields);
AreaInfoRec parseAreaEntry(const std::vector<std::string>& fields);
DisplayInfoRec parseDisplayEntry(const std::vector<std::string>& fields, int charset);

// The part of a trackbar entry after its two image names (fields 3 on);
// the caller loads the images (fields 1 and 2) first. Initial positions
// outside 0..100 are limited to that range.
void parseTrackBarGeometry(const std::vector<std::string>& fields, TrackBarInfoRec& trackBar);

// "Count" of a section: "Range check error" when negative or beyond
// kMaximumElementCount; a missing or non-numeric value gives 0.
int elementCount(int value);

} // namespace skins
