#include "core/platform/MapLineOverlay.h"
#include "core/platform/MapOverlay.h"
#include "core/platform/MapPainter.h"
#include "core/platform/MapPyramid.h"
#include "core/platform/MapTransform.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

using Shrinks = QList<int>;

// The stored value, premultiplied or not (QImage::pixel() would unpremultiply).
uint raw(const QImage& image, int x, int y) {
    return reinterpret_cast<const uint*>(image.constScanLine(y))[x];
}

QImage filled(const QSize& size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

Shrinks shrinksOf(const QList<MapPyramid::Level>& levels) {
    Shrinks shrinks;
    for (const MapPyramid::Level& level : levels)
        shrinks.append(level.shrink);
    return shrinks;
}

// Makes images as usual, except that the `failAt`th request (from 1) and all after it fail.
struct CountingAllocator {
    explicit CountingAllocator(int failAt)
        : failAt(failAt) {}
    int failAt;
    int requests = 0;
    QSize firstRequest;
    QImage operator()(const QSize& size, QImage::Format format) {
        if (++requests == 1)
            firstRequest = size;
        return failAt > 0 && requests >= failAt ? QImage() : QImage(size, format);
    }
};

// Paints a view of `viewSize` logical pixels at `ratio` device pixels each.
QImage paintView(const MapPyramid& map, const MapTransform& transform,
                 const QList<const MapOverlay*>& overlays = {}) {
    const qreal ratio = transform.devicePixelRatio();
    QImage view(transform.viewSize() * ratio, QImage::Format_ARGB32_Premultiplied);
    view.setDevicePixelRatio(ratio);
    QPainter painter(&view);
    MapPainter::paint(painter, map, transform, QRect(QPoint(0, 0), transform.viewSize()), Qt::gray,
                      overlays);
    return view;
}

// A one-pixel red dot on a map point; remembers what part of the map it was asked to paint.
class DotOverlay : public MapOverlay {
public:
    QPointF point;
    mutable QRectF visibleMap;
    void paint(QPainter& painter, const MapTransform& transform,
               const QRectF& visible) const override {
        visibleMap = visible;
        painter.fillRect(QRectF(transform.toView(point), QSizeF(1, 1)), Qt::red);
    }
};

} // namespace

class TestMapDrawing : public QObject {
    Q_OBJECT
private slots:
    void copiesAverageThePixelsTheyCover_data();
    void copiesAverageThePixelsTheyCover();
    void copiesWithinMemory_data();
    void copiesWithinMemory();
    void levelForAZoom_data();
    void levelForAZoom();
    void largeMapsGetTheirCopiesFromAWorker();
    void paintsEveryPixelWhereTheTransformSays_data();
    void paintsEveryPixelWhereTheTransformSays();
    void zoomedOutViewIsDrawnFromWhatThereIs_data();
    void zoomedOutViewIsDrawnFromWhatThereIs();
    void pressLineJoinsPixelCentres_data();
    void pressLineJoinsPixelCentres();
};

void TestMapDrawing::copiesAverageThePixelsTheyCover_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<uint>("even"); // the map's even columns
    QTest::addColumn<uint>("odd");
    QTest::addColumn<uint>("average");
    QTest::newRow("opaque") << QImage::Format_RGB32 << 0xFF000000u << 0xFFFFFFFFu << 0xFF808080u;
    QTest::newRow("premultiplied alpha")
        << QImage::Format_ARGB32_Premultiplied << 0x80800000u << 0x00000000u << 0x40400000u;
    QTest::newRow("channels apart")
        << QImage::Format_RGB32 << 0xFF10FF00u << 0xFF2000FFu << 0xFF188080u;
}

