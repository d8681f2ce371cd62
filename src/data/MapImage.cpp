#include "data/MapImage.h"

#include "platform/Files.h"

#include <QFile>
#include <QImageReader>

#include <cstdlib>

namespace {

quint32 le32(const QByteArray& b, int at) {
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8 |
           quint32(uchar(b[at + 2])) << 16 | quint32(uchar(b[at + 3])) << 24;
}

quint16 le16(const QByteArray& b, int at) {
    return quint16(uchar(b[at]) | uchar(b[at + 1]) << 8);
}

// Qt's BMP reader accepts a file cut short and fills in the missing rows; a map that lost its
// end is refused instead, like any other picture that cannot be loaded. Only uncompressed
// layouts can be sized from the header; the reader checks the rest.
bool isTruncatedBitmap(QFile& file) {
    const QByteArray header = file.peek(34);
    if (header.size() < 34 || !header.startsWith("BM"))
        return false;
    const quint32 dataOffset = le32(header, 10);
    const quint32 infoSize = le32(header, 14);
    if (infoSize < 40)
        return false; // the old OS/2 header
    const qint64 width = qint32(le32(header, 18));
    const qint64 height = qint32(le32(header, 22));
    const quint16 bitsPerPixel = le16(header, 28);
    const quint32 compression = le32(header, 30);
    if (compression != 0 && compression != 3)
        return false;
    const qint64 rowBytes = (std::abs(width) * bitsPerPixel + 31) / 32 * 4;
    return file.size() < qint64(dataOffset) + rowBytes * std::abs(height);
}

} // namespace

namespace MapImage {

std::optional<QImage> load(const QString& path) {
    if (!Files::fileExists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || isTruncatedBitmap(file))
        return std::nullopt;
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMiB);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

bool hasBitmapExtension(const QString& path) {
    const QString extension = Files::extension(path);
    return extension == u"BMP" || extension == u"bmp";
}

} // namespace MapImage
