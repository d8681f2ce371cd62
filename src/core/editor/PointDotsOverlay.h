#pragma once

#include "core/editor/PointDotsPainter.h"
#include "core/platform/MapOverlay.h"

class PointDots;

// Every point of the table as a dot with its row number, on the editor's map view: painted
// above the map and below the blinking marker, following zoom and scrolling; the dot under the
// pointer is an item (its row), whose tooltip shows its hint and answers.
class PointDotsOverlay : public MapOverlay {
public:
    explicit PointDotsOverlay(const PointDots& dots);

    // Dots and numbers are drawn wherever they lie in the view, off the map too (a point may lie
    // beyond it), so `visibleMap` is not used.
    void paint(QPainter& painter, const MapTransform& transform,
               const QRectF& visibleMap) const override;
    int itemAt(const MapTransform& transform, const QPointF& viewPos) const override;
    QString toolTip(int item) const override;

private:
    const PointDots& m_dots;
    mutable PointDotsPainter m_painter; // keeps its pictures of a dot and the digits
};
