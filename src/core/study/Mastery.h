#pragma once

#include "core/data/Point.h"
#include "core/memory/Fsrs.h"
#include "core/record/StudyRecord.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>

// The mastery map: each point of the open file as a coloured dot by how likely it is to be
// recalled now. The palette runs from dark blue (forgotten) through grey to yellow (sure), which
// reads the same with red-green colour blindness; a point never asked is a pale grey of its
// own, outside the palette.
namespace Mastery {

// The palette's steps: the recall is rounded to one of them, so that the dots share a few
// pictures.
constexpr int kSteps = 256;

QColor neverAskedColour();
// The colour for a recall from 0 to 1 (kept within; not a number is 0).
QColor colourFor(double recall);

// The recall at `atMsecsUtc`; nothing for a point never answered.
std::optional<double> recall(const Fsrs& model, const MemoryState* state, std::int64_t atMsecsUtc);

// When a point is due again, as of `now` (the date in now's time zone): "今日", "12月10日",
// "2031年4月1日" in another year, "期限切れ (12月1日)" for a day already gone.
QString dueText(std::int64_t dueMsecsUtc, const QDateTime& now);

// "東京: 5回中 3回正解、連続 2回" and, with a memory state, a second line "想起率 87%、次の復習:
// 12月10日"; "東京: 未出題" for a point never asked.
QString tooltip(const Point& point, const PointStats* stats, const MemoryState* state,
                const Fsrs& model, const QDateTime& now);

struct Dot {
    int row = -1;
    QPointF centre; // in map pixels
    QColor colour;
};

// One dot per point whose X and Y are numbers, in table order, coloured by its recall at
// `atMsecsUtc`.
QList<Dot> dots(const PointList& rows, const MemoryStateTable& states, const Fsrs& model,
                std::int64_t atMsecsUtc);

} // namespace Mastery
