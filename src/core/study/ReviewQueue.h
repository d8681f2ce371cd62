#pragma once

#include "core/data/Point.h"
#include "core/memory/Fsrs.h"
#include "core/quiz/QuestionOrder.h"
#include "core/record/StudyRecord.h"

#include <QList>

#include <cstdint>
#include <optional>

// Today's review: the order of a quiz over the open file's points by their memory states.
//
// - Due at the start: a point whose probability of recall now has fallen below the desired
//   retention, or one in its learning or relearning steps (minutes apart) whose step has come.
//   The most forgotten (lowest recall) first; rows of equal recall in table order.
// - Then new points (never answered), in table order, up to the day's limit less those first
//   answered today.
// - A point answered right is done for the quiz. One answered wrong takes the model's next
//   step and comes back once that step has come, before the points still waiting; when nothing
//   else is left, the miss whose step comes first is asked at once rather than waited for.
// - The quiz ends when nothing is due and no miss waits.
//
// An answer dated after now (a clock set back) leaves its point recalled for sure (not due) and
// its step ahead (not come); nothing is ever a negative time away.
class ReviewQueue : public QuestionOrder {
public:
    // `states`: each point's state by identity; points absent from it were never answered.
    ReviewQueue(const PointList& rows, const MemoryStateTable& states, std::int64_t nowMsecsUtc,
                const Fsrs& model, int newPerDay, int newAlreadyToday);

    // The queue from the record's memory traces: the states they give, the new points of the
    // local day counted from them.
    static ReviewQueue fromTraces(const PointList& rows, const MemoryTraceTable& traces,
                                  std::int64_t nowMsecsUtc, const Fsrs& model, int newPerDay);

    // Points whose first answer lies at or after `sinceMsecsUtc`.
    static int firstAnsweredSince(const MemoryTraceTable& traces, std::int64_t sinceMsecsUtc);
    // Midnight of the local day `msecsUtc` lies in.
    static std::int64_t startOfLocalDay(std::int64_t msecsUtc);

    bool isEmpty() const { return remaining() == 0; }

    std::optional<int> next(std::int64_t nowMsecsUtc) override;
    void noteVerdict(int row, bool correct, std::int64_t nowMsecsUtc) override;
    int remaining() const override;

    // An answer to `row` at `nowMsecsUtc`: Again brings it back at its next step, any other
    // rating ends it for this quiz.
    void answered(int row, Rating rating, std::int64_t nowMsecsUtc);

private:
    Fsrs m_model;
    QList<MemoryState> m_states; // by row: as the record left it, then after this quiz's misses
    QList<int> m_waiting;        // rows due at the start, then the new ones, in asking order
    QList<int> m_misses;         // rows missed in this quiz, ascending by their step's time
    int m_asked = -1;            // the row asked and not answered yet
};
