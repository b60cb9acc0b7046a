#pragma once

#include <QImage>

#include <string>

namespace skins {

// Loads one skin image into an opaque 32-bit RGB image. The type word (the
// three characters after the first full stop of the file name, upper-cased)
// "GIF" sends the file to the GIF decoder; any other file goes by its
// extension after the last full stop: BMP, JPG, JPEG or GIF. Throws
// ESkinError: "Cannot open file %s" when the file cannot be read,
// "Unknown picture file extension (.%s)" for any other extension, and a
// damaged-image text when the decoder refuses the data. Any thread.
QImage LoadSkinImage(const std::string& path);

// The type word of a file name; " " for a name without a full stop.
std::string imageTypeWord(const std::string& path);

} // namespace skins
