#include "core/data/MapImage.h"

#include "core/platform/Files.h"

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

// The bytes of a device from one offset on, a few at a time, without holding the whole file.
class ByteStream {
public:
    ByteStream(QIODevice& device, qint64 offset)
        : m_device(device) {
        m_ok = m_device.seek(offset);
    }
    // The next byte, or -1 at the end.
    int next() {
        if (m_pos == m_buffer.size()) {
            if (!m_ok)
                return -1;
            m_buffer = m_device.read(64 * 1024);
            m_pos = 0;
            if (m_buffer.isEmpty()) {
                m_ok = false;
                return -1;
            }
        }
        return uchar(m_buffer[m_pos++]);
    }
    bool skip(qint64 count) {
        for (qint64 i = 0; i < count; ++i) {
            if (next() < 0)
                return false;
        }
        return true;
    }

private:
    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_ok = false;
};

// A run-length stream is whole when it reaches its end-of-bitmap code, or has ended as many
// lines as the bitmap has rows, before the file ends.
bool isWholeRunLengthStream(QIODevice& device, qint64 offset, qint64 rows, bool fourBit) {
    ByteStream in(device, offset);
    qint64 lines = 0;
    while (lines < rows) {
        const int count = in.next();
        const int value = in.next();
        if (count < 0 || value < 0)
            return false;
        if (count > 0)
            continue; // a run of one colour
        if (value == 0) {
            ++lines; // end of line
        } else if (value == 1) {
            return true; // end of bitmap
        } else if (value == 2) {
            const int dx = in.next();
            const int dy = in.next();
            if (dx < 0 || dy < 0)
                return false;
            lines += dy;
        } else {
            // Literal pixels, padded to an even number of bytes.
            const qint64 bytes = fourBit ? (value + 1) / 2 : value;
            if (!in.skip(bytes + bytes % 2))
                return false;
        }
    }
    return true;
}

// Qt's BMP reader accepts a file cut short and fills in the missing rows; a map that lost its
// end is refused instead, like any other picture that cannot be loaded. Header figures are
// untrusted: every size is computed with checked arithmetic.
bool isCutShortBitmap(QIODevice& device) {
    const QByteArray header = device.peek(34);
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
    const qint64 size = device.size();
    if (compression == 1 || compression == 2) {
        const bool whole =
            qint64(dataOffset) < size &&
            isWholeRunLengthStream(device, dataOffset, std::abs(height), compression == 2);
        device.seek(0);
        return !whole;
    }
    if (compression != 0 && compression != 3)
        return false; // the reader checks the other layouts itself
    // At most 2^31 * 65535 + 31: no overflow in 64 bits.
    const qint64 rowBytes = (std::abs(width) * bitsPerPixel + 31) / 32 * 4;
    qint64 pixelBytes = 0;
    qint64 needed = 0;
    if (__builtin_mul_overflow(rowBytes, std::abs(height), &pixelBytes) ||
        __builtin_add_overflow(pixelBytes, qint64(dataOffset), &needed))
        return true; // no file can be that long
    return size < needed;
}

} // namespace

namespace MapImage {

std::optional<QImage> read(QIODevice& device, int allocationLimitMiB) {
    if (isCutShortBitmap(device))
        return std::nullopt;
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(allocationLimitMiB);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QImage> load(const QString& path) {
    if (!Files::fileExists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return read(file);
}

bool hasBitmapExtension(const QString& path) {
    const QString extension = Files::extension(path);
    return extension == u"BMP" || extension == u"bmp";
}

} // namespace MapImage
