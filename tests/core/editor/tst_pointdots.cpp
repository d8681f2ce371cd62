// The dots on the map without a map view: where they are as the table changes and while one
// is dragged, which dot is under the pointer, what its tooltip says, and that painting a view
// in parts gives the same picture as painting it whole.
#include "core/editor/PointDots.h"
#include "core/editor/PointDotsPainter.h"
#include "core/editor/PointTableModel.h"

#include "TestFiles.h"

#include <QPainter>
#include <QTest>

#include <random>

using TestFiles::u8;

class TestPointDots : public QObject {
    Q_OBJECT
private slots:
    void followsTheTable();
    void findsTheDotUnderThePointer();
    void toolTip();
    void paintsTheSameInParts_data();
    void paintsTheSameInParts();
};

namespace {

Point at(const char* x, const char* y, const QString& answer = u8("a")) {
    return TestFiles::point(u8(x), u8(y), u8("ﾋﾝﾄ"), answer);
}

std::vector<int> rowsIn(const PointDots& dots, const QRectF& rect) {
    std::vector<int> rows;
    dots.rowsIn(rect, rows);
    return rows;
}

} // namespace

void TestPointDots::followsTheTable() {
    PointTableModel model;
    model.append(at("10", "10"));
    model.append(at("abc", "10")); // a file may hold it: no dot
    PointDots dots(model);
    const QRectF everywhere(-1000, -1000, 3000, 3000);
    QCOMPARE(rowsIn(dots, everywhere), (std::vector<int>{0}));

    model.append(at("-5", "900"));     // beyond the map, still a dot
    model.append(at("1e300", "5"));    // never in view: no dot
    model.update(1, at("20.5", "10")); // now a number
    QCOMPARE(rowsIn(dots, everywhere), (std::vector<int>{0, 1, 2}));
    QCOMPARE(*dots.position(1), QPointF(20.5, 10));
    QCOMPARE(rowsIn(dots, QRectF(0, 0, 20.5, 10)), (std::vector<int>{0, 1})); // edges count

    // A drag shows the dot where it goes; the table keeps its place until the drag ends.
    dots.dragTo(0, QPointF(500, 500));
    QCOMPARE(rowsIn(dots, QRectF(0, 0, 100, 100)), (std::vector<int>{1}));
    QCOMPARE(rowsIn(dots, QRectF(400, 400, 200, 200)), (std::vector<int>{0}));
    QCOMPARE(*dots.tablePosition(0), QPointF(10, 10));
    dots.endDrag();
    QCOMPARE(rowsIn(dots, QRectF(0, 0, 100, 100)), (std::vector<int>{0, 1}));

    model.remove(0);
    QCOMPARE(rowsIn(dots, everywhere), (std::vector<int>{0, 1}));
    QCOMPARE(*dots.position(1), QPointF(-5, 900));
    model.clear();
    QVERIFY(rowsIn(dots, everywhere).empty());
}

void TestPointDots::findsTheDotUnderThePointer() {
    PointTableModel model;
    model.append(at("100", "100"));
    model.append(at("104", "100"));
    model.append(at("100", "100")); // on row 0: the lower row is found
    PointDots dots(model);
    QCOMPARE(dots.rowNear(QPointF(101, 100), 5), 0);
    QCOMPARE(dots.rowNear(QPointF(103, 100), 5), 1);
    QCOMPARE(dots.rowNear(QPointF(110, 100), 5), -1);

    // Through the view: at 200 % and scrolled, a dot sits on the centre of its map pixel.
    const QPointF scroll(50, 20);
    const QPointF centre = PointDotsPainter::toView(QPointF(104, 100), 2.0, scroll);
    QCOMPARE(centre, QPointF(159, 181));
    QCOMPARE(PointDotsPainter::rowAt(dots, 2.0, scroll, centre + QPointF(3, 3)), 1);
    QCOMPARE(PointDotsPainter::rowAt(dots, 2.0, scroll, centre + QPointF(9, 0)), -1);
}

void TestPointDots::toolTip() {
    PointTableModel model;
    model.append(TestFiles::point(u8("1"), u8("2"), u8("<b>城</b> & 港"), u8("大阪"), QString()));
    model.append(TestFiles::point(u8("1"), u8("2"), u8("ﾋﾝﾄ"), u8("東京"), u8("江戸")));
    PointDots dots(model);
    QCOMPARE(dots.toolTip(0), u8("<p style='white-space:pre'>1番目の項目<br>"
                                 "ﾋﾝﾄ: &lt;b&gt;城&lt;/b&gt; &amp; 港<br>答え1: 大阪</p>"));
    QVERIFY(dots.toolTip(1).contains(u8("<br>答え2: 江戸</p>")));
    QCOMPARE(dots.toolTip(2), QString());
}

void TestPointDots::paintsTheSameInParts_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("zoom");
    QTest::newRow("few, every number shown") << 40 << 1.0;
    QTest::newRow("crowded, numbers thinned") << 5000 << 0.5;
    QTest::newRow("crowded at a small zoom") << 5000 << 0.125;
}

void TestPointDots::paintsTheSameInParts() {
    QFETCH(int, points);
    QFETCH(double, zoom);
    PointTableModel model;
    std::mt19937 random(points);
    std::uniform_int_distribution<int> along(0, 999);
    for (int i = 0; i < points; ++i)
        model.append(TestFiles::point(QString::number(along(random)),
                                      QString::number(along(random)), QString(), u8("a")));
    PointDots dots(model);
    const QSize view(300, 200);
    const QPointF scroll(37 * zoom, 11 * zoom);

    QImage whole(view, QImage::Format_ARGB32_Premultiplied);
    whole.fill(Qt::white);
    PointDotsPainter painter;
    {
        QPainter p(&whole);
        painter.paint(p, dots, zoom, scroll, QRectF(QPointF(0, 0), QSizeF(view)), QSizeF(view));
    }
    QImage parts(view, QImage::Format_ARGB32_Premultiplied);
    parts.fill(Qt::white);
    for (int top = 0; top < view.height(); top += 37) {
        for (int left = 0; left < view.width(); left += 53) {
            QPainter p(&parts);
            const QRect part(left, top, 53, 37);
            p.setClipRect(part);
            painter.paint(p, dots, zoom, scroll, part, QSizeF(view));
        }
    }
    QCOMPARE(parts, whole);
    QVERIFY(whole != [&] {
        QImage blank(view, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::white);
        return blank;
    }());

    // A dot is drawn where the view places its point.
    const QPoint centre = PointDotsPainter::toView(*dots.position(0), zoom, scroll).toPoint();
    if (QRect(QPoint(0, 0), view).contains(centre))
        QVERIFY(whole.pixelColor(centre) != QColor(Qt::white));
}

QTEST_MAIN(TestPointDots)
#include "tst_pointdots.moc"
