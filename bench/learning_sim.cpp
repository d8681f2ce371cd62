// How much a month of study leaves remembered in each mode: simulated learners study the
// 47-point prefecture sample ten minutes every evening for 30 days, in today's review, weak
// points first, or normal mode (every point once in a shuffled order, pass after pass), and on
// the morning of day 31 we count the points each still recalls. Normal mode is the baseline.
//
// The learner's true memory is the program's own memory model, run on what really happened
// (each answer Good when right, Again when missed), with a pace of forgetting of its own: each
// learner, and each point for that learner, forgets faster or slower than the model's average
// learner. An answer is right with the true recall at that moment; a point never met is not
// known. The program decides what to ask from what it sees: the answers it records (today's
// review) or its counts of right and wrong (weak points first). Learner n has the same pace
// of forgetting and the same seeds in every mode.
#include "core/data/QuestionFile.h"
#include "core/data/QuestionTable.h"
#include "core/data/TableSink.h"
#include "core/memory/Fsrs.h"
#include "core/quiz/QuestionOrder.h"
#include "core/quiz/RandomSource.h"
#include "core/quiz/Shuffle.h"
#include "core/quiz/WeakFirstDraw.h"
#include "core/study/ReviewQueue.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kLearners = 200;
constexpr int kDays = 30;
constexpr int kNewPerDay = 20; // today's review's default
constexpr std::int64_t kSessionMsecs = 10 * 60'000;
constexpr std::int64_t kMsecsPerDay = 86'400'000;
constexpr double kMinAnswerSeconds = 5;
constexpr double kMaxAnswerSeconds = 12;
// The spread of the pace of forgetting (log-normal around the model's average learner).
constexpr double kLearnerSpread = 0.5;
constexpr double kPointSpread = 0.3;

const PointList& sample() {
    static const PointList rows = [] {
        QuestionTable table;
        TableSink sink(table);
        const QString path = QStringLiteral(ZAV_SAMPLES_DIR "/日本/都道府県/都道府県.zvm");
        if (QuestionFile::read(path, sink) != ReadOutcome::Success)
            qFatal("cannot read the prefecture sample");
        return table.rows();
    }();
    return rows;
}

// The simulated clock: day 0 is the first evening of study, at seven in the local time zone
// (the review counts its new points per local day).
std::int64_t eveningOf(int day) {
    return QDateTime(QDate(2026, 1, 5).addDays(day), QTime(19, 0)).toMSecsSinceEpoch();
}
std::int64_t morningOf(int day) {
    return QDateTime(QDate(2026, 1, 5).addDays(day), QTime(8, 0)).toMSecsSinceEpoch();
}

// The last, today's review at the highest desired retention the options allow, shows what more
// reviewing would give.
enum class Mode { Review, WeakFirst, Normal, ReviewMost };
constexpr Mode kModes[] = {Mode::Review, Mode::WeakFirst, Mode::Normal, Mode::ReviewMost};

const char* nameOf(Mode mode) {
    switch (mode) {
    case Mode::Review:
        return "today's review";
    case Mode::WeakFirst:
        return "weak points first";
    case Mode::Normal:
        return "normal (baseline)";
    case Mode::ReviewMost:
        return "review at 97 %";
    }
    return "";
}

// Weak points first as an order of questions: the program's draw, with the counts it keeps.
class WeakFirstOrder : public QuestionOrder {
public:
    WeakFirstOrder(const PointList& rows, const PointStatsTable& record, RandomSource& random)
        : m_draw(rows, record)
        , m_random(random) {}

    std::optional<int> next(std::int64_t) override { return m_draw.next(m_random); }
    void noteVerdict(int row, bool correct, std::int64_t) override {
        m_draw.noteVerdict(row, correct);
    }
    int remaining() const override { return 1; } // without end
    const WeakFirstDraw& draw() const { return m_draw; }

private:
    WeakFirstDraw m_draw;
    RandomSource& m_random;
};

// Normal mode started again and again: each pass the table shuffled, then every row in order.
class ShuffledPasses : public QuestionOrder {
public:
    ShuffledPasses(const PointList& rows, RandomSource& random)
        : m_rows(rows)
        , m_random(random) {
        for (int row = 0; row < rows.size(); ++row)
            m_rowOf.insert(PointIdentity::of(rows.at(row)), row);
    }

