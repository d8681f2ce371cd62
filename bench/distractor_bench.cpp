// The choices of a question answered by choosing among four, on the largest table with a
// record of 1,000,000 attempts: loading the confusions from the record (the grouped read and
// the distractors built on it) beside reading the record of every point, and choosing three
// distractors for a question beside judging a typed answer.
#include "BenchSupport.h"
#include "RecordFill.h"
#include "core/quiz/Distractors.h"
#include "core/quiz/Judging.h"
#include "core/quiz/RandomSource.h"
#include "core/record/StudyRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
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

constexpr int kAttempts = 1'000'000;
constexpr double kLimitMs = 1.0;

const PointList& points() {
    static const PointList all = BenchSupport::fullTable();
    return all;
}

// Fills a record with kAttempts attempts spread over every point, a third of them wrong: most
// wrong answers name a point near in the table, some name none (RecordFill). The file
// is then opened as a record of version 1, whose upgrade counts the wrong answers.
void fillRecord(const QString& folder, const QString& questionFile) {
    {
        RecordFill fill(folder, questionFile, points());
        std::mt19937_64 engine(7);
        std::uniform_int_distribution<int> anyRow(0, kMaxPoints - 1);
        std::uniform_int_distribution<int> percent(0, 99);
        std::uniform_int_distribution<int> nearBy(1, 20);
        for (int i = 0; i < kAttempts; ++i) {
            const int row = anyRow(engine);
            const int roll = percent(engine);
            QString typed = points().at(row)[ColumnAnswer1];
            if (roll < 6)
                typed = QStringLiteral("まちがい%1").arg(i % 5000);
            else if (roll < 33)
                typed = points().at((row + nearBy(engine)) % kMaxPoints)[ColumnAnswer1];
            fill.add(row, qint64(1700000000000) + i, typed, roll >= 33, 3.5);
        }
        fill.done();
        // As a record of the version before the wrong answers were counted apart: opening it
        // counts them from the attempts, as an upgrade does.
        fill.exec(QStringLiteral("DROP TABLE wrong_answers"));
        fill.exec(QStringLiteral("DROP TABLE bests"));
        fill.exec(QStringLiteral("PRAGMA user_version=1"));
    }
    StudyRecord upgraded(folder);
    upgraded.setQuestionFile(questionFile, points());
    upgraded.pointStats();
}

struct Fixture {
    QTemporaryDir dir;
    QString questionFile = dir.filePath(QStringLiteral("bench.zvm"));
    double fillMs = 0;
    WrongAnswers wrong;
    std::unique_ptr<Distractors> distractors;
    SystemRandomSource random{3};

    Fixture() {
        QElapsedTimer timer;
        timer.start();
        fillRecord(dir.path(), questionFile);
        fillMs = timer.nsecsElapsed() / 1e6;
        StudyRecord record(dir.path());
        record.setQuestionFile(questionFile, points());
        wrong = record.wrongAnswers();
        distractors = std::make_unique<Distractors>(points(), JudgingOptions(), wrong);
    }
};

Fixture& fixture() {
    static Fixture made;
    return made;
}

int g_row = 0;
int nextRow() {
    g_row = (g_row + 7919) % kMaxPoints;
    return g_row;
}

void chooseOne() {
    Fixture& f = fixture();
    benchmark::DoNotOptimize(f.distractors->choicesFor(points().at(nextRow()), f.random));
}

// Baseline: what every typed question costs, judging the answer.
void judgeOne() {
    const Point& point = points().at(nextRow());
    benchmark::DoNotOptimize(Judging::isCorrect(point[ColumnAnswer2] + QStringLiteral(" "),
                                                point[ColumnAnswer1], point[ColumnAnswer2], {}));
}

void BM_ChooseDistractors(benchmark::State& state) {
    for (auto _ : state)
        chooseOne();
}
BENCHMARK(BM_ChooseDistractors)->Unit(benchmark::kMicrosecond);

void BM_JudgeTyped(benchmark::State& state) {
    for (auto _ : state)
        judgeOne();
}
BENCHMARK(BM_JudgeTyped)->Unit(benchmark::kMicrosecond);

