#pragma once

#include "core/platform/MapPyramid.h"
#include "core/platform/MapTransform.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>

class MapOverlay;
class QMouseEvent;
class QTimer;

// The marker (`Shape1`): a 9 x 9-pixel circle with a solid fill, placed by its top-left corner
// in map pixels at zoom 1 (fractions allowed, as typed coordinates may have them), and centred
// on the same map point at every other zoom, 9 logical pixels wide whatever the zoom.
class MapMarker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 9;

    // The blink steps the fill through black, white, red, blue, yellow and back to black; a
    // colour outside that cycle stays as it is (so a marker can be stopped on purpose).
    static QColor nextBlinkColor(const QColor& current);

    explicit MapMarker(QWidget* parent);

    QPointF topLeft() const { return m_topLeft; }
    // The map point the marker is centred on.
    QPointF point() const { return m_topLeft + QPointF(kSize / 2, kSize / 2); }
    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor& color);

    // Called by MapView; use MapView::placeMarker instead.
    void setTopLeft(const QPointF& topLeft) { m_topLeft = topLeft; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointF m_topLeft;
    QColor m_fill = Qt::red;
};

// The map view (`Picture1`): shows a map zoomed and scrolled, with scroll bars when the zoomed
// map is larger than the view, and reports pointer moves and presses in whole map pixels at
// every zoom. At zoom 1 and scroll 0 the map lies at its natural size from the inside top-left
// corner, one logical unit per map pixel.
//
// The wheel scrolls (sideways with Shift), Ctrl + wheel zooms about the pointer, dragging with
// the middle button pans; a middle press released without moving is reported as a press on
// release. Overlays are painted above the map and below the marker, which blinks for as long
// as the view exists, one step every kBlinkIntervalMs, shown or not.
//
// A new map opens at the fitted zoom when it is larger than the view, else at 100 %; until the
// user zooms or scrolls, a resized view applies that rule again to its new size.
class MapView : public QAbstractScrollArea {
    Q_OBJECT
    // For benchmarks: the map's reduced copies have all been made.
    Q_PROPERTY(bool mapCopiesReady READ mapCopiesReady)
public:
    static constexpr int kBlinkIntervalMs = 300;
    // How far inside the view's edges a followed marker's point is kept, in logical pixels.
    static constexpr int kFollowMargin = 48;

    explicit MapView(QWidget* parent = nullptr);

    void setMap(const QImage& map);
    void clearMap();
    bool hasMap() const { return !m_pyramid.isNull(); }
    QSize mapSize() const { return m_pyramid.map().size(); }
    bool mapCopiesReady() const { return m_pyramid.hasAllCopies(); }

    // The view's zoom and scroll as they are now (view coordinates are the viewport's).
    MapTransform transform() const;
    qreal zoom() const { return transform().zoom(); }
    // The zoom and scroll as the user left them, and whether the opening rule still decides
    // them: what a mode that changes the view gives back when it ends. Restored on a view of
    // the same size, the view is exactly as it was.
    struct SavedView {
        MapTransform transform;
        bool opening = false;
    };
    SavedView savedView() const { return {transform(), m_opening}; }
    void restoreView(const SavedView& saved);

    MapMarker* marker() const { return m_marker; }
    // Places the marker so that its top-left corner is at `topLeft` at zoom 1 (map pixels):
    // the marker's point is topLeft + (4, 4).
    void placeMarker(const QPointF& topLeft);
    // Places the marker centred on the point.
    void placeMarkerOnPoint(const QPointF& point);
    void setMarkerVisible(bool visible);
    bool isMarkerShown() const { return m_markerShown; }
    // Scrolls, if need be, so that the marker lies kFollowMargin inside the view's edges (as
    // far as the map's own edges allow).
    void followMarker();
    // Where the marker lies on the screen (global pixels), whether it is shown or not.
    QRect markerOnScreen() const;

    // Overlays are painted in the order added; the view does not own them.
    void addOverlay(const MapOverlay* overlay);
    void removeOverlay(const MapOverlay* overlay);
    // Repaints the overlays after their data changed.
    void updateOverlays() { viewport()->update(); }
    struct OverlayItem {
        const MapOverlay* overlay = nullptr;
        int item = -1;
    };
    // The item under a viewport position, of the overlay added last that has one there.
    OverlayItem overlayItemAt(const QPointF& viewportPos) const;

    // Where a map position lies in this widget's coordinates.
    QPointF fromMap(const QPointF& mapPos) const;

    // Where a mouse event on the viewport happened, in viewport coordinates with the fraction
    // the window system gave: Qt rounds an event's own position to whole logical pixels, which
    // at a pixel ratio above 1 moves half the device pixels onto the next logical pixel.
    static QPointF pointerPosition(const QMouseEvent& event);
    // The map pixel under a mouse event on the viewport: the rule for every press and move, in
    // this view and in those who filter its viewport's events.
    QPoint mapPixelUnder(const QMouseEvent& event) const;

public slots:
    void zoomIn();
    void zoomOut();
    void zoomToActualSize();
    void zoomToFit();
    // Zooms so that the map point under `viewportAnchor` stays there (within the limits).
    void zoomAbout(qreal zoom, const QPointF& viewportAnchor);

    // What both windows' position panels show for a map pixel that pointerMoved() reported:
    // "X=128 Y=45".
    static QString positionText(QPointF mapPixel);

signals:
    void pointerMoved(QPointF mapPos);
    void pressed(QPointF mapPos, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A press that follows the last within the double-click time arrives as a double-click:
    // it is a press all the same.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPointF viewportCentre() const;
    // Makes `next` the view's zoom and scroll.
    void apply(const MapTransform& next);
    void updateScrollBars();
    void updateMarkerGeometry();
    void scrollBy(const QPoint& delta);
    void blink();

    MapPyramid m_pyramid;
    qreal m_zoom = 1.0;
    // The viewport's size with the scroll bars that the zoom needs (ahead of their layout).
    QSize m_viewSize;
    // The opening rule still decides the zoom: no zoom or scroll by the user since setMap().
    bool m_opening = false;
    bool m_applying = false;
    QList<const MapOverlay*> m_overlays;

    MapMarker* m_marker;
    QTimer* m_blinkTimer;
    bool m_markerShown = false;

    // The middle button: pressed at m_middlePress, panning once dragged far enough.
    bool m_middleDown = false;
    bool m_panning = false;
    QPointF m_middlePress;
    QPoint m_middlePixel; // the map pixel pressed, reported on release
    QPointF m_lastPan;
    // Ctrl + wheel turns not yet worth a zoom step (fine-grained wheels and touchpads).
    int m_zoomWheel = 0;
};
