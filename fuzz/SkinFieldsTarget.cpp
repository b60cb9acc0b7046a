// One definition entry: split into fields and read by every entry parser.
#include "FuzzTarget.h"

#include "skins/SkinEntries.h"
#include "skins/SkinError.h"
#include "skins/SplitFields.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> fields = skins::SplitFields(text);
    auto tolerate = [](auto parse) {
        try {
            parse();
        } catch (const skins::ESkinError&) {
        }
    };
    tolerate([&] { (void)skins::parseHotAreaEntry(fields, skins::kVersion140); });
    tolerate([&] { (void)skins::parseHotAreaEntry(fields, skins::kVersion150); });
    tolerate([&] { (void)skins::parseGaugeEntry(fields); });
    tolerate([&] { (void)skins::parseDisplayEntry(fields, 0); });
    tolerate([&] { (void)skins::parseDisplayEntry(fields, 1); });
    tolerate([&] {
        TrackBarInfoRec trackBar;
        trackBar.ThumbWidth = 5;
        trackBar.ThumbHeight = 7;
        skins::parseTrackBarGeometry(fields, trackBar);
    });
    tolerate([&] { (void)skins::parseSkinInteger(text); });
    return 0;
}
