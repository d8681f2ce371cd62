#include "core/quiz/WeakFirstDraw.h"

#include <algorithm>
#include <cmath>

WeakFirstDraw::WeakFirstDraw(const PointList& rows, const PointStatsTable& record) {
    m_stats.reserve(rows.size());
    m_weights.reserve(rows.size());
    for (const Point& point : rows) {
        m_stats.append(record.value(PointIdentity::of(point)));
        m_weights.append(weight(m_stats.constLast()));
    }
}

double WeakFirstDraw::weight(const PointStats& stats) {
    const double asked = static_cast<double>(std::max<std::int64_t>(stats.asked, 0));
    const double misses = std::clamp(static_cast<double>(stats.asked - stats.right), 0.0, asked);
    const double missRate = (misses + 1) / (asked + 2);
    const double novelty = 1 / (asked + 1);
    const auto halvings = static_cast<int>(std::clamp<std::int64_t>(stats.streak, 0, kMaxHalvings));
    return (2 * missRate + novelty) / double(1 << halvings);
}

void WeakFirstDraw::forgetComeBack(int row) {
    m_comeBacks.removeIf([row](const ComeBack& c) { return c.row == row; });
}

int WeakFirstDraw::next(RandomSource& random) {
    const auto count = static_cast<int>(m_stats.size());
    if (count == 0)
        return -1;
    ++m_questionNo;
    int row = -1;
    const bool comeBack = m_comeBacksInARow < kMaxComeBacksInARow && !m_comeBacks.isEmpty() &&
                          m_comeBacks.constFirst().due <= m_questionNo;
    if (comeBack) {
        row = m_comeBacks.takeFirst().row;
    } else if (count == 1) {
        row = 0;
    } else {
        // Weighted draw over every row but the one just asked.
        double total = 0;
        for (int i = 0; i < count; ++i) {
            if (i != m_lastRow)
                total += m_weights.at(i);
        }
        double r = random.next();
        if (!(r >= 0.0) || r >= 1.0)
            r = 0.0;
        double target = r * total;
        for (int i = 0; i < count; ++i) {
            if (i == m_lastRow)
                continue;
            row = i; // the last candidate takes what rounding leaves over
            target -= m_weights.at(i);
            if (target < 0)
                break;
        }
    }
    // A point asked before its due turn needs no second turn.
    forgetComeBack(row);
    m_lastRow = row;
    m_comeBacksInARow = comeBack ? m_comeBacksInARow + 1 : 0;
    return row;
}

void WeakFirstDraw::noteVerdict(int row, bool correct) {
    if (row < 0 || row >= m_stats.size())
        return;
    PointStats& stats = m_stats[row];
    ++stats.asked;
    if (correct) {
        ++stats.right;
        ++stats.streak;
    } else {
        stats.streak = 0;
        forgetComeBack(row);
        // Due turns grow with the question number, so appending keeps the queue in order.
        m_comeBacks.append({row, m_questionNo + kComeBackAfter});
    }
    m_weights[row] = weight(stats);
}
