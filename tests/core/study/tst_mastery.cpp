#include "TestFiles.h"

#include "core/study/Mastery.h"
#include "core/study/MasteryDots.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using TestFiles::point;
using TestFiles::u8;

class TestMastery : public QObject {
    Q_OBJECT

private slots:
    void mastery_data();
    void mastery();
    void dots_data();
    void dots();
};

void TestMastery::mastery_data() {
    QTest::addColumn<PointStats>("stats");
    QTest::addColumn<int>("hue"); // -1: grey
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("never asked") << PointStats{} << -1 << u8("東京: 未出題");
    QTest::newRow("always missed")
        << PointStats{4, 0, 0} << 0 << u8("東京: 4回中 0回正解、連続 0回");
    QTest::newRow("right the last three of three")
        << PointStats{3, 3, 3} << 120 << u8("東京: 3回中 3回正解、連続 3回");
    QTest::newRow("half right, just missed")
        << PointStats{4, 2, 0} << 30 << u8("東京: 4回中 2回正解、連続 0回");
    QTest::newRow("mostly missed, now right twice")
        << PointStats{10, 2, 2} << 52 << u8("東京: 10回中 2回正解、連続 2回");
}

void TestMastery::mastery() {
    QFETCH(PointStats, stats);
    QFETCH(int, hue);
    QFETCH(QString, tooltip);

    const Point p = point("12", "34.5", u8("首都"), u8("東京"));
    const PointStatsTable record{{PointIdentity::of(p), stats}};
    const PointList rows{p, point("x", "1", "", u8("不明"))};
    const QList<Mastery::Dot> dots = Mastery::dots(rows, stats.asked ? record : PointStatsTable());
    QCOMPARE(dots.size(), 1); // a point without numeric coordinates has no dot
    QCOMPARE(dots[0].centre, QPointF(12, 34.5));
    if (hue < 0)
        QCOMPARE(dots[0].colour, Mastery::neverAskedColour());
    else
        QCOMPARE(dots[0].colour.hue(), hue);
    QCOMPARE(Mastery::tooltip(p, stats.asked ? &stats : nullptr), tooltip);
}

void TestMastery::dots_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<qreal>("ratio"); // device pixel ratio

    QTest::newRow("100 %") << 1.0 << 1.0;
    QTest::newRow("200 %") << 2.0 << 1.0;
    QTest::newRow("25 %") << 0.25 << 1.0;
    QTest::newRow("100 %, device pixel ratio 2") << 1.0 << 2.0;
}

void TestMastery::dots() {
    QFETCH(qreal, zoom);
    QFETCH(qreal, ratio);

    // Two points in view, one left of the visible part of the map.
    const PointList rows{point("40", "40", "", u8("赤")), point("120", "40", "", u8("灰")),
                         point("-200", "40", "", u8("外"))};
    const PointStatsTable record{{PointIdentity::of(rows[0]), PointStats{3, 0, 0}},
                                 {PointIdentity::of(rows[2]), PointStats{3, 0, 0}}};
    MasteryDots dots;
    dots.setDots(Mastery::dots(rows, record));
    const auto toView = [zoom](const QPointF& p) {
        return p * zoom;
    };
    const QRectF visibleMap(0, 0, 400 / zoom, 200 / zoom);

    QImage view(QSize(400, 200) * ratio, QImage::Format_ARGB32_Premultiplied);
    view.setDevicePixelRatio(ratio);
    view.fill(Qt::white);
    QPainter painter(&view);
    dots.paint(painter, toView, visibleMap);
    painter.end();

    const auto pixel = [&](const QPointF& logical) {
        return view.pixel((logical * ratio).toPoint());
    };
    const QPointF red = toView({40, 40}), grey = toView({120, 40});
    QCOMPARE(pixel(red), Mastery::colourFor(0.0).rgb());
    QCOMPARE(pixel(grey), Mastery::neverAskedColour().rgb());
    // The same size on the screen at every zoom: 9 logical pixels across.
    QCOMPARE(pixel(red + QPointF(2, 0)), Mastery::colourFor(0.0).rgb());
    QCOMPARE(pixel(red + QPointF(6, 0)), qRgb(255, 255, 255));
    // Nothing of the point outside, and nothing left of the view's own edge.
    for (int y = 0; y < 200; y += 5)
        QCOMPARE(pixel(QPointF(0, y)), qRgb(255, 255, 255));

    QCOMPARE(dots.rowAt(toView, red + QPointF(2, 2)), 0);
    QCOMPARE(dots.rowAt(toView, grey), 1);
    QCOMPARE(dots.rowAt(toView, red + QPointF(6, 0)), -1);
}

QTEST_MAIN(TestMastery)
#include "tst_mastery.moc"
