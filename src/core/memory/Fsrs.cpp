#include "core/memory/Fsrs.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

// Every expression keeps the reference's order of operations and its rounding, so the doubles
// come out the same, not merely close.

namespace {

// FSRS-6's default weights.
constexpr double kW[] = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                         0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                         1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
constexpr double kMinStability = 0.001;
constexpr double kMaxStability = 36500;

// The steps of learning and of relearning after a miss, in minutes. All under a day, so a
// step never becomes an interval in days.
constexpr int kLearningSteps[] = {1, 10};
constexpr int kRelearningSteps[] = {10};
static_assert(kLearningSteps[1] < 24 * 60 && kRelearningSteps[0] < 24 * 60);

constexpr std::int64_t kMsecsPerMinute = 60'000;
constexpr std::int64_t kMsecsPerDay = 86'400'000;

// Rounds halves up, as JavaScript's Math.round does (std::round rounds them away from zero).
double roundHalfUp(double x) {
    const double down = std::floor(x);
    return x - down >= 0.5 ? down + 1 : down;
}

double round8(double x) {
    return roundHalfUp(x * 1e8) / 1e8;
}

// The reference's clamp: a lower bound above the upper one gives the upper one.
double clamp(double value, double low, double high) {
    return std::min(std::max(value, low), high);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// `msecs` after `at`, at the latest the last moment there is: a record may hold any date.
std::int64_t later(std::int64_t at, std::int64_t msecs) {
    constexpr std::int64_t kLast = std::numeric_limits<std::int64_t>::max();
    return at > kLast - msecs ? kLast : at + msecs;
}

// What the weights give once for all.
struct Derived {
    double decay = -kW[20];
    double factor = round8(std::exp(std::pow(decay, -1) * std::log(0.9)) - 1);
    double initialDifficulty[5] = {};
    double shortTermGrowth[5] = {};
    double expW8 = std::exp(kW[8]);
    double forgetDivisor = std::exp(kW[17] * kW[18]);

    Derived() {
        for (int g = 1; g <= 4; ++g) {
            initialDifficulty[g] = round8(kW[4] - std::exp((g - 1) * kW[5]) + 1);
            shortTermGrowth[g] = std::exp(kW[17] * (g - 3 + kW[18]));
        }
    }
};
// Made on first use, so a model made before main() finds them made.
const Derived& k() {
    static const Derived made;
    return made;
}

double recallAfter(double days, double stability) {
    return round8(std::pow(1 + k().factor * days / stability, k().decay));
}

int intervalFor(double stability, double modifier) {
    return static_cast<int>(std::min(std::max(1.0, roundHalfUp(stability * modifier)),
                                     static_cast<double>(Fsrs::kMaxIntervalDays)));
}

double nextDifficulty(double d, int g) {
    const double delta = -kW[6] * (g - 3);
    const double damped = d + round8(delta * (10 - d) / 9); // smaller steps near 10
    // Back towards the difficulty of a first answer rated Easy.
    return clamp(round8(kW[7] * k().initialDifficulty[4] + (1 - kW[7]) * damped), 1, 10);
}

// The stability after an answer of each grade to a point with difficulty d and stability s,
// t days after its last answer. The terms the grades share are computed once, on first use: a
// review compares the grades' intervals.
class StabilityAfter {
public:
    StabilityAfter(double d, double s, std::int64_t t)
        : d_(d)
        , s_(s)
        , t_(t) {}

    double operator()(int g) {
        if (t_ == 0) { // asked again the same day
            if (std::isnan(shared_))
                shared_ = std::pow(s_, -kW[19]);
            const double growth = shared_ * k().shortTermGrowth[g];
            return round8(clamp(s_ * (g >= 2 ? std::max(growth, 1.0) : growth), kMinStability,
                                kMaxStability));
        }
        if (std::isnan(recall_))
            recall_ = recallAfter(static_cast<double>(t_), s_);
        if (g == 1) {
            const double forgotten =
                round8(clamp(kW[11] * std::pow(d_, -kW[12]) * (std::pow(s_ + 1, kW[13]) - 1) *
                                 std::exp((1 - recall_) * kW[14]),
                             kMinStability, kMaxStability));
            return clamp(round8(s_ / k().forgetDivisor), kMinStability, forgotten);
        }
        if (std::isnan(shared_)) {
            shared_ = k().expW8 * (11 - d_) * std::pow(s_, -kW[9]) *
                      (std::exp((1 - recall_) * kW[10]) - 1);
        }
        const double hardPenalty = g == 2 ? kW[15] : 1;
        const double easyBonus = g == 4 ? kW[16] : 1;
        return round8(
            clamp(s_ * (1 + shared_ * hardPenalty * easyBonus), kMinStability, kMaxStability));
    }

private:
    double d_;
    double s_;
    std::int64_t t_;
    // Not a number until computed.
    double recall_ = std::numeric_limits<double>::quiet_NaN();
    // The same-day power, or the growth on recall.
    double shared_ = std::numeric_limits<double>::quiet_NaN();
};

struct Step {
    int minutes = 0; // 0: no step, the point goes to review
    int next = 0;
};

// The next learning or relearning step after a grade.
Step stepAfter(MemoryPhase phase, int step, int g) {
    const bool relearning = phase == MemoryPhase::Relearning || phase == MemoryPhase::Review;
    const int* steps = relearning ? kRelearningSteps : kLearningSteps;
    const int count =
        static_cast<int>(relearning ? std::size(kRelearningSteps) : std::size(kLearningSteps));
    if (step < 0 || step >= count)
        return {};
    if (phase == MemoryPhase::Review) // a miss in review
        return {steps[step], 0};
    switch (g) {
    case 1:
        return {steps[0], 0};
    case 2:
        return {static_cast<int>(
                    roundHalfUp(count == 1 ? steps[0] * 1.5 : (steps[0] + steps[1]) / 2.0)),
                step};
    case 3:
        if (step + 1 < count)
            return {steps[step + 1], step + 1};
        break;
    }
    return {};
}

} // namespace

Fsrs::Fsrs(double desiredRetention)
    : retention_(std::isnan(desiredRetention)
                     ? kDefaultRetention
                     : std::clamp(desiredRetention, kMinRetention, kMaxRetention))
    , intervalModifier_(round8((std::pow(retention_, 1 / k().decay) - 1) / k().factor)) {}

double Fsrs::forgettingCurve(double elapsedDays, double stability) const {
    return recallAfter(elapsedDays, stability);
}

int Fsrs::intervalDays(double stability) const {
    return intervalFor(stability, intervalModifier_);
}

double Fsrs::retrievability(const MemoryState& state, std::int64_t atMsecsUtc) const {
    if (state.phase == MemoryPhase::New)
        return 0;
    // Whole days since the last answer; none when it is dated later. Subtracted as unsigned
    // numbers, so no pair of dates overflows.
    const std::int64_t days =
        atMsecsUtc <= state.lastMsecsUtc
            ? 0
            : static_cast<std::int64_t>((static_cast<std::uint64_t>(atMsecsUtc) -
                                         static_cast<std::uint64_t>(state.lastMsecsUtc)) /
                                        kMsecsPerDay);
    return recallAfter(static_cast<double>(days), state.stability);
}

MemoryState Fsrs::next(const MemoryState& state, Rating rating, std::int64_t atMsecsUtc) const {
    const int g = std::clamp(static_cast<int>(rating), 1, 4);
    // Days are counted between calendar dates in UTC, as the reference counts them: two
    // answers a minute apart across midnight UTC are a day apart. A clock set back gives a
    // negative count, taken as 0 (the same day) rather than refused.
    const std::int64_t t =
        state.phase == MemoryPhase::New
            ? 0
            : std::max<std::int64_t>(0, floorDiv(atMsecsUtc, kMsecsPerDay) -
                                            floorDiv(state.lastMsecsUtc, kMsecsPerDay));
    MemoryState next = state;
    next.lastMsecsUtc = atMsecsUtc;
    ++next.reps;

    StabilityAfter stabilityAfter(state.difficulty, state.stability, t);
    const auto intervalDays = [this](double stability) {
        return intervalFor(stability, intervalModifier_);
    };
    if (state.difficulty == 0 && state.stability == 0) {
        next.difficulty = clamp(k().initialDifficulty[g], 1, 10);
        next.stability = std::max(kW[g - 1], 0.1);
    } else {
        next.difficulty = nextDifficulty(state.difficulty, g);
        next.stability = stabilityAfter(g);
    }

    if (state.phase == MemoryPhase::Review && rating != Rating::Again) {
        // The grades' intervals kept in order, Hard at most Good, Easy after Good.
        const int good = intervalDays(g == 3 ? next.stability : stabilityAfter(3));
        const int hard = std::min(intervalDays(g == 2 ? next.stability : stabilityAfter(2)), good);
        int days = g == 2 ? hard : std::max(good, hard + 1);
        if (g == 4)
            days = std::max(intervalDays(next.stability), days + 1);
        next.phase = MemoryPhase::Review;
        next.step = 0;
        next.scheduledDays = days;
        next.dueMsecsUtc = later(atMsecsUtc, days * kMsecsPerDay);
        return next;
    }

    if (state.phase == MemoryPhase::Review)
        ++next.lapses;
    const Step step = stepAfter(state.phase, state.step, g);
    if (step.minutes > 0) {
        next.phase = state.phase == MemoryPhase::Review ? MemoryPhase::Relearning
                     : state.phase == MemoryPhase::New  ? MemoryPhase::Learning
                                                        : state.phase;
        next.step = step.next;
        next.scheduledDays = 0;
        next.dueMsecsUtc = later(atMsecsUtc, step.minutes * kMsecsPerMinute);
    } else {
        next.phase = MemoryPhase::Review;
        next.step = 0;
        next.scheduledDays = intervalDays(next.stability);
        next.dueMsecsUtc = later(atMsecsUtc, next.scheduledDays * kMsecsPerDay);
    }
    return next;
}
