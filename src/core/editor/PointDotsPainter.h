#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>

#include <array>

class PointDots;
class QPainter;

// Draws a dot on every point with its row number beside it (1 for the first row), for a map
// shown at `zoom` and scrolled by `scroll`: a map position p lies at (p + ½) × zoom − scroll in
// the view, so a dot sits on the centre of its map pixel, where the marker's centre is. Dots
// and numbers keep their size in logical pixels at every zoom.
//
// Where points crowd (a whole country's towns at a small zoom), what could not be told apart is
// left out: one dot per two-pixel cell, and once the view holds more than kAllNumbersUpTo dots,
// one number per cell of a number's size, the lower row first. The cells are fixed to the
// zoomed map, not to the part being painted, so a partial repaint draws exactly what a full one
// draws there. The cost of a frame follows the points in the part painted.
class PointDotsPainter {
public:
    static constexpr int kDotSize = 7; // logical pixels across
    // Up to this many dots in the view, every one has its number.
    static constexpr int kAllNumbersUpTo = 300;

    // The map position under a view position (the inverse of the placement above).
    static QPointF toMap(const QPointF& view, qreal zoom, const QPointF& scroll);
    static QPointF toView(const QPointF& map, qreal zoom, const QPointF& scroll);
    // The row whose dot is under the view position `view` (within a few pixels), or -1.
    static int rowAt(const PointDots& dots, qreal zoom, const QPointF& scroll, const QPointF& view);

    // Paints the part `exposed` of a view of `viewSize` (view coordinates, logical pixels).
    void paint(QPainter& painter, const PointDots& dots, qreal zoom, const QPointF& scroll,
               const QRectF& exposed, const QSizeF& viewSize);

private:
    void makeSprites(qreal devicePixelRatio);

    qreal m_spriteRatio = 0;
    QImage m_dot;
    QImage m_draggedDot;
    std::array<QImage, 10> m_digits;
    QSizeF m_digitSize; // logical pixels
};
