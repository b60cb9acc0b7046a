#include "SkinEditorEntries.h"

#include "SkinEntries.h"
#include "SkinError.h"
#include "SplitFields.h"

namespace skins {

using namespace skin_keys;

namespace {

constexpr int kMarkerThickness = 8;

std::string bytesOf(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

bool isInteger(const QString& text) {
    try {
        parseSkinInteger(bytesOf(text));
        return true;
    } catch (const ESkinError&) {
        return false;
    }
}

int integerOrZero(const std::string& text) {
    try {
        return parseSkinInteger(text);
    } catch (const ESkinError&) {
        return 0;
    }
}

void zeroUnlessInteger(QString& field) {
    if (!isInteger(field))
        field = QStringLiteral("0");
}

// Field `index`, or empty text when the entry is shorter.
QString fieldOr(const std::vector<std::string>& fields, size_t index) {
    return index < fields.size() ? textOf(fields[index]) : QString();
}

QString trueOrFalse(const QString& word) {
    return QString::fromLatin1(word == QLatin1String(kTrue) ? kTrue : kFalse);
}

} // namespace

std::optional<QString> prepareButton(ButtonFields& fields) {
    if (fields.id.isEmpty())
        return QStringLiteral("Please Input ID!");
    for (QString* number : {&fields.x, &fields.y, &fields.width, &fields.height})
        zeroUnlessInteger(*number);
    if (fields.hint.isEmpty())
        fields.hint = QStringLiteral(" ");
    if (fields.isRadio && fields.group.isEmpty())
        return QStringLiteral("Please input group name!");
    return std::nullopt;
}

std::optional<QString> prepareText(TextFields& fields) {
    if (fields.id.isEmpty())
        return QStringLiteral("Please Input ID!");
    for (QString* number : {&fields.x, &fields.y})
        zeroUnlessInteger(*number);
    return std::nullopt;
}

std::optional<QString> prepareTrackBar(TrackBarFields& fields) {
    if (fields.id.isEmpty())
        return QStringLiteral("Please Input ID!");
    for (QString* number : {&fields.x, &fields.y, &fields.length, &fields.position})
        zeroUnlessInteger(*number);
    if (fields.upImage.isEmpty())
        return QStringLiteral("Please choose bitmap of trackbar!");
    if (fields.downImage.isEmpty())
        fields.downImage = fields.upImage;
    return std::nullopt;
}

std::string fieldText(const QString& text) {
    const bool needsQuotes = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                             (!text.isEmpty() && text.front().unicode() <= 32);
    if (!needsQuotes)
        return bytesOf(text);
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return bytesOf(QLatin1Char('"') + quoted + QLatin1Char('"'));
}

std::string joinFields(const std::vector<std::string>& fields) {
    std::string entry;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            entry += ", ";
        entry += fields[i];
    }
    return entry;
}

std::string buttonEntry(const ButtonFields& fields) {
    // The blank that stands for "no hint" stays a bare blank, which the
    // engine reads back as an empty hint.
    const std::string hint = fields.hint == QLatin1String(" ") ? " " : fieldText(fields.hint);
    std::vector<std::string> parts = {fieldText(fields.id),  bytesOf(fields.x),      bytesOf(fields.y),
                                      bytesOf(fields.width), bytesOf(fields.height), hint};
    // The engine finds a group only behind a state, so a radio button that
    // is not marked as a switch starts up.
    if (fields.isSwitch)
        parts.push_back(bytesOf(trueOrFalse(fields.initialState)));
    else if (fields.isRadio)
        parts.push_back(kFalse);
    if (fields.isRadio)
        parts.push_back(fieldText(fields.group));
    return joinFields(parts);
}

std::string textEntry(const TextFields& fields) {
    return joinFields({fieldText(fields.id), fieldText(fields.fontName), bytesOf(trueOrFalse(fields.bold)),
                       bytesOf(trueOrFalse(fields.italic)), bytesOf(fields.size), bytesOf(fields.color),
                       bytesOf(fields.x), bytesOf(fields.y), bytesOf(fields.style), fieldText(fields.text)});
}

std::string trackBarEntry(const TrackBarFields& fields) {
    return joinFields({fieldText(fields.id), fieldText(fields.upImage), fieldText(fields.downImage), bytesOf(fields.x),
                       bytesOf(fields.y), bytesOf(fields.length), bytesOf(fields.orientation), bytesOf(fields.position),
                       fieldText(fields.hint)});
}

ButtonFields buttonFieldsOf(const std::string& entry) {
    const std::vector<std::string> parts = SplitFields(entry);
    ButtonFields fields;
    fields.id = fieldOr(parts, 0);
    fields.x = fieldOr(parts, 1);
    fields.y = fieldOr(parts, 2);
    fields.width = fieldOr(parts, 3);
    fields.height = fieldOr(parts, 4);
    fields.hint = fieldOr(parts, 5);
    fields.isSwitch = parts.size() >= 7;
    if (fields.isSwitch)
        fields.initialState = trueOrFalse(fieldOr(parts, 6));
    fields.isRadio = parts.size() == 8;
    if (fields.isRadio)
        fields.group = fieldOr(parts, 7);
    return fields;
}

TextFields textFieldsOf(const std::string& entry) {
    const std::vector<std::string> parts = SplitFields(entry);
    TextFields fields;
    fields.id = fieldOr(parts, 0);
    fields.fontName = fieldOr(parts, 1);
    fields.bold = trueOrFalse(fieldOr(parts, 2));
    fields.italic = trueOrFalse(fieldOr(parts, 3));
    fields.size = fieldOr(parts, 4);
    fields.color = fieldOr(parts, 5);
    fields.x = fieldOr(parts, 6);
    fields.y = fieldOr(parts, 7);
    const QString style = fieldOr(parts, 8);
    if (style == QLatin1String(kNumberKind) || style == QLatin1String(kTextKind))
        fields.style = style;
    fields.text = parts.size() >= 10 ? fieldOr(parts, 9) : QString();
    return fields;
}

TrackBarFields trackBarFieldsOf(const std::string& entry) {
    const std::vector<std::string> parts = SplitFields(entry);
    TrackBarFields fields;
    fields.id = fieldOr(parts, 0);
    fields.upImage = fieldOr(parts, 1);
    fields.downImage = fieldOr(parts, 2);
    fields.x = fieldOr(parts, 3);
    fields.y = fieldOr(parts, 4);
    fields.length = fieldOr(parts, 5);
    fields.orientation =
        QString::fromLatin1(fieldOr(parts, 6) == QLatin1String(kVertical) ? kVertical : editor_words::kHorizontal);
    fields.position = parts.size() >= 8 ? fieldOr(parts, 7) : QStringLiteral("0");
    fields.hint = parts.size() == 9 ? fieldOr(parts, 8) : QString();
    return fields;
}

std::string entryId(const std::string& entry) {
    return entry.substr(0, entry.find(','));
}

QRect markerRect(ElementKind kind, const std::string& entry) {
    const std::vector<std::string> parts = SplitFields(entry);
    auto number = [&parts](size_t index) { return index < parts.size() ? integerOrZero(parts[index]) : 0; };
    switch (kind) {
    case ElementKind::Button:
        return QRect(number(1), number(2), number(3), number(4));
    case ElementKind::Text:
        return QRect(number(6), number(7), kMarkerThickness, kMarkerThickness);
    case ElementKind::TrackBar:
        if (parts.size() > 6 && parts[6] == kVertical)
            return QRect(number(3), number(4), kMarkerThickness, number(5));
        return QRect(number(3), number(4), number(5), kMarkerThickness);
    }
    return {};
}

QString colorText(const QColor& color) {
    return QStringLiteral("$00%1%2%3")
        .arg(color.blue(), 2, 16, QLatin1Char('0'))
        .arg(color.green(), 2, 16, QLatin1Char('0'))
        .arg(color.red(), 2, 16, QLatin1Char('0'));
}

std::string hotAreaEntryAsVersion150(const std::string& entry) {
    std::vector<std::string> parts = SplitFields(entry);
    if (parts.size() <= 5)
        return entry;
    std::vector<std::string> fields;
    for (const std::string& part : parts)
        fields.push_back(fieldText(textOf(part)));
    fields.insert(fields.begin() + 5, " ");
    return joinFields(fields);
}

} // namespace skins