    std::optional<int> next(std::int64_t) override {
        if (m_next >= m_pass.size()) {
            m_pass = m_rows;
            shuffleRows(m_pass, m_random);
            m_next = 0;
        }
        return m_rowOf.value(PointIdentity::of(m_pass.at(m_next++)));
    }
    void noteVerdict(int, bool, std::int64_t) override {}
    int remaining() const override { return 1; } // without end

private:
    const PointList& m_rows;
    RandomSource& m_random;
    QHash<PointIdentity, int> m_rowOf;
    PointList m_pass;
    qsizetype m_next = 0;
};

struct Totals {
    double recalled = 0; // expected: the sum of true recall on the morning after
    double drawn = 0;    // recalled in one draw
    double answers = 0;  // answers over the month
    double right = 0;    // right answers
    double studyMin = 0; // minutes spent answering over the month
    double met = 0;      // points answered at least once
    double lastWeekMin = 0;
};

// One learner's month in one mode.
class Learner {
public:
    Learner(std::uint64_t seed, const Fsrs& model)
        : m_truth(model)
        , m_engine(seed)
        , m_random(seed) {
        std::lognormal_distribution<double> learner(0, kLearnerSpread);
        std::lognormal_distribution<double> point(0, kPointSpread);
        const double pace = learner(m_engine);
        for (qsizetype row = 0; row < sample().size(); ++row)
            m_pace.push_back(pace * point(m_engine));
        m_memory.resize(sample().size());
    }

    Totals month(Mode mode) {
        Totals totals;
        for (int day = 0; day < kDays; ++day) {
            const std::int64_t spent = session(mode, eveningOf(day), totals);
            if (day >= kDays - 7)
                totals.lastWeekMin += spent / 60'000.0 / 7;
        }
        const std::int64_t morning = morningOf(kDays);
        std::uniform_real_distribution<double> chance(0, 1);
        for (int row = 0; row < sample().size(); ++row) {
            const double recall = trueRecall(row, morning);
            totals.recalled += recall;
            totals.drawn += chance(m_engine) < recall ? 1 : 0;
            totals.met += m_memory.at(row).phase != MemoryPhase::New ? 1 : 0;
        }
        return totals;
    }

private:
    // Ten minutes from `start`: questions are asked while time is left, or until the mode has
    // nothing more to ask. Returns the time spent.
    std::int64_t session(Mode mode, std::int64_t start, Totals& totals) {
        std::unique_ptr<QuestionOrder> order;
        WeakFirstOrder* weakFirst = nullptr;
        switch (mode) {
        case Mode::Review:
        case Mode::ReviewMost: {
            const Fsrs scheduler(mode == Mode::Review ? Fsrs::kDefaultRetention
                                                      : Fsrs::kMaxRetention);
            order = std::make_unique<ReviewQueue>(ReviewQueue::fromTraces(
                sample(), memoryTraces(m_record), start, scheduler, kNewPerDay));
            break;
        }
        case Mode::WeakFirst:
            order = std::make_unique<WeakFirstOrder>(sample(), m_counts, m_random);
            weakFirst = static_cast<WeakFirstOrder*>(order.get());
            break;
        case Mode::Normal:
            order = std::make_unique<ShuffledPasses>(sample(), m_random);
            break;
        }
        std::uniform_real_distribution<double> answerSeconds(kMinAnswerSeconds, kMaxAnswerSeconds);
        std::uniform_real_distribution<double> chance(0, 1);
        std::int64_t now = start;
        while (now < start + kSessionMsecs) {
            const std::optional<int> row = order->next(now);
            if (!row)
                break;
            const double seconds = answerSeconds(m_engine);
            const bool correct = chance(m_engine) < trueRecall(*row, now);
            now += static_cast<std::int64_t>(seconds * 1000);
            order->noteVerdict(*row, correct, now);
            m_record[PointIdentity::of(sample().at(*row))].append({now, seconds, correct});
            learn(*row, correct, now);
            ++totals.answers;
            totals.right += correct ? 1 : 0;
        }
        if (weakFirst) {
            for (int row = 0; row < sample().size(); ++row)
                m_counts.insert(PointIdentity::of(sample().at(row)), weakFirst->draw().stats(row));
        }
        totals.studyMin += (now - start) / 60'000.0;
        return now - start;
    }

