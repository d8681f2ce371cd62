// Exploring a full table on a large map: 32,767 points (the texts of BenchSupport::fullTable)
// spread over an 8000 x 8000 map in a 1280 x 1024 MapView. The first frame with labels (the
// texts measured, the layout made at the fitted zoom, the frame painted) and frames while
// panning at 25 %, 50 % and 100 % with the layout made; beside them, from the same run, the
// same frames of the bare map.
#include "BenchSupport.h"
#include "BenchWindows.h"
#include "core/explore/ExploreOverlay.h"
#include "core/explore/ExplorePoints.h"
#include "ui/platform/MapView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const QSize kView(1280, 1024);
constexpr int kMapSide = 8000;

// Colour fields crossed by thin lines, like a map.
QImage makeMap() {
    QImage map(kMapSide, kMapSide, QImage::Format_RGB32);
    for (int y = 0; y < kMapSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(map.scanLine(y));
        for (int x = 0; x < kMapSide; ++x)
            line[x] = x % 50 == 0 || y % 50 == 0
                          ? qRgb(40, 40, 40)
                          : qRgb(120 + (x / 7) % 100, 150 + (y / 11) % 80, 90 + (x + y) % 60);
    }
    return map;
}

// The full table's texts at places spread evenly but irregularly over the map.
PointList spreadTable() {
    PointList rows = BenchSupport::fullTable();
    quint32 state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % kMapSide;
    };
    for (Point& point : rows) {
        point[ColumnX] = QString::number(next());
        point[ColumnY] = QString::number(next());
    }
    return rows;
}

struct Fixture {
    PointList rows = spreadTable();
    QImage map = makeMap();
    std::unique_ptr<MapView> view = std::make_unique<MapView>();
    ExploreOverlay overlay;
    QImage frame{kView, QImage::Format_ARGB32_Premultiplied};

    Fixture() {
        view->resize(kView);
        view->setMap(map);
        while (!view->mapCopiesReady())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // A fresh overlay, as on entering: nothing measured or laid out yet.
    void enter() {
        overlay.setPoints(rows, view->mapSize());
        overlay.setShown(ExplorePoints::split(rows, view->mapSize(), std::nullopt).onMap);
        view->addOverlay(&overlay);
    }
    void leave() { view->removeOverlay(&overlay); }

    void zoomTo(qreal zoom) {
        if (zoom == 0)
            zoom = MapTransform::fitZoom(view->mapSize(), view->maximumViewportSize());
        if (view->zoom() != zoom) {
            view->zoomAbout(zoom, QPointF(kView.width(), kView.height()) / 2);
            QApplication::processEvents(); // the scroll bars' layout
        }
    }
    // One frame while panning: 37 x 23 logical pixels a step, 20 steps one way, 20 back.
    void pan(int step) {
        const QPoint offset = QPoint(37, 23) * ((step / 20) % 2 ? -1 : 1);
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->value() + offset.x());
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + offset.y());
        view->render(&frame);
    }
    // The first frame's time in all, and how much of it went into measuring and laying out.
    std::pair<double, double> firstFrameMs() {
        zoomTo(0);
        QElapsedTimer timer;
        timer.start();
        enter();
        overlay.layout(view->zoom());
        const double layout = timer.nsecsElapsed() / 1e6;
        view->render(&frame);
        const double ms = timer.nsecsElapsed() / 1e6;
        leave();
        return {ms, layout};
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

const qreal kPanZooms[] = {0.25, 0.5, 1.0};

void BM_FirstFrame(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.firstFrameMs());
}
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond);

void BM_Pan(benchmark::State& state) {
    Fixture& f = fixture();
    const bool labels = state.range(1);
    if (labels)
        f.enter();
    f.zoomTo(kPanZooms[state.range(0)]);
    int step = 0;
    for (auto _ : state)
        f.pan(step++);
    f.leave();
    state.SetLabel(QStringLiteral("%1 %, %2")
                       .arg(kPanZooms[state.range(0)] * 100)
                       .arg(labels ? "labels" : "bare map")
                       .toStdString());
}
BENCHMARK(BM_Pan)->ArgsProduct({{0, 1, 2}, {1, 0}})->Unit(benchmark::kMillisecond);

// Frames timed one by one, with labels and without interleaved so that both meet the same load.
std::pair<std::vector<double>, std::vector<double>> panTimes(Fixture& f, qreal zoom, int frames) {
    std::vector<double> times[2];
    f.enter();
    f.zoomTo(zoom);
    f.pan(0); // the layout at this zoom, made once
    for (int step = 0; step < frames; ++step) {
        for (int which = 0; which < 2; ++which) {
            if (which == 1)
                f.leave();
            QElapsedTimer timer;
            timer.start();
            f.pan(step);
            times[which].push_back(timer.nsecsElapsed() / 1e6);
            if (which == 1)
                f.view->addOverlay(&f.overlay);
        }
    }
    f.leave();
    return {times[0], times[1]};
}

void printSummary() {
    Fixture& f = fixture();
    constexpr int kFrames = 41;
    std::vector<double> first;
    std::vector<double> layout;
    std::vector<double> bareFirst;
    for (int i = 0; i < 5; ++i) {
        const auto [ms, layoutMs] = f.firstFrameMs();
        first.push_back(ms);
        layout.push_back(layoutMs);
        QElapsedTimer timer;
        timer.start();
        f.view->render(&f.frame);
        bareFirst.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("\n32,767 points on an 8000 x 8000 map, 1280 x 1024 view (ms)\n");
    std::printf("  first frame at the fitted zoom: %.2f with labels (%.2f of it measuring and "
                "laying out), %.2f bare map; limit 100\n",
                BenchSupport::median(first), BenchSupport::median(layout),
                BenchSupport::median(bareFirst));
    double worstMedian = 0;
    double worstFrame = 0;
    double bareWorstMedian = 0;
    for (const qreal zoom : kPanZooms) {
        const auto [labels, bare] = panTimes(f, zoom, kFrames);
        const double worst = *std::max_element(labels.begin(), labels.end());
        std::printf("  panning at %3.0f %%: median %.2f, worst %.2f with labels; median %.2f bare "
                    "map; limit 16\n",
                    zoom * 100, BenchSupport::median(labels), worst, BenchSupport::median(bare));
        worstMedian = std::max(worstMedian, BenchSupport::median(labels));
        worstFrame = std::max(worstFrame, worst);
        bareWorstMedian = std::max(bareWorstMedian, BenchSupport::median(bare));
    }
    std::printf("RESULT first_frame_ms=%.2f layout_ms=%.2f first_frame_bare_ms=%.2f "
                "pan_median_ms=%.2f pan_worst_ms=%.2f pan_bare_median_ms=%.2f\n",
                BenchSupport::median(first), BenchSupport::median(layout),
                BenchSupport::median(bareFirst), worstMedian, worstFrame, bareWorstMedian);
}

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWithWindows(argc, argv, printSummary, [] { g_fixture.reset(); });
}
