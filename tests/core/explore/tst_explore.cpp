#include "TestFiles.h"

#include "core/explore/ExploreLabels.h"
#include "core/explore/ExploreOverlay.h"
#include "core/explore/ExplorePoints.h"

#include <QFontMetricsF>
#include <QTest>

using TestFiles::point;
using TestFiles::u8;

namespace {

ExploreLabels::Forms threeForms() {
    return {{60, 40, 20}, {6, 4, 2}};
}

struct Scene {
    QList<QPointF> dots;
    QRectF bounds{0, 0, 400, 400};
};

Scene scene(const QString& name) {
    Scene s;
    if (name == "lone")
        s.dots = {{100, 100}};
    else if (name == "pair")
        s.dots = {{100, 100}, {130, 100}};
    else if (name == "twins")
        s.dots = {{100, 100}, {100, 100}};
    else if (name == "corner")
        s.dots = {{2, 2}};
    else if (name == "no room")
        s = {{{15, 15}}, {0, 0, 30, 30}};
    else if (name == "row")
        for (int i = 0; i < 10; ++i)
            s.dots.append(QPointF(50 + 25 * i, 200));
    else if (name == "crowd")
        for (int i = 0; i < 400; ++i)
            s.dots.append(QPointF(150 + 6 * (i % 20), 150 + 6 * (i / 20)));
    return s;
}

// Points a/b/c... with hints; "x" marks a coordinate that is no number.
PointList rowsOf(const QStringList& places, const QStringList& hints) {
    PointList rows;
    for (int i = 0; i < places.size(); ++i)
        rows.append(point(places[i].section(u',', 0, 0), places[i].section(u',', 1), hints.value(i),
                          QString(QChar(u'a' + i)) + QStringLiteral("-name")));
    return rows;
}

} // namespace

class TestExplore : public QObject {
    Q_OBJECT

private slots:
    void labels_data();
    void labels();
    void forms_data();
    void forms();
    void layoutPerZoom();
    void filter_data();
    void filter();
};

void TestExplore::labels_data() {
    QTest::addColumn<QString>("scene");
    QTest::addColumn<int>("whole");     // -1: any number
    QTest::addColumn<int>("shortened"); // -1: any number
    QTest::addColumn<int>("leftOut");   // -1: some, but not all

    QTest::newRow("a lone point") << "lone" << 1 << 0 << 0;
    QTest::newRow("a neighbour on the right") << "pair" << 2 << 0 << 0;
    QTest::newRow("two points at one place") << "twins" << 2 << 0 << 0;
    QTest::newRow("in the map's corner") << "corner" << 1 << 0 << 0;
    QTest::newRow("no form fits the map") << "no room" << 0 << 0 << 1;
    QTest::newRow("a row closer than its labels") << "row" << -1 << -1 << -1;
    QTest::newRow("a crowd") << "crowd" << -1 << -1 << -1;
}

void TestExplore::labels() {
    QFETCH(QString, scene);
    QFETCH(int, whole);
    QFETCH(int, shortened);
    QFETCH(int, leftOut);

    const Scene s = ::scene(scene);
    const ExploreLabels::Forms forms = threeForms();
    const QList<const ExploreLabels::Forms*> each(s.dots.size(), &forms);
    const ExploreLabels::Geometry g{3.5, 1.5, 16, s.bounds};
    const QList<ExploreLabels::Placed> placed = ExploreLabels::place(s.dots, each, g);
    QCOMPARE(placed.size(), s.dots.size());

    int counts[3] = {0, 0, 0}; // whole, shortened, left out
    for (int i = 0; i < placed.size(); ++i) {
        const ExploreLabels::Placed& p = placed[i];
        ++counts[p.form < 0 ? 2 : p.form == 0 ? 0 : 1];
        if (p.form < 0)
            continue;
        QVERIFY(s.bounds.contains(p.box));
        QCOMPARE(p.box.size(), QSizeF(forms.widths[p.form], g.height));
        for (int j = 0; j < placed.size(); ++j) {
            if (j == i)
                continue;
            const QRectF dot(s.dots[j] - QPointF(3.5, 3.5), QSizeF(7, 7));
            QVERIFY2(!p.box.intersects(dot), qPrintable(QString("%1 covers dot %2").arg(i).arg(j)));
            QVERIFY2(!p.box.intersects(placed[j].box),
                     qPrintable(QString("%1 meets label %2").arg(i).arg(j)));
        }
    }
    if (whole >= 0)
        QCOMPARE(counts[0], whole);
    if (shortened >= 0)
        QCOMPARE(counts[1], shortened);
    if (leftOut >= 0)
        QCOMPARE(counts[2], leftOut);
    else
        QVERIFY(counts[2] > 0 && counts[2] < placed.size());
}

