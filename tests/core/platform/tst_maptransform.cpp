#include "core/platform/MapTransform.h"

#include <QTest>

// The view/map coordinate rules of a zoomable map view.
class TestMapTransform : public QObject {
    Q_OBJECT
private slots:
    void mapsBothWays_data();
    void mapsBothWays();
    void pressLandsOnTheMapPixelUnderIt_data();
    void pressLandsOnTheMapPixelUnderIt();
    void zoomLimits_data();
    void zoomLimits();
    void zoomAboutPointerKeepsTheMapPointUnderIt_data();
    void zoomAboutPointerKeepsTheMapPointUnderIt();
    void followsAPoint_data();
    void followsAPoint();
};

void TestMapTransform::mapsBothWays_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QPointF>("view");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QPoint>("marker"); // top-left of the 9-pixel marker on that pixel
    const QPoint none;
    QTest::newRow("100 %: the view is the map")
        << 1.0 << 1.0 << none << QPointF(120, 45) << QPoint(120, 45) << QPoint(116, 41);
    QTest::newRow("100 %, ratio 2, second device pixel")
        << 1.0 << 2.0 << none << QPointF(120.5, 45.5) << QPoint(120, 45) << QPoint(116, 41);
    QTest::newRow("100 % scrolled")
        << 1.0 << 1.0 << QPoint(300, 7) << QPointF(20, 38) << QPoint(320, 45) << QPoint(16, 34);
    QTest::newRow("200 %") << 2.0 << 1.0 << none << QPointF(241, 91) << QPoint(120, 45)
                           << QPoint(237, 87);
    QTest::newRow("200 % scrolled, ratio 2")
        << 2.0 << 2.0 << QPoint(100, 50) << QPointF(141.5, 41.5) << QPoint(120, 45)
        << QPoint(137, 37);
    QTest::newRow("800 %") << 8.0 << 1.0 << QPoint(800, 0) << QPointF(167, 367) << QPoint(120, 45)
                           << QPoint(160, 360);
    QTest::newRow("50 %") << 0.5 << 1.0 << none << QPointF(60, 22.5) << QPoint(120, 45)
                          << QPoint(56, 18);
    QTest::newRow("16 %, ratio 2") << 0.16 << 2.0 << QPoint(0, 80) << QPointF(800.01, 0.01)
                                   << QPoint(5000, 500) << QPoint(796, -4);
}

// A view position lands on the map pixel under it; the pixel's centre maps back into the
// pixel's square in the view; the marker is centred on the pixel within half a logical pixel.
void TestMapTransform::mapsBothWays() {
    QFETCH(qreal, zoom);
    QFETCH(qreal, ratio);
    QFETCH(QPoint, scroll);
    QFETCH(QPointF, view);
    QFETCH(QPoint, pixel);
    QFETCH(QPoint, marker);
    const MapTransform t(QSize(8000, 8000), QSize(1280, 960), zoom, scroll, ratio);
    QCOMPARE(t.zoom(), zoom);
    QCOMPARE(t.scroll(), scroll);
    QCOMPARE(t.mapPixelAt(view), pixel);
    const QPointF centre = t.toView(QPointF(pixel) + QPointF(0.5, 0.5));
    QCOMPARE(t.mapPixelAt(centre), pixel);
    QVERIFY(qAbs(t.toMap(centre).x() - (pixel.x() + 0.5)) < 1e-9);
    QCOMPARE(t.toView(t.toMap(view)), view);
    QCOMPARE(t.markerTopLeft(pixel, 9), marker);
    QVERIFY(qAbs(marker.x() + 4.5 - centre.x()) <= 0.5);
    QVERIFY(qAbs(marker.y() + 4.5 - centre.y()) <= 0.5);
}

