#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QList>
#include <QObject>

#include <functional>

// A map and its reduced copies, for drawing at any zoom without rescaling the whole map in
// every frame. Each copy is the map shrunk by a power of two with every pixel the average of
// the pixels it covers, so a zoomed-out view is drawn from a copy at most twice its size and
// stays smooth. Copies are made once per map: at once for a small map, on a worker thread for a
// large one (copiesReady() tells when they are there). Until then, and for any copy that could
// not be allocated, drawing falls back to the next larger picture, the map itself at last.
class MapPyramid : public QObject {
    Q_OBJECT
public:
    struct Level {
        QImage image;
        int shrink = 1; // map pixels per pixel of the image, along each axis
    };
    // Makes an image for a copy; a null image means it could not be allocated.
    using Allocate = std::function<QImage(const QSize&, QImage::Format)>;

    // A first copy of half the map's size is kept only up to this size: for a larger map it
    // would add a quarter of the map's memory, and zooms between 25 % and 50 % are drawn from
    // the map itself instead.
    static constexpr qsizetype kMaxHalfCopyBytes = 16 * 1024 * 1024;
    // Copies go on halving until the longer side is at most this.
    static constexpr int kSmallestCopySide = 128;
    // Maps with more pixels than this get their copies on a worker thread.
    static constexpr qint64 kBackgroundPixels = 4 * 1024 * 1024;

    explicit MapPyramid(QObject* parent = nullptr);
    ~MapPyramid() override;

    // Shows `map` from now on (any format; kept in one that draws fast), dropping the
    // copies of the previous map. `allocate` makes the copies' images (tests fail it).
    void setMap(const QImage& map, const Allocate& allocate = {});
    void clear();
    const QImage& map() const { return m_levels.front().image; }
    bool isNull() const { return map().isNull(); }
    bool hasAllCopies() const { return !m_building; }
    // Blocks until the copies of a worker thread are in (for benchmarks and tests).
    void waitForCopies();

    // The map first, then its copies from the largest down.
    const QList<Level>& levels() const { return m_levels; }
    // The picture to draw from at `deviceScale` device pixels per map pixel: the smallest one
    // that is not enlarged to be drawn.
    const Level& levelFor(qreal deviceScale) const;

    // The copies of `map` (RGB32 or ARGB32_Premultiplied), largest first; stops at the first
    // copy that cannot be allocated, or when `canceled` says so.
    static QList<Level> buildCopies(const QImage& map, const Allocate& allocate = {},
                                    const std::function<bool()>& canceled = {});
    // The format a map is kept in: RGB32 when it is opaque, ARGB32_Premultiplied otherwise.
    static QImage::Format drawingFormat(const QImage& map);

signals:
    void copiesReady();

private:
    void adoptCopies();

    QList<Level> m_levels;
    QFutureWatcher<QList<Level>> m_watcher;
    bool m_building = false;
};
