#include "TestFiles.h"

#include "core/platform/MapTransform.h"
#include "core/study/Mastery.h"
#include "core/study/MasteryDots.h"
#include "core/study/MasteryOverlay.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTest>

#include <algorithm>

using TestFiles::point;
using TestFiles::u8;

namespace {

// 2024-03-01 09:00 UTC, and so many minutes later.
QDateTime at(qint64 minutes) {
    return QDateTime(QDate(2024, 3, 1), QTime(9, 0), Qt::UTC).addSecs(minutes * 60);
}
constexpr qint64 kDay = 24 * 60;

// Brightness as the eye weighs red, green and blue.
double luma(const QColor& c) {
    return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
}

// The most any of red, green and blue differ.
int distance(const QColor& a, const QColor& b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

} // namespace

class TestMastery : public QObject {
    Q_OBJECT

private slots:
    void palette();
    void tooltip_data();
    void tooltip();
    void dueText_data();
    void dueText();
    void dots_data();
    void dots();
};

void TestMastery::palette() {
    // Dark blue to yellow, lighter at every step: the order reads without telling red from
    // green. A point never asked is far from every step.
    const QColor low = Mastery::colourFor(0), high = Mastery::colourFor(1);
    QVERIFY(low.blue() > 2 * low.red() && luma(low) < 60);
    QVERIFY(high.red() > 200 && high.green() > 200 && high.blue() < 100);
    QCOMPARE(Mastery::colourFor(-1), low);
    QCOMPARE(Mastery::colourFor(qQNaN()), low);
    QCOMPARE(Mastery::colourFor(2), high);
    for (int step = 1; step < Mastery::kSteps; ++step) {
        const QColor before = Mastery::colourFor((step - 1.0) / (Mastery::kSteps - 1));
        const QColor colour = Mastery::colourFor(step / (Mastery::kSteps - 1.0));
        QVERIFY2(luma(colour) >= luma(before), qPrintable(QString::number(step)));
        QVERIFY(distance(colour, Mastery::neverAskedColour()) >= 40);
    }
}

void TestMastery::tooltip_data() {
    QTest::addColumn<QList<TimedAnswer>>("answers");
    QTest::addColumn<PointStats>("stats");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<double>("recall"); // the dot's colour; below 0: never asked

    // Right twice in the learning steps: due two days after the second answer.
    const QList<TimedAnswer> twice{{at(0).toMSecsSinceEpoch(), 3, true},
                                   {at(15).toMSecsSinceEpoch(), 3, true}};
    const QString counts = u8("東京: 2回中 2回正解、連続 2回\n");
    QTest::newRow("never asked") << QList<TimedAnswer>() << PointStats{} << at(0)
                                 << u8("東京: 未出題") << -1.0;
    QTest::newRow("in the learning steps")
        << twice.mid(0, 1) << PointStats{1, 1, 1} << at(60)
        << u8("東京: 1回中 1回正解、連続 1回\n想起率 100%、次の復習: 今日") << 1.0;
    QTest::newRow("due in two days") << twice << PointStats{2, 2, 2} << at(60)
                                     << counts + u8("想起率 100%、次の復習: 3月3日") << 1.0;
    QTest::newRow("overdue") << twice << PointStats{2, 2, 2} << at(10 * kDay + 60)
                             << counts + u8("想起率 77%、次の復習: 期限切れ (3月3日)") << 0.7744;
    QTest::newRow("clock set back") << twice << PointStats{2, 2, 2} << at(-kDay)
                                    << counts + u8("想起率 100%、次の復習: 3月3日") << 1.0;
}

void TestMastery::tooltip() {
    QFETCH(QList<TimedAnswer>, answers);
    QFETCH(PointStats, stats);
    QFETCH(QDateTime, now);
    QFETCH(QString, tooltip);
    QFETCH(double, recall);

    const Point p = point("12", "34.5", u8("首都"), u8("東京"));
    const PointList rows{p, point("x", "1", "", u8("不明"))};
    const Fsrs model;
    MemoryStateTable states;
    if (!answers.isEmpty())
        states.insert(PointIdentity::of(p), MemoryStates::of(model, answers));
    MasteryOverlay overlay;
    overlay.setSnapshot({rows, {{PointIdentity::of(p), stats}}, states, model, now, {}});
    QCOMPARE(overlay.toolTip(0), tooltip);

    const QList<Mastery::Dot> dots = Mastery::dots(rows, states, model, now.toMSecsSinceEpoch());
    QCOMPARE(dots.size(), 1); // a point without numeric coordinates has no dot
    QCOMPARE(dots[0].centre, QPointF(12, 34.5));
    QVERIFY(distance(dots[0].colour,
                     recall < 0 ? Mastery::neverAskedColour() : Mastery::colourFor(recall)) <= 1);
}

void TestMastery::dueText_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qint64>("due");
    QTest::addColumn<QString>("text");

