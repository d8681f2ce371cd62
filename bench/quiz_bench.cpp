// Start on the largest table: the shuffle beside one plain copy of the same table, the whole
// Start command through the main window, and one question's judging plus the move to the
// next question with 32,767 points, in the rules alone and through the answer window.
#include "BenchSupport.h"
#include "BenchWindows.h"
#include "core/quiz/QuizPlacement.h"
#include "core/quiz/QuizSession.h"
#include "core/quiz/RandomSource.h"
#include "core/quiz/Shuffle.h"
#include "ui/app/MainWindow.h"
#include "ui/quiz/AnswerWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

const PointList& points() {
    static const PointList all = BenchSupport::fullTable();
    return all;
}

// Answers every box at once, as a user pressing OK (or Yes) would.
class SilentServices : public Services {
public:
    QString inputBox(const QString&, const QString&) override { return QString(); }
    void showHelp(const QString&) override {}
    bool setUpPrinter(QPrinter&) override { return false; }
    bool previewPrint(QPrinter&, const std::function<void(QPrinter&)>&) override { return false; }

protected:
    MessageAnswer showMessage(const MessageRequest& request) override {
        return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    QString askOpenFileName(const QString&, const QString&) override { return QString(); }
    QString askSaveFileName(const QString&, const QString&) override { return QString(); }
};

// The main window with the largest table; made inside main() after the application object.
struct Window {
    QTemporaryDir dir;
    SilentServices services;
    MainWindow window{services, dir.path() + u'/'};

    Window() {
        window.questionTable().rows() = points();
        window.questionTable().rows().detach();
    }

    // Start through the menu item: shuffle, "Good Luck!", the answer window and its first
    // question. False when no answer window opened.
    bool start() {
        window.startQuiz();
        return window.answerWindow() && window.answerWindow()->isRunning();
    }

    void stop() {
        if (AnswerWindow* answer = window.answerWindow())
            answer->stop();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // One question through the answer window: type, OK, Next.
    void judgeAndNext() {
        AnswerWindow* answer = window.answerWindow();
        answer->findChild<QLineEdit*>(QStringLiteral("Text1"))
            ->setText(QStringLiteral("鹿児島1県"));
        auto* okNext = answer->findChild<QPushButton*>(QStringLiteral("Command1"));
        okNext->click();
        okNext->click();
    }
};

QAction* practiceMode(MainWindow& window) {
    return window.findChild<QAction*>(QStringLiteral("Menu3_PMode"));
}

std::unique_ptr<Window> g_window;

Window& window() {
    if (!g_window)
        g_window = std::make_unique<Window>();
    return *g_window;
}

// Baseline: a full copy of the table (every row's six texts referenced anew).
void copyTable() {
    PointList copy = points();
    copy.detach();
    benchmark::DoNotOptimize(copy.data());
}

void BM_CopyTable(benchmark::State& state) {
    for (auto _ : state)
        copyTable();
    state.SetItemsProcessed(state.iterations() * kMaxPoints);
}
BENCHMARK(BM_CopyTable)->Unit(benchmark::kMillisecond);

// The shuffle as Start runs it: the generator reseeded, a yield hook between batches.
struct ShuffleRun {
    PointList rows = points();
    SystemRandomSource random;
    int yields = 0;

    ShuffleRun() { rows.detach(); }
    void operator()() {
        random.reseed();
        shuffleRows(rows, random, [this] { ++yields; });
        benchmark::DoNotOptimize(rows.data());
    }
};

void BM_ShuffleTable(benchmark::State& state) {
    ShuffleRun shuffle;
    for (auto _ : state)
        shuffle();
    state.SetItemsProcessed(state.iterations() * kMaxPoints);
}
BENCHMARK(BM_ShuffleTable)->Unit(benchmark::kMillisecond);

// The whole Start command: status text, shuffle with event processing, the answer window and
// its first question. Stopping is left out of the time.
void BM_StartThroughMainWindow(benchmark::State& state) {
    Window& w = window();
    for (auto _ : state) {
        if (!w.start())
            state.SkipWithError("no answer window");
        state.PauseTiming();
        w.stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartThroughMainWindow)->Unit(benchmark::kMillisecond);

// The rules alone: judge the typed text, move to the next row and compute what the window
// shows. Normal mode walks the whole table and starts a new session at its end; practice mode
// draws rows at random.
void BM_JudgeAndNextRules(benchmark::State& state) {
    const auto mode = state.range(0) == 0 ? QuizMode::Normal : QuizMode::Practice;
    SystemRandomSource random(1);
    auto session = std::make_unique<QuizSession>(points(), mode, random);
    session->advance();
    const QString typed = QStringLiteral("鹿児島〜");
    for (auto _ : state) {
        const bool right = session->judge(typed);
        benchmark::DoNotOptimize(QuizSession::verdictStatus(right));
        if (!session->advance()) {
            session->finish();
            benchmark::DoNotOptimize(session->resultMessage());
            session = std::make_unique<QuizSession>(points(), mode, random);
            session->advance();
        }
        benchmark::DoNotOptimize(QuizPlacement::markerTopLeft(session->currentPoint()));
        benchmark::DoNotOptimize(session->progressText());
    }
}
BENCHMARK(BM_JudgeAndNextRules)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Through the answer window in practice mode (it never ends): OK, then Next, which places the
// marker, moves the window off it and updates every label and the status bar.
void BM_JudgeAndNextThroughAnswerWindow(benchmark::State& state) {
    Window& w = window();
    practiceMode(w.window)->trigger();
    if (!w.start()) {
        state.SkipWithError("no answer window");
        return;
    }
    for (auto _ : state)
        w.judgeAndNext();
    w.stop();
    w.window.findChild<QAction*>(QStringLiteral("Menu3_NMode"))->trigger();
}
BENCHMARK(BM_JudgeAndNextThroughAnswerWindow)->Unit(benchmark::kMicrosecond);

// ---- A summary with both times of each pair side by side ----

void printSummary() {
    Window& w = window();
    ShuffleRun shuffle;
    const auto [copy, shuffled] =
        BenchSupport::interleavedMedians(31, copyTable, std::ref(shuffle));
    const auto [copyAgain, started] = BenchSupport::interleavedMedians(15, copyTable, [&] {
        w.start();
        w.stop();
    });
    practiceMode(w.window)->trigger();
    w.start();
    const auto [unused, question] = BenchSupport::interleavedMedians(
        101, [] {}, [&] { w.judgeAndNext(); });
    w.stop();
    std::printf("\n%d points (medians of interleaved runs)           wall ms   CPU ms\n",
                kMaxPoints);
    std::printf("  copy the table once                           : %7.3f  %7.3f\n", copy.wallMs,
                copy.cpuMs);
    std::printf("  shuffle in place                              : %7.3f  %7.3f  (%.2f x copy; "
                "limit 20 ms)\n",
                shuffled.wallMs, shuffled.cpuMs, shuffled.wallMs / copy.wallMs);
    std::printf("  Start and stop through the main window       : %7.3f  %7.3f  (%.2f x copy)\n",
                started.wallMs, started.cpuMs, started.wallMs / copyAgain.wallMs);
    std::printf("  judge + next question, answer window         : %7.3f  %7.3f  (limit 5 ms)\n",
                question.wallMs, question.cpuMs);
    (void)unused;
}

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWithWindows(argc, argv, printSummary, [] { g_window.reset(); });
}
