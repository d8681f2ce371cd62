#include "ScriptedRandom.h"
#include "TestFiles.h"

#include "core/quiz/Shuffle.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

using TestFiles::point;

namespace {

// Row i carries i in every column, so a torn row shows at once.
PointList taggedRows(int count) {
    PointList rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        rows.append(point(n, n, QStringLiteral("hint ") + n, QStringLiteral("a1 ") + n,
                          QStringLiteral("a2 ") + n, QStringLiteral("info ") + n));
    }
    return rows;
}

// The tag of a whole row, or -1 when its columns do not belong together.
int rowTag(const Point& row) {
    const QString n = row[ColumnX];
    const bool whole = row[ColumnY] == n && row[ColumnHint] == QStringLiteral("hint ") + n &&
                       row[ColumnAnswer1] == QStringLiteral("a1 ") + n &&
                       row[ColumnAnswer2] == QStringLiteral("a2 ") + n &&
                       row[ColumnInfo] == QStringLiteral("info ") + n;
    return whole ? n.toInt() : -1;
}

// Checks that `rows` is a permutation of taggedRows(count) with every row whole.
bool isWholePermutation(const PointList& rows, int count) {
    if (rows.size() != count)
        return false;
    QList<int> tags;
    for (const Point& row : rows)
        tags.append(rowTag(row));
    std::sort(tags.begin(), tags.end());
    for (int i = 0; i < count; ++i) {
        if (tags[i] != i)
            return false;
    }
    return true;
}

} // namespace

class TestShuffle : public QObject {
    Q_OBJECT

private slots:
    void rowsStayWhole_data();
    void rowsStayWhole();
    void hostileNumbersStayInRange_data();
    void hostileNumbersStayInRange();
    void threePointOrdersAreUniform();
    void everyPositionIsReachedUniformly();
    void reshufflingContinuesFromTheLastOrder();
    void yieldsPeriodically();
    void largestTableShufflesWhole();
    void systemSourceStaysBelowOne();
    void reseedChangesTheSequence();
};

void TestShuffle::rowsStayWhole_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("thousand") << 1000;
    QTest::newRow("largest table") << kMaxPoints;
}

void TestShuffle::rowsStayWhole() {
    QFETCH(int, count);
    PointList rows = taggedRows(count);
    SystemRandomSource random(20240607);
    shuffleRows(rows, random);
    QVERIFY(isWholePermutation(rows, count));
    if (count >= 1000) // 1/1000! chance of the identity
        QVERIFY(rows != taggedRows(count));
}

void TestShuffle::hostileNumbersStayInRange_data() {
    QTest::addColumn<double>("value");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("just below one") << std::nextafter(1.0, 0.0);
    QTest::newRow("one") << 1.0;
    QTest::newRow("above one") << 7.5;
    QTest::newRow("negative") << -0.5;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
}

void TestShuffle::hostileNumbersStayInRange() {
    QFETCH(double, value);
    PointList rows = taggedRows(50);
    ScriptedRandom random{value};
    shuffleRows(rows, random);
    QVERIFY(isWholePermutation(rows, 50));
    QCOMPARE(random.draws, 49); // one draw per placed row, none for the last
}

void TestShuffle::threePointOrdersAreUniform() {
    // 60,000 shuffles of a 3-point table: each of the 6 orders expected 10,000 times.
    // Chi-square with 5 degrees of freedom stays below 20.52 with probability 0.999.
    const PointList start = taggedRows(3);
    SystemRandomSource random(12345);
    constexpr int kRuns = 60000;
    QMap<QString, int> seen;
    for (int run = 0; run < kRuns; ++run) {
        PointList rows = start;
        shuffleRows(rows, random);
        QString order;
        for (const Point& row : rows)
            order += QString::number(rowTag(row));
        ++seen[order];
    }
    QCOMPARE(seen.size(), 6);
    const double expected = kRuns / 6.0;
    double chiSquare = 0;
    for (int count : std::as_const(seen))
        chiSquare += (count - expected) * (count - expected) / expected;
    QVERIFY2(chiSquare < 20.52, qPrintable(QString::number(chiSquare)));
}

