#include "SkinDefinition.h"

#include <QStringList>

namespace skin_painter {

namespace {

QString joined(const QStringList& fields) {
    return fields.join(QStringLiteral(", "));
}

QString geometry(const QRect& area) {
    return joined({QString::number(area.left()), QString::number(area.top()), QString::number(area.width()),
                   QString::number(area.height())});
}

// Hints and texts are written unquoted, so they must not contain the field
// separator; a comma would silently shift every later field.
QString plain(const QString& text) {
    Q_ASSERT(!text.contains(QLatin1Char(',')));
    return text;
}

void writeList(QString& out, const QString& section, const std::vector<QString>& entries, const QString& extraKey = {},
               const QString& extraValue = {}) {
    out += QStringLiteral("\n[%1]\n").arg(section);
    out += QStringLiteral("Count=%1\n").arg(entries.size());
    if (!extraKey.isEmpty())
        out += QStringLiteral("%1=%2\n").arg(extraKey, extraValue);
    for (size_t index = 0; index < entries.size(); ++index)
        out += QStringLiteral("%1=%2\n").arg(index + 1).arg(entries[index]);
}

} // namespace

void SkinDefinition::addButton(const QString& name, const QRect& area, const QString& hint) {
    m_hotAreas.push_back(joined({name, geometry(area), plain(hint)}));
}

void SkinDefinition::addSwitch(const QString& name, const QRect& area, const QString& hint, bool down) {
    m_hotAreas.push_back(
        joined({name, geometry(area), plain(hint), down ? QStringLiteral("TRUE") : QStringLiteral("FALSE")}));
}

void SkinDefinition::addGauge(const QString& name, const QRect& area, Orientation orientation) {
    m_gauges.push_back(joined(
        {name, geometry(area), orientation == Orientation::Vertical ? QStringLiteral("V") : QStringLiteral("H")}));
}

void SkinDefinition::addFontDisplay(const QString& name, const QString& face, bool bold, int sizePoints,
                                    const QColor& colour, const QPoint& topLeft, const QString& text) {
    QStringList fields{name,
                       face,
                       bold ? QStringLiteral("TRUE") : QStringLiteral("FALSE"),
                       QStringLiteral("FALSE"),
                       QString::number(sizePoints),
                       displayColour(colour),
                       QString::number(topLeft.x()),
                       QString::number(topLeft.y()),
                       QStringLiteral("Normal")};
    // Only an entry of exactly ten fields carries an initial text.
    if (!text.isEmpty())
        fields << plain(text);
    m_displays.push_back(joined(fields));
}

void SkinDefinition::addStripDisplay(const QString& name, DisplayKind kind, const QPoint& topLeft,
                                     const QString& text) {
    const QString kindWord = kind == DisplayKind::Number ? QStringLiteral("Number") : QStringLiteral("Text");
    // Face, style, size and colour are unused by strip displays; they keep the
    // reader's defaults so an editor shows sensible values.
    m_displays.push_back(joined({name, QStringLiteral("Arial"), QStringLiteral("FALSE"), QStringLiteral("FALSE"),
                                 QStringLiteral("8"), QStringLiteral("$000000"), QString::number(topLeft.x()),
                                 QString::number(topLeft.y()), kindWord, plain(text)}));
}

void SkinDefinition::addTrackBar(const QString& name, const QString& thumb, const QString& activeThumb,
                                 const QPoint& start, int lengthPixels, Orientation orientation, int position,
                                 const QString& hint) {
    m_trackBars.push_back(joined({name, thumb, activeThumb, QString::number(start.x()), QString::number(start.y()),
                                  QString::number(lengthPixels),
                                  orientation == Orientation::Vertical ? QStringLiteral("V") : QStringLiteral("H"),
                                  QString::number(position), plain(hint)}));
}

void SkinDefinition::addArea(const QString& name, const QRect& area) {
    m_areas.push_back(joined({name, geometry(area)}));
}

void SkinDefinition::addSection(const QString& name, std::vector<std::pair<QString, QString>> keys) {
    m_sections.emplace_back(name, std::move(keys));
}

QString SkinDefinition::text() const {
    QString out = QStringLiteral("[Version]\nVer=150\n\n[BITMAPINFO]\n");
    out += QStringLiteral("MaskBitmap=%1\n").arg(m_bitmaps.mask);
    out += QStringLiteral("MouseUpBitmap=%1\n").arg(m_bitmaps.mouseUp);
    out += QStringLiteral("MouseDownBitmap=%1\n").arg(m_bitmaps.mouseDown);
    out += QStringLiteral("MouseOnBitmap=%1\n").arg(m_bitmaps.mouseOn);
    if (!m_bitmaps.wallPaper.isEmpty())
        out += QStringLiteral("WallPaper=%1\n").arg(m_bitmaps.wallPaper);
    if (!m_bitmaps.numbers.isEmpty())
        out += QStringLiteral("NumbersBitmap=%1\n").arg(m_bitmaps.numbers);
    if (!m_bitmaps.text.isEmpty())
        out += QStringLiteral("TextBitmap=%1\n").arg(m_bitmaps.text);
    writeList(out, QStringLiteral("HOTAREAINFO"), m_hotAreas);
    writeList(out, QStringLiteral("GUAGEAREAINFO"), m_gauges);
    writeList(out, QStringLiteral("DISPLAYINFO"), m_displays, QStringLiteral("Charset"), QStringLiteral("1"));
    writeList(out, QStringLiteral("TRACKBARINFO"), m_trackBars);
    // Skins without areas leave the optional section out.
    if (!m_areas.empty())
        writeList(out, QStringLiteral("AREAINFO"), m_areas);
    for (const auto& [section, keys] : m_sections) {
        out += QStringLiteral("\n[%1]\n").arg(section);
        for (const auto& [key, value] : keys)
            out += QStringLiteral("%1=%2\n").arg(key, value);
    }
    return out;
}

QString SkinDefinition::displayColour(const QColor& colour) {
    return QStringLiteral("$%1%2%3")
        .arg(colour.blue(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace skin_painter
