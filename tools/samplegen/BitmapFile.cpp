#include "BitmapFile.h"

#include <algorithm>

namespace {

void put16(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void put32(QByteArray& out, quint32 value) {
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// File header, info header and colour table around the pixel bytes. Rows run bottom-up.
QByteArray wrap(const QImage& image, int bits, int compression, const QByteArray& pixels) {
    const int colours = int(image.colorCount());
    const quint32 offset = 14 + 40 + 4 * quint32(colours);
    QByteArray out;
    out.append("BM");
    put32(out, offset + quint32(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, quint32(image.width()));
    put32(out, quint32(image.height()));
    put16(out, 1);
    put16(out, bits);
    put32(out, quint32(compression));
    put32(out, quint32(pixels.size()));
    put32(out, 3937); // 100 dpi, as the samples always had
    put32(out, 3937);
    put32(out, quint32(colours));
    put32(out, quint32(colours));
    for (const QRgb rgb : image.colorTable()) {
        out.append(char(qBlue(rgb)));
        out.append(char(qGreen(rgb)));
        out.append(char(qRed(rgb)));
        out.append(char(0));
    }
    return out + pixels;
}

// Pixel runs only (no literal groups): the maps are runs, and a lone pixel costs two bytes
// either way. RLE4 runs alternate two colours, which also covers a pair of lone pixels.
QByteArray encodeRuns(const QImage& image, bool fourBit) {
    QByteArray out;
    for (int y = image.height() - 1; y >= 0; --y) {
        const uchar* row = image.constScanLine(y);
        const int width = image.width();
        for (int x = 0; x < width;) {
            const uchar a = row[x];
            const uchar b = fourBit && x + 1 < width ? row[x + 1] : a;
            int n = 1;
            while (n < 255 && x + n < width && row[x + n] == (n % 2 == 0 ? a : b))
                ++n;
            out.append(char(n));
            out.append(char(fourBit ? (a << 4) | b : a));
            x += n;
        }
        out.append(char(0));
        out.append(char(y == 0 ? 1 : 0)); // end of line, or of the bitmap after the last
    }
    return out;
}

} // namespace

namespace BitmapFile {

QByteArray plain4(const QImage& image) {
    const int rowBytes = (image.width() * 4 + 31) / 32 * 4;
    QByteArray pixels(qsizetype(rowBytes) * image.height(), '\0');
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        char* out = pixels.data() + qsizetype(image.height() - 1 - y) * rowBytes;
        for (int x = 0; x < image.width(); ++x)
            out[x / 2] = char(out[x / 2] | (x % 2 == 0 ? row[x] << 4 : row[x]));
    }
    return wrap(image, 4, 0, pixels);
}

QByteArray rle4(const QImage& image) {
    return wrap(image, 4, 2, encodeRuns(image, true));
}

QByteArray rle8(const QImage& image) {
    return wrap(image, 8, 1, encodeRuns(image, false));
}

QByteArray smallest(const QImage& image) {
    const QByteArray all[] = {plain4(image), rle4(image), rle8(image)};
    return *std::min_element(std::begin(all), std::end(all),
                             [](const auto& a, const auto& b) { return a.size() < b.size(); });
}

} // namespace BitmapFile
