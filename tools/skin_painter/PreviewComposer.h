#pragma once

#include <QImage>
#include <QString>

namespace skin_painter {

// Composes a window the way the skin engine shows it right after loading
// (normal face, thumbs, displays with their initial texts), from the files
// written into a skin folder. With lit set, gauges are drawn full and hot
// areas pressed. For looking at the artwork only.
QImage composePreview(const QString& folder, const QString& definitionFile, bool lit);

} // namespace skin_painter
