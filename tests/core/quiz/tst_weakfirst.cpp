#include "ScriptedRandom.h"
#include "TestFiles.h"

#include "core/quiz/QuizSession.h"
#include "core/quiz/WeakFirstDraw.h"

#include <QTest>

using TestFiles::point;
using TestFiles::u8;

namespace {

// Fixed seed: the statistics below are the same on every run.
constexpr std::uint64_t kSeed = 20240614;

PointList numbered(int count) {
    PointList rows;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        rows.append(point(n, n, u8("ヒント"), u8("答") + n));
    }
    return rows;
}

} // namespace

class TestWeakFirst : public QObject {
    Q_OBJECT

private slots:
    void drawFavoursMissedAndNewPoints();
    void missedPointComesBackWithinAFew();
    void learnerMeetsTheirWeakPointsMost();
    void missedPressComesBack();
};

void TestWeakFirst::drawFavoursMissedAndNewPoints() {
    // Rows 0-9 missed three times out of three, 10-19 right the last five times, 20-29 never
    // asked.
    const PointList rows = numbered(30);
    PointStatsTable record;
    for (int i = 0; i < 20; ++i)
        record.insert(PointIdentity::of(rows[i]),
                      i < 10 ? PointStats{3, 0, 0} : PointStats{5, 5, 5});
    WeakFirstDraw draw(rows, record);
    SystemRandomSource random(kSeed);
    QList<int> drawn(30, 0);
    int previous = -1;
    for (int i = 0; i < 30000; ++i) {
        const int row = draw.next(random);
        QVERIFY(row != previous); // never the same question twice in a row
        previous = row;
        ++drawn[row];
    }
    int missed = 0, learnt = 0, fresh = 0;
    for (int i = 0; i < 30; ++i)
        (i < 10 ? missed : i < 20 ? learnt : fresh) += drawn[i];
    // Expected shares from the weights 1.85, 0.028 and 2: about 48%, 0.7% and 52%.
    QVERIFY2(missed > 20 * learnt, qPrintable(QStringLiteral("%1 vs %2").arg(missed).arg(learnt)));
    QVERIFY2(fresh > 20 * learnt, qPrintable(QStringLiteral("%1 vs %2").arg(fresh).arg(learnt)));
    QVERIFY(learnt > 0); // rarely, not never
}

void TestWeakFirst::missedPointComesBackWithinAFew() {
    // A learner who misses three questions in ten.
    const PointList rows = numbered(200);
    WeakFirstDraw draw(rows, {});
    SystemRandomSource random(kSeed);
    SystemRandomSource learner(kSeed + 1);
    QList<int> asked;
    QList<bool> verdicts;
    for (int i = 0; i < 5000; ++i) {
        const int row = draw.next(random);
        const bool right = learner.next() >= 0.3;
        asked.append(row);
        verdicts.append(right);
        draw.noteVerdict(row, right);
    }
    const int within = WeakFirstDraw::kComeBackAfter;
    int misses = 0, onTime = 0;
    for (int i = 0; i + 2 * within < asked.size(); ++i) {
        if (verdicts[i])
            continue;
        ++misses;
        const qsizetype after = asked.indexOf(asked[i], i + 1) - i;
        QVERIFY2(after > 0 && after <= 2 * within,
                 qPrintable(QStringLiteral("question %1").arg(i)));
        onTime += after <= within;
    }
    QVERIFY2(onTime * 4 > misses * 3,
             qPrintable(QStringLiteral("%1 of %2").arg(onTime).arg(misses)));
}

void TestWeakFirst::learnerMeetsTheirWeakPointsMost() {
    // Through the quiz: a learner who always misses 5 of 50 points meets them in most
    // questions, and the mode never ends by itself.
    const PointList rows = numbered(50);
    PointStatsTable record;
    for (int i = 0; i < 50; ++i)
        record.insert(PointIdentity::of(rows[i]), PointStats{2, i < 5 ? 0 : 2, i < 5 ? 0 : 2});
    SystemRandomSource random(kSeed);
    QuizSession session(rows, QuizMode::WeakFirst, random, record);
    int weak = 0;
    for (int i = 0; i < 3000; ++i) {
        QVERIFY(session.advance());
        const bool isWeak = session.currentRow() < 5;
        weak += isWeak;
        session.judge(isWeak ? u8("?") : session.currentPoint()[ColumnAnswer1]);
    }
    // 10% of the points take over half the questions, and the others still come.
    QVERIFY2(weak > 1500 && weak < 3000 - 50, qPrintable(QString::number(weak)));
    QCOMPARE(session.judgedQuestions().size(), 3000);
    QCOMPARE(session.judgedQuestions().constLast().mode, QuizMode::WeakFirst);
}

void TestWeakFirst::missedPressComesBack() {
    // Found on the map: every third press misses, and each missed point comes back soon, as a
    // typed miss does.
    const PointList rows = numbered(100);
    SystemRandomSource random(kSeed);
    QuizSession session(rows, QuizMode::WeakFirst, random);
    session.setLocateOnMap(QSize(200, 200));
    QList<int> asked;
    for (int i = 0; i < 300; ++i) {
        QVERIFY(session.advance());
        asked.append(session.currentRow());
        const bool miss = i % 3 == 0;
        // (199, 0) is nearest to row 99 and far outside its catchment: never right.
        const std::optional<LocateVerdict> verdict =
            session.judgePress(miss ? QPointF(199, 0) : *session.currentPlace());
        QVERIFY(verdict && verdict->correct != miss);
    }
    const int within = 2 * WeakFirstDraw::kComeBackAfter;
    for (int i = 0; i + within < asked.size(); i += 3) {
        const qsizetype after = asked.indexOf(asked[i], i + 1) - i;
        QVERIFY2(after > 0 && after <= within, qPrintable(QStringLiteral("question %1").arg(i)));
    }
}

QTEST_GUILESS_MAIN(TestWeakFirst)
#include "tst_weakfirst.moc"
