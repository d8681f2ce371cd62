// The study record and what is built on it, with 32,767 points: one question judged and the
// next one asked including the write to the record (beside the same without a record, and
// with another connection holding the lock), the weak-points-first draw, the review model of a
// 32,767-question practice run and the review window opened on it (beside a plain copy of its
// rows), reading the record of every point, the mastery map's dots and the answer index.
#include "BenchSupport.h"
#include "BenchWindows.h"
#include "core/platform/MapTransform.h"
#include "core/quiz/AnswerIndex.h"
#include "core/quiz/QuizPlacement.h"
#include "core/quiz/QuizSession.h"
#include "core/quiz/RandomSource.h"
#include "core/record/StudyRecord.h"
#include "core/study/Mastery.h"
#include "core/study/MasteryOverlay.h"
#include "core/study/ReviewModel.h"
#include "ui/study/ReviewWindow.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const PointList& points() {
    static const PointList all = BenchSupport::fullTable();
    return all;
}

// The wrong answer typed in every question: another point's name, so the "which one did I
// mean" lookup finds something each time.
QString typedAnswer() {
    return points().at(0)[ColumnAnswer1];
}

// One quiz in progress, with or without a record.
struct Quiz {
    SystemRandomSource random{1};
    QuizSession session;
    AnswerIndex index{points()};
    StudyRecord* record;
    const QString typed = typedAnswer();
    bool answerRight = false; // each question drawn by weight, none coming back

    Quiz(QuizMode mode, StudyRecord* studyRecord, const PointStatsTable& stats = {})
        : session(points(), mode, random, stats)
        , record(studyRecord) {
        session.advance();
    }

    // What the answer window does for OK and Next: judge, look for the point meant, record,
    // then the next question's marker and status.
    void judgeAndNext() {
        const bool right =
            session.judge(answerRight ? session.currentPoint()[ColumnAnswer1] : typed);
        benchmark::DoNotOptimize(QuizSession::verdictStatus(right));
        if (!right)
            benchmark::DoNotOptimize(index.rowsAnsweredBy(typed, session.currentRow()));
        if (record)
            record->record(session.currentPoint(), session.judgedQuestions().constLast().attempt());
        session.advance();
        benchmark::DoNotOptimize(QuizPlacement::markerTopLeft(session.currentPoint()));
        benchmark::DoNotOptimize(session.progressText());
    }
};

// A record in a folder of its own, for the full table.
struct Record {
    QTemporaryDir dir;
    StudyRecord record{dir.path()};

    Record() { record.setQuestionFile(dir.filePath(QStringLiteral("large.zvm")), points()); }
    QString file() const { return dir.filePath(StudyRecord::fileName()); }
};

// Another connection that holds the write lock while it lives.
class LockHolder {
public:
    explicit LockHolder(const QString& file) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(file);
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")))
            qFatal("cannot hold the lock");
    }
    ~LockHolder() {
        {
            QSqlDatabase db = QSqlDatabase::database(kName);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(kName);
    }

private:
    static inline const QString kName = QStringLiteral("bench-lock-holder");
};

void BM_JudgeAndNext(benchmark::State& state) {
    Quiz quiz(QuizMode::Practice, nullptr);
    for (auto _ : state)
        quiz.judgeAndNext();
}
BENCHMARK(BM_JudgeAndNext)->Unit(benchmark::kMicrosecond);

void BM_JudgeAndNextRecorded(benchmark::State& state) {
    Record r;
    Quiz quiz(QuizMode::Practice, &r.record);
    for (auto _ : state)
        quiz.judgeAndNext();
}
BENCHMARK(BM_JudgeAndNextRecorded)->Unit(benchmark::kMicrosecond);

void BM_JudgeAndNextLocked(benchmark::State& state) {
    Record r;
    Quiz quiz(QuizMode::Practice, &r.record);
    quiz.judgeAndNext(); // creates the file
    LockHolder lock(r.file());
    for (auto _ : state)
        quiz.judgeAndNext();
}
BENCHMARK(BM_JudgeAndNextLocked)->Unit(benchmark::kMicrosecond);

void BM_JudgeAndNextWeakFirst(benchmark::State& state) {
    Record r;
    Quiz quiz(QuizMode::WeakFirst, &r.record, r.record.pointStats());
    for (auto _ : state)
        quiz.judgeAndNext();
}
BENCHMARK(BM_JudgeAndNextWeakFirst)->Unit(benchmark::kMicrosecond);

// ---- The summary: each figure beside its baseline, measured interleaved ----

// The judged questions of a practice run as long as the table.
QList<JudgedQuestion> practiceRun() {
    Quiz quiz(QuizMode::Practice, nullptr);
    while (quiz.session.judgedQuestions().size() < kMaxPoints)
        quiz.judgeAndNext();
    return quiz.session.judgedQuestions();
}

struct Spread {
    double median = 0;
    double p99 = 0;
    double max = 0;
    long overLimit = 0; // calls over the 5 ms limit
};