void TestMapDrawing::copiesAverageThePixelsTheyCover() {
    QFETCH(QImage::Format, format);
    QFETCH(uint, even);
    QFETCH(uint, odd);
    QFETCH(uint, average);
    // Odd sizes: the last column and row of a copy cover one column or row of the map.
    QImage map(301, 201, format);
    for (int y = 0; y < map.height(); ++y) {
        auto* line = reinterpret_cast<uint*>(map.scanLine(y));
        for (int x = 0; x < map.width(); ++x)
            line[x] = x % 2 ? odd : even;
    }
    const QList<MapPyramid::Level> copies = MapPyramid::buildCopies(map);
    QCOMPARE(shrinksOf(copies), Shrinks({2, 4}));
    const QImage& half = copies[0].image;
    QCOMPARE(half.size(), QSize(151, 101));
    QCOMPARE(half.format(), format);
    QCOMPARE(raw(half, 0, 0), average);
    QCOMPARE(raw(half, 149, 99), average);
    QCOMPARE(raw(half, 0, 100), average); // one row
    QCOMPARE(raw(half, 150, 0), even);    // one column
    const QImage& quarter = copies[1].image;
    QCOMPARE(quarter.size(), QSize(76, 51));
    QCOMPARE(raw(quarter, 10, 50), average);
    QCOMPARE(raw(quarter, 75, 0), even);
}

void TestMapDrawing::copiesWithinMemory_data() {
    QTest::addColumn<QSize>("mapSize");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<QSize>("firstRequest");
    QTest::addColumn<Shrinks>("shrinks");
    QTest::newRow("halvings down to a small copy")
        << QSize(1200, 900) << 0 << QSize(600, 450) << Shrinks{2, 4, 8, 16};
    QTest::newRow("half copy kept up to its limit")
        << QSize(4000, 4000) << 1 << QSize(2000, 2000) << Shrinks{};
    QTest::newRow("larger map: no half copy")
        << QSize(4100, 4100) << 1 << QSize(1025, 1025) << Shrinks{};
    QTest::newRow("no room for a copy: the larger ones stay")
        << QSize(1200, 900) << 3 << QSize(600, 450) << Shrinks{2, 4};
}

void TestMapDrawing::copiesWithinMemory() {
    QFETCH(QSize, mapSize);
    QFETCH(int, failAt);
    QFETCH(QSize, firstRequest);
    QFETCH(Shrinks, shrinks);
    const QImage map = filled(mapSize, Qt::green);
    CountingAllocator allocator{failAt};
    const auto copies = MapPyramid::buildCopies(
        map, [&](const QSize& size, QImage::Format format) { return allocator(size, format); });
    QCOMPARE(allocator.firstRequest, firstRequest);
    QCOMPARE(shrinksOf(copies), shrinks);
}

void TestMapDrawing::levelForAZoom_data() {
    QTest::addColumn<qreal>("deviceScale");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<int>("shrink");
    // A 1200 x 900 map: copies shrunk by 2, 4, 8 and 16 when there is room for all.
    QTest::newRow("enlarged") << 2.0 << 0 << 1;
    QTest::newRow("natural size") << 1.0 << 0 << 1;
    QTest::newRow("three quarters: the map") << 0.75 << 0 << 1;
    QTest::newRow("half: the half copy") << 0.5 << 0 << 2;
    QTest::newRow("30 %") << 0.3 << 0 << 2;
    QTest::newRow("quarter") << 0.25 << 0 << 4;
    QTest::newRow("12 %") << 0.12 << 0 << 8;
    QTest::newRow("below the smallest copy") << 0.01 << 0 << 16;
    QTest::newRow("smallest copies missing") << 0.01 << 3 << 4;
    QTest::newRow("no copies: the map") << 0.01 << 1 << 1;
}

void TestMapDrawing::levelForAZoom() {
    QFETCH(qreal, deviceScale);
    QFETCH(int, failAt);
    QFETCH(int, shrink);
    MapPyramid pyramid;
    CountingAllocator allocator{failAt};
    pyramid.setMap(
        filled(QSize(1200, 900), Qt::green),
        [&](const QSize& size, QImage::Format format) { return allocator(size, format); });
    QVERIFY(pyramid.hasAllCopies());
    QCOMPARE(pyramid.levelFor(deviceScale).shrink, shrink);
}

