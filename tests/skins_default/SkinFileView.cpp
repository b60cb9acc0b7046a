#include "SkinFileView.h"

#include <QFileInfo>

namespace skins_default_test {

namespace {

bool isSkipped(char character) {
    const auto code = static_cast<unsigned char>(character);
    return code >= 1 && code <= 32;
}

int number(const std::string& text) {
    return platform::parseInteger(text).value_or(-1000000);
}

} // namespace

std::vector<std::string> splitFields(const std::string& entry) {
    std::vector<std::string> fields;
    size_t position = 0;
    const auto skip = [&] {
        while (position < entry.size() && isSkipped(entry[position]))
            ++position;
    };
    skip();
    while (position < entry.size()) {
        std::string field;
        if (entry[position] == '"') {
            ++position;
            while (position < entry.size()) {
                if (entry[position] == '"') {
                    if (position + 1 < entry.size() && entry[position + 1] == '"') {
                        field += '"';
                        position += 2;
                        continue;
                    }
                    ++position;
                    break;
                }
                field += entry[position++];
            }
        } else {
            while (position < entry.size() && entry[position] != ',' &&
                   static_cast<unsigned char>(entry[position]) >= 32)
                field += entry[position++];
        }
        fields.push_back(field);
        skip();
        if (position < entry.size() && entry[position] == ',') {
            ++position;
            skip();
        }
    }
    return fields;
}

SkinFileView::SkinFileView(std::string folder, const std::string& fileName)
    : m_folder(std::move(folder)), m_document(platform::IniDocument::load(m_folder + "/" + fileName)),
      m_exists(QFileInfo::exists(QString::fromStdString(m_folder + "/" + fileName))) {}

std::vector<std::vector<std::string>> SkinFileView::entries(const std::string& section) const {
    std::vector<std::vector<std::string>> result;
    const int count = m_document.readInteger(section, "Count", 0);
    for (int index = 1; index <= count; ++index)
        result.push_back(splitFields(m_document.readString(section, std::to_string(index), "")));
    return result;
}

std::vector<std::string> SkinFileView::names(const std::string& section) const {
    std::vector<std::string> result;
    for (const auto& fields : entries(section))
        result.push_back(fields.empty() ? std::string() : fields[0]);
    return result;
}

std::vector<std::string> SkinFileView::entry(const std::string& section, const std::string& name) const {
    for (const auto& fields : entries(section))
        if (!fields.empty() && fields[0] == name)
            return fields;
    return {};
}

std::string SkinFileView::bitmapName(const std::string& key) const {
    static const char* const kChain[] = {"MaskBitmap", "MouseUpBitmap", "MouseDownBitmap", "MouseOnBitmap",
                                         "WallPaper"};
    std::string value = "ERROR";
    for (const char* chained : kChain) {
        value = m_document.readString("BITMAPINFO", chained, value);
        if (key == chained)
            return value;
    }
    return m_document.readString("BITMAPINFO", key, "");
}

QImage SkinFileView::image(const std::string& fileName) const {
    return QImage(QString::fromStdString(m_folder + "/" + fileName));
}

QRect SkinFileView::areaOf(const std::vector<std::string>& fields) {
    if (fields.size() < 5)
        return {};
    return QRect(number(fields[1]), number(fields[2]), number(fields[3]), number(fields[4]));
}

QRect SkinFileView::trackOf(const std::vector<std::string>& fields) const {
    if (fields.size() < 7)
        return {};
    const QSize thumb = image(fields[2]).size();
    const int left = number(fields[3]);
    const int top = number(fields[4]);
    const int length = number(fields[5]);
    if (fields[6] == "V")
        return QRect(left, top, thumb.width(), length);
    return QRect(left, top, length, thumb.height());
}

} // namespace skins_default_test