void printSummary() {
    Fixture& f = fixture();
    qint64 wrongTexts = 0;
    for (const auto& given : std::as_const(f.wrong))
        wrongTexts += given.size();

    // Loading: a fresh record each time, so nothing is served from a connection's cache.
    const auto [stats, load] = BenchSupport::interleavedMedians(
        5,
        [&] {
            StudyRecord record(f.dir.path());
            record.setQuestionFile(f.questionFile, points());
            benchmark::DoNotOptimize(record.pointStats());
        },
        [&] {
            StudyRecord record(f.dir.path());
            record.setQuestionFile(f.questionFile, points());
            benchmark::DoNotOptimize(record.wrongAnswers());
        });
    const auto [plain, built] = BenchSupport::interleavedMedians(
        5, [] { benchmark::DoNotOptimize(Distractors(points(), JudgingOptions())); },
        [&] { benchmark::DoNotOptimize(Distractors(points(), JudgingOptions(), f.wrong)); });

    // Per question, in batches of 100 so the clock's resolution does not count.
    const auto [judge, choose] = BenchSupport::interleavedMedians(
        201,
        [] {
            for (int i = 0; i < 100; ++i)
                judgeOne();
        },
        [] {
            for (int i = 0; i < 100; ++i)
                chooseOne();
        });
    // Every point asked once, each timed alone: the slowest questions.
    std::vector<double> each;
    each.reserve(kMaxPoints);
    for (int row = 0; row < kMaxPoints; ++row) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(f.distractors->choicesFor(points().at(row), f.random));
        each.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(each.begin(), each.end());
    const double p99 = each[each.size() * 99 / 100];
    const double worst = each.back();
    const auto over =
        std::count_if(each.begin(), each.end(), [](double ms) { return ms > kLimitMs; });

    std::printf("\n%d points, a record of %d attempts (filled in %.0f ms), %lld wrong answers by "
                "point and text\n",
                kMaxPoints, kAttempts, f.fillMs, static_cast<long long>(wrongTexts));
    std::printf("(medians of interleaved runs)                           wall ms   CPU ms\n");
    std::printf("  read the record of every point (baseline)           : %8.2f %8.2f\n",
                stats.wallMs, stats.cpuMs);
    std::printf("  read the wrong answers (one grouped read)           : %8.2f %8.2f\n",
                load.wallMs, load.cpuMs);
    std::printf("  distractors built, no record                        : %8.2f %8.2f\n",
                plain.wallMs, plain.cpuMs);
    std::printf("  distractors built with the confusions               : %8.2f %8.2f\n",
                built.wallMs, built.cpuMs);
    std::printf("  confusions loaded (read + built)                    : %8.2f\n",
                load.wallMs + built.wallMs);
    std::printf("  judge a typed answer, per question (baseline)       : %8.4f %8.4f\n",
                judge.wallMs / 100, judge.cpuMs / 100);
    std::printf("  choose three distractors, per question              : %8.4f %8.4f  "
                "(limit %.0f ms)\n",
                choose.wallMs / 100, choose.cpuMs / 100, kLimitMs);
    std::printf("  every point once: p99 %.4f ms, slowest %.4f ms, %ld over the limit\n", p99,
                worst, static_cast<long>(over));
    std::printf("RESULT fill_ms=%.0f stats_ms=%.2f wrong_read_ms=%.2f distractors_build_ms=%.2f "
                "distractors_confusions_ms=%.2f confusions_load_ms=%.2f judge_ms=%.4f "
                "choose_ms=%.4f choose_p99_ms=%.4f choose_max_ms=%.4f choose_over_1ms=%ld "
                "limit_ms=%.0f\n",
                f.fillMs, stats.wallMs, load.wallMs, plain.wallMs, built.wallMs,
                load.wallMs + built.wallMs, judge.wallMs / 100, choose.wallMs / 100, p99, worst,
                static_cast<long>(over), kLimitMs);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    fixture(); // the record is filled before anything is timed
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
