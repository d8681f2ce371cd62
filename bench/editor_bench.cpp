// The editor's Save and Open of a full table (32,767 points, a 2000 x 2000 map) through the
// real editor window, beside the bare write and read of the same rows in the same run.
#include "BenchSupport.h"
#include "BenchWindows.h"
#include "core/data/QuestionFile.h"
#include "ui/editor/EditorWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Counts rows only: the bare read without any table.
class CountingSink : public QuestionSink {
public:
    int rows = 0;
    int pointCount() const override { return rows; }
    void appendPoint(Point&&) override { ++rows; }
    void mapLoaded(const QImage&, const QString&) override {}
    AfterMapFailure mapFailed(ReadOutcome, const QString&) override {
        return AfterMapFailure::Continue;
    }
};

struct Fixture {
    QTemporaryDir dir;
    QString path;
    QString target;
    PointList points = BenchSupport::fullTable();
    qsizetype bytes = 0;
    BenchSupport::Services services;
    std::unique_ptr<EditorWindow> editor;
    QAction* open = nullptr;
    QAction* save = nullptr;

    Fixture() {
        path = dir.filePath(QStringLiteral("large.zvm"));
        target = dir.filePath(QStringLiteral("saved.zvm"));
        QImage map(2000, 2000, QImage::Format_RGB32);
        map.fill(Qt::darkGreen);
        if (!map.save(dir.filePath(QStringLiteral("map.bmp")), "BMP"))
            qFatal("cannot write the benchmark map");
        QByteArray content;
        if (!QuestionFile::encode(QStringLiteral("./map.bmp"), points, content).ok())
            qFatal("cannot encode the benchmark table");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the benchmark file");
        bytes = content.size();
        services.openPath = path;
        services.savePath = target;
        editor = std::make_unique<EditorWindow>(services);
        editor->show();
        QApplication::processEvents();
        open = editor->findChild<QAction*>(QStringLiteral("Menu2_Open"));
        save = editor->findChild<QAction*>(QStringLiteral("Menu2_Save"));
        if (!openThroughWindow())
            qFatal("the editor did not open the benchmark file");
    }

    bool openThroughWindow() {
        open->trigger();
        return editor->pointTable().rowCount() == kMaxPoints && !editor->document().isModified() &&
               services.messages == 0;
    }
    bool saveThroughWindow() {
        save->trigger();
        return editor->document().editingFileName() == target && services.messages == 0;
    }
    bool rawRead() {
        CountingSink sink;
        return QuestionFile::read(path, sink) == ReadOutcome::Success && sink.rows == kMaxPoints;
    }
    // To a file of its own: a write to the editor's file by another writer would make the
    // editor's Save ask before overwriting it.
    bool rawWrite() {
        return QuestionFile::write(dir.filePath(QStringLiteral("raw.zvm")),
                                   QStringLiteral("./map.bmp"), points)
            .ok();
    }
};

// Made and destroyed inside main(): the window must go before the application object.
std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_RawWrite(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.rawWrite())
            state.SkipWithError("write failed");
    }
}

void BM_SaveThroughEditor(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.saveThroughWindow())
            state.SkipWithError("save failed");
    }
}

void BM_RawRead(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.rawRead())
            state.SkipWithError("read failed");
    }
}

void BM_OpenThroughEditor(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.openThroughWindow())
            state.SkipWithError("open failed");
    }
}

BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveThroughEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenThroughEditor)->Unit(benchmark::kMillisecond);

void printSummary() {
    Fixture& f = fixture();
    const auto [write, save] = BenchSupport::interleavedMedians(
        15, [&] { f.rawWrite(); }, [&] { f.saveThroughWindow(); });
    const auto [read, open] = BenchSupport::interleavedMedians(
        15, [&] { f.rawRead(); }, [&] { f.openThroughWindow(); });
    std::printf("\n%d points, %lld bytes, 2000 x 2000 map (medians of 15 interleaved runs)\n",
                kMaxPoints, static_cast<long long>(f.bytes));
    std::printf("                                  wall ms   CPU ms\n");
    std::printf("  write the rows to a file     : %7.2f  %7.2f\n", write.wallMs, write.cpuMs);
    std::printf("  Save through the editor      : %7.2f  %7.2f  (limit 100 ms)\n", save.wallMs,
                save.cpuMs);
    std::printf("  read the file (map included) : %7.2f  %7.2f\n", read.wallMs, read.cpuMs);
    std::printf("  Open through the editor      : %7.2f  %7.2f  (limit 200 ms)\n", open.wallMs,
                open.cpuMs);
}

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWithWindows(argc, argv, printSummary, [] { g_fixture.reset(); });
}
