#pragma once

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>

// Where a map lies in a view that shows it zoomed and scrolled.
//
// View coordinates are the view's logical pixels from the top-left corner of its inside area;
// map coordinates are map pixels from the map's top-left corner. A zoom of 1 is one logical
// pixel per map pixel (two device pixels on a screen with a device pixel ratio of 2). The
// zoomed map starts at the view's top-left corner and is moved up and left by the scroll
// offset, in whole logical pixels as scroll bars count them; a map smaller than the view keeps
// that corner, so at zoom 1 and scroll 0 a view position is the map position.
//
// A value type: the derived transforms return copies with the scroll kept in range.
class MapTransform {
public:
    static constexpr qreal kMaxZoom = 8.0;
    // The lowest zoom is this, or the fitted zoom when that is lower still.
    static constexpr qreal kMinZoomAtMost = 0.1;

    MapTransform() = default;
    MapTransform(QSize mapSize, QSize viewSize, qreal zoom = 1.0, QPoint scroll = QPoint(),
                 qreal devicePixelRatio = 1.0);

    QSize mapSize() const { return m_mapSize; }
    QSize viewSize() const { return m_viewSize; }
    qreal zoom() const { return m_zoom; }
    QPoint scroll() const { return m_scroll; }
    qreal devicePixelRatio() const { return m_devicePixelRatio; }
    // Device pixels per map pixel: what decides how the map is drawn.
    qreal deviceScale() const { return m_zoom * m_devicePixelRatio; }

    QPointF toMap(const QPointF& view) const;
    QPointF toView(const QPointF& map) const;
    QRectF toMap(const QRectF& view) const;
    QRectF toView(const QRectF& map) const;
    // The map pixel under a position: floor(device / (zoom * ratio)) after the scroll, where
    // `device` is the position in device pixels from the view's top-left corner (outside the
    // map when the position is). Every press and pointer move is judged by this one rule.
    QPoint mapPixelAtDevice(const QPointF& device) const;
    // The same for a view position in logical pixels, fractions kept (a press on the second
    // device pixel of a logical pixel at ratio 2 is half a logical pixel in).
    QPoint mapPixelAt(const QPointF& view) const;
    // The part of the map inside the view, in map pixels; empty when there is none.
    QRectF visibleMapRect() const;
    // The top-left view pixel of a marker `size` logical pixels square centred on the map
    // pixel `point` (fractions allowed), to the nearest pixel; at zoom 1 and scroll 0 a whole
    // point gives the point less size / 2, rounded down (9 pixels: X - 4, Y - 4).
    QPoint markerTopLeft(const QPointF& point, int size) const;

    // The whole zoomed map in logical pixels, rounded up.
    QSize zoomedMapSize() const;
    QPoint maxScroll() const;
    QPoint clampScroll(const QPoint& scroll) const;

    qreal fitZoom() const { return fitZoom(m_mapSize, m_viewSize); }
    qreal minZoom() const { return minZoom(m_mapSize, m_viewSize); }
    qreal clampZoom(qreal zoom) const;
    // The next zoom up or down the ladder of steps, kept within the limits (so the same zoom
    // when already at a limit).
    qreal zoomInStep() const;
    qreal zoomOutStep() const;

    MapTransform withScroll(const QPoint& scroll) const;
    MapTransform withViewSize(const QSize& viewSize) const;
    // The zoom changed so that the map point under `viewAnchor` stays under it.
    MapTransform zoomedAbout(qreal zoom, const QPointF& viewAnchor) const;
    // The scroll that keeps the centre of the map pixel `point` at least `margin` logical
    // pixels inside every edge, moving as little as possible; centred on an axis where the
    // view is too small for the margin; always within range.
    QPoint scrollToShow(const QPointF& point, int margin) const;

    // The zoom at which the whole map just fits the view (at most kMaxZoom; 1 with no map).
    static qreal fitZoom(QSize mapSize, QSize viewSize);
    static qreal minZoom(QSize mapSize, QSize viewSize);
    // A newly opened map: fitted when it is larger than the view, else at its natural size.
    static qreal openingZoom(QSize mapSize, QSize viewSize);

private:
    QSize m_mapSize;
    QSize m_viewSize;
    qreal m_zoom = 1.0;
    QPoint m_scroll;
    qreal m_devicePixelRatio = 1.0;
};
