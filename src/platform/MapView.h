#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QPointF>

class QTimer;

// The marker (`Shape1`): a 9 x 9 map-pixel circle with a solid fill, placed by its top-left
// corner in map pixels (fractions allowed, as typed coordinates may have them).
class MapMarker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 9;

    // The blink steps the fill through black, white, red, blue, yellow and back to black; a
    // colour outside that cycle stays as it is (so a marker can be stopped on purpose).
    static QColor nextBlinkColor(const QColor& current);

    explicit MapMarker(QWidget* parent);

    QPointF topLeft() const { return m_topLeft; }
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

// The map view (`Picture1`): shows a map at its natural size from the top-left corner of its
// inside area, one unit per map pixel whatever the screen's pixel ratio, and reports pointer
// moves and presses in map pixels. Its marker blinks for as long as the view exists, one step
// every kBlinkIntervalMs, shown or not.
class MapView : public QFrame {
    Q_OBJECT
public:
    static constexpr int kBlinkIntervalMs = 300;

    explicit MapView(QWidget* parent = nullptr);

    void setMap(const QImage& map);
    void clearMap();
    bool hasMap() const { return !m_map.isNull(); }
    QSize mapSize() const { return m_mapSize; }

    MapMarker* marker() const { return m_marker; }
    // Places the marker so that its top-left corner is at `topLeft` (map pixels).
    void placeMarker(const QPointF& topLeft);
    // Places the marker centred on the point (x - 4, y - 4).
    void placeMarkerOnPoint(const QPointF& point);
    void setMarkerVisible(bool visible);
    bool isMarkerShown() const { return m_markerShown; }
    // Where the marker lies on the screen (global pixels, fractions rounded outward), from
    // its place on the map whether it is shown or not.
    QRect markerOnScreen() const;

    // Map coordinates of a position in widget coordinates.
    QPointF toMap(const QPointF& widgetPos) const;
    // Widget coordinates of a map position.
    QPointF fromMap(const QPointF& mapPos) const;

signals:
    void pointerMoved(QPointF mapPos);
    void pressed(QPointF mapPos, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMarkerGeometry();
    void blink();

    QPixmap m_map;
    QSize m_mapSize;
    MapMarker* m_marker;
    QTimer* m_blinkTimer;
    bool m_markerShown = false;
};