    double trueRecall(int row, std::int64_t at) const {
        const MemoryState& state = m_memory.at(row);
        if (state.phase == MemoryPhase::New)
            return 0;
        const double days = static_cast<double>(at - state.lastMsecsUtc) / kMsecsPerDay;
        return m_truth.forgettingCurve(days * m_pace.at(row), state.stability);
    }

    // Every answer teaches: a miss shows the right answer.
    void learn(int row, bool correct, std::int64_t at) {
        m_memory[row] = m_truth.next(m_memory.at(row), correct ? Rating::Good : Rating::Again, at);
    }

    Fsrs m_truth;                      // the learner's memory, not the program's view of it
    std::mt19937_64 m_engine;          // the learner: answer times and right or wrong
    SystemRandomSource m_random;       // the program's draws and shuffles
    std::vector<double> m_pace;        // by row: how many times as fast as the model it forgets
    std::vector<MemoryState> m_memory; // by row: the truth
    AnswerHistory m_record;            // what the program recorded
    PointStatsTable m_counts;          // weak points first's counts, carried from day to day
};

Totals monthOf(Mode mode, int learners) {
    const Fsrs model;
    Totals sum;
    for (int n = 0; n < learners; ++n) {
        Learner learner(1000 + n, model);
        const Totals one = learner.month(mode);
        sum.recalled += one.recalled;
        sum.drawn += one.drawn;
        sum.answers += one.answers;
        sum.right += one.right;
        sum.studyMin += one.studyMin;
        sum.met += one.met;
        sum.lastWeekMin += one.lastWeekMin;
    }
    return sum;
}

void BM_OneLearnerMonth(benchmark::State& state) {
    const Mode mode = kModes[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(monthOf(mode, 1));
    state.SetLabel(nameOf(mode));
}
BENCHMARK(BM_OneLearnerMonth)->DenseRange(0, std::size(kModes) - 1)->Unit(benchmark::kMillisecond);

void printSummary() {
    std::printf("\n%lld points, %d learners per mode, %d days of 10 minutes, %d new points a day "
                "in today's review\n",
                static_cast<long long>(sample().size()), kLearners, kDays, kNewPerDay);
    std::printf("%-18s %9s %7s %9s %7s %9s %9s %6s %7s\n", "mode (per learner)", "recalled",
                "drawn", "answers", "right", "min/day", "last wk", "met", "run s");
    double recalled[std::size(kModes)] = {};
    double totalSec = 0;
    for (const Mode mode : kModes) {
        QElapsedTimer timer;
        timer.start();
        const Totals sum = monthOf(mode, kLearners);
        const double sec = timer.nsecsElapsed() / 1e9;
        totalSec += sec;
        recalled[static_cast<int>(mode)] = sum.recalled / kLearners;
        std::printf("%-18s %9.2f %7.2f %9.1f %6.1f%% %9.2f %9.2f %6.1f %7.2f\n", nameOf(mode),
                    sum.recalled / kLearners, sum.drawn / kLearners, sum.answers / kLearners,
                    100 * sum.right / sum.answers, sum.studyMin / kLearners / kDays,
                    sum.lastWeekMin / kLearners, sum.met / kLearners, sec);
    }
    std::printf("recalled: expected points recalled on the morning of day %d (of %lld); drawn: "
                "in one draw; last wk: minutes a day in the last week; met: points answered\n",
                kDays + 1, static_cast<long long>(sample().size()));
    std::printf("run time of the whole simulation: %.2f s\n", totalSec);
    std::printf("RESULT review_recalled=%.2f weakfirst_recalled=%.2f normal_recalled=%.2f "
                "learners=%d days=%d run_s=%.2f\n",
                recalled[0], recalled[1], recalled[2], kLearners, kDays, totalSec);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    sample(); // read before anything is timed
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
