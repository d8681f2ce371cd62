#include "core/study/ReviewQueue.h"

#include <QDateTime>

#include <algorithm>
#include <utility>

namespace {

bool isDue(const Fsrs& model, const MemoryState& state, std::int64_t now) {
    switch (state.phase) {
    case MemoryPhase::New:
        return false;
    case MemoryPhase::Learning:
    case MemoryPhase::Relearning:
        // Steps are minutes: recall counted in whole days would not fall within one.
        return state.dueMsecsUtc <= now;
    case MemoryPhase::Review:
        break;
    }
    return model.retrievability(state, now) < model.desiredRetention();
}

} // namespace

ReviewQueue::ReviewQueue(const PointList& rows, const MemoryStateTable& states,
                         std::int64_t nowMsecsUtc, const Fsrs& model, int newPerDay,
                         int newAlreadyToday)
    : m_model(model) {
    m_states.reserve(rows.size());
    QList<std::pair<double, int>> due; // recall now, row
    QList<int> fresh;
    const int newAllowed = std::max(0, newPerDay - std::max(0, newAlreadyToday));
    for (const Point& point : rows) {
        const auto row = static_cast<int>(m_states.size());
        m_states.append(states.value(PointIdentity::of(point)));
        const MemoryState& state = m_states.constLast();
        if (state.phase == MemoryPhase::New) {
            if (fresh.size() < newAllowed)
                fresh.append(row);
        } else if (isDue(m_model, state, nowMsecsUtc)) {
            due.append({m_model.retrievability(state, nowMsecsUtc), row});
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    m_waiting.reserve(due.size() + fresh.size());
    for (const auto& [recall, row] : due)
        m_waiting.append(row);
    m_waiting.append(fresh);
}

ReviewQueue ReviewQueue::fromTraces(const PointList& rows, const MemoryTraceTable& traces,
                                    std::int64_t nowMsecsUtc, const Fsrs& model, int newPerDay) {
    return ReviewQueue(rows, memoryStates(model, traces), nowMsecsUtc, model, newPerDay,
                       firstAnsweredSince(traces, startOfLocalDay(nowMsecsUtc)));
}

int ReviewQueue::firstAnsweredSince(const MemoryTraceTable& traces, std::int64_t sinceMsecsUtc) {
    return static_cast<int>(
        std::count_if(traces.cbegin(), traces.cend(), [&](const MemoryTrace& t) {
            return t.answers > 0 && t.firstMsecsUtc >= sinceMsecsUtc;
        }));
}

std::int64_t ReviewQueue::startOfLocalDay(std::int64_t msecsUtc) {
    return QDateTime::fromMSecsSinceEpoch(msecsUtc).date().startOfDay().toMSecsSinceEpoch();
}

std::optional<int> ReviewQueue::next(std::int64_t nowMsecsUtc) {
    const bool missDue =
        !m_misses.isEmpty() && m_states.at(m_misses.constFirst()).dueMsecsUtc <= nowMsecsUtc;
    if (missDue || (m_waiting.isEmpty() && !m_misses.isEmpty()))
        m_asked = m_misses.takeFirst();
    else if (!m_waiting.isEmpty())
        m_asked = m_waiting.takeFirst();
    else
        return std::nullopt;
    return m_asked;
}

void ReviewQueue::noteVerdict(int row, bool correct, std::int64_t nowMsecsUtc) {
    answered(row, correct ? Rating::Good : Rating::Again, nowMsecsUtc);
}

void ReviewQueue::answered(int row, Rating rating, std::int64_t nowMsecsUtc) {
    if (row < 0 || row >= m_states.size())
        return;
    if (row == m_asked)
        m_asked = -1;
    m_waiting.removeOne(row);
    m_misses.removeOne(row);
    if (rating != Rating::Again)
        return;
    MemoryState& state = m_states[row];
    state = m_model.next(state, Rating::Again, nowMsecsUtc);
    const auto later = std::upper_bound(
        m_misses.begin(), m_misses.end(), state.dueMsecsUtc,
        [this](std::int64_t due, int other) { return due < m_states.at(other).dueMsecsUtc; });
    m_misses.insert(later, row);
}

int ReviewQueue::remaining() const {
    return static_cast<int>(m_waiting.size() + m_misses.size()) + (m_asked >= 0 ? 1 : 0);
}
