#pragma once

#include "core/data/Point.h"

#include <QList>
#include <QPointF>
#include <QSize>

#include <optional>

// How one press on the map was judged.
struct LocateVerdict {
    bool correct = false;
    // From the press to the asked point, in map pixels; nothing when the asked point has no
    // place on the map (X or Y not a number), and then the press is wrong.
    std::optional<double> distance;
};

// Judging a press on the map ("find it on the map"), without windows. A press is right when
// the asked point is the nearest point of the file to it (a tie counts as right) and it lies
// within the asked point's catchment radius: the distance from the asked point to its nearest
// other point at a different place, or, when no other point lies elsewhere, 5 % of the map's
// diagonal. So every point's catchment is its own neighbourhood, and small crowded places are
// judged as fairly as large lonely ones. Only points whose X and Y are numbers take part.
class LocateRule {
public:
    // Share of the map's diagonal used when the asked point has no neighbour elsewhere.
    static constexpr double kLonelyRadiusShare = 0.05;

    // Reads the positions once; `rows` are the file's points in the order questions refer to.
    LocateRule(const PointList& rows, QSize mapSize);

    QSize mapSize() const { return m_mapSize; }

    // Whether a press lies on the map at all (a press elsewhere is not judged, but ignored).
    bool isOnMap(const QPointF& press) const;

    // The place of a row on the map, or nothing when its X or Y is not a number.
    std::optional<QPointF> position(int row) const;

    // Judges a press for the row asked. The caller ignores presses off the map beforehand.
    LocateVerdict judge(int askedRow, const QPointF& press) const;

    // The row a press points at: the nearest point (the earlier row on a tie) when the press
    // lies within its catchment radius, the same rule that judges a press; else nothing.
    std::optional<int> nearestRow(const QPointF& press) const;

private:
    // The catchment radius of a row with a place on the map, in map pixels.
    double catchmentRadius(int row) const;

    QSize m_mapSize;
    QList<std::optional<QPointF>> m_positions;
};
