#include "core/platform/MapPyramid.h"

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <vector>

namespace {

// A scale this close to a whole ratio counts as that ratio (zooms are computed in floating point).
constexpr qreal kScaleNoise = 1e-9;

// Shrinks `source` by `factor` (2 or 4) into `target`: every target pixel is the rounded
// average of the source pixels it covers, colour and alpha channels alike (premultiplied
// averages stay premultiplied). Two channels at a time share a 32-bit word, 16 bits each, room
// for the sum of 16 bytes. Returns false when `canceled` stops it.
template <int Factor>
bool shrinkInto(const QImage& source, QImage& target, const std::function<bool()>& canceled) {
    constexpr quint32 kLanes = 0x00FF00FF;
    constexpr int kShift = Factor == 2 ? 2 : 4; // log2(Factor * Factor)
    constexpr quint32 kHalf = (Factor * Factor / 2) * 0x00010001u;
    const int sourceWidth = source.width();
    const int sourceHeight = source.height();
    const int width = target.width();
    const int wholeBlocks = sourceWidth / Factor;
    std::vector<quint32> redBlue(width), alphaGreen(width);

    for (int y = 0; y < target.height(); ++y) {
        if (canceled && y % 64 == 0 && canceled())
            return false;
        std::fill(redBlue.begin(), redBlue.end(), 0);
        std::fill(alphaGreen.begin(), alphaGreen.end(), 0);
        const int firstRow = y * Factor;
        const int rows = std::min(Factor, sourceHeight - firstRow);
        for (int row = firstRow; row < firstRow + rows; ++row) {
            const auto* in = reinterpret_cast<const quint32*>(source.constScanLine(row));
            for (int x = 0; x < wholeBlocks; ++x) {
                quint32 rb = 0, ag = 0;
                for (int i = 0; i < Factor; ++i) {
                    const quint32 pixel = in[x * Factor + i];
                    rb += pixel & kLanes;
                    ag += (pixel >> 8) & kLanes;
                }
                redBlue[x] += rb;
                alphaGreen[x] += ag;
            }
            for (int x = wholeBlocks * Factor; x < sourceWidth; ++x) {
                redBlue[wholeBlocks] += in[x] & kLanes;
                alphaGreen[wholeBlocks] += (in[x] >> 8) & kLanes;
            }
        }
        auto* out = reinterpret_cast<quint32*>(target.scanLine(y));
        const bool wholeRows = rows == Factor;
        for (int x = 0; x < width; ++x) {
            if (wholeRows && x < wholeBlocks) {
                out[x] = (((alphaGreen[x] + kHalf) >> kShift) & kLanes) << 8 |
                         (((redBlue[x] + kHalf) >> kShift) & kLanes);
                continue;
            }
            // A block cut by the right or bottom edge: the average of the pixels it has.
            const quint32 count =
                quint32(rows) * quint32(std::min(Factor, sourceWidth - x * Factor));
            const auto average = [count](quint32 sum) {
                return (sum + count / 2) / count;
            };
            out[x] = average(alphaGreen[x] >> 16) << 24 | average(redBlue[x] >> 16) << 16 |
                     average(alphaGreen[x] & 0xFFFF) << 8 | average(redBlue[x] & 0xFFFF);
        }
    }
    return true;
}

QImage allocateImage(const QSize& size, QImage::Format format) {
    return QImage(size, format);
}

} // namespace

MapPyramid::MapPyramid(QObject* parent)
    : QObject(parent)
    , m_levels{Level{}} {
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &MapPyramid::adoptCopies);
}

MapPyramid::~MapPyramid() {
    // The worker holds its own reference to the map and ends soon after this.
    m_watcher.cancel();
}

QImage::Format MapPyramid::drawingFormat(const QImage& map) {
    return map.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

void MapPyramid::setMap(const QImage& map, const Allocate& allocate) {
    clear();
    QImage drawable = map;
    if (!drawable.isNull() && drawable.format() != drawingFormat(drawable))
        drawable.convertTo(drawingFormat(drawable));
    m_levels = {Level{drawable, 1}};
    if (drawable.isNull())
        return;
    if (qint64(drawable.width()) * drawable.height() <= kBackgroundPixels) {
        m_levels += buildCopies(drawable, allocate);
        emit copiesReady();
        return;
    }
    m_building = true;
    m_watcher.setFuture(QtConcurrent::run([drawable, allocate](QPromise<QList<Level>>& promise) {
        promise.addResult(
            buildCopies(drawable, allocate, [&promise] { return promise.isCanceled(); }));
    }));
}

void MapPyramid::clear() {
    if (m_building) {
        m_watcher.cancel();
        m_building = false;
    }
    m_levels = {Level{}};
}

void MapPyramid::waitForCopies() {
    if (m_building) {
        m_watcher.waitForFinished();
        adoptCopies();
    }
}

void MapPyramid::adoptCopies() {
    const QFuture<QList<Level>> future = m_watcher.future();
    if (!m_building || future.isCanceled() || future.resultCount() == 0)
        return;
    m_building = false;
    m_levels += future.result();
    emit copiesReady();
}

const MapPyramid::Level& MapPyramid::levelFor(qreal deviceScale) const {
    const Level* chosen = &m_levels.front();
    for (const Level& level : m_levels) {
        if (deviceScale * level.shrink <= 1 + kScaleNoise)
            chosen = &level;
    }
    return *chosen;
}

QList<MapPyramid::Level> MapPyramid::buildCopies(const QImage& map, const Allocate& allocate,
                                                 const std::function<bool()>& canceled) {
    QList<Level> copies;
    if (map.isNull() || (map.format() != QImage::Format_RGB32 &&
                         map.format() != QImage::Format_ARGB32_Premultiplied))
        return copies;
    const Allocate& make = allocate ? allocate : Allocate(allocateImage);
    const auto sideAt = [&](int shrink) {
        return QSize((map.width() - 1) / shrink + 1, (map.height() - 1) / shrink + 1);
    };
    QImage source = map;
    int sourceShrink = 1;
    for (int shrink = 2;
         std::max(sideAt(shrink / 2).width(), sideAt(shrink / 2).height()) > kSmallestCopySide;
         shrink *= 2) {
        const QSize size = sideAt(shrink);
        if (shrink == 2 && qint64(size.width()) * size.height() * 4 > kMaxHalfCopyBytes)
            continue;
        QImage copy = make(size, map.format());
        if (copy.size() != size || copy.format() != map.format())
            break; // no room: drawing uses the larger pictures
        const int factor = shrink / sourceShrink;
        const bool done = factor == 2 ? shrinkInto<2>(source, copy, canceled)
                                      : shrinkInto<4>(source, copy, canceled);
        if (!done)
            return {};
        copies.append(Level{copy, shrink});
        source = copy;
        sourceShrink = shrink;
    }
    return copies;
}
