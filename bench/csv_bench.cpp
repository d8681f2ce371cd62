// Importing a CSV file of 32,767 rows into the editor's table (read, checks, one undo step),
// beside reading the same rows from a question file in the same run; and exporting them.
#include "BenchSupport.h"
#include "data/QuestionFile.h"
#include "data/TableSink.h"
#include "editor/CsvCommands.h"
#include "editor/EditorDocument.h"
#include "editor/EditorHistory.h"
#include "editor/PointCsv.h"
#include "editor/PointTableModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    PointList points = BenchSupport::fullTable();
    QString csvPath = dir.filePath(QStringLiteral("large.csv"));
    QString zvmPath = dir.filePath(QStringLiteral("large.zvm"));
    qint64 csvBytes = 0;

    Fixture() {
        const QByteArray csv = PointCsv::encode(points);
        QImage map(64, 48, QImage::Format_RGB32);
        map.fill(Qt::white);
        if (!map.save(dir.filePath(QStringLiteral("map.bmp")), "BMP"))
            qFatal("cannot write the benchmark map");
        QByteArray zvm;
        if (!QuestionFile::encode(QStringLiteral("./map.bmp"), points, zvm).ok())
            qFatal("cannot encode the benchmark table");
        for (const auto& [path, bytes] : {std::pair{csvPath, csv}, std::pair{zvmPath, zvm}}) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write the benchmark files");
        }
        csvBytes = csv.size();
    }

    // The import command as the editor runs it, into an empty table.
    bool importCsv() {
        BenchSupport::Services services;
        services.openPath = csvPath;
        PointTableModel model;
        EditorDocument document;
        EditorHistory history(model, document);
        CsvCommands commands(services, history, model.table());
        commands.importFile();
        return model.rowCount() == kMaxPoints && services.messages == 1;
    }

    bool readQuestionFile() {
        QuestionTable table;
        TableSink sink(table);
        return QuestionFile::read(zvmPath, sink) == ReadOutcome::Success &&
               table.rowCount() == kMaxPoints;
    }

    bool exportCsv() { return !PointCsv::write(dir.filePath(QStringLiteral("out.csv")), points); }
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_ReadQuestionFile(benchmark::State& state) {
    for (auto _ : state) {
        if (!fixture().readQuestionFile())
            state.SkipWithError("read failed");
    }
}

void BM_ImportCsv(benchmark::State& state) {
    for (auto _ : state) {
        if (!fixture().importCsv())
            state.SkipWithError("import failed");
    }
}

void BM_ExportCsv(benchmark::State& state) {
    for (auto _ : state) {
        if (!fixture().exportCsv())
            state.SkipWithError("export failed");
    }
}

BENCHMARK(BM_ReadQuestionFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

void printSummary() {
    Fixture& f = fixture();
    if (!f.importCsv() || !f.readQuestionFile() || !f.exportCsv()) {
        std::printf("RESULT error=1\n");
        return;
    }
    const auto [read, import] = BenchSupport::interleavedMedians(
        15, [&] { f.readQuestionFile(); }, [&] { f.importCsv(); });
    const auto [unused, exported] = BenchSupport::interleavedMedians(
        15, [&] { f.readQuestionFile(); }, [&] { f.exportCsv(); });
    (void)unused;
    std::printf("\n%d rows, %lld bytes of CSV (medians of 15 interleaved runs)\n", kMaxPoints,
                static_cast<long long>(f.csvBytes));
    std::printf("                                      wall ms   CPU ms\n");
    std::printf("  read the rows from a question file : %7.2f  %7.2f  (baseline)\n", read.wallMs,
                read.cpuMs);
    std::printf("  import the CSV into the editor     : %7.2f  %7.2f  (%.2f x baseline; "
                "limit 1000 ms)\n",
                import.wallMs, import.cpuMs, import.wallMs / read.wallMs);
    std::printf("  export the rows as CSV             : %7.2f  %7.2f\n", exported.wallMs,
                exported.cpuMs);
    std::printf("RESULT rows=%d import_ms=%.2f baseline_read_ms=%.2f ratio=%.2f export_ms=%.2f "
                "limit_ms=1000\n",
                kMaxPoints, import.wallMs, read.wallMs, import.wallMs / read.wallMs,
                exported.wallMs);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    g_fixture.reset();
    return 0;
}
