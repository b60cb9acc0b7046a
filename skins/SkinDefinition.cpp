#include "SkinDefinition.h"

#include "SkinEntries.h"
#include "SplitFields.h"

#include "platform/IniFile.h"

#include <QFile>

#include <algorithm>

namespace skins {

using namespace skin_keys;

namespace {

// The section of automatic ID numbers; the skin engine ignores it.
constexpr const char* kNewIdSection = "NEWIDNUMBER";
constexpr const char* kCounterKeys[] = {"Button", "Text", "Trackbar"};
// The editor's own reading of a missing hot-area entry.
constexpr const char* kEditorHotAreaDefault = "NOT_DEFINED, 0, 0, 0, 0, hint";
constexpr int kDefaultCharset = 1;

struct SectionOfKind {
    ElementKind kind;
    const char* section;
    const char* missingEntry;
};
constexpr SectionOfKind kSections[] = {
    {ElementKind::Button, kHotAreaSection, kEditorHotAreaDefault},
    {ElementKind::Text, kDisplaySection, kDisplayDefault},
    {ElementKind::TrackBar, kTrackBarSection, kTrackBarDefault},
};

std::vector<std::string> readEntries(const platform::IniDocument& file, const char* section, const char* missing) {
    const int count = elementCount(file.readInteger(section, kCountKey, 0));
    std::vector<std::string> entries;
    entries.reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i)
        entries.push_back(file.readString(section, std::to_string(i), missing));
    return entries;
}

// Runs an entry through the parser the skin engine loads it with, so a
// file the engine would refuse is refused here with the same text.
void checkEntry(ElementKind kind, const std::string& entry, int version) {
    const std::vector<std::string> fields = SplitFields(entry);
    switch (kind) {
    case ElementKind::Button:
        parseHotAreaEntry(fields, version);
        break;
    case ElementKind::Text:
        parseDisplayEntry(fields, kDefaultCharset);
        break;
    case ElementKind::TrackBar: {
        fieldAt(fields, 2);
        TrackBarInfoRec trackBar;
        parseTrackBarGeometry(fields, trackBar);
        break;
    }
    }
}

} // namespace

SkinDefinition SkinDefinition::load(const std::string& path) {
    const platform::IniDocument file = platform::IniDocument::load(path);
    SkinDefinition definition;
    const int version = file.readInteger(kVersionSection, kVersionKey, kVersion140);
    for (ElementKind kind : {ElementKind::Button, ElementKind::Text, ElementKind::TrackBar})
        definition.counter(kind) = file.readInteger(kNewIdSection, kCounterKeys[index(kind)], 1);

    Images& images = definition.images;
    images.mask = file.readString(kBitmapSection, kMaskBitmap, kMaskDefault);
    images.mouseUp = file.readString(kBitmapSection, kMouseUpBitmap, images.mask);
    images.mouseDown = file.readString(kBitmapSection, kMouseDownBitmap, images.mouseUp);
    images.mouseOver = file.readString(kBitmapSection, kMouseOnBitmap, images.mouseDown);
    images.numbers = file.readString(kBitmapSection, kNumbersBitmap, "");
    images.text = file.readString(kBitmapSection, kTextBitmap, "");

    for (const SectionOfKind& section : kSections) {
        std::vector<std::string>& entries = definition.entries(section.kind);
        entries = readEntries(file, section.section, section.missingEntry);
        for (std::string& entry : entries) {
            checkEntry(section.kind, entry, version);
            if (section.kind == ElementKind::Button && version == kVersion140)
                entry = hotAreaEntryAsVersion150(entry);
        }
    }
    // Gauge areas are not edited, but a file whose gauges the engine would
    // refuse is no skin to build on.
    for (const std::string& entry : readEntries(file, kGaugeSection, kGaugeDefault))
        parseGaugeEntry(SplitFields(entry));
    return definition;
}

void SkinDefinition::save(const std::string& path, const std::string& basePath) const {
    platform::IniDocument file = platform::IniDocument::load(basePath.empty() ? path : basePath);
    for (const char* section :
         {kVersionSection, kNewIdSection, kBitmapSection, kHotAreaSection, kDisplaySection, kTrackBarSection})
        file.eraseSection(section);

    file.writeString(kVersionSection, kVersionKey, std::to_string(kVersion150));
    for (ElementKind kind : {ElementKind::Button, ElementKind::Text, ElementKind::TrackBar})
        file.writeString(kNewIdSection, kCounterKeys[index(kind)], std::to_string(counter(kind)));

    // An image left empty is not written, so the engine's defaults fill it
    // (mouse up from the mask, and so on) instead of naming no file.
    const std::pair<const char*, const std::string*> imageKeys[] = {
        {kMaskBitmap, &images.mask},         {kMouseUpBitmap, &images.mouseUp}, {kMouseDownBitmap, &images.mouseDown},
        {kMouseOnBitmap, &images.mouseOver}, {kNumbersBitmap, &images.numbers}, {kTextBitmap, &images.text},
    };
    for (const auto& [key, name] : imageKeys)
        if (!name->empty())
            file.writeString(kBitmapSection, key, *name);

    for (const SectionOfKind& section : kSections) {
        const std::vector<std::string>& list = entries(section.kind);
        if (section.kind == ElementKind::Text)
            file.writeString(section.section, kCharsetKey, std::to_string(kDefaultCharset));
        file.writeString(section.section, kCountKey, std::to_string(list.size()));
        for (size_t i = 0; i < list.size(); ++i)
            file.writeString(section.section, std::to_string(i + 1), list[i]);
    }
    file.save(path);
}

std::optional<QString> SkinDefinition::store(ElementKind kind, const std::string& entry, StoreMode mode, int selected) {
    std::vector<std::string>& list = entries(kind);
    if (mode == StoreMode::Add) {
        const std::string id = entryId(entry);
        if (std::any_of(list.begin(), list.end(), [&id](const std::string& other) { return entryId(other) == id; }))
            return QStringLiteral("Current ID has already existed!");
        list.push_back(entry);
    } else {
        if (selected < 0 || static_cast<size_t>(selected) >= list.size())
            return QStringLiteral("Please Choose a item.");
        list[static_cast<size_t>(selected)] = entry;
    }
    ++counter(kind);
    return std::nullopt;
}

int SkinDefinition::remove(ElementKind kind, int selected) {
    std::vector<std::string>& list = entries(kind);
    if (selected < 0 || static_cast<size_t>(selected) >= list.size())
        return -1;
    list.erase(list.begin() + selected);
    return selected - 1;
}

std::vector<std::string> SkinDefinition::imageFiles() const {
    std::vector<std::string> files;
    for (const std::string* name : images.inPageOrder())
        if (!name->empty())
            files.push_back(*name);
    for (const std::string& entry : entries(ElementKind::TrackBar)) {
        const std::vector<std::string> fields = SplitFields(entry);
        for (size_t i = 1; i <= 2 && i < fields.size(); ++i)
            files.push_back(fields[i]);
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

void SkinDefinition::copyImages(const std::string& fromFolder, const std::string& toFolder) const {
    if (fromFolder == toFolder)
        return;
    for (const std::string& name : imageFiles()) {
        // Only names of files beside the definition are copied; a name that
        // reaches into another folder is left to the user.
        if (name.find('/') != std::string::npos)
            continue;
        const QString target = QString::fromLocal8Bit(toFolder + name);
        if (!QFile::exists(target))
            QFile::copy(QString::fromLocal8Bit(fromFolder + name), target);
    }
}

} // namespace skins
