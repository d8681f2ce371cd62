#include "TimeOffset.h"
#include "core/study/ReviewQueue.h"

#include <QTest>

class TestReviewQueue : public QObject {
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void newToday();
};

namespace {

constexpr qint64 kNow = 1'717'243'200'000; // 2024-06-01 12:00 UTC

// "-60d+10m": that long from kNow.
qint64 at(const QString& offset) {
    return kNow + offsetMsecs(offset);
}

// Each point's answers, "g@-60d x@-60d+10m": right (g) or wrong (x) at an offset; point i is
// answered "x,y" = "i,i" so that every point has an identity of its own.
PointList pointsOf(const QStringList& histories, AnswerHistory& history) {
    PointList rows;
    for (const QString& answers : histories) {
        const QString n = QString::number(rows.size());
        Point point;
        point[ColumnAnswer1] = point[ColumnX] = point[ColumnY] = n;
        rows.append(point);
        for (const QString& answer : answers.split(u' ', Qt::SkipEmptyParts))
            history[PointIdentity::of(point)].append({at(answer.mid(2)), 1.0, answer[0] == u'g'});
    }
    return rows;
}

const QString kLong = QStringLiteral("g@-60d g@-60d+10m");  // long forgotten
const QString kMonth = QStringLiteral("g@-30d g@-30d+10m"); // forgotten
const QString kWeeks = QStringLiteral("g@-20d g@-20d+10m");
const QString kDays = QStringLiteral("g@-5d g@-5d+10m"); // fading
const QString kFresh = QStringLiteral("g@-1h g@-50m");   // reviewed an hour ago: not due

} // namespace

// A script of steps: "@5m" sets the clock (an offset from kNow), a letter is the row next()
// must give ("." nothing), a letter with "+" or "-" answers that row right or wrong.
void TestReviewQueue::order_data() {
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<int>("newPerDay");
    QTest::addColumn<int>("newToday");
    QTest::addColumn<int>("due"); // remaining() at the start
    QTest::addColumn<QString>("script");

    QTest::newRow("most forgotten first, the recent not due")
        << QStringList{kDays, kLong, kFresh, kWeeks} << 20 << 0 << 3 << "B B+ D D+ A A+ .";
    QTest::newRow("then new points, up to the day's limit less today's")
        << QStringList{"", "", kLong, "", ""} << 3 << 1 << 3 << "C C+ A A+ B B+ .";
    QTest::newRow("nothing due: the day's new points all taken")
        << QStringList{"", kFresh, ""} << 2 << 5 << 0 << ".";
    QTest::newRow("a learning step that has come is due, one to come is not")
        << QStringList{"x@-30s", "x@-5m"} << 0 << 0 << 1 << "B B+ .";
    QTest::newRow("a miss comes back once its step has come, before those waiting")
        << QStringList{kLong, kMonth, kWeeks, kDays} << 0 << 0 << 4
        << "A A- @1m B B+ @9m C C+ @11m A A+ D D+ .";
    QTest::newRow("a new point's step is a minute; with nothing else left, misses come at once")
        << QStringList{kLong, "", ""} << 20 << 0 << 3
        << "A A- B B- @30s C C+ @61s B B+ A A- A A+ .";
    QTest::newRow("clock set back: answers ahead neither due nor negative")
        << QStringList{"g@+2d g@+2d+10m", "x@+1h", kLong} << 0 << 0 << 1
        << "C C- @-3h C C- @-5h C C+ .";
}

void TestReviewQueue::order() {
    QFETCH(QStringList, points);
    QFETCH(int, newPerDay);
    QFETCH(int, newToday);
    QFETCH(int, due);
    QFETCH(QString, script);

    AnswerHistory history;
    const PointList rows = pointsOf(points, history);
    const Fsrs model;
    ReviewQueue queue(rows, memoryStates(model, memoryTraces(history)), kNow, model, newPerDay,
                      newToday);
    QCOMPARE(queue.remaining(), due);
    qint64 now = kNow;
    for (const QString& step : script.split(u' ')) {
        if (step.startsWith(u'@')) {
            now = at(step.mid(1));
        } else if (step.size() == 2) {
            queue.answered(step[0].unicode() - 'A', step[1] == u'+' ? Rating::Good : Rating::Again,
                           now);
        } else {
            const std::optional<int> row = queue.next(now);
            QCOMPARE(row ? QString(QChar(u'A' + *row)) : QStringLiteral("."), step);
        }
    }
    QCOMPARE(queue.remaining(), 0);
}

// The day's new points: those first answered since the day began, or later (a clock set back).
void TestReviewQueue::newToday() {
    AnswerHistory history;
    pointsOf({"g@-1h", "x@-2d g@-1h", "x@+1h", "", "g@-4d"}, history);
    const MemoryTraceTable traces = memoryTraces(history);
    QCOMPARE(ReviewQueue::firstAnsweredSince(traces, at("-12h")), 2);
    QCOMPARE(ReviewQueue::firstAnsweredSince(traces, at("-3d")), 3);
}

QTEST_GUILESS_MAIN(TestReviewQueue)
#include "tst_reviewqueue.moc"
