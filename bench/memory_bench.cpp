// Each point's memory state on the largest table with 1,000,000 answers: read from the traces
// the record keeps (what the mastery map and today's review do), beside reading the record of
// every point's counts; the traces made once from all the answers of a record that has none (a
// record from before traces), beside reading every answer; one more answer written with its
// trace; the traces worked out from the answers held in memory, beside only adding up the
// answers' seconds (the least a pass over them costs); the mastery map's dots coloured by
// recall, beside the same dots all never asked (their places alone); and the whole read the
// mastery map does off the window's thread.
#include "BenchSupport.h"
#include "RecordFill.h"
#include "core/memory/MemoryStates.h"
#include "core/record/StudyRecord.h"
#include "core/study/Mastery.h"
#include "core/study/MasteryReader.h"

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
#include <memory>
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
    return memoryStates(Fsrs(), memoryTraces(history()));
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
        fill.exec(QStringLiteral("UPDATE points SET asked = (SELECT count(*) FROM attempts WHERE "
                                 "point_id = points.id)"));
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
    const auto open = [&] {
        auto record = std::make_unique<StudyRecord>(dir.path());
        record->setQuestionFile(questionFile, points());
        return record;
    };
    // The record has no traces yet: the first read makes and stores them.
    QElapsedTimer timer;
    timer.start();
    const qsizetype traced = open()->memoryTraces().size();
    const double firstTracesMs = timer.nsecsElapsed() / 1e6;

    qsizetype readAnswers = 0;
    const auto [answersRead, unusedRead] = BenchSupport::interleavedMedians(
        3,
        [&] {
            readAnswers = 0;
            for (const QList<TimedAnswer>& list : open()->answerHistory())
                readAnswers += list.size();
        },
        [] {});
    (void)unusedRead;
    // A fresh record each time, so nothing is served from a connection's cache.
    qsizetype readStates = 0;
    const auto [stats, read] = BenchSupport::interleavedMedians(
        7, [&] { benchmark::DoNotOptimize(open()->pointStats()); },
        [&] { readStates = memoryStates(Fsrs(), open()->memoryTraces()).size(); });

    // One more answer with its trace, on a point with an average history.
    const std::unique_ptr<StudyRecord> writer = open();
    Attempt attempt;
    attempt.whenMsecsUtc = kLooked;
    attempt.correct = true;
    attempt.seconds = 3;
    std::vector<double> writes;
    for (int i = 0; i < 15; ++i) {
        timer.restart();
        writer->record(points().at(i * 997), attempt);
        writes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(writes.begin(), writes.begin() + writes.size() / 2, writes.end());
    const double writeMs = writes[writes.size() / 2];

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
    std::printf("  record filled with the answers in %.0f ms\n", fillMs);
    std::printf("  read the record of every point (baseline)           : %8.2f %8.2f\n",
                stats.wallMs, stats.cpuMs);
    std::printf("  memory states of every point, from the record       : %8.2f %8.2f  "
                "(%lld states, limit %.0f ms)\n",
                read.wallMs, read.cpuMs, static_cast<long long>(readStates), kLimitMs);
    std::printf("  read every answer in time order (%lld answers)    : %8.2f %8.2f\n",
                static_cast<long long>(readAnswers), answersRead.wallMs, answersRead.cpuMs);
    std::printf("  traces made from every answer, once (%lld points)   : %8.2f\n",
                static_cast<long long>(traced), firstTracesMs);
    std::printf("  one answer written with its trace                   : %8.2f\n", writeMs);
    std::printf("  add up the answers' seconds in memory (baseline)    : %8.2f %8.2f\n", sum.wallMs,
                sum.cpuMs);
    std::printf("  states of every point from the answers in memory    : %8.2f %8.2f\n",
                computed.wallMs, computed.cpuMs);
    std::printf("  the dots' places, every point never asked (baseline): %8.2f %8.2f\n",
                places.wallMs, places.cpuMs);
    std::printf("  the dots coloured by recall (%lld colours)           : %8.2f %8.2f\n",
                static_cast<long long>(colours.size()), coloured.wallMs, coloured.cpuMs);
    std::printf("  the mastery map's whole read, off the window's thread: %8.2f %8.2f  "
                "(%lld dots)\n",
                mapRead.wallMs, mapRead.cpuMs, static_cast<long long>(mapDots));
    std::printf("RESULT stats_read_ms=%.2f memory_states_ms=%.2f limit_ms=%.0f states=%lld "
                "answers_read_ms=%.2f first_traces_ms=%.0f write_one_ms=%.2f fill_ms=%.0f "
                "sum_seconds_ms=%.2f states_in_memory_ms=%.2f dot_places_ms=%.2f "
                "dots_coloured_ms=%.2f dot_colours=%lld mastery_read_ms=%.2f\n",
                stats.wallMs, read.wallMs, kLimitMs, static_cast<long long>(readStates),
                answersRead.wallMs, firstTracesMs, writeMs, fillMs, sum.wallMs, computed.wallMs,
                places.wallMs, coloured.wallMs, static_cast<long long>(colours.size()),
                mapRead.wallMs);
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
