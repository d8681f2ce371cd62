#include "TimeOffset.h"
#include "core/study/ProgressData.h"

#include <QTest>

#include <algorithm>
#include <numeric>

class TestProgress : public QObject {
    Q_OBJECT

private slots:
    void counts_data();
    void counts();
};

namespace {

const QDateTime kNow(QDate(2024, 6, 1), QTime(12, 0)); // local time: days are local days

// "-3d+2h": that long from kNow.
qint64 at(const QString& offset) {
    return kNow.toMSecsSinceEpoch() + offsetMsecs(offset);
}

// Space-separated counts, as a list.
QList<int> countsOf(const QString& text) {
    QList<int> counts;
    for (const QString& n : text.split(u' ', Qt::SkipEmptyParts))
        counts.append(n.toInt());
    return counts;
}

} // namespace

// Each point's answers, "g@-3d x@-3d+10m": right (g) or wrong (x) at an offset; a point
// starting with "!" was answered but is no longer in the file. The expected counts are the
// last days' up to today. With the default weights a first right answer is known for two
// whole days.
void TestProgress::counts_data() {
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("known");
    QTest::addColumn<int>("due"); // in the next 14 days, today's overdue ones included
    QTest::addColumn<int>("studied");

    QTest::newRow("empty record") << QStringList{"", ""} << 1 << "0"
                                  << "0"
                                  << "0" << 0 << 0;
    QTest::newRow("one day: a miss is known at its day's end, then due at once")
        << QStringList{"g@-2h g@-1h", "x@-1h", ""} << 1 << "3"
        << "2"
        << "2" << 2 << 1;
    QTest::newRow("several days with gaps; a point no longer in the file left out")
        << QStringList{"g@-10d g@-10d+10m", "g@-8d", "!g@-9d", "x@-2d g@-2d+10m"} << 11
        << "2 0 1 0 0 0 0 0 2 0 0"
        << "2 0 1 0 0 0 0 0 1 0 0"
        << "1 1 2 1 1 0 0 0 1 0 0" << 3 << 3;
    QTest::newRow("long forgotten: not known, overdue counts today")
        << QStringList{"g@-300d g@-300d+10m"} << 301 << "0 0"
        << "0 0"
        << "0 0" << 1 << 1;
    QTest::newRow("clock set back: answers ahead count today, never negative")
        << QStringList{"g@+2d", "x@+1h g@-1h"} << 1 << "3"
        << "2"
        << "2" << 2 << 1;
    QTest::newRow("older than the charted days: studied only; a late success lasts beyond 14 days")
        << QStringList{"g@-1000d g@-1d"} << ProgressData::kMaxDays << "1 0"
        << "1 0"
        << "1 1" << 0 << 2;
}

void TestProgress::counts() {
    QFETCH(QStringList, points);
    QFETCH(int, days);
    QFETCH(QString, answers);
    QFETCH(QString, right);
    QFETCH(QString, known);
    QFETCH(int, due);
    QFETCH(int, studied);

    PointList rows;
    AnswerHistory history;
    for (QString answered : points) {
        Point point;
        point[ColumnAnswer1] = point[ColumnX] = point[ColumnY] = QString::number(history.size());
        if (!answered.startsWith(u'!'))
            rows.append(point);
        answered.remove(u'!');
        for (const QString& answer : answered.split(u' ', Qt::SkipEmptyParts))
            history[PointIdentity::of(point)].append({at(answer.mid(2)), 1.0, answer[0] == u'g'});
        if (answered.isEmpty())
            history.remove(PointIdentity::of(point));
    }

    const ProgressData data = ProgressData::of(history, rows, Fsrs(), kNow);
    QCOMPARE(data.today, kNow.date());
    QCOMPARE(data.firstDay.daysTo(data.today) + 1, days);
    const auto none = [](const QList<int>& counts, auto below) {
        return std::none_of(counts.cbegin(), counts.cend(), below);
    };
    for (const QList<int>* counts : {&data.known, &data.answers, &data.right, &data.due})
        QVERIFY(none(*counts, [](int n) { return n < 0; }));
    QVERIFY(none(data.known, [&](int n) { return n > rows.size(); }));
    QCOMPARE(data.answers.size(), days);
    QCOMPARE(data.known.size(), days);
    const auto tail = [](const QList<int>& counts, const QString& expected) {
        return counts.mid(counts.size() - countsOf(expected).size());
    };
    QCOMPARE(tail(data.answers, answers), countsOf(answers));
    QCOMPARE(tail(data.right, right), countsOf(right));
    QCOMPARE(tail(data.known, known), countsOf(known));
    QCOMPARE(data.due.size(), ProgressData::kDueDays);
    QCOMPARE(std::accumulate(data.due.cbegin(), data.due.cend(), 0), due);
    QCOMPARE(data.studiedDays, studied);
}

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
