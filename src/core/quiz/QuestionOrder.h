#pragma once

#include <cstdint>
#include <optional>

// An order of the questions that a rule above the quiz decides (today's review, by the memory
// model): the session asks it for each next row and tells it each verdict, with the moment, so
// the rule may bring a point back when it is due again.
class QuestionOrder {
public:
    virtual ~QuestionOrder() = default;

    // The row to ask at `nowMsecsUtc`; nothing when the quiz is over.
    virtual std::optional<int> next(std::int64_t nowMsecsUtc) = 0;
    // The verdict on `row`, given at `nowMsecsUtc`.
    virtual void noteVerdict(int row, bool correct, std::int64_t nowMsecsUtc) = 0;
    // The questions still to ask.
    virtual int remaining() const = 0;
};