void TestMapTransform::pressLandsOnTheMapPixelUnderIt_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QPointF>("device"); // device pixels from the view's top-left corner
    QTest::addColumn<QPoint>("pixel");
    const QPoint none;
    QTest::newRow("ratio 1, odd") << 1.0 << 1.0 << none << QPointF(61, 37) << QPoint(61, 37);
    QTest::newRow("ratio 1, 200 %") << 1.0 << 2.0 << none << QPointF(61, 37) << QPoint(30, 18);
    QTest::newRow("ratio 1, 50 % scrolled")
        << 1.0 << 0.5 << QPoint(10, 20) << QPointF(61, 37) << QPoint(142, 114);
    QTest::newRow("ratio 2, odd: the pixel's second half")
        << 2.0 << 1.0 << none << QPointF(61, 37) << QPoint(30, 18);
    QTest::newRow("ratio 2, even") << 2.0 << 1.0 << none << QPointF(60, 36) << QPoint(30, 18);
    QTest::newRow("ratio 2, the next even")
        << 2.0 << 1.0 << none << QPointF(62, 38) << QPoint(31, 19);
    QTest::newRow("ratio 2, odd, scrolled")
        << 2.0 << 1.0 << QPoint(300, 7) << QPointF(61, 37) << QPoint(330, 25);
    QTest::newRow("ratio 2, 200 %, last device pixel of a map pixel")
        << 2.0 << 2.0 << none << QPointF(63, 39) << QPoint(15, 9);
    QTest::newRow("ratio 2, 50 % scrolled")
        << 2.0 << 0.5 << QPoint(10, 20) << QPointF(61, 37) << QPoint(81, 77);
    QTest::newRow("ratio 1.25, odd") << 1.25 << 1.0 << none << QPointF(61, 37) << QPoint(48, 29);
    QTest::newRow("ratio 1.25, on an edge")
        << 1.25 << 1.0 << none << QPointF(60, 35) << QPoint(48, 28);
    QTest::newRow("ratio 1.25, 200 % scrolled")
        << 1.25 << 2.0 << QPoint(3, 0) << QPointF(61, 37) << QPoint(25, 14);
    QTest::newRow("ratio 1.25, 50 %") << 1.25 << 0.5 << none << QPointF(61, 37) << QPoint(97, 59);
    QTest::newRow("ratio 1.5, odd") << 1.5 << 1.0 << none << QPointF(61, 37) << QPoint(40, 24);
    QTest::newRow("ratio 1.5, even on an edge")
        << 1.5 << 1.0 << none << QPointF(60, 36) << QPoint(40, 24);
    QTest::newRow("ratio 1.5, 200 % scrolled, on an edge")
        << 1.5 << 2.0 << QPoint(100, 50) << QPointF(63, 39) << QPoint(71, 38);
    QTest::newRow("ratio 1.5, 50 %") << 1.5 << 0.5 << none << QPointF(61, 37) << QPoint(81, 49);
    // Two thirds at 1.5 is one device pixel per map pixel, but not exactly so in binary.
    QTest::newRow("ratio 1.5, 2/3") << 1.5 << 2.0 / 3 << none << QPointF(5, 7) << QPoint(5, 7);
}

// floor(device / (zoom * ratio)) after the scroll, whether the position comes in device
// pixels or as the logical position Qt reports, with its fraction.
void TestMapTransform::pressLandsOnTheMapPixelUnderIt() {
    QFETCH(qreal, ratio);
    QFETCH(qreal, zoom);
    QFETCH(QPoint, scroll);
    QFETCH(QPointF, device);
    QFETCH(QPoint, pixel);
    const MapTransform t(QSize(8000, 8000), QSize(1280, 960), zoom, scroll, ratio);
    QCOMPARE(t.scroll(), scroll);
    QCOMPARE(t.mapPixelAtDevice(device), pixel);
    QCOMPARE(t.mapPixelAt(device / ratio), pixel);
}

void TestMapTransform::zoomLimits_data() {
    QTest::addColumn<QSize>("map");
    QTest::addColumn<qreal>("fit");
    QTest::addColumn<qreal>("lowest");
    QTest::addColumn<qreal>("opening");
    QTest::addColumn<qreal>("stepInFromFit");
    QTest::addColumn<qreal>("stepOutFromLowest");
    // The view is 1280 x 960 throughout.
    QTest::newRow("large map") << QSize(8000, 8000) << 0.12 << 0.1 << 0.12 << 0.125 << 0.1;
    QTest::newRow("very wide map") << QSize(25600, 100) << 0.05 << 0.05 << 0.05 << 0.1 << 0.05;
    QTest::newRow("map that fits") << QSize(640, 480) << 2.0 << 0.1 << 1.0 << 3.0 << 0.1;
    QTest::newRow("one side too long") << QSize(1000, 1920) << 0.5 << 0.1 << 0.5 << 2.0 / 3 << 0.1;
    QTest::newRow("tiny map") << QSize(10, 10) << 8.0 << 0.1 << 1.0 << 8.0 << 0.1;
}

