// Judging one answer on the largest table: a typed answer exactly and with every judging
// option on, and a press on the map (the locate rule over 32,767 points) beside one plain
// pass over the same positions.
#include "BenchSupport.h"
#include "core/data/NumericText.h"
#include "core/quiz/Judging.h"
#include "core/quiz/LocateRule.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

const PointList& points() {
    static const PointList all = BenchSupport::fullTable();
    return all;
}

constexpr QSize kMapSize(2000, 2000);

const LocateRule& rule() {
    static const LocateRule all(points(), kMapSize);
    return all;
}

const JudgingOptions kAllOn{true, true, true};

// Typed answers as a learner enters them, one per row asked.
QString typedFor(int row) {
    return points().at(row)[ColumnAnswer2] + QStringLiteral(" ");
}

int g_row = 0;
int nextRow() {
    g_row = (g_row + 7919) % kMaxPoints;
    return g_row;
}

void judgeTyped(const JudgingOptions& options) {
    const int row = nextRow();
    const Point& point = points().at(row);
    benchmark::DoNotOptimize(
        Judging::isCorrect(typedFor(row), point[ColumnAnswer1], point[ColumnAnswer2], options));
}

void judgePress() {
    const int row = nextRow();
    const QPointF place = *rule().position(row);
    benchmark::DoNotOptimize(rule().judge(row, place + QPointF(0.5, 0.5)));
}

// Baseline: the positions read once, then one pass of squared distances to a press.
const std::vector<QPointF>& positions() {
    static const std::vector<QPointF> all = [] {
        std::vector<QPointF> list;
        for (const Point& p : points())
            list.emplace_back(*NumericText::toNumber(p[ColumnX]),
                              *NumericText::toNumber(p[ColumnY]));
        return list;
    }();
    return all;
}

void scanPositions() {
    const QPointF press = positions()[nextRow()];
    double nearest = 1e300;
    for (const QPointF& p : positions()) {
        const double dx = p.x() - press.x(), dy = p.y() - press.y();
        nearest = std::min(nearest, dx * dx + dy * dy);
    }
    benchmark::DoNotOptimize(nearest);
}

void BM_JudgeTypedExact(benchmark::State& state) {
    for (auto _ : state)
        judgeTyped({});
}
BENCHMARK(BM_JudgeTypedExact)->Unit(benchmark::kMicrosecond);

void BM_JudgeTypedAllOptions(benchmark::State& state) {
    for (auto _ : state)
        judgeTyped(kAllOn);
}
BENCHMARK(BM_JudgeTypedAllOptions)->Unit(benchmark::kMicrosecond);

void BM_ScanPositions(benchmark::State& state) {
    for (auto _ : state)
        scanPositions();
}
BENCHMARK(BM_ScanPositions)->Unit(benchmark::kMicrosecond);

void BM_JudgePress(benchmark::State& state) {
    for (auto _ : state)
        judgePress();
}
BENCHMARK(BM_JudgePress)->Unit(benchmark::kMicrosecond);

void printSummary() {
    const auto [exact, lenient] = BenchSupport::interleavedMedians(
        2001, [] { judgeTyped({}); }, [] { judgeTyped(kAllOn); });
    const auto [scan, press] = BenchSupport::interleavedMedians(201, scanPositions, judgePress);
    std::printf("\n%d points (medians of interleaved runs)        wall us\n", kMaxPoints);
    std::printf("  typed answer, exact                       : %8.2f\n", exact.wallMs * 1e3);
    std::printf("  typed answer, every option on             : %8.2f  (%.1f x exact)\n",
                lenient.wallMs * 1e3, lenient.wallMs / exact.wallMs);
    std::printf("  one pass over the positions               : %8.2f\n", scan.wallMs * 1e3);
    std::printf("  press on the map, locate rule             : %8.2f  (%.1f x one pass)\n",
                press.wallMs * 1e3, press.wallMs / scan.wallMs);
    std::printf("RESULT typed_exact_us=%.2f typed_all_options_us=%.2f scan_us=%.2f "
                "press_us=%.2f\n",
                exact.wallMs * 1e3, lenient.wallMs * 1e3, scan.wallMs * 1e3, press.wallMs * 1e3);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
