#pragma once

#include "core/study/Mastery.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>

#include <functional>

class QPainter;

// Draws the mastery map's dots fast enough for 32,767 points in a frame: each colour is drawn
// once as a small picture, then copied onto every point of that colour. The dots keep their
// size on the screen at every zoom.
class MasteryDots {
public:
    // Diameter in logical pixels of the view, like the quiz's marker.
    static constexpr int kDiameter = 9;

    // Maps a position on the map (map pixels) to the view (logical pixels).
    using ToView = std::function<QPointF(const QPointF&)>;

    // One dot, kDiameter across from `topLeft`, as every dot is drawn.
    static void drawDot(QPainter& painter, const QPointF& topLeft, const QColor& colour);

    void setDots(QList<Mastery::Dot> dots);
    const QList<Mastery::Dot>& dots() const { return m_dots; }

    // Paints the dots that show in the view part of `visibleMap` (map pixels), at the painter's
    // device pixel ratio.
    void paint(QPainter& painter, const ToView& toView, const QRectF& visibleMap) const;

    // The row of the dot under a view position (the last drawn, so the one on top), or -1.
    int rowAt(const ToView& toView, const QPointF& viewPos) const;

private:
    const QImage& sprite(QRgb colour, qreal devicePixelRatio) const;

    QList<Mastery::Dot> m_dots;
    mutable QHash<QPair<QRgb, qreal>, QImage> m_sprites;
};
