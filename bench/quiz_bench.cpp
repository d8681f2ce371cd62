// Start on the largest table: the shuffle beside one plain copy of the same table, and one
// question's judging plus the move to the next question with 32,767 points.
#include "quiz/QuizPlacement.h"
#include "quiz/QuizSession.h"
#include "quiz/RandomSource.h"
#include "quiz/Shuffle.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

PointList makePoints() {
    PointList points;
    points.reserve(kMaxPoints);
    for (int i = 0; i < kMaxPoints; ++i) {
        const QString name = QStringLiteral("鹿児島") + QString::number(i);
        points.append(Point{QString::number(100 + i % 1800), QString::number(50 + i % 1900),
                            QStringLiteral("九州地方"), name + QStringLiteral("県"), name,
                            name + QStringLiteral("市。県庁所在地。\r\n人口は約60万人。")});
    }
    return points;
}

const PointList& points() {
    static const PointList all = makePoints();
    return all;
}

// Baseline: a full copy of the table (every row's six texts referenced anew).
void BM_CopyTable(benchmark::State& state) {
    for (auto _ : state) {
        PointList copy = points();
        copy.detach();
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * kMaxPoints);
}
BENCHMARK(BM_CopyTable)->Unit(benchmark::kMillisecond);

// The Start shuffle, with the generator reseeded as every Start does and a yield hook like
// the window's (here empty).
void BM_ShuffleTable(benchmark::State& state) {
    PointList rows = points();
    rows.detach();
    SystemRandomSource random;
    int yields = 0;
    for (auto _ : state) {
        random.reseed();
        shuffleRows(rows, random, [&] { ++yields; });
        benchmark::DoNotOptimize(rows.data());
    }
    benchmark::DoNotOptimize(yields);
    state.SetItemsProcessed(state.iterations() * kMaxPoints);
}
BENCHMARK(BM_ShuffleTable)->Unit(benchmark::kMillisecond);

// One question: judge the typed text, move to the next row and place the marker there, with
// the texts the window shows. Normal mode walks the whole table; a new session begins at its
// end. Practice mode draws rows at random.
void BM_JudgeAndNext(benchmark::State& state) {
    const auto mode = state.range(0) == 0 ? QuizSession::Mode::Normal : QuizSession::Mode::Practice;
    SystemRandomSource random(1);
    auto session = std::make_unique<QuizSession>(points(), mode, random);
    session->advance();
    const QString typed = QStringLiteral("鹿児島〜");
    for (auto _ : state) {
        const bool right = session->judge(typed);
        benchmark::DoNotOptimize(QuizSession::verdictStatus(right));
        if (!session->advance()) {
            session->finish();
            benchmark::DoNotOptimize(session->resultMessage());
            session = std::make_unique<QuizSession>(points(), mode, random);
            session->advance();
        }
        benchmark::DoNotOptimize(QuizPlacement::markerTopLeft(session->currentPoint()));
        benchmark::DoNotOptimize(session->progressText());
    }
}
BENCHMARK(BM_JudgeAndNext)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
