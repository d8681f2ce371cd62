#pragma once

#include <QImage>
#include <QString>

#include <optional>

// Loads a map picture. Whatever the extension, the content decides the format, as any picture
// the platform can read is shown. A corrupt file, or one whose header claims dimensions beyond
// the allocation limit, gives nothing rather than a crash or an enormous allocation.
namespace MapImage {

constexpr int kAllocationLimitMiB = 256;

std::optional<QImage> load(const QString& path);

// True when the name ends in exactly "BMP" or "bmp" (the only maps a question file accepts).
bool hasBitmapExtension(const QString& path);

} // namespace MapImage