void TestExplore::forms_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("kanji") << u8("鹿児島県");
    QTest::newRow("latin") << u8("West Cape");
    QTest::newRow("surrogate pairs") << u8("𠮷野家𠮷");
    QTest::newRow("one character") << u8("県");
    QTest::newRow("empty") << QString();
}

void TestExplore::forms() {
    QFETCH(QString, text);
    const QFontMetricsF metrics{QFont()};
    ExploreLabels::Advances advances(metrics);
    const ExploreLabels::Forms f = ExploreLabels::measure(text, advances);
    QCOMPARE(f.widths.size(), f.lengths.size());
    QCOMPARE(f.widths.isEmpty(), text.isEmpty());
    for (int k = 0; k < f.widths.size(); ++k) {
        const QString shown = ExploreLabels::shown(text, f.lengths[k]);
        if (k == 0) {
            QCOMPARE(shown, text);
            continue;
        }
        QVERIFY(f.widths[k] < f.widths[k - 1]);
        QVERIFY(f.lengths[k] < f.lengths[k - 1] && f.lengths[k] > 0);
        QVERIFY(!text[f.lengths[k] - 1].isHighSurrogate());
        QCOMPARE(shown, text.left(f.lengths[k]) + u8("…"));
    }
}

void TestExplore::layoutPerZoom() {
    ExploreOverlay overlay;
    const PointList rows = rowsOf({"10,10", "300,10", "x,5", "150,200"}, {});
    overlay.setPoints(rows, QSize(400, 300));
    overlay.setShown({0, 1, 2, 3});
    QCOMPARE(overlay.shown(), (QList<int>{0, 1, 3})); // a row without a place never shows

    const auto texts = [&](qreal zoom) {
        const ExploreOverlay::Layout& l = overlay.layout(zoom);
        QStringList shown;
        for (int i = 0; i < l.labels.size(); ++i)
            shown.append(overlay.labelText(l, i));
        return shown;
    };
    QCOMPARE(texts(1), (QStringList{"a-name", "b-name", "d-name"}));
    QCOMPARE(texts(1), texts(1));
    QCOMPARE(overlay.layoutsMade(), 1);
    QCOMPARE(overlay.layout(2).dots.at(2), QPointF(301, 401)); // the pixel's centre, zoomed
    QCOMPARE(overlay.layoutsMade(), 2);
    overlay.layout(1);
    QCOMPARE(overlay.layoutsMade(), 2);

    overlay.setNumbers(true);
    QCOMPARE(texts(1), (QStringList{"1", "2", "4"})); // numbers in the file, not among the shown
    QCOMPARE(overlay.layoutsMade(), 1);
    // A press goes to the nearest shown point, and counts it by its row in the file.
    QCOMPARE(overlay.rowAt(QPointF(160, 190)), std::optional<int>(3));
}

void TestExplore::filter_data() {
    QTest::addColumn<QStringList>("places");
    QTest::addColumn<QStringList>("hints");
    QTest::addColumn<QString>("hint"); // "*": all
    QTest::addColumn<QList<int>>("onMap");
    QTest::addColumn<QList<int>>("offMap");

    const QStringList places{"10,10", "x,5", "-1,5", "400,5", "399.5,299.5", "5,1e999", "5,5"};
    const QStringList hints{u8("九州"), u8("九州"), u8("関東"), u8("九州"),
                            u8("関東"), "",         u8("九州")};
    QTest::newRow("all") << places << hints << "*" << QList<int>{0, 4, 6} << QList<int>{1, 2, 3, 5};
    QTest::newRow("one hint") << places << hints << u8("九州") << QList<int>{0, 6}
                              << QList<int>{1, 3};
    QTest::newRow("the empty hint") << places << hints << "" << QList<int>{} << QList<int>{5};
    QTest::newRow("a hint of none")
        << places << hints << u8("東北") << QList<int>{} << QList<int>{};
}

void TestExplore::filter() {
    QFETCH(QStringList, places);
    QFETCH(QStringList, hints);
    QFETCH(QString, hint);
    QFETCH(QList<int>, onMap);
    QFETCH(QList<int>, offMap);

    const PointList rows = rowsOf(places, hints);
    QCOMPARE(ExplorePoints::hints(rows), (QStringList{u8("九州"), u8("関東"), ""}));
    const ExplorePoints::Split split = ExplorePoints::split(
        rows, QSize(400, 300), hint == "*" ? std::nullopt : std::optional<QString>(hint));
    QCOMPARE(split.onMap, onMap);
    QCOMPARE(split.offMap, offMap);
}

QTEST_MAIN(TestExplore)
#include "tst_explore.moc"
