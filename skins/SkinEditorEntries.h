#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <optional>
#include <string>
#include <vector>

// The entries the skin editor writes, as the fields of its pages, and the
// way back from an entry to those fields. An entry is one line of a skin
// definition file exactly as the skin engine reads it. Plain logic, no
// window; any thread.
namespace skins {

enum class ElementKind { Button, Text, TrackBar };

namespace editor_words {
inline constexpr const char* kButtonIdPrefix = "BUTTON_";
inline constexpr const char* kTextIdPrefix = "TEXT_";
inline constexpr const char* kTrackBarIdPrefix = "TRACKBAR_";
inline constexpr const char* kNormalStyle = "Normal";
inline constexpr const char* kHorizontal = "H";
inline constexpr const char* kDefaultFontName = "Arial";
inline constexpr const char* kDefaultFontSize = "8";
inline constexpr const char* kDefaultColor = "$000000";
} // namespace editor_words

// The fields of the page "Button" (a hot area).
struct ButtonFields {
    QString id = QString::fromLatin1(editor_words::kButtonIdPrefix);
    QString x, y, width, height, hint;
    bool isSwitch = false;
    QString initialState = QStringLiteral("TRUE");
    bool isRadio = false;
    QString group;
    bool operator==(const ButtonFields&) const = default;
};

// The fields of the page "Text" (a display).
struct TextFields {
    QString id = QString::fromLatin1(editor_words::kTextIdPrefix);
    QString x, y, text;
    QString fontName = QString::fromLatin1(editor_words::kDefaultFontName);
    QString size = QString::fromLatin1(editor_words::kDefaultFontSize);
    QString bold = QStringLiteral("FALSE");
    QString italic = QStringLiteral("FALSE");
    QString color = QString::fromLatin1(editor_words::kDefaultColor);
    QString style = QString::fromLatin1(editor_words::kNormalStyle);
    bool operator==(const TextFields&) const = default;
};

// The fields of the page "TrackBar".
struct TrackBarFields {
    QString id = QString::fromLatin1(editor_words::kTrackBarIdPrefix);
    QString x, y, length, position;
    QString upImage, downImage;
    QString orientation; // "H", "V", or empty when neither is chosen
    QString hint;
    bool operator==(const TrackBarFields&) const = default;
};

// Checks the fields before an add or an update and completes them the way
// the page shows them afterwards: numbers that are not integers become
// "0", an empty hint a single blank, an empty down image the up image.
// Returns the message that stops the action, or nothing.
std::optional<QString> prepareButton(ButtonFields& fields);
std::optional<QString> prepareText(TextFields& fields);
std::optional<QString> prepareTrackBar(TrackBarFields& fields);

std::string buttonEntry(const ButtonFields& fields);
std::string textEntry(const TextFields& fields);
std::string trackBarEntry(const TrackBarFields& fields);

// The fields an entry shows when it is selected in its list.
ButtonFields buttonFieldsOf(const std::string& entry);
TextFields textFieldsOf(const std::string& entry);
TrackBarFields trackBarFieldsOf(const std::string& entry);

// The text before the first comma of an entry.
std::string entryId(const std::string& entry);

// Where the preview marks an element: its rectangle for a button, an 8 x 8
// square at a display's position, an 8 pixel wide strip along a trackbar.
QRect markerRect(ElementKind kind, const std::string& entry);

// A display colour as "$00" and blue, green, red in two lower-case
// hexadecimal digits each.
QString colorText(const QColor& color);

// A field as the skin engine splits it back: free text that holds a comma
// or a quotation mark, or starts with a blank, is quoted.
std::string fieldText(const QString& text);
// Joins fields with a comma and a blank.
std::string joinFields(const std::vector<std::string>& fields);

// A version-140 hot-area entry in the version-150 layout: an empty hint is
// put in front of its state and group.
std::string hotAreaEntryAsVersion150(const std::string& entry);

} // namespace skins
