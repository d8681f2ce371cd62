#pragma once

#include "core/data/Point.h"
#include "core/record/StudyRecord.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

// The mastery map: each point of the open file as a coloured dot by its record. Grey for a
// point never asked; otherwise from red (mostly missed) to green (right the last several
// times), half by the share of right answers and half by the right answers in a row.
namespace Mastery {

// Right answers in a row that count as fully learnt.
constexpr int kLearntStreak = 3;

// 0 (never right) to 1 (all right and the last kLearntStreak right); nothing when never asked.
std::optional<double> level(const PointStats& stats);

QColor neverAskedColour();
// The colour for a level: hue from red (0) to green (1).
QColor colourFor(double level);
QColor colourFor(const PointStats* stats);

// "東京: 5回中 3回正解、連続 2回", or "東京: 未出題" for a point never asked.
QString tooltip(const Point& point, const PointStats* stats);

struct Dot {
    int row = -1;
    QPointF centre; // in map pixels
    QColor colour;
};

// One dot per point whose X and Y are numbers, in table order.
QList<Dot> dots(const PointList& rows, const PointStatsTable& record);

} // namespace Mastery
