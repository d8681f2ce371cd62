#include "core/memory/MemoryStates.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// The median of the times added so far, in two heaps: the lower half and the upper half.
class RunningMedian {
public:
    void clear() {
        lower_.clear();
        upper_.clear();
    }
    bool empty() const { return lower_.empty(); }
    double median() const {
        return lower_.size() > upper_.size() ? lower_.front()
                                             : (lower_.front() + upper_.front()) / 2;
    }
    void add(double seconds) {
        if (lower_.empty() || seconds <= lower_.front()) {
            lower_.push_back(seconds);
            std::push_heap(lower_.begin(), lower_.end());
        } else {
            upper_.push_back(seconds);
            std::push_heap(upper_.begin(), upper_.end(), std::greater<>());
        }
        if (lower_.size() > upper_.size() + 1) {
            std::pop_heap(lower_.begin(), lower_.end());
            upper_.push_back(lower_.back());
            lower_.pop_back();
            std::push_heap(upper_.begin(), upper_.end(), std::greater<>());
        } else if (upper_.size() > lower_.size()) {
            std::pop_heap(upper_.begin(), upper_.end(), std::greater<>());
            lower_.push_back(upper_.back());
            upper_.pop_back();
            std::push_heap(lower_.begin(), lower_.end());
        }
    }

private:
    std::vector<double> lower_; // a max-heap
    std::vector<double> upper_; // a min-heap
};

constexpr auto earlier = [](const TimedAnswer& a, const TimedAnswer& b) {
    return a.whenMsecsUtc < b.whenMsecsUtc;
};

// Calls `each(answer, rating)` for the answers in time order; `median` is scratch space, kept
// by the caller so that its room is reused from point to point.
template <typename Each>
void rate(const QList<TimedAnswer>& answers, RunningMedian& median, Each each) {
    QList<TimedAnswer> sorted;
    const QList<TimedAnswer>* inOrder = &answers;
    if (!std::is_sorted(answers.cbegin(), answers.cend(), earlier)) {
        sorted = answers;
        std::stable_sort(sorted.begin(), sorted.end(), earlier);
        inOrder = &sorted;
    }
    median.clear();
    for (const TimedAnswer& answer : *inOrder) {
        const bool timed = std::isfinite(answer.seconds) && answer.seconds >= 0;
        Rating rating = Rating::Again;
        if (answer.correct) {
            const bool slow = timed && !median.empty() && answer.seconds > median.median();
            rating = slow ? Rating::Hard : Rating::Good;
        }
        if (timed)
            median.add(answer.seconds);
        each(answer, rating);
    }
}

MemoryTrace traceOf(const Fsrs& model, const QList<TimedAnswer>& answers, RunningMedian& median) {
    MemoryTrace trace;
    rate(answers, median, [&](const TimedAnswer& answer, Rating rating) {
        if (trace.answers > 0)
            trace.before = model.next(trace.before, trace.rating, trace.atMsecsUtc);
        else
            trace.firstMsecsUtc = answer.whenMsecsUtc;
        trace.rating = rating;
        trace.atMsecsUtc = answer.whenMsecsUtc;
        ++trace.answers;
    });
    // The due date before the latest answer depends on the retention and is never read: left
    // out, so that equal answers give equal traces.
    trace.before.dueMsecsUtc = 0;
    trace.before.scheduledDays = 0;
    return trace;
}

} // namespace

namespace MemoryStates {

QList<Rating> ratings(const QList<TimedAnswer>& answers) {
    QList<Rating> result;
    result.reserve(answers.size());
    RunningMedian median;
    rate(answers, median, [&](const TimedAnswer&, Rating rating) { result.append(rating); });
    return result;
}

MemoryState of(const Fsrs& model, const QList<TimedAnswer>& answers) {
    RunningMedian median;
    MemoryState state;
    rate(answers, median, [&](const TimedAnswer& answer, Rating rating) {
        state = model.next(state, rating, answer.whenMsecsUtc);
    });
    return state;
}

MemoryTrace trace(const QList<TimedAnswer>& answers) {
    // The difficulty and stability come out the same at any retention: the default will do.
    const Fsrs model;
    RunningMedian median;
    return traceOf(model, answers, median);
}

MemoryState of(const Fsrs& model, const MemoryTrace& trace) {
    return trace.answers == 0 ? MemoryState()
                              : model.next(trace.before, trace.rating, trace.atMsecsUtc);
}

std::vector<MemoryTrace> traces(const std::vector<QList<TimedAnswer>>& answersOfEach) {
    // The points are independent: chunks of them go to the pool's threads, each writing only
    // its own points' slots.
    const Fsrs model;
    std::vector<MemoryTrace> made(answersOfEach.size());
    constexpr std::size_t kChunk = 2048;
    std::vector<std::size_t> chunks;
    for (std::size_t begin = 0; begin < made.size(); begin += kChunk)
        chunks.push_back(begin);
    QtConcurrent::blockingMap(chunks, [&](std::size_t begin) {
        RunningMedian median;
        const std::size_t end = std::min(begin + kChunk, made.size());
        for (std::size_t i = begin; i < end; ++i)
            made[i] = traceOf(model, answersOfEach[i], median);
    });
    return made;
}

} // namespace MemoryStates
