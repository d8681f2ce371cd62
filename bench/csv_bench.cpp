// Importing a CSV file of 32,767 rows into the editor's table (read, checks, one undo step),
// beside reading the same rows from a question file in the same run; and exporting them.
// Then files of 262,144 rows with LF and with CR LF line ends (32,767 taken, the rest counted
// for the limit), beside reading the file's bytes alone; and, in a process of its own
// (--peak-memory FILE), how far importing a file of nearly 256 MiB raises the peak memory.
#include "BenchSupport.h"
#include "core/data/QuestionFile.h"
#include "core/data/TableSink.h"
#include "core/editor/CsvCommands.h"
#include "core/editor/EditorDocument.h"
#include "core/editor/EditorHistory.h"
#include "core/editor/PointCsv.h"
#include "core/editor/PointTableModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

namespace {

constexpr int kLongRows = 262144;

// Writes a CSV file of `rows` records (or as many as stay within `maxBytes`), cycling through
// the full table, with `lineEnd` after every line and no byte order mark (as a spreadsheet
// writes it, so the import reads the file twice: the vote on its encoding first); a batch at a
// time, so the writer's own memory stays small. Returns the file's size, or -1.
qint64 writeCsv(const QString& path, qint64 rows, QByteArrayView lineEnd, qint64 maxBytes = -1) {
    const PointList table = BenchSupport::fullTable();
    const QByteArray head = PointCsv::encode({});
    QList<QByteArray> records;
    records.reserve(table.size());
    for (const Point& row : table) {
        QByteArray record = PointCsv::encode({row}).mid(head.size());
        if (lineEnd != "\r\n")
            record.replace("\r\n", lineEnd.toByteArray()); // the quoted line break too
        records.append(std::move(record));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    QByteArray first = head.mid(3); // after the byte order mark
    first.replace("\r\n", lineEnd.toByteArray());
    qint64 size = file.write(first);
    QByteArray batch;
    for (qint64 i = 0; i < rows; ++i) {
        const QByteArray& record = records[i % records.size()];
        if (maxBytes >= 0 && size + batch.size() + record.size() > maxBytes)
            break;
        batch += record;
        if (batch.size() >= (1 << 20) || i + 1 == rows) {
            size += file.write(batch);
            batch.clear();
        }
    }
    size += file.write(batch);
    return file.error() == QFileDevice::NoError ? size : -1;
}

// The import command as the editor runs it, into an empty table.
bool importCsv(const QString& path) {
    BenchSupport::Services services;
    services.openPath = path;
    PointTableModel model;
    EditorDocument document;
    EditorHistory history(model, document);
    CsvCommands commands(services, history, model.table());
    commands.importFile();
    return model.rowCount() == kMaxPoints && services.messages == 1;
}

// The floor under an import: the file's bytes read as the import reads them.
bool readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray buffer(PointCsv::kChunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    for (qint64 size; (size = file.read(buffer.data(), buffer.size())) > 0;)
        total += size;
    return total == file.size();
}

struct Fixture {
    QTemporaryDir dir;
    PointList points = BenchSupport::fullTable();
    QString csvPath = dir.filePath(QStringLiteral("large.csv"));
    QString zvmPath = dir.filePath(QStringLiteral("large.zvm"));
    QString lfPath = dir.filePath(QStringLiteral("long-lf.csv"));
    QString crlfPath = dir.filePath(QStringLiteral("long-crlf.csv"));
    qint64 csvBytes = 0;
    qint64 lfBytes = 0;
    qint64 crlfBytes = 0;

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
        lfBytes = writeCsv(lfPath, kLongRows, "\n");
        crlfBytes = writeCsv(crlfPath, kLongRows, "\r\n");
        if (lfBytes < 0 || crlfBytes < 0)
            qFatal("cannot write the long benchmark files");
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
        if (!importCsv(fixture().csvPath))
            state.SkipWithError("import failed");
    }
}

void BM_ImportLongLf(benchmark::State& state) {
    for (auto _ : state) {
        if (!importCsv(fixture().lfPath))
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
BENCHMARK(BM_ImportLongLf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

// The peak resident memory of this process image. Not getrusage's ru_maxrss: Linux carries that
// across exec, so a child would start with the parent's peak.
long peakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The process of its own: the peak before and after importing the file, and nothing else,
// so that no earlier work hides under the peak. One line for the main run:
// "<peak KiB before> <peak KiB after>".
int peakMemory(const QString& path) {
    const long before = peakKiB();
    if (before < 0 || !importCsv(path))
        return 1;
    std::printf("%ld %ld\n", before, peakKiB());
    return 0;
}

struct Peak {
    qint64 bytes = 0;
    long beforeKiB = 0;
    long afterKiB = 0;
};

// A file just under the size limit, imported by this program run again.
std::optional<Peak> measurePeak(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("256mib.csv"));
    Peak peak;
    peak.bytes =
        writeCsv(path, std::numeric_limits<qint64>::max(), "\n", PointCsv::kMaxFileBytes - 4096);
    QProcess process;
    if (peak.bytes > 0)
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--peak-memory"), path});
    const bool ran = peak.bytes > 0 && process.waitForFinished(600000) &&
                     process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    QFile::remove(path);
    if (!ran || std::sscanf(process.readAllStandardOutput().constData(), "%ld %ld", &peak.beforeKiB,
                            &peak.afterKiB) != 2)
        return std::nullopt;
    return peak;
}

void printSummary() {
    Fixture& f = fixture();
    if (!importCsv(f.csvPath) || !f.readQuestionFile() || !f.exportCsv() || !importCsv(f.lfPath) ||
        !importCsv(f.crlfPath) || !readBytes(f.lfPath)) {
        std::printf("RESULT error=1\n");
        return;
    }
    const auto [read, import] = BenchSupport::interleavedMedians(
        15, [&] { f.readQuestionFile(); }, [&] { importCsv(f.csvPath); });
    const auto [unused, exported] = BenchSupport::interleavedMedians(
        15, [&] { f.readQuestionFile(); }, [&] { f.exportCsv(); });
    (void)unused;
    const auto [lfBytes, lf] = BenchSupport::interleavedMedians(
        5, [&] { readBytes(f.lfPath); }, [&] { importCsv(f.lfPath); });
    const auto [crlfBytes, crlf] = BenchSupport::interleavedMedians(
        5, [&] { readBytes(f.crlfPath); }, [&] { importCsv(f.crlfPath); });
    const std::optional<Peak> peak = measurePeak(f.dir);
    if (!peak) {
        std::printf("RESULT error=1\n");
        return;
    }
    const double peakMiB = (peak->afterKiB - peak->beforeKiB) / 1024.0;

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
    std::printf("\n%d rows (%d taken, the rest counted for the limit), %lld bytes with LF, "
                "%lld with CR LF (medians of 5 interleaved runs)\n",
                kLongRows, kMaxPoints, static_cast<long long>(f.lfBytes),
                static_cast<long long>(f.crlfBytes));
    std::printf("  read the LF file's bytes           : %7.2f  %7.2f  (baseline)\n", lfBytes.wallMs,
                lfBytes.cpuMs);
    std::printf("  import the LF file                 : %7.2f  %7.2f  (limit 1000 ms)\n", lf.wallMs,
                lf.cpuMs);
    std::printf("  read the CR LF file's bytes        : %7.2f  %7.2f  (baseline)\n",
                crlfBytes.wallMs, crlfBytes.cpuMs);
    std::printf("  import the CR LF file              : %7.2f  %7.2f  (limit 1000 ms)\n",
                crlf.wallMs, crlf.cpuMs);
    std::printf("\nimporting %lld bytes of CSV with LF in a process of its own: peak %.1f MiB "
                "before, %.1f MiB after, %.1f MiB more (limit 100 MiB)\n",
                static_cast<long long>(peak->bytes), peak->beforeKiB / 1024.0,
                peak->afterKiB / 1024.0, peakMiB);
    std::printf("RESULT rows=%d import_ms=%.2f baseline_read_ms=%.2f ratio=%.2f export_ms=%.2f "
                "long_rows=%d lf_import_ms=%.2f crlf_import_ms=%.2f lf_bytes_read_ms=%.2f "
                "crlf_bytes_read_ms=%.2f limit_ms=1000 peak_csv_bytes=%lld peak_added_mib=%.1f "
                "peak_limit_mib=100\n",
                kMaxPoints, import.wallMs, read.wallMs, import.wallMs / read.wallMs,
                exported.wallMs, kLongRows, lf.wallMs, crlf.wallMs, lfBytes.wallMs,
                crlfBytes.wallMs, static_cast<long long>(peak->bytes), peakMiB);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--peak-memory") == 0)
        return peakMemory(QFile::decodeName(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    g_fixture.reset();
    return 0;
}
