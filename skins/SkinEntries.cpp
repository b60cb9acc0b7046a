#include "SkinEntries.h"

#include "SkinError.h"

#include "platform/IniFile.h"

#include <algorithm>

namespace skins {

using namespace skin_keys;

const std::string& fieldAt(const std::vector<std::string>& fields, size_t index) {
    if (index >= fields.size())
        throw ESkinError(listIndexText(static_cast<int>(index)));
    return fields[index];
}

int32_t parseSkinInteger(const std::string& text) {
    // Hexadecimal is written after "$" only; "0x" is not a skin number.
    const size_t digits = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    const bool cStyleHex =
        text.size() > digits + 1 && text[digits] == '0' && (text[digits + 1] == 'x' || text[digits + 1] == 'X');
    std::optional<int> value = cStyleHex ? std::nullopt : platform::parseInteger(text);
    if (!value)
        throw ESkinError(invalidIntegerText(text));
    return *value;
}

int integerField(const std::vector<std::string>& fields, size_t index) {
    return parseSkinInteger(fieldAt(fields, index));
}

QString textOf(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

namespace {

// Name, left, top, width and height: how hot areas, gauges and areas begin.
template <typename Record> Record namedRectangle(const std::vector<std::string>& fields) {
    Record record;
    record.Name = textOf(fieldAt(fields, 0));
    record.Left = integerField(fields, 1);
    record.Top = integerField(fields, 2);
    record.Width = integerField(fields, 3);
    record.Height = integerField(fields, 4);
    return record;
}

} // namespace

HotAreaInfoRec parseHotAreaEntry(const std::vector<std::string>& fields, int version) {
    HotAreaInfoRec area = namedRectangle<HotAreaInfoRec>(fields);
    size_t stateCount = 0; // k: the entry has a state field from this many fields on
    if (version == kVersion140) {
        stateCount = 6;
    } else if (version == kVersion150) {
        stateCount = 7;
        if (fields.size() >= 6)
            area.Hint = textOf(fields[5]);
    } else {
        // Without a known layout no field past the geometry can be placed.
        throw ESkinError(listIndexText(static_cast<int>(fields.size())));
    }
    if (fields.size() >= stateCount) {
        area.IsSwitch = true;
        area.Down = fields[stateCount - 1] != kFalse;
    }
    if (fields.size() == stateCount + 1)
        area.Group = textOf(fields[stateCount]);
    return area;
}

GuageAreaInfoRec parseGaugeEntry(const std::vector<std::string>& fields) {
    GuageAreaInfoRec gauge = namedRectangle<GuageAreaInfoRec>(fields);
    gauge.Horizontal = fieldAt(fields, 5) != kVertical;
    return gauge;
}

AreaInfoRec parseAreaEntry(const std::vector<std::string>& fields) {
    return namedRectangle<AreaInfoRec>(fields);
}

DisplayInfoRec parseDisplayEntry(const std::vector<std::string>& fields, int charset) {
    DisplayInfoRec display;
    display.Name = textOf(fieldAt(fields, 0));
    display.Font.Charset = charset;
    display.Font.Face = textOf(fieldAt(fields, 1));
    display.Font.Bold = fieldAt(fields, 2) == kTrue;
    display.Font.Italic = fieldAt(fields, 3) == kTrue;
    display.Font.SizePoints = integerField(fields, 4);
    display.Font.Color = static_cast<uint32_t>(integerField(fields, 5));
    display.Left = integerField(fields, 6);
    display.Top = integerField(fields, 7);
    if (fields.size() >= 9)
        display.Kind = textOf(fields[8]);
    if (fields.size() == 10)
        display.Text = textOf(fields[9]);
    return display;
}

void parseTrackBarGeometry(const std::vector<std::string>& fields, TrackBarInfoRec& trackBar) {
    trackBar.Left = integerField(fields, 3);
    trackBar.Top = integerField(fields, 4);
    trackBar.Length = integerField(fields, 5);
    trackBar.MinPosition = 0;
    trackBar.MaxPosition = 100;
    trackBar.Horizontal = fieldAt(fields, 6) != kVertical;
    int position = 0;
    if (fields.size() >= 8)
        position = std::clamp(integerField(fields, 7), 0, 100);
    trackBar.Position = static_cast<uint8_t>(position);
    if (fields.size() >= 9)
        trackBar.Hint = textOf(fields[8]);
    const int64_t travel = trackBar.travel();
    trackBar.Offset = travel > 0 ? static_cast<int32_t>(travel * trackBar.Position / 100) : 0;
}

int elementCount(int value) {
    if (value < 0 || value > kMaximumElementCount)
        throw ESkinError(kRangeCheckErrorText);
    return value;
}

} // namespace skins
