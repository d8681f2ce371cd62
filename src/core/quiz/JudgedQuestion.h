#pragma once

#include "core/data/Point.h"
#include "core/record/StudyRecord.h"

#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>

// One question as it was judged: what the review lists and what the study record keeps.
struct JudgedQuestion {
    std::int64_t number = 0; // 1 for the first question asked
    int row = -1;            // row of the quiz's table
    Point point;
    QString typed;
    bool correct = false;
    double seconds = 0; // from the question shown to its judging
    std::int64_t judgedAtMsecsUtc = 0;
    QuizMode mode = QuizMode::Normal;
    AnswerMethod method = AnswerMethod::Typing;
    // A located answer: where the map was pressed and how far from the point, in map pixels
    // (no distance for a point without a place).
    std::optional<QPointF> press;
    std::optional<double> distance;

    Attempt attempt() const {
        Attempt attempt;
        attempt.whenMsecsUtc = judgedAtMsecsUtc;
        attempt.typed = typed;
        attempt.correct = correct;
        attempt.seconds = seconds;
        attempt.mode = mode;
        attempt.method = method;
        if (press) {
            attempt.pressX = press->x();
            attempt.pressY = press->y();
        }
        attempt.distance = distance;
        return attempt;
    }
};