void TestMapDrawing::largeMapsGetTheirCopiesFromAWorker() {
    MapPyramid pyramid;
    QSignalSpy ready(&pyramid, &MapPyramid::copiesReady);
    const QImage first = filled(QSize(2100, 2100), Qt::red);
    QImage second(2200, 2000, QImage::Format_Indexed8);
    second.setColorTable({qRgb(0, 0, 255)});
    second.fill(0);
    pyramid.setMap(first);
    // Replaced before its copies are in: only the second map's copies ever arrive.
    pyramid.setMap(second);
    QVERIFY(!pyramid.hasAllCopies());
    QCOMPARE(pyramid.map().format(), QImage::Format_RGB32);
    QCOMPARE(pyramid.levelFor(0.1).shrink, 1); // the map itself until then
    QVERIFY(ready.wait(20000));
    QVERIFY(pyramid.hasAllCopies());
    const MapPyramid::Level& level = pyramid.levelFor(0.1);
    QCOMPARE(level.shrink, 8);
    QCOMPARE(level.image.size(), QSize(275, 250));
    QCOMPARE(level.image.pixel(0, 0), qRgb(0, 0, 255));
    QCOMPARE(ready.count(), 1);
}

void TestMapDrawing::paintsEveryPixelWhereTheTransformSays_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QPoint>("scroll");
    QTest::newRow("100 %: the map from the corner") << 1.0 << 1.0 << QPoint();
    QTest::newRow("100 % at ratio 2: blocks of 2 x 2, no blur") << 1.0 << 2.0 << QPoint();
    QTest::newRow("200 % scrolled") << 2.0 << 1.0 << QPoint(37, 60);
    QTest::newRow("300 % at ratio 2") << 3.0 << 2.0 << QPoint(101, 45);
    QTest::newRow("800 %, the far corner") << 8.0 << 1.0 << QPoint(800, 600);
}

// From 100 % up every device pixel shows the map pixel under it, or the background beyond the
// map; overlays are painted above the map where the transform places their points.
void TestMapDrawing::paintsEveryPixelWhereTheTransformSays() {
    QFETCH(qreal, zoom);
    QFETCH(qreal, ratio);
    QFETCH(QPoint, scroll);
    QImage image(120, 90, QImage::Format_RGB32); // fits the 160 x 120 view at 100 %
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 2, 255 - x));
    MapPyramid map;
    map.setMap(image);
    const MapTransform transform(image.size(), QSize(160, 120), zoom, scroll, ratio);
    QCOMPARE(transform.scroll(), scroll);
    DotOverlay dot;
    dot.point = transform.mapPixelAt(QPointF(80, 60));
    const QImage view = paintView(map, transform, {&dot});

    QCOMPARE(dot.visibleMap, transform.visibleMapRect());
    const QPointF dotInView = transform.toView(dot.point) * ratio;
    QCOMPARE(view.pixel(int(dotInView.x()), int(dotInView.y())), qRgb(255, 0, 0));
    for (int y = 0; y < view.height(); ++y) {
        for (int x = 0; x < view.width(); ++x) {
            const QPoint at = transform.mapPixelAt(QPointF(x + 0.5, y + 0.5) / ratio);
            if (at == dot.point.toPoint())
                continue;
            const QRgb expected =
                image.rect().contains(at) ? image.pixel(at) : QColor(Qt::gray).rgb();
            if (view.pixel(x, y) != expected)
                QFAIL(
                    qPrintable(QStringLiteral("device pixel %1, %2 shows %3, not map pixel %4, %5")
                                   .arg(x)
                                   .arg(y)
                                   .arg(view.pixel(x, y), 8, 16)
                                   .arg(at.x())
                                   .arg(at.y())));
        }
    }
}