Spread spreadOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const long over = std::count_if(times.begin(), times.end(), [](double t) { return t > 5.0; });
    return {times[times.size() / 2], times[times.size() * 99 / 100], times.back(), over};
}

// Wall and CPU time of each of `runs` calls of both, interleaved, in milliseconds.
struct Spreads {
    Spread wall[2];
    Spread cpu[2];
};
template <typename First, typename Second>
Spreads spreads(int runs, First&& first, Second&& second) {
    std::vector<double> wall[2], cpu[2];
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            QElapsedTimer timer;
            const double cpuStart = BenchSupport::cpuNowMs();
            timer.start();
            which == 0 ? first() : second();
            wall[which].push_back(timer.nsecsElapsed() / 1e6);
            cpu[which].push_back(BenchSupport::cpuNowMs() - cpuStart);
        }
    }
    return {{spreadOf(wall[0]), spreadOf(wall[1])}, {spreadOf(cpu[0]), spreadOf(cpu[1])}};
}

void printSummary() {
    using BenchSupport::interleavedMedians;

    // Judging with and without the record, interleaved question by question.
    Record recorded;
    Quiz bare(QuizMode::Practice, nullptr);
    Quiz withRecord(QuizMode::Practice, &recorded.record);
    const auto [judge, judgeRecorded] = interleavedMedians(
        2001, [&] { bare.judgeAndNext(); }, [&] { withRecord.judgeAndNext(); });
    // A normal quiz over every point, each question timed beside one without a record: the
    // tails show what a busy machine adds to both and what the WAL checkpoints add.
    Quiz everyPoint(QuizMode::Normal, &recorded.record);
    Quiz everyPointBare(QuizMode::Normal, nullptr);
    const Spreads tail = spreads(
        kMaxPoints, [&] { everyPointBare.judgeAndNext(); }, [&] { everyPoint.judgeAndNext(); });

    double locked = 0;
    {
        LockHolder lock(recorded.file());
        locked = interleavedMedians(
                     201, [&] { bare.judgeAndNext(); }, [&] { withRecord.judgeAndNext(); })
                     .second.wallMs;
    }

    // The record of every point, the draw it feeds, the dots.
    PointStatsTable stats;
    const auto [copyTable, readStats] = interleavedMedians(
        15,
        [] {
            PointList copy = points();
            copy.detach();
            benchmark::DoNotOptimize(copy.data());
        },
        [&] { stats = recorded.record.pointStats(); });
    Quiz weak(QuizMode::WeakFirst, nullptr, stats);
    weak.answerRight = true;
    const auto [unused, weakJudge] = interleavedMedians(
        501, [&] { bare.judgeAndNext(); }, [&] { weak.judgeAndNext(); });
    // The dots coloured by recall, from the memory states of the answers recorded above.
    const Fsrs model;
    const MemoryStateTable states = memoryStates(model, recorded.record.memoryTraces());
    const QDateTime now = QDateTime::currentDateTime();
    const auto [copyAgain, dots] = interleavedMedians(
        15,
        [] {
            PointList copy = points();
            copy.detach();
            benchmark::DoNotOptimize(copy.data());
        },
        [&] {
            benchmark::DoNotOptimize(
                Mastery::dots(points(), states, model, now.toMSecsSinceEpoch()));
        });
    // A frame of the main window's view (1280 x 960) with the whole map fitted in, every dot
    // showing, painted as the map view paints its overlays (the legend included), beside the
    // same frame's map alone.
    MasteryOverlay mastery;
    {
        MasterySnapshot snapshot{points(), stats, states, model, now, {}};
        snapshot.dots.setDots(Mastery::dots(points(), states, model, now.toMSecsSinceEpoch()));
        mastery.setSnapshot(std::move(snapshot));
    }
    const QRectF map(0, 0, 1950, 2000);
    const qreal fit = std::min(1280 / map.width(), 960 / map.height());
    const MapTransform transform(map.size().toSize(), QSize(1280, 960), fit);
    QImage frame(1280, 960, QImage::Format_ARGB32_Premultiplied);
    QImage mapPicture(frame.size(), QImage::Format_RGB32);
    mapPicture.fill(QColor(200, 220, 240));
    const auto [drawMap, paintDots] = interleavedMedians(
        31,
        [&] {
            QPainter painter(&frame);
            painter.drawImage(0, 0, mapPicture);
        },
        [&] {
            QPainter painter(&frame);
            mastery.paint(painter, transform, map);
        });
    const auto [unused2, index] = interleavedMedians(
        15, [] {}, [] { benchmark::DoNotOptimize(AnswerIndex(points())); });

    // The review of a 32,767-question practice run.
    const QList<JudgedQuestion> run = practiceRun();
    const auto [copyRun, buildReview] = interleavedMedians(
        15,
        [&] {
            QList<JudgedQuestion> copy = run;
            copy.detach();
            benchmark::DoNotOptimize(copy.data());
        },
        [&] {
            ReviewModel model;
            model.setQuestions(run);
            benchmark::DoNotOptimize(model.rowCount());
        });
    const auto [unused3, sortReview] = interleavedMedians(
        15, [] {},
        [&] {
            ReviewModel model;
            model.setQuestions(run);
            model.sort(ReviewModel::Hint, Qt::AscendingOrder);
        });
    const auto [copyRunAgain, openReview] = interleavedMedians(
        15,
        [&] {
            QList<JudgedQuestion> copy = run;
            copy.detach();
            benchmark::DoNotOptimize(copy.data());
        },
        [&] {
            // Filled, shown and painted once.
            ReviewWindow window;
            window.setQuestions(run);
            window.show();
            benchmark::DoNotOptimize(window.grab());
        });
    (void)unused;
    (void)unused2;
    (void)unused3;
    (void)copyRunAgain;

    std::printf("\n%d points (medians of interleaved runs)                 wall ms   CPU ms\n",
                kMaxPoints);
    std::printf("  judge + next, no record (baseline)                  : %7.3f  %7.3f\n",
                judge.wallMs, judge.cpuMs);
    std::printf("  judge + next + record write                         : %7.3f  %7.3f  "
                "(%.1f x baseline; limit 5 ms)\n",
                judgeRecorded.wallMs, judgeRecorded.cpuMs, judgeRecorded.wallMs / judge.wallMs);
    std::printf("    a normal quiz of %d, each question timed       median    99th   worst"
                "  over 5 ms\n",
                kMaxPoints);
    const char* const names[] = {"no record", "recorded "};
    for (int which = 0; which < 2; ++which) {
        std::printf("      %s wall ms                            : %7.3f %7.3f %7.3f  %5ld\n",
                    names[which], tail.wall[which].median, tail.wall[which].p99,
                    tail.wall[which].max, tail.wall[which].overLimit);
        std::printf("      %s CPU ms                             : %7.3f %7.3f %7.3f\n",
                    names[which], tail.cpu[which].median, tail.cpu[which].p99, tail.cpu[which].max);
    }
    std::printf("  judge + next, record locked elsewhere (skipped)     : %7.3f           "
                "(busy timeout %d ms; limit 5 ms)\n",
                locked, StudyRecord::kBusyTimeoutMs);
    std::printf("  judge + next, weak points first (a weighted draw)   : %7.3f  %7.3f\n",
                weakJudge.wallMs, weakJudge.cpuMs);
    std::printf("  copy the table once (baseline)                      : %7.3f  %7.3f\n",
                copyTable.wallMs, copyTable.cpuMs);
    std::printf("  read the record of every point                      : %7.3f  %7.3f\n",
                readStats.wallMs, readStats.cpuMs);
    std::printf("  mastery map dots, coloured by recall                : %7.3f  %7.3f  "
                "(%.2f x copy)\n",
                dots.wallMs, dots.cpuMs, dots.wallMs / copyAgain.wallMs);
    std::printf("  a 1280 x 960 frame's map picture (baseline)         : %7.3f  %7.3f\n",
                drawMap.wallMs, drawMap.cpuMs);
    std::printf("  mastery map: %d dots painted in that frame       : %7.3f  %7.3f  "
                "(limit 16 ms)\n",
                kMaxPoints, paintDots.wallMs, paintDots.cpuMs);
    std::printf("  answer index (\"which one did I mean\")               : %7.3f  %7.3f\n",
                index.wallMs, index.cpuMs);
    std::printf("  copy a %d-question run (baseline)                : %7.3f  %7.3f\n", kMaxPoints,
                copyRun.wallMs, copyRun.cpuMs);
    std::printf("  review model of that run                            : %7.3f  %7.3f  "
                "(limit 200 ms)\n",
                buildReview.wallMs, buildReview.cpuMs);
    std::printf("  review model, sorted by hint                        : %7.3f  %7.3f\n",
                sortReview.wallMs, sortReview.cpuMs);
    std::printf("  review window opened and painted                    : %7.3f  %7.3f  "
                "(limit 200 ms)\n",
                openReview.wallMs, openReview.cpuMs);
    std::printf("RESULT judge_ms=%.3f judge_record_ms=%.3f judge_record_p99_ms=%.3f "
                "judge_record_max_ms=%.3f judge_record_over_5ms=%ld judge_locked_ms=%.3f "
                "weakfirst_judge_ms=%.3f "
                "stats_ms=%.2f mastery_dots_ms=%.2f frame_map_ms=%.2f mastery_paint_ms=%.2f "
                "answer_index_ms=%.2f review_copy_ms=%.2f "
                "review_build_ms=%.2f review_sort_ms=%.2f review_window_ms=%.2f\n",
                judge.wallMs, judgeRecorded.wallMs, tail.wall[1].p99, tail.wall[1].max,
                tail.wall[1].overLimit, locked, weakJudge.wallMs, readStats.wallMs, dots.wallMs,
                drawMap.wallMs, paintDots.wallMs, index.wallMs, copyRun.wallMs, buildReview.wallMs,
                sortReview.wallMs, openReview.wallMs);
}

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWithWindows(argc, argv, printSummary, [] {});
}
