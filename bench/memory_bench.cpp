// Each point's memory state on the largest table with 1,000,000 answers: the states of every
// point from the answers held in memory, beside only adding up the answers' seconds (the least
// a pass over them costs); the mastery map's dots coloured by recall from those states, beside
// the same dots all never asked (their places alone); reading those answers from a record file
// in one ordered read, beside reading the record of every point; and the whole read the mastery
// map does off the window's thread.
#include "BenchSupport.h"
#include "RecordFill.h"
#include "core/record/StudyRecord.h"
#include "core/study/Mastery.h"
#include "core/study/MasteryReader.h"
#include "core/study/MemoryStates.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kAnswers = 1'000'000;
constexpr double kLimitMs = 200;
constexpr qint64 kStart = 1'700'000'000'000;
constexpr qint64 kYearMsecs = 365LL * 86'400'000;

const PointList& points() {
    static const PointList all = BenchSupport::fullTable();
    return all;
}

struct Answer {
    int row;
    TimedAnswer answer;
};

// A year of answers in time order, as they were given: any point at any moment, a third of
// them wrong, from one to twenty seconds each.
const std::vector<Answer>& answers() {
    static const std::vector<Answer> all = [] {
        std::mt19937_64 engine(11);
        std::uniform_int_distribution<int> anyRow(0, kMaxPoints - 1);
        std::uniform_int_distribution<qint64> anyMoment(0, kYearMsecs);
        std::uniform_int_distribution<int> percent(0, 99);
        std::uniform_real_distribution<double> seconds(1, 20);
        std::vector<Answer> made;
        made.reserve(kAnswers);
        for (int i = 0; i < kAnswers; ++i) {
            const int row = anyRow(engine);
            made.push_back(
                {row, {kStart + anyMoment(engine), seconds(engine), percent(engine) >= 33}});
        }
        std::sort(made.begin(), made.end(), [](const Answer& a, const Answer& b) {
            return a.answer.whenMsecsUtc < b.answer.whenMsecsUtc;
        });
        return made;
    }();
    return all;
}

// The answers as the record hands them out: by point, each point's in time order.
const AnswerHistory& history() {
    static const AnswerHistory all = [] {
        AnswerHistory made;
        made.reserve(kMaxPoints);
        for (const Answer& a : answers())
            made[PointIdentity::of(points().at(a.row))].append(a.answer);
        return made;
    }();
    return all;
}

// Baseline: one pass over every answer.
double sumSeconds() {
    double sum = 0;
    for (const QList<TimedAnswer>& list : history())
        for (const TimedAnswer& answer : list)
            sum += answer.seconds;
    return sum;
}

MemoryStateTable states() {
    return MemoryStates::of(Fsrs(), history());
}

// A month after the last answer: recall anywhere from forgotten to sure.
constexpr qint64 kLooked = kStart + kYearMsecs + 30 * 86'400'000LL;

// Writes the answers into a record (RecordFill: one transaction, prepared statements).
double fillRecord(const QString& folder, const QString& questionFile) {
    QElapsedTimer timer;
    timer.start();
    {
        RecordFill fill(folder, questionFile, points());
        for (const Answer& a : answers())
            fill.add(a.row, a.answer.whenMsecsUtc, QStringLiteral(""), a.answer.correct,
                     a.answer.seconds);
        fill.exec(QStringLiteral("UPDATE points SET asked = 1"));
        fill.done();
    }
    return timer.nsecsElapsed() / 1e6;
}

void BM_MemoryStates(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(states());
}
BENCHMARK(BM_MemoryStates)->Unit(benchmark::kMillisecond);

void BM_SumSeconds(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(sumSeconds());
}
BENCHMARK(BM_SumSeconds)->Unit(benchmark::kMillisecond);

