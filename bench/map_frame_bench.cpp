// Frames of the main window's map view: a 1280 x 960 MapView rendered over an 8000 x 8000 map at
// the fitted zoom, 25 %, 50 %, 100 %, 200 % and 800 % and while panning (each frame repainted
// whole, which panning by the scroll bars does not even need), beside the same frames over a
// 1000 x 1000 map in the same run. Also the one-off cost of the reduced copies beside Qt's own
// smooth scaling of the map to a quarter.
#include "BenchSupport.h"
#include "BenchWindows.h"
#include "core/platform/MapPyramid.h"
#include "ui/platform/MapView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const QSize kView(1280, 960);

// Something like a map: smooth colour fields crossed by thin lines every 50 pixels.
QImage makeMap(int side) {
    QImage map(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(map.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const bool border = x % 50 == 0 || y % 50 == 0;
            line[x] = border ? qRgb(40, 40, 40)
                             : qRgb(120 + (x / 7) % 100, 150 + (y / 11) % 80, 90 + (x + y) % 60);
        }
    }
    return map;
}

struct Frame {
    const char* name;
    qreal zoom; // 0: fitted
    bool panning;
};

const Frame kFrames[] = {{"fit", 0, false},       {"25 %", 0.25, false}, {"50 %", 0.5, false},
                         {"100 %", 1, false},     {"200 %", 2, false},   {"800 %", 8, false},
                         {"pan 50 %", 0.5, true}, {"pan 100 %", 1, true}};

struct Fixture {
    QImage largeMap = makeMap(8000);
    std::unique_ptr<MapView> large = makeView(largeMap);
    std::unique_ptr<MapView> small = makeView(makeMap(1000));
    QImage frame{kView, QImage::Format_ARGB32_Premultiplied};

    static std::unique_ptr<MapView> makeView(const QImage& map) {
        auto view = std::make_unique<MapView>();
        view->resize(kView);
        view->setMap(map);
        while (!view->mapCopiesReady())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return view;
    }

    // Shows `frame` at step `step`: zoomed about the view's centre, moving by 37 x 23 logical
    // pixels a step when panning, 20 steps one way, then 20 back.
    static void show(MapView& view, const Frame& frame, int step) {
        const qreal zoom = frame.zoom > 0
                               ? frame.zoom
                               : MapTransform::fitZoom(view.mapSize(), view.maximumViewportSize());
        if (view.zoom() != zoom) {
            view.zoomAbout(zoom, QPointF(kView.width(), kView.height()) / 2);
            QApplication::processEvents(); // the scroll bars' layout
        }
        if (frame.panning) {
            const QPoint offset = QPoint(37, 23) * ((step / 20) % 2 ? -1 : 1);
            view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->value() + offset.x());
            view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + offset.y());
        }
    }

    void paint(MapView& view, const Frame& kind, int step) {
        show(view, kind, step);
        view.render(&frame);
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_Frame(benchmark::State& state) {
    Fixture& f = fixture();
    const Frame& frame = kFrames[state.range(0)];
    MapView& map = state.range(1) ? *f.large : *f.small;
    int step = 0;
    for (auto _ : state)
        f.paint(map, frame, step++);
    state.SetLabel(std::string(frame.name) + (state.range(1) ? ", 8000 map" : ", 1000 map"));
}
BENCHMARK(BM_Frame)
    ->ArgsProduct({benchmark::CreateDenseRange(0, std::size(kFrames) - 1, 1), {1, 0}})
    ->Unit(benchmark::kMillisecond);

void BM_BuildCopies8000(benchmark::State& state) {
    const QImage& map = fixture().largeMap;
    for (auto _ : state)
        benchmark::DoNotOptimize(MapPyramid::buildCopies(map));
}
BENCHMARK(BM_BuildCopies8000)->Unit(benchmark::kMillisecond);

void BM_QtSmoothQuarter8000(benchmark::State& state) {
    const QImage& map = fixture().largeMap;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            map.scaled(2000, 2000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
BENCHMARK(BM_QtSmoothQuarter8000)->Unit(benchmark::kMillisecond);

struct FrameTimes {
    double median = 0;
    double worst = 0;
};

// Every frame timed alone, the two maps interleaved so that both meet the same load.
std::pair<FrameTimes, FrameTimes> timeFrames(Fixture& f, const Frame& frame, int frames) {
    std::vector<double> times[2];
    for (int which = 0; which < 2; ++which)
        f.paint(which == 0 ? *f.large : *f.small, frame, 0); // a first frame to warm the caches
    for (int step = 0; step < frames; ++step) {
        for (int which = 0; which < 2; ++which) {
            QElapsedTimer timer;
            timer.start();
            f.paint(which == 0 ? *f.large : *f.small, frame, step);
            times[which].push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    const auto summary = [](const std::vector<double>& t) {
        return FrameTimes{BenchSupport::median(t), *std::max_element(t.begin(), t.end())};
    };
    return {summary(times[0]), summary(times[1])};
}

void printSummary() {
    Fixture& f = fixture();
    constexpr int kFramesEach = 41;
    std::printf("\n1280 x 960 view, %d frames each (ms; worst is the slowest single frame)\n",
                kFramesEach);
    std::printf("  %-10s  8000 map: median  worst   1000 map: median  worst\n", "frame");
    double largeMedian = 0, largeWorst = 0, smallMedian = 0, smallWorst = 0;
    for (const Frame& frame : kFrames) {
        const auto [large, small] = timeFrames(f, frame, kFramesEach);
        std::printf("  %-10s            %6.2f %6.2f             %6.2f %6.2f\n", frame.name,
                    large.median, large.worst, small.median, small.worst);
        largeMedian = std::max(largeMedian, large.median);
        largeWorst = std::max(largeWorst, large.worst);
        smallMedian = std::max(smallMedian, small.median);
        smallWorst = std::max(smallWorst, small.worst);
    }
    const auto [copies, qtQuarter] = BenchSupport::interleavedMedians(
        5, [&] { benchmark::DoNotOptimize(MapPyramid::buildCopies(f.largeMap)); },
        [&] {
            benchmark::DoNotOptimize(
                f.largeMap.scaled(2000, 2000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        });
    std::printf("  slowest frame kind, median: %.2f ms (8000 map) vs %.2f ms (1000 map); "
                "limit 16 ms\n",
                largeMedian, smallMedian);
    std::printf("  reduced copies of the 8000 map, once per map: %.1f ms (Qt's smooth scaling to "
                "a quarter alone: %.1f ms)\n",
                copies.wallMs, qtQuarter.wallMs);
    std::printf("RESULT frame8000_median_ms=%.2f frame8000_worst_ms=%.2f frame1000_median_ms=%.2f "
                "frame1000_worst_ms=%.2f copies8000_ms=%.1f qt_quarter8000_ms=%.1f\n",
                largeMedian, largeWorst, smallMedian, smallWorst, copies.wallMs, qtQuarter.wallMs);
}

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWithWindows(argc, argv, printSummary, [] { g_fixture.reset(); });
}
