#pragma once

#include <QImage>
#include <QString>

namespace skin_painter {

// Writes a picture of at most 256 distinct colours as a GIF file, without
// loss. Returns false when the picture has more colours or the file cannot be
// written. (Qt reads GIF but does not write it.)
bool writeGif(const QImage& image, const QString& path);

} // namespace skin_painter
