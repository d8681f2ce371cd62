#pragma once

#include "core/data/Point.h"

#include <QList>
#include <QPointF>
#include <QSize>
#include <QStringList>

#include <optional>

// Which of the file's points the explored map shows: those of one hint or all, and of those,
// the ones with a place on the map apart from the ones without (X or Y not a number, or off
// the map), which are listed instead.
namespace ExplorePoints {

// Every hint once, in the order of the file: the choices of the filter.
QStringList hints(const PointList& rows);

// The point's place on a map of that size (the centre of its pixel is the point plus half a
// pixel), or nothing.
std::optional<QPointF> place(const Point& point, QSize mapSize);

struct Split {
    QList<int> onMap;  // rows, in file order
    QList<int> offMap; // rows, in file order
};
// The rows of `hint` (all rows without one), split by whether they have a place on the map.
Split split(const PointList& rows, QSize mapSize, const std::optional<QString>& hint);

// What the panel shows of a point: its number in the file (1-based), hint, answers and info,
// one per line.
QString details(const Point& point, int row);

} // namespace ExplorePoints
