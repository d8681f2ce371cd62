// Opening a full-size question file for play (32,767 points, a 2000 x 2000 map) through the
// real main window, beside the bare read of the same file into a table in the same run.
#include "BenchSupport.h"
#include "BenchWindows.h"
#include "core/data/QuestionFile.h"
#include "core/data/TableSink.h"
#include "ui/app/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

const QString kStartText = QStringLiteral("ｽﾀｰﾄして下さい。");

struct Fixture {
    QTemporaryDir dir;
    QString path;
    qsizetype bytes = 0;
    BenchSupport::Services services;
    std::unique_ptr<MainWindow> window;

    Fixture() {
        path = dir.filePath(QStringLiteral("large.zvm"));
        QImage map(2000, 2000, QImage::Format_RGB32);
        map.fill(Qt::darkGreen);
        if (!map.save(dir.filePath(QStringLiteral("map.bmp")), "BMP"))
            qFatal("cannot write the benchmark map");
        QByteArray content;
        if (!QuestionFile::encode(QStringLiteral("./map.bmp"), BenchSupport::fullTable(), content)
                 .ok())
            qFatal("cannot encode the benchmark table");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the benchmark file");
        bytes = content.size();
        services.openPath = path;
        window = std::make_unique<MainWindow>(services, dir.path() + u'/');
        window->show();
        QApplication::processEvents();
    }

    bool openThroughWindow() {
        QLabel* status = window->findChild<QLabel*>(QStringLiteral("Panel_Main"));
        status->clear();
        window->openFile();
        return status->text() == kStartText && window->questionTable().rowCount() == kMaxPoints &&
               services.messages == 0;
    }

    bool rawRead() {
        QuestionTable table;
        TableSink sink(table);
        return QuestionFile::read(path, sink) == ReadOutcome::Success &&
               table.rowCount() == kMaxPoints;
    }
};

// Made and destroyed inside main(): the window must go before the application object.
std::unique_ptr<Fixture> g_fixture;

Fixture& fixture() {
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void BM_RawRead(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.rawRead())
            state.SkipWithError("read failed");
    }
}

void BM_OpenThroughMainWindow(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.openThroughWindow())
            state.SkipWithError("open did not end with the start text");
    }
}

BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenThroughMainWindow)->Unit(benchmark::kMillisecond);

void printSummary() {
    Fixture& f = fixture();
    const auto [raw, open] = BenchSupport::interleavedMedians(
        15, [&] { f.rawRead(); }, [&] { f.openThroughWindow(); });
    std::printf("\n%d points, %lld bytes, 2000 x 2000 map (medians of 15 interleaved runs)\n",
                kMaxPoints, static_cast<long long>(f.bytes));
    std::printf("                                      wall ms   CPU ms\n");
    std::printf("  read into a table (map included) : %7.2f  %7.2f\n", raw.wallMs, raw.cpuMs);
    std::printf("  Open through the main window     : %7.2f  %7.2f  (%.2f x read; limit 200 ms)\n",
                open.wallMs, open.cpuMs, open.wallMs / raw.wallMs);
}

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWithWindows(argc, argv, printSummary, [] { g_fixture.reset(); });
}
