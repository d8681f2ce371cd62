#pragma once

#include <QImage>
#include <QString>

#include <optional>

class QIODevice;

// Loads a map picture. Whatever the extension, the content decides the format, as any picture
// the platform can read is shown. A corrupt file, a bitmap cut short, or one whose header
// claims dimensions beyond the allocation limit, gives nothing rather than a crash, a picture
// with made-up rows or an enormous allocation.
namespace MapImage {

constexpr int kAllocationLimitMiB = 256;

std::optional<QImage> load(const QString& path);

// The same from an open, random-access device (left at an unspecified position). Fuzzers pass
// a smaller allocation limit.
std::optional<QImage> read(QIODevice& device, int allocationLimitMiB = kAllocationLimitMiB);

// True when the name ends in exactly "BMP" or "bmp" (the only maps a question file accepts).
bool hasBitmapExtension(const QString& path);

} // namespace MapImage
