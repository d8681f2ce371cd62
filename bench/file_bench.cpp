// Reading and writing a full-size question file (32,767 points of Japanese text, about 3 MB),
// each beside the bare code page 932 conversion of the same bytes in the same run.
#include "data/Cp932.h"
#include "data/QuestionFile.h"
#include "data/TableSink.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

PointList makePoints() {
    const QStringList regions = {QStringLiteral("九州地方"), QStringLiteral("関東地方"),
                                 QStringLiteral("近畿地方"), QStringLiteral("東北地方")};
    const QStringList names = {QStringLiteral("鹿児島"), QStringLiteral("神奈川"),
                               QStringLiteral("和歌山"), QStringLiteral("北海道")};
    PointList points;
    points.reserve(kMaxPoints);
    for (int i = 0; i < kMaxPoints; ++i) {
        const QString name = names[i % names.size()] + QString::number(i);
        points.append(Point{QString::number(100 + i % 1800), QString::number(50 + i % 1900),
                            regions[i % regions.size()], name + QStringLiteral("県"), name,
                            name + QStringLiteral("市。県庁所在地で、ﾌｪﾘｰの港がある。\r\n人口は約60万人。")});
    }
    return points;
}

struct Fixture {
    QTemporaryDir dir;
    QString path;
    PointList points = makePoints();
    QByteArray bytes;

    Fixture() {
        path = dir.filePath(QStringLiteral("large.zvm"));
        QImage map(64, 48, QImage::Format_RGB32);
        map.fill(Qt::white);
        if (!map.save(dir.filePath(QStringLiteral("map.bmp")), "BMP"))
            qFatal("cannot write the benchmark map");
        QuestionFile::encode(QStringLiteral("./map.bmp"), points, bytes);
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
        if (QuestionFile::read(f.path, sink) != ReadOutcome::Success || table.rowCount() != kMaxPoints)
            state.SkipWithError(("read failed: " + std::to_string(int(QuestionFile::read(f.path, sink))) + " rows " + std::to_string(table.rowCount())).c_str());
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
BENCHMARK(BM_ReadIntoTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
