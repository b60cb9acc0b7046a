#pragma once

#include "platform/IniFile.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <string>
#include <vector>

namespace skins_default_test {

// Splits an entry of a skin definition file into fields the way the skin
// engine does: blanks and control characters are skipped before a field and
// around a comma; blanks inside a field, also trailing ones, belong to it.
std::vector<std::string> splitFields(const std::string& entry);

// A read-only view of one skin definition file, enough to check the
// artwork: the entries of each element section, their names and rectangles,
// and the images the file names.
class SkinFileView {
public:
    SkinFileView(std::string folder, const std::string& fileName);

    bool exists() const { return m_exists; }
    const platform::IniDocument& document() const { return m_document; }
    const std::string& folder() const { return m_folder; }

    // Entries 1..Count of a section, split into fields.
    std::vector<std::vector<std::string>> entries(const std::string& section) const;
    std::vector<std::string> names(const std::string& section) const;
    // The first entry of that name in the section; empty when there is none.
    std::vector<std::string> entry(const std::string& section, const std::string& name) const;

    // The image a "BITMAPINFO" key names, with the engine's defaults chain.
    std::string bitmapName(const std::string& key) const;
    QImage image(const std::string& fileName) const;

    // Rectangles of hot areas and gauges (fields 1..4).
    static QRect areaOf(const std::vector<std::string>& fields);
    // The pressable rectangle of a trackbar: its whole track, the thumb's
    // breadth across it.
    QRect trackOf(const std::vector<std::string>& fields) const;

private:
    std::string m_folder;
    platform::IniDocument m_document;
    bool m_exists = false;
};

} // namespace skins_default_test
