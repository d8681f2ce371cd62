// Reading and writing a full-size question file (32,767 points of Japanese text, about 3 MB),
// each beside the bare code page 932 conversion of the same bytes in the same run.
#include "BenchSupport.h"
#include "core/data/Cp932.h"
#include "core/data/QuestionFile.h"
#include "core/data/TableSink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString path;
    PointList points = BenchSupport::fullTable();
    QByteArray bytes;

    Fixture() {
        path = dir.filePath(QStringLiteral("large.zvm"));
        QImage map(64, 48, QImage::Format_RGB32);
        map.fill(Qt::white);
        if (!map.save(dir.filePath(QStringLiteral("map.bmp")), "BMP"))
            qFatal("cannot write the benchmark map");
        if (!QuestionFile::encode(QStringLiteral("./map.bmp"), points, bytes).ok())
            qFatal("cannot encode the benchmark table");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the benchmark file");
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_DecodeOnly(benchmark::State& state) {
    const QByteArray& bytes = fixture().bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp932::decode(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The same bytes through Qt's ICU converter directly, as a second baseline.
void BM_IcuDecodeOnly(benchmark::State& state) {
    const QByteArray& bytes = fixture().bytes;
    for (auto _ : state) {
        QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
        QString text = decoder.decode(bytes);
        if (text.size() < bytes.size() / 2)
            state.SkipWithError(qPrintable(QStringLiteral("decoded %1 of %2 bytes, valid %3")
                                               .arg(text.size())
                                               .arg(bytes.size())
                                               .arg(decoder.isValid())));
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ReadIntoTable(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        QuestionTable table;
        TableSink sink(table);
        // Freeing the table afterwards is not part of reading it.
        const auto keepUntimed = qScopeGuard([&] {
            state.PauseTiming();
            table.clear();
            state.ResumeTiming();
        });
        if (QuestionFile::read(f.path, sink) != ReadOutcome::Success ||
            table.rowCount() != kMaxPoints)
            state.SkipWithError(
                ("read failed: " + std::to_string(int(QuestionFile::read(f.path, sink))) +
                 " rows " + std::to_string(table.rowCount()))
                    .c_str());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_EncodeOnly(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        qsizetype total = 0;
        for (const Point& p : f.points)
            for (const QString& field : p)
                total += Cp932::encode(field)->size();
        benchmark::DoNotOptimize(total);
    }
}

void BM_WriteFile(benchmark::State& state) {
    Fixture& f = fixture();
    const QString out = f.dir.filePath(QStringLiteral("written.zvm"));
    for (auto _ : state) {
        if (!QuestionFile::write(out, QString(), f.points).ok())
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuDecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntoTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFile)->Unit(benchmark::kMillisecond);

// Median wall time of `runs` calls, in milliseconds.
template <typename Fn> double medianMs(int runs, Fn&& fn) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void printSummary() {
    Fixture& f = fixture();
    const double icuDecode = medianMs(15, [&] {
        QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
        QString text = decoder.decode(f.bytes);
        benchmark::DoNotOptimize(text);
    });
    const double tableDecode =
        medianMs(15, [&] { benchmark::DoNotOptimize(Cp932::decode(f.bytes)); });
    const double read = medianMs(15, [&] {
        QuestionTable table;
        TableSink sink(table);
        benchmark::DoNotOptimize(QuestionFile::read(f.path, sink));
    });
    const QString out = f.dir.filePath(QStringLiteral("summary.zvm"));
    const double write = medianMs(
        15, [&] { benchmark::DoNotOptimize(QuestionFile::write(out, QString(), f.points)); });
    std::printf("\n%d points, %lld bytes (medians of 15 runs)\n", kMaxPoints,
                static_cast<long long>(f.bytes.size()));
    std::printf("  decode, Qt ICU converter : %7.2f ms\n", icuDecode);
    std::printf("  decode, our tables       : %7.2f ms\n", tableDecode);
    std::printf("  read into a table        : %7.2f ms  (%.2f x ICU decode, %.2f x table decode; "
                "limit 100 ms)\n",
                read, read / icuDecode, read / tableDecode);
    std::printf("  write the same table     : %7.2f ms  (limit 100 ms)\n", write);
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