void TestMapDrawing::zoomedOutViewIsDrawnFromWhatThereIs_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("failAt");
    QTest::newRow("25 % from the quarter copy") << 0.25 << 1.0 << 0;
    QTest::newRow("40 % at ratio 2 from the map") << 0.4 << 2.0 << 0;
    QTest::newRow("10 % from the eighth copy") << 0.1 << 1.0 << 0;
    QTest::newRow("10 % without copies") << 0.1 << 1.0 << 1;
}

// Left half black, right half white: reduced, each half keeps its colour and the background
// shows beyond the map, whichever picture it is drawn from.
void TestMapDrawing::zoomedOutViewIsDrawnFromWhatThereIs() {
    QFETCH(qreal, zoom);
    QFETCH(qreal, ratio);
    QFETCH(int, failAt);
    QImage image = filled(QSize(1200, 800), Qt::black);
    QPainter(&image).fillRect(600, 0, 600, 800, Qt::white);
    MapPyramid map;
    CountingAllocator allocator{failAt};
    map.setMap(image,
               [&](const QSize& size, QImage::Format format) { return allocator(size, format); });
    const MapTransform transform(image.size(), QSize(640, 480), zoom, QPoint(), ratio);
    const QImage view = paintView(map, transform);
    const auto deviceAt = [&](qreal mapX, qreal mapY) {
        const QPointF p = transform.toView(QPointF(mapX, mapY)) * ratio;
        return view.pixel(int(p.x()), int(p.y()));
    };
    QCOMPARE(deviceAt(100, 100), qRgb(0, 0, 0));
    QCOMPARE(deviceAt(550, 700), qRgb(0, 0, 0));
    QCOMPARE(deviceAt(650, 100), qRgb(255, 255, 255));
    QCOMPARE(deviceAt(1150, 700), qRgb(255, 255, 255));
    QCOMPARE(deviceAt(1230, 100), QColor(Qt::gray).rgb());
    QCOMPARE(deviceAt(100, 830), QColor(Qt::gray).rgb());
}

void TestMapDrawing::pressLineJoinsPixelCentres_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<QPoint>("scroll");
    QTest::newRow("100 %") << 1.0 << QPoint(0, 0);
    QTest::newRow("200 %, scrolled") << 2.0 << QPoint(30, 20);
    QTest::newRow("50 %") << 0.5 << QPoint(0, 0);
}

// The line runs between the centres of its two map pixels, the ring sits on the first, at
// the same width at every zoom; a null line paints nothing.
void TestMapDrawing::pressLineJoinsPixelCentres() {
    QFETCH(qreal, zoom);
    QFETCH(QPoint, scroll);
    MapPyramid map;
    map.setMap(filled(QSize(200, 100), Qt::white));
    const MapTransform transform(map.map().size(), QSize(160, 120), zoom, scroll);
    MapLineOverlay line;
    QCOMPARE(paintView(map, transform, {&line}), paintView(map, transform));

    line.setLine(QLineF(20, 20, 120, 60));
    const QImage view = paintView(map, transform, {&line});
    auto grey = [&](const QPointF& mapPoint, QPointF offset = {}) {
        return qGray(view.pixel((transform.toView(mapPoint) + offset).toPoint()));
    };
    QVERIFY(grey(QPointF(70.5, 40.5)) < 100);                                          // the middle
    QVERIFY(grey(QPointF(20.5, 20.5), QPointF(MapLineOverlay::kRingRadius, 0)) < 100); // ring
    QCOMPARE(grey(QPointF(20.5, 20.5), QPointF(0, -MapLineOverlay::kRingRadius - 4)), 255);
    QCOMPARE(grey(QPointF(70.5, 40.5), QPointF(0, 8)), 255); // beside the line
}

QTEST_MAIN(TestMapDrawing)
#include "tst_mapdrawing.moc"
