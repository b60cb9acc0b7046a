#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace playlist {

// Where a list of the play list window sits and how it looks, as the skin's
// "PlayList.ini" gives it in section "PLAYLISTINFO".
inline constexpr const char* kPlayListInfoSection = "PLAYLISTINFO";
inline constexpr const char* kPlayListKey = "PlayList";
inline constexpr const char* kWaitListKey = "WaitList";
inline constexpr const char* kDefaultListAppearance = "0, 0, 0, 0, $000000, Arial ,$000000, 8";

struct ListAppearance {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Colours are platform colour values: red in the lowest byte, then green, then blue.
    uint32_t backgroundColour = 0;
    std::string fontName = "Arial ";
    uint32_t fontColour = 0;
    int fontSize = 8;

    bool operator==(const ListAppearance&) const = default;
};

// A colour of this section: "$" and six hexadecimal digits d1..d6, read as
// the number with the digits d3 d4 d5 d6 d1 d2. So d1d2 is red, d3d4 blue and
// d5d6 green. Trailing blanks are allowed; anything else gives nothing.
std::optional<uint32_t> parseListColour(const std::string& item);

// Builds the appearance from the fields of one value (left, top, width,
// height, background colour, font name, font colour, font size), split the
// way skin entries are split. A missing or unreadable item keeps its value
// from kDefaultListAppearance, so a damaged skin file never stops the window.
ListAppearance parseListAppearance(const std::vector<std::string>& fields);

} // namespace playlist
