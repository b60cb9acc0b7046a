#include "PreviewComposer.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QMap>
#include <QPainter>
#include <QStringList>

namespace skin_painter {

namespace {

using Sections = QMap<QString, QMap<QString, QString>>;

Sections readDefinition(const QString& path) {
    Sections sections;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sections;
    QString section;
    for (const QString& raw : QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1).toUpper();
        } else if (line.contains(QLatin1Char('='))) {
            sections[section][line.section(QLatin1Char('='), 0, 0).trimmed().toUpper()] =
                line.section(QLatin1Char('='), 1).trimmed();
        }
    }
    return sections;
}

QStringList entries(const Sections& sections, const QString& section) {
    QStringList list;
    const int count = sections.value(section).value(QStringLiteral("COUNT")).toInt();
    for (int index = 1; index <= count; ++index) {
        QStringList fields = sections.value(section).value(QString::number(index)).split(QLatin1Char(','));
        for (QString& field : fields)
            field = field.trimmed();
        list << fields.join(QLatin1Char('\x1f'));
    }
    return list;
}

QColor bgrColour(const QString& text) {
    const unsigned value = text.mid(1).toUInt(nullptr, 16);
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

void drawStrip(QPainter& painter, const QImage& strip, const QString& text, QPoint at, bool digits) {
    static const QString kDigits = QStringLiteral("0123456789: ");
    static const QString kRows[3] = {QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ@\"?*"),
                                     QStringLiteral("0123456789 .:<>-'!_+\\/[]^&%,=$"),
                                     QStringLiteral("abcdefghijklmnopqrstuvwxyz")};
    const int cellWidth = digits ? strip.width() / 12 : strip.width() / 30;
    const int cellHeight = digits ? strip.height() : strip.height() / 3;
    for (int index = 0; index < text.size(); ++index) {
        int row = 0;
        int column = 0;
        if (digits) {
            column = std::max(0, static_cast<int>(kDigits.indexOf(text[index])));
        } else {
            row = 1;
            column = 10;
            for (int candidate = 0; candidate < 3; ++candidate) {
                if (kRows[candidate].contains(text[index])) {
                    row = candidate;
                    column = static_cast<int>(kRows[candidate].indexOf(text[index]));
                    break;
                }
            }
        }
        painter.drawImage(QPoint(at.x() + index * cellWidth, at.y()), strip,
                          QRect(column * cellWidth, row * cellHeight, cellWidth, cellHeight));
    }
}

} // namespace

QImage composePreview(const QString& folderPath, const QString& definitionFile, bool lit) {
    const QDir folder(folderPath);
    const Sections sections = readDefinition(folder.filePath(definitionFile));
    const auto bitmaps = sections.value(QStringLiteral("BITMAPINFO"));
    const QImage mask(folder.filePath(bitmaps.value(QStringLiteral("MASKBITMAP"))));
    const QImage normal(folder.filePath(bitmaps.value(QStringLiteral("MOUSEUPBITMAP"))));
    const QImage pressed(folder.filePath(bitmaps.value(QStringLiteral("MOUSEDOWNBITMAP"))));
    const QImage numbers(folder.filePath(bitmaps.value(QStringLiteral("NUMBERSBITMAP"))));
    const QImage letters(folder.filePath(bitmaps.value(QStringLiteral("TEXTBITMAP"))));

    QImage face = normal.convertToFormat(QImage::Format_RGB32);
    // Screens here run at 96 dots per inch; display sizes are points.
    face.setDotsPerMeterX(3780);
    face.setDotsPerMeterY(3780);
    QPainter painter(&face);
    if (lit) {
        for (const QString& entry : entries(sections, QStringLiteral("HOTAREAINFO"))) {
            const QStringList f = entry.split(QLatin1Char('\x1f'));
            const QRect area(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
            painter.drawImage(area.topLeft(), pressed, area);
        }
    }
    for (const QString& entry : entries(sections, QStringLiteral("GUAGEAREAINFO"))) {
        const QStringList f = entry.split(QLatin1Char('\x1f'));
        QRect area(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
        // Two thirds full, so fills and scales show together.
        const double fill = lit ? 1.0 : 0.66;
        if (f[5] == QLatin1String("V"))
            area.setTop(area.bottom() + 1 - static_cast<int>(area.height() * fill));
        else
            area.setWidth(static_cast<int>(area.width() * fill));
        painter.drawImage(area.topLeft(), pressed, area);
    }
    for (const QString& entry : entries(sections, QStringLiteral("TRACKBARINFO"))) {
        const QStringList f = entry.split(QLatin1Char('\x1f'));
        const QImage thumb(folder.filePath(lit ? f[2] : f[1]));
        const bool vertical = f[6] == QLatin1String("V");
        const int travel = f[5].toInt() - (vertical ? thumb.height() : thumb.width());
        const int offset = travel * f[7].toInt() / 100;
        painter.drawImage(vertical ? QPoint(f[3].toInt(), f[4].toInt() + offset)
                                   : QPoint(f[3].toInt() + offset, f[4].toInt()),
                          thumb);
    }
    for (const QString& entry : entries(sections, QStringLiteral("DISPLAYINFO"))) {
        const QStringList f = entry.split(QLatin1Char('\x1f'));
        const QPoint at(f[6].toInt(), f[7].toInt());
        const QString kind = f.size() > 8 ? f[8] : QString();
        const QString text = f.size() == 10 ? f[9] : QString();
        if (kind == QLatin1String("Number")) {
            drawStrip(painter, numbers, text, at, true);
        } else if (kind == QLatin1String("Text")) {
            drawStrip(painter, letters, text, at, false);
        } else {
            QFont font(f[1]);
            font.setPointSize(f[4].toInt());
            font.setBold(f[2] == QLatin1String("TRUE"));
            painter.setFont(font);
            painter.setPen(bgrColour(f[5]));
            painter.drawText(QRect(at, QSize(1000, 100)), Qt::AlignLeft | Qt::AlignTop, text);
        }
    }
    painter.end();
    // Show the cut-away parts as the desktop would: here a mid grey.
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if ((mask.pixel(x, y) & 0xffffff) == 0xffffff)
                face.setPixel(x, y, qRgb(0x80, 0x80, 0x80));
    return face;
}

} // namespace skin_painter
