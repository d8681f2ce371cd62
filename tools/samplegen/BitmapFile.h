#pragma once

#include <QByteArray>
#include <QImage>

// The sample maps as bitmap files: plain 4-bit, or run-length coded (RLE4 or RLE8) where that is
// smaller, as the program reads all three. The maps are large areas of few colours, so the runs
// usually make them several times smaller.
namespace BitmapFile {

// The bytes of the smallest of the three layouts for an 8-bit image of at most 16 colours.
QByteArray smallest(const QImage& indexed);

// Each layout on its own, for the size report.
QByteArray plain4(const QImage& indexed);
QByteArray rle4(const QImage& indexed);
QByteArray rle8(const QImage& indexed);

} // namespace BitmapFile
