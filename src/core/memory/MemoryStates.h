#pragma once

#include "core/memory/Fsrs.h"

#include <QList>

#include <cstdint>
#include <vector>

// An answer as the memory model reads it.
struct TimedAnswer {
    std::int64_t whenMsecsUtc = 0;
    double seconds = 0;
    bool correct = false;

    friend bool operator==(const TimedAnswer&, const TimedAnswer&) = default;
};

// A point's answers boiled down to what its state at any desired retention needs: the state
// before its latest answer in time order, and that answer's grade and time (and when it was
// first answered, which today's new points are counted by). Difficulty and
// stability never depend on the desired retention; the due date does, and only the latest
// answer sets it. So this is what the record keeps for each point, and one step of the model
// gives the state for whatever retention the learner has chosen.
struct MemoryTrace {
    MemoryState before;
    Rating rating = Rating::Again;
    std::int64_t atMsecsUtc = 0;
    std::int64_t firstMsecsUtc = 0; // the earliest answer
    std::int64_t answers = 0;       // 0: never answered

    friend bool operator==(const MemoryTrace&, const MemoryTrace&) = default;
};

// The answers to memory states: each answer graded, then the model run over a point's answers
// in time order. Pure functions over copied answers, so they may run on any thread.
namespace MemoryStates {

// The grade of each answer, in time order: a wrong answer is Again; a right one is Good, or
// Hard when it took longer than the median time of the point's earlier answers, right or wrong
// (with none before, Good). A time that is not a finite number of seconds, or is below zero (a
// clock set back during the question), counts as no time: never slow, and left out of the
// median.
QList<Rating> ratings(const QList<TimedAnswer>& answers);

// A point's state after its answers.
MemoryState of(const Fsrs& model, const QList<TimedAnswer>& answers);

// A point's trace after its answers, and the state it gives.
MemoryTrace trace(const QList<TimedAnswer>& answers);
MemoryState of(const Fsrs& model, const MemoryTrace& trace);

// The traces of many points at once, on the pool's threads.
std::vector<MemoryTrace> traces(const std::vector<QList<TimedAnswer>>& answersOfEach);

} // namespace MemoryStates
