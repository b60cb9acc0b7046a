#pragma once

#include <string>
#include <vector>

namespace skins {

// Splits a comma-separated entry of a skin definition or play list file
// into fields. Blanks and control characters before a field are skipped;
// blanks inside and after a field's text belong to it. A field that starts
// with a double quotation mark runs to the next lone mark, and a doubled
// mark inside stands for one. Two commas in a row give an empty field, a
// trailing comma none. The list is emptied first.
void SplitFields(const std::string& text, std::vector<std::string>& fields);
std::vector<std::string> SplitFields(const std::string& text);

} // namespace skins
