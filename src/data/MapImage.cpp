#include "data/MapImage.h"

#include "platform/Files.h"

#include <QImageReader>

namespace MapImage {

std::optional<QImage> load(const QString& path) {
    if (!Files::FileExists(path))
        return std::nullopt;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMiB);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

bool hasBitmapExtension(const QString& path) {
    const QString extension = Files::GetExtensionName(path);
    return extension == u"BMP" || extension == u"bmp";
}

} // namespace MapImage
