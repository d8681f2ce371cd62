#pragma once

#include "core/data/Point.h"
#include "core/quiz/RandomSource.h"
#include "core/record/StudyRecord.h"

#include <QList>

#include <cstdint>

// The rule of the weak-points-first mode: which row comes next, from the study record and
// from this run's verdicts.
//
// - A point missed just now comes back by the third question after the miss (at most two
//   others in between; sooner when the draw below picks it, never as the very next question),
//   again and again until it is answered right. Such returns take at most two questions in a
//   row, so the other points keep coming too; a return that has to wait for that comes at the
//   next free turn.
// - Otherwise a point is drawn at random with a weight that grows with how often it has been
//   missed and how seldom it has been asked, and halves with each right answer in a row (up to
//   four halvings):  weight = (2 * (misses + 1) / (asked + 2) + 1 / (asked + 1)) / 2^min(streak,
//   4). A point never asked weighs 2, one missed three times out of three 1.85, one right the last
//   five times 0.03.
// - The question just asked is not drawn again at once, unless it is the only point.
//
// Rows that share an identity (the same answers and position) are counted separately.
class WeakFirstDraw {
public:
    static constexpr int kComeBackAfter = 3;
    static constexpr int kMaxComeBacksInARow = 2;
    static constexpr int kMaxHalvings = 4;

    // `record`: how each point fared before this run, by identity; points absent from it were
    // never asked.
    WeakFirstDraw(const PointList& rows, const PointStatsTable& record);

    // The row of the next question; -1 for an empty table.
    int next(RandomSource& random);

    // The verdict on the question last drawn.
    void noteVerdict(int row, bool correct);

    // The counts a row has now (record plus this run), and its weight.
    const PointStats& stats(int row) const { return m_stats.at(row); }
    static double weight(const PointStats& stats);

private:
    struct ComeBack {
        int row;
        std::int64_t due; // the question number it is asked at
    };

    void forgetComeBack(int row);

    QList<PointStats> m_stats;
    QList<double> m_weights;
    QList<ComeBack> m_comeBacks; // ascending by due
    std::int64_t m_questionNo = 0;
    int m_lastRow = -1;
    int m_comeBacksInARow = 0;
};
