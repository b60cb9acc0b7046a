#pragma once

#include "SkinDefinition.h"

#include <QImage>
#include <QString>

#include <map>

namespace skin_painter {

// The files of one skin, collected in memory and written in one go. Images
// shared by several windows (glyph strips, fader caps) are added under one
// name by each window; the same name must always mean the same picture.
class SkinFolder {
public:
    explicit SkinFolder(QString path) : m_path(std::move(path)) {}

    void addImage(const QString& fileName, const QImage& image);
    void addDefinition(const QString& fileName, const SkinDefinition& definition);

    // Writes every file; throws std::runtime_error naming the file that failed.
    void write() const;

private:
    QString m_path;
    std::map<QString, QImage> m_images;
    std::map<QString, QString> m_definitions;
};

} // namespace skin_painter
