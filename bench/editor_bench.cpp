// The editor's Save and Open of a full table (32,767 points, a 2000 x 2000 map) through the
// real editor window, beside the bare write and read of the same rows in the same run.
#include "data/QuestionFile.h"
#include "editor/Form3.h"

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

// Open answers with the benchmark file, Save with the target; no message is expected.
class BenchServices : public Services {
public:
    QString openPath;
    QString savePath;
    int messages = 0;

    QString inputBox(const QString&, const QString&) override { return QString(); }
    void showHelp(const QString&) override {}

protected:
    MessageAnswer showMessage(const MessageRequest&) override {
        ++messages;
        return MessageAnswer::No;
    }
    QString askOpenFileName(const QString&, const QString&) override { return openPath; }
    QString askSaveFileName(const QString&, const QString&) override { return savePath; }
};

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
                            name + QStringLiteral("市。ﾌｪﾘｰの港。\r\n人口約60万人。")});
    }
    return points;
}

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
    PointList points = makePoints();
    qsizetype bytes = 0;
    BenchServices services;
    std::unique_ptr<Form3> form;
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
        QuestionFile::encode(QStringLiteral("./map.bmp"), points, content);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the benchmark file");
        bytes = content.size();
        services.openPath = path;
        services.savePath = target;
        form = std::make_unique<Form3>(services);
        form->show();
        QApplication::processEvents();
        open = form->findChild<QAction*>(QStringLiteral("Menu2_Open"));
        save = form->findChild<QAction*>(QStringLiteral("Menu2_Save"));
        if (!openThroughForm())
            qFatal("the editor did not open the benchmark file");
    }

    bool openThroughForm() {
        open->trigger();
        return form->pointTable().rowCount() == kMaxPoints && !form->document().isModified() &&
               services.messages == 0;
    }
    bool saveThroughForm() {
        save->trigger();
        return form->document().editingFileName() == target && services.messages == 0;
    }
    bool rawRead() {
        CountingSink sink;
        return QuestionFile::read(path, sink) == ReadOutcome::Success && sink.rows == kMaxPoints;
    }
    bool rawWrite() {
        return QuestionFile::write(target, QStringLiteral("./map.bmp"), points).ok();
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

void BM_SaveThroughForm3(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.saveThroughForm())
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

void BM_OpenThroughForm3(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        if (!f.openThroughForm())
            state.SkipWithError("open failed");
    }
}

BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveThroughForm3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenThroughForm3)->Unit(benchmark::kMillisecond);

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double cpuNowMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Medians of wall and CPU time of `runs` calls of each, interleaved so that both meet the same
// load on a shared machine.
std::pair<Timing, Timing> medians(int runs, const std::function<void()>& first,
                                  const std::function<void()>& second) {
    std::vector<double> wall[2], cpu[2];
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            QElapsedTimer timer;
            const double cpuStart = cpuNowMs();
            timer.start();
            (which == 0 ? first : second)();
            wall[which].push_back(timer.nsecsElapsed() / 1e6);
            cpu[which].push_back(cpuNowMs() - cpuStart);
        }
    }
    return {{median(wall[0]), median(cpu[0])}, {median(wall[1]), median(cpu[1])}};
}

void printSummary() {
    Fixture& f = fixture();
    const auto [write, save] = medians(
        15, [&] { f.rawWrite(); }, [&] { f.saveThroughForm(); });
    const auto [read, open] = medians(
        15, [&] { f.rawRead(); }, [&] { f.openThroughForm(); });
    std::printf("\n%d points, %lld bytes, 2000 x 2000 map (medians of 15 interleaved runs)\n",
                kMaxPoints, static_cast<long long>(f.bytes));
    std::printf("                                  wall ms   CPU ms\n");
    std::printf("  write the rows to a file     : %7.2f  %7.2f\n", write.wallMs, write.cpuMs);
    std::printf("  Save through Form3           : %7.2f  %7.2f  (limit 100 ms)\n", save.wallMs,
                save.cpuMs);
    std::printf("  read the file (map included) : %7.2f  %7.2f\n", read.wallMs, read.cpuMs);
    std::printf("  Open through Form3           : %7.2f  %7.2f  (limit 200 ms)\n", open.wallMs,
                open.cpuMs);
}

} // namespace

int main(int argc, char** argv) {
    // The window is real but needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    g_fixture.reset();
    return 0;
}
