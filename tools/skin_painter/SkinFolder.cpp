#include "SkinFolder.h"

#include "GifWriter.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace skin_painter {

namespace {

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

void writeImage(const QImage& image, const QString& path) {
    const QString type = path.section(QLatin1Char('.'), -1).toLower();
    bool written = false;
    if (type == QLatin1String("gif")) {
        written = writeGif(image, path);
    } else if (type == QLatin1String("jpg")) {
        written = image.convertToFormat(QImage::Format_RGB32).save(path, "JPEG", 92);
    } else if (type == QLatin1String("bmp")) {
        // 24 bits per pixel: the RGB32 format is written without alpha.
        written = image.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
    }
    if (!written)
        fail(QStringLiteral("cannot write image %1").arg(path));
    // giflib creates its files readable by the owner only.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                    QFileDevice::ReadOther);
}

} // namespace

void SkinFolder::addImage(const QString& fileName, const QImage& image) {
    const auto [existing, inserted] = m_images.emplace(fileName, image);
    if (!inserted && existing->second != image)
        fail(QStringLiteral("two different pictures named %1").arg(fileName));
}

void SkinFolder::addDefinition(const QString& fileName, const SkinDefinition& definition) {
    m_definitions[fileName] = definition.text();
}

void SkinFolder::write() const {
    if (!QDir().mkpath(m_path))
        fail(QStringLiteral("cannot create folder %1").arg(m_path));
    const QDir folder(m_path);
    for (const auto& [name, image] : m_images)
        writeImage(image, folder.filePath(name));
    for (const auto& [name, text] : m_definitions) {
        QFile file(folder.filePath(name));
        // Definition files use the line ends of the platform the skins came
        // from; the ini reader accepts both.
        QString windowsText = text;
        windowsText.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(windowsText.toLatin1()) < 0)
            fail(QStringLiteral("cannot write %1").arg(file.fileName()));
    }
}

} // namespace skin_painter