void TestMapTransform::zoomLimits() {
    QFETCH(QSize, map);
    QFETCH(qreal, fit);
    QFETCH(qreal, lowest);
    QFETCH(qreal, opening);
    QFETCH(qreal, stepInFromFit);
    QFETCH(qreal, stepOutFromLowest);
    const QSize view(1280, 960);
    QCOMPARE(MapTransform::fitZoom(map, view), fit);
    QCOMPARE(MapTransform::openingZoom(map, view), opening);
    const MapTransform fitted(map, view, fit, QPoint(500, 500));
    QCOMPARE(fitted.maxScroll(), QPoint(0, 0)); // no scroll bars at the fitted size
    QCOMPARE(fitted.scroll(), QPoint(0, 0));
    QCOMPARE(fitted.zoomInStep(), stepInFromFit);
    const MapTransform lowestZoom(map, view, 0.001);
    QCOMPARE(lowestZoom.zoom(), lowest);
    QCOMPARE(lowestZoom.zoomOutStep(), stepOutFromLowest);
    const MapTransform highest(map, view, 100);
    QCOMPARE(highest.zoom(), MapTransform::kMaxZoom);
    QCOMPARE(highest.zoomInStep(), MapTransform::kMaxZoom);
    QCOMPARE(highest.zoomOutStep(), 6.0);
}

void TestMapTransform::zoomAboutPointerKeepsTheMapPointUnderIt_data() {
    QTest::addColumn<qreal>("from");
    QTest::addColumn<qreal>("to");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QPoint>("expected");
    QTest::addColumn<bool>("atAnEdge");
    QTest::newRow("in at the centre")
        << 1.0 << 2.0 << QPointF(640, 480) << QPoint(0, 0) << QPoint(640, 480) << false;
    QTest::newRow("in far down the map")
        << 1.0 << 8.0 << QPointF(33, 900) << QPoint(3000, 6000) << QPoint(24231, 54300) << false;
    QTest::newRow("out to the fit: the corner")
        << 2.0 << 0.12 << QPointF(1000, 10) << QPoint(9000, 100) << QPoint(0, 0) << true;
    QTest::newRow("out at the far corner: as far as it goes")
        << 0.5 << 0.25 << QPointF(1279, 959) << QPoint(2720, 3040) << QPoint(720, 1040) << true;
}

void TestMapTransform::zoomAboutPointerKeepsTheMapPointUnderIt() {
    QFETCH(qreal, from);
    QFETCH(qreal, to);
    QFETCH(QPointF, pointer);
    QFETCH(QPoint, scroll);
    QFETCH(QPoint, expected);
    QFETCH(bool, atAnEdge);
    const MapTransform before(QSize(8000, 8000), QSize(1280, 960), from, scroll, 2.0);
    QCOMPARE(before.scroll(), scroll);
    const MapTransform after = before.zoomedAbout(to, pointer);
    QCOMPARE(after.zoom(), to);
    QCOMPARE(after.scroll(), expected);
    // Unless the map's edge stops it, the same map point stays under the pointer.
    const QPointF moved = after.toView(before.toMap(pointer)) - pointer;
    if (!atAnEdge)
        QVERIFY(qAbs(moved.x()) <= 0.5 && qAbs(moved.y()) <= 0.5);
}

void TestMapTransform::followsAPoint_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPoint>("expected");
    // A 4000 x 3000 map in a 1000 x 800 view, margin 50.
    QTest::newRow("visible: stays") << 1.0 << QPoint(0, 0) << QPointF(500, 400) << QPoint(0, 0);
    QTest::newRow("inside the margin: moves just enough")
        << 1.0 << QPoint(0, 0) << QPointF(979.5, 10) << QPoint(30, 0);
    QTest::newRow("far right and down")
        << 1.0 << QPoint(0, 0) << QPointF(3000, 2500) << QPoint(2051, 1751);
    QTest::newRow("left and up, at 200 %")
        << 2.0 << QPoint(6000, 5000) << QPointF(100, 100) << QPoint(151, 151);
    QTest::newRow("the map's far corner: as far as it goes")
        << 2.0 << QPoint(0, 0) << QPointF(3999, 2999) << QPoint(7000, 5200);
}

void TestMapTransform::followsAPoint() {
    QFETCH(qreal, zoom);
    QFETCH(QPoint, scroll);
    QFETCH(QPointF, point);
    QFETCH(QPoint, expected);
    const MapTransform t(QSize(4000, 3000), QSize(1000, 800), zoom, scroll);
    QCOMPARE(t.scroll(), scroll);
    QCOMPARE(t.scrollToShow(point, 50), expected);
    // A view too small for the margin centres the point.
    const MapTransform small(QSize(4000, 3000), QSize(60, 60), zoom, scroll);
    const QPointF centred = small.withScroll(small.scrollToShow(QPointF(1000, 1000), 50))
                                .toView(QPointF(1000.5, 1000.5));
    QVERIFY(qAbs(centred.x() - 30) <= 0.5 && qAbs(centred.y() - 30) <= 0.5);
}

QTEST_APPLESS_MAIN(TestMapTransform)
#include "tst_maptransform.moc"