    const QDateTime noon = at(180);
    const auto due = [](const QDateTime& when) {
        return when.toMSecsSinceEpoch();
    };
    QTest::newRow("earlier today") << noon << due(at(0)) << u8("今日");
    QTest::newRow("later today") << noon << due(at(kDay - 9 * 60 - 1)) << u8("今日");
    QTest::newRow("tomorrow") << noon << due(at(kDay - 9 * 60)) << u8("3月2日");
    QTest::newRow("yesterday") << noon << due(at(-10 * 60)) << u8("期限切れ (2月29日)");
    QTest::newRow("another year") << noon << due(at(310 * kDay)) << u8("2025年1月5日");
    QTest::newRow("the longest interval on")
        << noon << due(at(Fsrs::kMaxIntervalDays * kDay)) << u8("2124年2月6日");
    // 16:00 UTC is already the next day nine hours east.
    QTest::newRow("the day where the learner is")
        << noon.toOffsetFromUtc(9 * 3600) << due(at(7 * 60)) << u8("3月2日");
}

void TestMastery::dueText() {
    QFETCH(QDateTime, now);
    QFETCH(qint64, due);
    QFETCH(QString, text);
    QCOMPARE(Mastery::dueText(due, now), text);
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

    // Two points in view, one left of the visible part of the map; two of them asked.
    const PointList rows{point("40", "40", "", u8("赤")), point("120", "40", "", u8("灰")),
                         point("-200", "40", "", u8("外"))};
    const Fsrs model;
    const MemoryState missed = MemoryStates::of(model, {{at(0).toMSecsSinceEpoch(), 3, false}});
    const MemoryStateTable states{{PointIdentity::of(rows[0]), missed},
                                  {PointIdentity::of(rows[2]), missed}};
    MasteryOverlay overlay;
    MasterySnapshot snapshot{rows, {}, states, model, at(3 * kDay), {}};
    snapshot.dots.setDots(Mastery::dots(rows, states, model, at(3 * kDay).toMSecsSinceEpoch()));
    overlay.setSnapshot(snapshot);
    const QRectF visibleMap(0, 0, 400 / zoom, 300 / zoom);
    const MapTransform transform(QSize(800, 600), QSize(400, 300), zoom);

    QImage view(QSize(400, 300) * ratio, QImage::Format_ARGB32_Premultiplied);
    view.setDevicePixelRatio(ratio);
    view.fill(Qt::white);
    QPainter painter(&view);
    overlay.paint(painter, transform, visibleMap);
    painter.end();

    const auto pixel = [&](const QPointF& logical) {
        return view.pixel((logical * ratio).toPoint());
    };
    const QRgb asked = snapshot.dots.dots().at(0).colour.rgb();
    QVERIFY(asked != Mastery::colourFor(1).rgb() && asked != Mastery::colourFor(0).rgb());
    const QPointF forgotten = transform.toView({40, 40}), grey = transform.toView({120, 40});
    QCOMPARE(pixel(forgotten), asked);
    QCOMPARE(pixel(grey), Mastery::neverAskedColour().rgb());
    // The same size on the screen at every zoom: 9 logical pixels across.
    QCOMPARE(pixel(forgotten + QPointF(2, 0)), asked);
    QCOMPARE(pixel(forgotten + QPointF(6, 0)), qRgb(255, 255, 255));
    // Nothing of the point outside, and nothing left of the view's own edge.
    for (int y = 0; y < 300; y += 5)
        QCOMPARE(pixel(QPointF(0, y)), qRgb(255, 255, 255));

    QCOMPARE(overlay.itemAt(transform, forgotten + QPointF(2, 2)), 0);
    QCOMPARE(overlay.itemAt(transform, grey), 1);
    QCOMPARE(overlay.itemAt(transform, forgotten + QPointF(6, 0)), -1);

    // The legend in the bottom-right corner, the same at every zoom, shows both ends of the
    // palette and the colour of a point never asked.
    const QRect legend = overlay.pinnedRect(transform).toAlignedRect();
    QVERIFY(QRect(0, 0, 400, 300).contains(legend));
    QVERIFY(legend.right() > 380 && legend.bottom() > 280 && legend.width() < 300);
    QSet<QRgb> shown;
    for (int y = legend.top(); y <= legend.bottom(); ++y)
        for (int x = legend.left(); x <= legend.right(); ++x)
            shown.insert(pixel(QPointF(x, y)));
    for (const QColor& colour :
         {Mastery::colourFor(0), Mastery::colourFor(1), Mastery::neverAskedColour()})
        QVERIFY(shown.contains(colour.rgb()));
}

QTEST_MAIN(TestMastery)
#include "tst_mastery.moc"
