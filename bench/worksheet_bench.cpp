// Exporting a worksheet to PDF (map, answer sheet and key): the 47-point prefecture sample and
// a generated 300-point file, beside the bare PDF writer putting the same map on one page, in
// the same run.
#include "BenchSupport.h"
#include "BenchWindows.h"
#include "core/data/QuestionFile.h"
#include "core/data/TableSink.h"
#include "core/quiz/RandomSource.h"
#include "core/worksheet/Worksheet.h"
#include "core/worksheet/WorksheetRenderer.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    SystemRandomSource random{1};
    std::unique_ptr<Worksheet> sample;
    std::unique_ptr<Worksheet> generated;

    Fixture() {
        QuestionTable table;
        TableSink sink(table);
        const QString path = QStringLiteral(ZAV_SAMPLES_DIR "/日本/都道府県/都道府県.zvm");
        if (QuestionFile::read(path, sink) != ReadOutcome::Success)
            qFatal("cannot read the prefecture sample");
        sample = std::make_unique<Worksheet>(WorksheetSource{QStringLiteral("都道府県.zvm"),
                                                             QDate::currentDate(), sink.map,
                                                             table.rows()},
                                             WorksheetOptions(), random);

        // 300 points on a wide map, Japanese texts of the usual lengths, two-line information.
        QImage map(1600, 900, QImage::Format_RGB32);
        map.fill(QColor(190, 220, 240));
        PointList points;
        const PointList full = BenchSupport::fullTable();
        for (int i = 0; i < 300; ++i) {
            Point point = full[i];
            point[ColumnX] = QString::number(40 + (i % 20) * 77);
            point[ColumnY] = QString::number(40 + (i / 20) * 55);
            points.append(point);
        }
        generated = std::make_unique<Worksheet>(
            WorksheetSource{QStringLiteral("生成.zvm"), QDate::currentDate(), map, points},
            WorksheetOptions(), random);
    }

    bool exportPdf(const Worksheet& worksheet) {
        return WorksheetRenderer::writePdf(dir.filePath(QStringLiteral("out.pdf")), worksheet);
    }

    // The floor: one page holding the sample's map, written by the same PDF writer.
    bool bareMapPage() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageSize(QPageSize(QPageSize::A4));
            QPainter painter(&writer);
            const QImage& map = sample->source().map;
            painter.drawImage(
                QRectF(QPointF(0, 0),
                       map.size().scaled(writer.width(), writer.height(), Qt::KeepAspectRatio)),
                map);
        }
        return buffer.size() > 0;
    }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_BareMapPage(benchmark::State& state) {
    for (auto _ : state) {
        if (!fixture().bareMapPage())
            state.SkipWithError("bare page failed");
    }
}

void BM_ExportSample47(benchmark::State& state) {
    for (auto _ : state) {
        if (!fixture().exportPdf(*fixture().sample))
            state.SkipWithError("export failed");
    }
}

void BM_Export300(benchmark::State& state) {
    for (auto _ : state) {
        if (!fixture().exportPdf(*fixture().generated))
            state.SkipWithError("export failed");
    }
}

BENCHMARK(BM_BareMapPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSample47)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export300)->Unit(benchmark::kMillisecond);

void printSummary() {
    Fixture& f = fixture();
    const auto [bare, sample] = BenchSupport::interleavedMedians(
        11, [&] { f.bareMapPage(); }, [&] { f.exportPdf(*f.sample); });
    const auto [bare2, generated] = BenchSupport::interleavedMedians(
        11, [&] { f.bareMapPage(); }, [&] { f.exportPdf(*f.generated); });
    std::printf("\nPDF export, A4 (medians of 11 interleaved runs)\n");
    std::printf("                                          wall ms   CPU ms\n");
    std::printf("  bare PDF writer, one page with the map : %7.2f  %7.2f\n", bare.wallMs,
                bare.cpuMs);
    std::printf("  47-point sample, map + sheet + key     : %7.2f  %7.2f  (%.1f x bare; limit "
                "1000 ms)\n",
                sample.wallMs, sample.cpuMs, sample.wallMs / bare.wallMs);
    std::printf("  300 points, map + sheet + key          : %7.2f  %7.2f  (%.1f x bare; limit "
                "3000 ms)\n",
                generated.wallMs, generated.cpuMs, generated.wallMs / bare2.wallMs);
    std::printf("RESULT bare_ms=%.1f sample47_ms=%.1f points300_ms=%.1f sample47_ok=%d "
                "points300_ok=%d\n",
                bare.wallMs, sample.wallMs, generated.wallMs, sample.wallMs < 1000,
                generated.wallMs < 3000);
}

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWithWindows(argc, argv, printSummary, [] { g_fixture.reset(); });
}
