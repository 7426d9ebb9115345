#include "pixelfile.h"

#include <QFile>
#include <QSaveFile>

#include <array>
#include <cstdint>
#include <utility>

namespace {

constexpr std::array<char, 8> kMagic{'V', 'e', 'l', 'k', 'P', 'i', 'x', '1'};
// Larger sides are no picture of Velk's.
constexpr uint32_t kLargestSide = 4096;

struct Header {
    std::array<char, 8> magic;
    uint32_t width;
    uint32_t height;
    uint32_t format;
    uint32_t bytesPerLine;
};

// Formats with a colour table would need the table too; pixel files hold
// none.
bool HasColorTable(QImage::Format format) {
    return format == QImage::Format_Mono || format == QImage::Format_MonoLSB ||
           format == QImage::Format_Indexed8;
}

} // namespace

QString PixelFilePath(const QString& picturePath) {
    return picturePath + QStringLiteral(".pixels");
}

bool ReadPixelFile(const QString& path, QImage& image) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Header header;
    // The header must promise exactly the pixels the file holds before
    // anything is allocated for them.
    if (file.read(reinterpret_cast<char*>(&header), sizeof header) != sizeof header ||
        header.magic != kMagic || header.width == 0 || header.height == 0 ||
        header.width > kLargestSide || header.height > kLargestSide ||
        header.format <= QImage::Format_Invalid || header.format >= QImage::NImageFormats ||
        HasColorTable(static_cast<QImage::Format>(header.format)) ||
        file.size() != qint64{sizeof header} + qint64{header.bytesPerLine} * header.height)
        return false;
    QImage read(static_cast<int>(header.width), static_cast<int>(header.height),
                static_cast<QImage::Format>(header.format));
    const qint64 size = read.sizeInBytes();
    if (read.isNull() || read.bytesPerLine() != header.bytesPerLine ||
        file.read(reinterpret_cast<char*>(read.bits()), size) != size)
        return false;
    image = std::move(read);
    return true;
}

bool WritePixelFile(const QString& path, const QImage& picture) {
    if (picture.isNull())
        return false;
    const QImage image =
        HasColorTable(picture.format())
            ? picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                : QImage::Format_RGB32)
            : picture;
    Header header{kMagic, static_cast<uint32_t>(image.width()),
                  static_cast<uint32_t>(image.height()), static_cast<uint32_t>(image.format()),
                  static_cast<uint32_t>(image.bytesPerLine())};
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(&header), sizeof header) == sizeof header &&
           file.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) ==
               image.sizeInBytes() &&
           file.commit();
}
