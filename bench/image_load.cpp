// The baseline of map_open.sh: Qt's own QImageReader loading a picture, in a process of its own
// that does nothing else. Prints loaded_ms (from ZAV_BENCH_T0, the launcher's wall-clock time in
// seconds, to the picture in memory), read_ms (the read alone) and peak_kib (peak resident
// memory).
#include "core/data/MapImage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: image_load PICTURE\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    QImageReader reader(QFile::decodeName(argv[1]));
    reader.setAllocationLimit(MapImage::kAllocationLimitMiB); // as the program allows
    const QImage image = reader.read();
    const double readMs = timer.nsecsElapsed() / 1e6;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    const char* t0 = std::getenv("ZAV_BENCH_T0");
    const double since = t0 ? (now.tv_sec + now.tv_nsec / 1e9 - std::strtod(t0, nullptr)) * 1e3 : 0;
    long peak = -1;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    std::printf("loaded_ms=%.2f\nread_ms=%.2f\npeak_kib=%ld\nbytes=%lld\n", since, readMs, peak,
                static_cast<long long>(image.sizeInBytes()));
    return 0;
}