void TestShuffle::everyPositionIsReachedUniformly() {
    // A biased shuffle (swapping with any row instead of the unplaced ones) leaves the first
    // row too often in place; count where row 0 lands over a 10-row table.
    constexpr int kRows = 10;
    constexpr int kRuns = 50000;
    const PointList start = taggedRows(kRows);
    SystemRandomSource random(777);
    QList<int> landed(kRows, 0);
    for (int run = 0; run < kRuns; ++run) {
        PointList rows = start;
        shuffleRows(rows, random);
        for (int i = 0; i < kRows; ++i) {
            if (rowTag(rows[i]) == 0)
                ++landed[i];
        }
    }
    const double expected = double(kRuns) / kRows;
    double chiSquare = 0;
    for (int count : landed)
        chiSquare += (count - expected) * (count - expected) / expected;
    // 9 degrees of freedom, probability 0.999.
    QVERIFY2(chiSquare < 27.88, qPrintable(QString::number(chiSquare)));
}

void TestShuffle::reshufflingContinuesFromTheLastOrder() {
    // With every draw 0 the last unplaced row swaps with the first: a known permutation,
    // applied to whatever order the table holds.
    PointList rows = taggedRows(3);
    ScriptedRandom random{0.0};
    shuffleRows(rows, random);
    QList<int> order;
    for (const Point& row : rows)
        order.append(rowTag(row));
    QCOMPARE(order, QList<int>({1, 2, 0}));
    shuffleRows(rows, random);
    order.clear();
    for (const Point& row : rows)
        order.append(rowTag(row));
    QCOMPARE(order, QList<int>({2, 0, 1}));
}

void TestShuffle::yieldsPeriodically() {
    PointList rows = taggedRows(kMaxPoints);
    SystemRandomSource random(1);
    int yields = 0;
    shuffleRows(
        rows, random, [&] { ++yields; }, 4096);
    QCOMPARE(yields, (kMaxPoints - 1) / 4096);

    yields = 0;
    PointList one = taggedRows(1);
    shuffleRows(
        one, random, [&] { ++yields; }, 1);
    QCOMPARE(yields, 0);

    yields = 0;
    PointList few = taggedRows(5);
    shuffleRows(
        few, random, [&] { ++yields; }, 0); // taken as every row
    QCOMPARE(yields, 4);
}

void TestShuffle::largestTableShufflesWhole() {
    // Its speed is measured in bench/quiz_bench; the time limit here is only a fuse against a
    // hang, far above the few milliseconds it takes.
    PointList rows = taggedRows(kMaxPoints);
    SystemRandomSource random(5);
    QElapsedTimer timer;
    timer.start();
    shuffleRows(rows, random, [] {});
    QVERIFY(timer.elapsed() < 30000);
    QVERIFY(isWholePermutation(rows, kMaxPoints));
    QVERIFY(rows != taggedRows(kMaxPoints));
}

void TestShuffle::systemSourceStaysBelowOne() {
    SystemRandomSource random(99);
    double lowest = 1.0;
    double highest = 0.0;
    double sum = 0;
    constexpr int kDraws = 200000;
    for (int i = 0; i < kDraws; ++i) {
        const double r = random.next();
        QVERIFY(r >= 0.0 && r < 1.0);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
        sum += r;
    }
    QVERIFY(lowest < 0.001);
    QVERIFY(highest > 0.999);
    QVERIFY(std::abs(sum / kDraws - 0.5) < 0.005);
}

void TestShuffle::reseedChangesTheSequence() {
    SystemRandomSource first(42);
    SystemRandomSource second(42);
    QCOMPARE(first.next(), second.next());
    second.reseed();
    first.reseed();
    QList<double> a, b;
    for (int i = 0; i < 4; ++i) {
        a.append(first.next());
        b.append(second.next());
    }
    QVERIFY(a != b);
}

QTEST_GUILESS_MAIN(TestShuffle)
#include "tst_shuffle.moc"
