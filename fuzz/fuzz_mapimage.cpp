// The map loader over any bytes. Invariants: it ends without undefined behaviour (the
// sanitizers abort on any); a picture it gives is not empty and within the allocation limit.
#include "FuzzSupport.h"
#include "core/data/MapImage.h"

#include <QBuffer>
#include <QGuiApplication>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Image plugins need an application object.
    static int argc = 1;
    static char name[] = "fuzz_mapimage";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;

    // A smaller limit than the program's keeps each input fast; the checks are the same.
    constexpr int kLimitMiB = 16;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<QImage> image = MapImage::read(buffer, kLimitMiB);
    if (image && (image->isNull() || image->sizeInBytes() > qsizetype(kLimitMiB) * 1024 * 1024))
        FuzzSupport::fail("an empty or oversized picture");
    return 0;
}
