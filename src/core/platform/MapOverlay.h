#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

class MapTransform;
class QPainter;

// Something drawn on the map: dots on points, a ring with a text beside it, a line. A map view
// paints its overlays above the map, in the order they were added, and below its blinking
// marker; it asks them what lies under the pointer for tooltips and clicks, the last added
// first. An overlay only draws and answers; its owner changes its data and asks the view to
// repaint.
class MapOverlay {
public:
    virtual ~MapOverlay() = default;

    // Paints in view coordinates (logical pixels of the view; `transform` places every map
    // position, at the view's zoom and scroll). `visibleMap` is the part of the map being
    // painted, in map pixels: what is drawn wholly outside it need not be painted. The painter
    // is clipped to the part of the view being painted; its state is restored afterwards.
    virtual void paint(QPainter& painter, const MapTransform& transform,
                       const QRectF& visibleMap) const = 0;

    // The item under a view position: a number of the overlay's own choosing (a row, say), or
    // -1 when there is none.
    virtual int itemAt(const MapTransform& transform, const QPointF& viewPos) const {
        Q_UNUSED(transform);
        Q_UNUSED(viewPos);
        return -1;
    }
    // The tooltip of an item that itemAt() found; empty for none.
    virtual QString toolTip(int item) const {
        Q_UNUSED(item);
        return QString();
    }

    // The part of the view drawn in place whatever the scroll (a legend in a corner), in view
    // coordinates; empty when everything moves with the map. The view repaints it, and the
    // place where the scrolled copy of it went, after each scroll.
    virtual QRectF pinnedRect(const MapTransform& transform) const {
        Q_UNUSED(transform);
        return QRectF();
    }
};
