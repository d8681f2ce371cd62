#pragma once

#include "core/platform/MapOverlay.h"

#include <QLineF>

// A line between two map pixels, drawn through their centres, with a small ring at its start:
// where a press on the map landed and how far it was from where it should have been. Drawn
// dark with a light edge so it shows on any map, the same width at every zoom. A null line
// (no line, or both ends on one pixel, which the marker covers) draws nothing.
class MapLineOverlay : public MapOverlay {
public:
    static constexpr qreal kRingRadius = 4; // logical pixels

    const QLineF& line() const { return m_line; }
    // The owner asks the view to repaint afterwards.
    void setLine(const QLineF& line) { m_line = line; }

    void paint(QPainter& painter, const MapTransform& transform,
               const QRectF& visibleMap) const override;

private:
    QLineF m_line;
};
