#pragma once

#include "SkinEditorEntries.h"

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace skins {

// What the skin editor edits: the image names, the entries of hot areas,
// displays and trackbars held as the definition file's own text, and the
// counters for new IDs. Reading checks every entry with the skin engine's
// own parsers; writing replaces only the sections the editor owns, so
// gauge areas and any other section stay as they were. Plain logic; GUI
// thread in practice, no window needed.
class SkinDefinition {
public:
    struct Images {
        std::string mask, mouseUp, mouseOver, mouseDown, numbers, text;
        // In the order of the editor's page "Bitmap".
        std::array<std::string*, 6> inPageOrder() { return {&mask, &mouseUp, &mouseOver, &mouseDown, &numbers, &text}; }
        std::array<const std::string*, 6> inPageOrder() const {
            return {&mask, &mouseUp, &mouseOver, &mouseDown, &numbers, &text};
        }
        bool operator==(const Images&) const = default;
    };

    // Reads a definition file. Throws ESkinError with the skin engine's
    // text when an entry or a count would fail the engine's load. Entries
    // of a version-140 file are taken over in the version-150 layout the
    // editor writes, so saving keeps their hints, states and groups.
    static SkinDefinition load(const std::string& path);
    // Writes the editor's sections into `path`. Every other section comes
    // from `basePath`, the file the definition was read from, as it is on
    // disk now; so saving under a new name carries the gauge areas along.
    // Without a base, the target's own other sections stay. Throws
    // platform::IniWriteError.
    void save(const std::string& path, const std::string& basePath = {}) const;

    std::vector<std::string>& entries(ElementKind kind) { return m_entries[index(kind)]; }
    const std::vector<std::string>& entries(ElementKind kind) const { return m_entries[index(kind)]; }
    // The next number for an automatic ID of that kind.
    int& counter(ElementKind kind) { return m_counters[index(kind)]; }
    int counter(ElementKind kind) const { return m_counters[index(kind)]; }

    enum class StoreMode { Add, Update };
    // Appends (Add) or replaces the entry at `selected` (Update) and counts
    // the kind's ID on. Returns the message that refused it: a duplicate ID
    // on Add, no selection on Update.
    std::optional<QString> store(ElementKind kind, const std::string& entry, StoreMode mode, int selected);
    // Removes the entry at `selected`; returns the entry to select next
    // (the one before it, -1 when none).
    int remove(ElementKind kind, int selected);

    // Every image file the definition names: the six images and the
    // trackbars' thumbs.
    std::vector<std::string> imageFiles() const;
    // Copies the named images that `toFolder` lacks from `fromFolder`, so
    // a definition saved into another folder finds its images there. Both
    // folders end in "/". Images missing from `fromFolder` are skipped.
    void copyImages(const std::string& fromFolder, const std::string& toFolder) const;

    Images images;

private:
    static size_t index(ElementKind kind) { return static_cast<size_t>(kind); }

    std::array<std::vector<std::string>, 3> m_entries;
    std::array<int, 3> m_counters = {0, 0, 0};
};

} // namespace skins
