#include "core/memory/MemoryStates.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

class TestMemory : public QObject {
    Q_OBJECT

private slots:
    void reference_data();
    void reference();
    void ratings_data();
    void ratings();
};

namespace {

constexpr qint64 kMinute = 60'000;
constexpr qint64 kNow = 1'717'200'000'000; // 2024-06-01 00:00 UTC

TimedAnswer right(qint64 minutesFromNow, double seconds) {
    return {kNow + minutesFromNow * kMinute, seconds, true};
}

TimedAnswer wrong(qint64 minutesFromNow, double seconds) {
    return {kNow + minutesFromNow * kMinute, seconds, false};
}

// To 1e-6, relative above 1.
bool close(double actual, double expected) {
    return std::abs(actual - expected) <= 1e-6 * std::max(1.0, std::abs(expected));
}

} // namespace

// The states the reference scheduler computed after each answer of each history.
void TestMemory::reference_data() {
    QTest::addColumn<double>("retention");
    QTest::addColumn<QJsonArray>("answers");

    QFile file(QStringLiteral(ZAV_FSRS_REFERENCE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray cases = QJsonDocument::fromJson(file.readAll())[u"cases"].toArray();
    QVERIFY(!cases.isEmpty());
    for (const QJsonValue& history : cases) {
        QTest::newRow(history[u"name"].toString().toUtf8().constData())
            << history[u"retention"].toDouble() << history[u"answers"].toArray();
    }
}

void TestMemory::reference() {
    QFETCH(double, retention);
    QFETCH(QJsonArray, answers);

    const Fsrs model(retention);
    MemoryState state;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const QJsonObject expected = answers[i].toObject();
        state = model.next(state, static_cast<Rating>(expected[u"rating"].toInt()),
                           expected[u"at"].toInteger());
        const auto where = [&](const char* what) {
            return QByteArray("answer ") + QByteArray::number(i + 1) + ", " + what;
        };
        QVERIFY2(close(state.difficulty, expected[u"difficulty"].toDouble()),
                 where("difficulty").constData());
        QVERIFY2(close(state.stability, expected[u"stability"].toDouble()),
                 where("stability").constData());
        const std::pair<const char*, qint64> exact[] = {
            {"state", static_cast<qint64>(state.phase)},
            {"step", state.step},
            {"due", state.dueMsecsUtc},
            {"scheduledDays", state.scheduledDays},
            {"reps", state.reps},
            {"lapses", state.lapses},
            {"interval", model.intervalDays(state.stability)},
        };
        for (const auto& [name, actual] : exact)
            QVERIFY2(actual == expected[QLatin1String(name)].toInteger(), where(name).constData());
        for (const QJsonValue& recall : expected[u"recall"].toArray()) {
            QVERIFY2(
                close(model.retrievability(state, recall[0].toInteger()), recall[1].toDouble()),
                where("recall").constData());
        }
    }
}

// The grade of each answer from the record, and a point's state from them.
void TestMemory::ratings_data() {
    QTest::addColumn<QList<TimedAnswer>>("answers");
    QTest::addColumn<QString>("ratings"); // in time order

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("a first right answer") << QList{right(-60, 30)} << "G";
    QTest::newRow("slower than the median of the earlier answers")
        << QList{right(-60, 2), right(-50, 4), right(-40, 5)} << "GHH";
    QTest::newRow("as fast as the median") << QList{right(-60, 3), right(-50, 3)} << "GG";
    QTest::newRow("the median of an even count: the mean of the middle two")
        << QList{right(-60, 2), right(-50, 10), right(-40, 6), right(-30, 7)} << "GHGH";
    QTest::newRow("wrong answers: Again, their times in the median")
        << QList{wrong(-60, 2), wrong(-50, 30), right(-40, 20)} << "AAH";
    QTest::newRow("no time: never slow, not in the median")
        << QList{right(-60, nan), right(-50, 5), right(-40, infinity), right(-30, -3),
                 right(-20, 6)}
        << "GGGGH";
    QTest::newRow("a clock set back: taken in time order")
        << QList{right(-60, 2), right(-3 * 24 * 60, 9)} << "GG";
    QTest::newRow("answers dated in the future")
        << QList{right(2 * 24 * 60, 3), wrong(3 * 24 * 60, 4)} << "GA";
}

void TestMemory::ratings() {
    QFETCH(QList<TimedAnswer>, answers);
    QFETCH(QString, ratings);

    QString given;
    for (const Rating rating : MemoryStates::ratings(answers))
        given += QStringLiteral("?AHGE")[static_cast<int>(rating)];
    QCOMPARE(given, ratings);

    // The state is the model's over the answers in time order with those grades.
    const Fsrs model;
    QList<TimedAnswer> inTimeOrder = answers;
    std::stable_sort(
        inTimeOrder.begin(), inTimeOrder.end(),
        [](const TimedAnswer& a, const TimedAnswer& b) { return a.whenMsecsUtc < b.whenMsecsUtc; });
    MemoryState expected;
    for (qsizetype i = 0; i < inTimeOrder.size(); ++i) {
        const auto rating = static_cast<Rating>(QStringLiteral("?AHGE").indexOf(ratings[i]));
        expected = model.next(expected, rating, inTimeOrder[i].whenMsecsUtc);
    }
    const MemoryState state = MemoryStates::of(model, answers);
    QVERIFY(state == expected);
    // The trace the record keeps gives the same state at any desired retention.
    const MemoryTrace trace = MemoryStates::trace(answers);
    QCOMPARE(trace.answers, answers.size());
    for (const double retention : {Fsrs::kDefaultRetention, Fsrs::kMinRetention})
        QVERIFY(MemoryStates::of(Fsrs(retention), trace) ==
                MemoryStates::of(Fsrs(retention), answers));

    // Never a negative time: recall now is 1 when the last answer is dated later.
    const double recall = model.retrievability(state, kNow);
    QVERIFY(recall > 0 && recall <= 1);
    if (state.lastMsecsUtc >= kNow)
        QCOMPARE(recall, 1.0);
    QVERIFY(state.dueMsecsUtc > state.lastMsecsUtc);
}

QTEST_GUILESS_MAIN(TestMemory)
#include "tst_memory.moc"
