// Drawing a dot and its row number for each of 32,767 points spread over a 2000 x 2000 map,
// one frame of a 1280 x 800 view at each zoom from 10 % to 800 %, beside drawing the view's
// share of the map itself in the same run.
#include "BenchSupport.h"
#include "core/editor/PointDots.h"
#include "core/editor/PointDotsPainter.h"
#include "core/editor/PointTableModel.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <random>

namespace {

constexpr QSize kView(1280, 800);
constexpr int kMapSide = 2000;
constexpr std::array<double, 7> kZooms = {0.1, 0.25, 0.5, 1.0, 2.0, 4.0, 8.0};

struct Fixture {
    PointTableModel model;
    std::unique_ptr<PointDots> dots;
    PointDotsPainter painter;
    QImage view{kView, QImage::Format_ARGB32_Premultiplied};
    QImage map{kMapSide, kMapSide, QImage::Format_RGB32};

    Fixture() {
        PointList points = BenchSupport::fullTable();
        std::mt19937 random(18);
        std::uniform_int_distribution<int> along(0, kMapSide - 1);
        for (Point& point : points) {
            point[ColumnX] = QString::number(along(random));
            point[ColumnY] = QString::number(along(random));
        }
        model.appendAll(std::move(points));
        dots = std::make_unique<PointDots>(model);
        map.fill(QColor(200, 230, 200));
    }

    // The scroll that centres the map's middle in the view at `zoom` (or shows the whole map
    // from the corner when it is smaller than the view).
    static QPointF centred(double zoom) {
        const double side = kMapSide * zoom;
        return QPointF(std::max(0.0, (side - kView.width()) / 2),
                       std::max(0.0, (side - kView.height()) / 2));
    }

    void drawDots(double zoom) {
        QPainter p(&view);
        painter.paint(p, *dots, zoom, centred(zoom), QRectF(QPointF(0, 0), QSizeF(kView)),
                      QSizeF(kView));
    }

    // The baseline: the view's share of the map copied at 100 %.
    void drawMap() {
        QPainter p(&view);
        const QPointF scroll = centred(1.0);
        p.drawImage(QPointF(0, 0), map, QRectF(scroll, QSizeF(kView)));
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_MapFrame(benchmark::State& state) {
    for (auto _ : state)
        fixture().drawMap();
}

void BM_DotsFrame(benchmark::State& state) {
    const double zoom = kZooms[state.range(0)];
    for (auto _ : state)
        fixture().drawDots(zoom);
    state.SetLabel("zoom " + std::to_string(zoom));
}

BENCHMARK(BM_MapFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DotsFrame)->DenseRange(0, kZooms.size() - 1)->Unit(benchmark::kMillisecond);

void printSummary() {
    Fixture& f = fixture();
    f.drawDots(1.0); // sprites made, grid built
    std::printf("\n%d points on a %d x %d map, %d x %d view (medians of 25 interleaved frames)\n",
                f.model.rowCount(), kMapSide, kMapSide, kView.width(), kView.height());
    std::printf(
        "  zoom    dots in view   dots wall ms   CPU ms   map wall ms   CPU ms (baseline)\n");
    double worst = 0;
    double worstCpu = 0;
    double worstZoom = 0;
    double map = 0;
    for (double zoom : kZooms) {
        const auto [mapFrame, dotsFrame] = BenchSupport::interleavedMedians(
            25, [&] { f.drawMap(); }, [&] { f.drawDots(zoom); });
        const QPointF scroll = Fixture::centred(zoom);
        const QRectF visible(
            PointDotsPainter::toMap(QPointF(0, 0), zoom, scroll),
            PointDotsPainter::toMap(QPointF(kView.width(), kView.height()), zoom, scroll));
        std::printf("  %5.0f%%  %12d  %13.2f  %7.2f  %12.2f  %7.2f\n", zoom * 100,
                    f.dots->countIn(visible, kMaxPoints), dotsFrame.wallMs, dotsFrame.cpuMs,
                    mapFrame.wallMs, mapFrame.cpuMs);
        if (dotsFrame.wallMs > worst) {
            worst = dotsFrame.wallMs;
            worstZoom = zoom;
        }
        worstCpu = std::max(worstCpu, dotsFrame.cpuMs);
        map = std::max(map, mapFrame.wallMs);
    }
    std::printf("RESULT points=%d dots_worst_ms=%.2f dots_worst_cpu_ms=%.2f worst_zoom=%.2f "
                "map_frame_ms=%.2f limit_ms=16\n",
                f.model.rowCount(), worst, worstCpu, worstZoom, map);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // fonts for the row numbers
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    g_fixture.reset();
    return 0;
}