void printSummary() {
    const auto [sum, computed] = BenchSupport::interleavedMedians(
        7, [] { benchmark::DoNotOptimize(sumSeconds()); },
        [] { benchmark::DoNotOptimize(states()); });

    QTemporaryDir dir;
    const QString questionFile = dir.filePath(QStringLiteral("bench.zvm"));
    const double fillMs = fillRecord(dir.path(), questionFile);
    qsizetype readAnswers = 0;
    // A fresh record each time, so nothing is served from a connection's cache.
    const auto [stats, read] = BenchSupport::interleavedMedians(
        3,
        [&] {
            StudyRecord record(dir.path());
            record.setQuestionFile(questionFile, points());
            benchmark::DoNotOptimize(record.pointStats());
        },
        [&] {
            StudyRecord record(dir.path());
            record.setQuestionFile(questionFile, points());
            const AnswerHistory read = record.answerHistory();
            readAnswers = 0;
            for (const QList<TimedAnswer>& list : read)
                readAnswers += list.size();
        });

    const MemoryStateTable table = states();
    qsizetype inReview = 0;
    for (const MemoryState& s : table)
        inReview += s.phase == MemoryPhase::Review;

    const Fsrs model;
    const auto [places, coloured] = BenchSupport::interleavedMedians(
        15, [&] { benchmark::DoNotOptimize(Mastery::dots(points(), {}, model, kLooked)); },
        [&] { benchmark::DoNotOptimize(Mastery::dots(points(), table, model, kLooked)); });
    QSet<QRgb> colours;
    for (const Mastery::Dot& dot : Mastery::dots(points(), table, model, kLooked))
        colours.insert(dot.colour.rgb());

    const MasteryRequest request{dir.path(), questionFile, points(), Fsrs::kDefaultRetention,
                                 QDateTime::fromMSecsSinceEpoch(kLooked)};
    qsizetype mapDots = 0;
    const auto [unused, mapRead] = BenchSupport::interleavedMedians(
        3, [] {}, [&] { mapDots = request.read().dots.dots().size(); });
    (void)unused;

    std::printf("\n%d points, %d answers over a year (%lld points in review at the end)\n",
                kMaxPoints, kAnswers, static_cast<long long>(inReview));
    std::printf("(medians of interleaved runs)                           wall ms   CPU ms\n");
    std::printf("  add up the answers' seconds (baseline)              : %8.2f %8.2f\n", sum.wallMs,
                sum.cpuMs);
    std::printf("  memory states of every point                        : %8.2f %8.2f  "
                "(limit %.0f ms)\n",
                computed.wallMs, computed.cpuMs, kLimitMs);
    std::printf("  record filled with the answers in %.0f ms\n", fillMs);
    std::printf("  read the record of every point (baseline)           : %8.2f %8.2f\n",
                stats.wallMs, stats.cpuMs);
    std::printf("  read every answer in time order (%lld answers)    : %8.2f %8.2f\n",
                static_cast<long long>(readAnswers), read.wallMs, read.cpuMs);
    std::printf("  the dots' places, every point never asked (baseline): %8.2f %8.2f\n",
                places.wallMs, places.cpuMs);
    std::printf("  the dots coloured by recall (%lld colours)           : %8.2f %8.2f\n",
                static_cast<long long>(colours.size()), coloured.wallMs, coloured.cpuMs);
    std::printf("  the mastery map's whole read, off the window's thread: %8.2f %8.2f  "
                "(%lld dots)\n",
                mapRead.wallMs, mapRead.cpuMs, static_cast<long long>(mapDots));
    std::printf("RESULT sum_seconds_ms=%.2f memory_states_ms=%.2f limit_ms=%.0f fill_ms=%.0f "
                "stats_read_ms=%.2f answers_read_ms=%.2f answers_read=%lld dot_places_ms=%.2f "
                "dots_coloured_ms=%.2f dot_colours=%lld mastery_read_ms=%.2f\n",
                sum.wallMs, computed.wallMs, kLimitMs, fillMs, stats.wallMs, read.wallMs,
                static_cast<long long>(readAnswers), places.wallMs, coloured.wallMs,
                static_cast<long long>(colours.size()), mapRead.wallMs);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    history(); // made before anything is timed
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
