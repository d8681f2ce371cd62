#pragma once

#include <cstdint>

// The memory model of one point: how well it is remembered now and when it should be asked
// again. FSRS-6 with its published default weights, computed as the reference scheduler
// (ts-fsrs 5 with its defaults: learning steps of 1 and 10 minutes, a relearning step of 10
// minutes, fuzz off) computes it, its rounding to 8 decimals included, so that the values
// match the reference's (tests/core/memory/data/fsrs_reference.json, made by
// tools/fsrs-reference).
//
// Pure functions over values: nothing here reads the record or touches the screen, so states
// may be computed on any thread from copied answers.

// How an answer went, as the model grades it.
enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// Where a point stands: never answered; in the first steps of learning, minutes apart; in
// review, days apart; relearning after a miss in review, minutes apart. Numbered as the
// reference numbers them.
enum class MemoryPhase { New = 0, Learning = 1, Review = 2, Relearning = 3 };

struct MemoryState {
    MemoryPhase phase = MemoryPhase::New;
    double difficulty = 0;         // 1 (easy) to 10; 0 while new
    double stability = 0;          // days until recall falls to 90 %; 0 while new
    int step = 0;                  // the learning or relearning step reached
    std::int64_t lastMsecsUtc = 0; // the last answer
    std::int64_t dueMsecsUtc = 0;  // when it should be asked again
    int scheduledDays = 0;         // from the last answer to the due date; 0 for a step
    int reps = 0;                  // answers
    int lapses = 0;                // misses in review

    friend bool operator==(const MemoryState&, const MemoryState&) = default;
};

class Fsrs {
public:
    static constexpr double kDefaultRetention = 0.90;
    static constexpr double kMinRetention = 0.70;
    static constexpr double kMaxRetention = 0.97;
    static constexpr int kMaxIntervalDays = 36500;

    // The share of points the learner wants to still know when they are asked again, kept
    // within kMinRetention..kMaxRetention (the default when not a number).
    explicit Fsrs(double desiredRetention = kDefaultRetention);

    double desiredRetention() const { return retention_; }

    // The state after an answer rated `rating` at `atMsecsUtc`. An answer dated before the
    // last one (a clock set back) counts as given no time after it: no negative time.
    MemoryState next(const MemoryState& state, Rating rating, std::int64_t atMsecsUtc) const;

    // The probability of recall at `atMsecsUtc`, counted in whole days since the last answer
    // (none when the last answer is dated later, so 1); 0 for a point never answered.
    double retrievability(const MemoryState& state, std::int64_t atMsecsUtc) const;

    // The probability of recall `elapsedDays` after an answer that left `stability`.
    double forgettingCurve(double elapsedDays, double stability) const;

    // Whole days until recall falls to the desired retention: 1 to kMaxIntervalDays.
    int intervalDays(double stability) const;

private:
    double retention_;
    double intervalModifier_;
};
