// The settings and skin definition reader: any text parses, lookups agree
// with the text written back, and integers are whole or nothing.
#include "FuzzTarget.h"

#include "platform/IniFile.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    platform::IniDocument document(text);
    const platform::IniDocument again(document.text());
    for (const char* section : {"Version", "BITMAPINFO", "TPlayerA", "TPreferences", ""})
        for (const std::string& key : document.keys(section)) {
            if (document.value(section, key) != again.value(section, key))
                std::abort();
            (void)document.readInteger(section, key, 7);
        }
    if (auto number = platform::parseInteger(text)) {
        // What parses must print and parse back to the same number.
        if (platform::parseInteger(std::to_string(*number)) != number)
            std::abort();
    }
    document.writeString("TPlayerA", "Visible", text.substr(0, 40));
    document.eraseKey("Version", "Ver");
    document.eraseSection("BITMAPINFO");
    (void)document.readString("TPlayerA", "Visible", "");
    return 0;
}
