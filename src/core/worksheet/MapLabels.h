#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the numbers go on a map page. Each point gets a circle; its label goes right beside the
// circle where it covers no other circle and no other label, farther away with a leader line
// where the neighbourhood is crowded, and only where nothing else is possible on top of
// something. Pure geometry in page units, so it is the same for the screen, paper and PDF.
namespace MapLabels {

struct Label {
    QRectF box;
    bool leader = false; // set apart from its circle: a line joins the two
};

// The circles' radius for these centres: `largest` unless two points are so close that their
// circles would touch, then smaller, but never below `smallest`.
qreal circleRadius(const QList<QPointF>& centres, qreal smallest, qreal largest);

// One label per centre, of the given size, inside `bounds` where it fits; `gap` keeps labels
// off the circles' edges. Labels are placed in list order, so earlier ones get the better
// places.
QList<Label> place(const QList<QPointF>& centres, const QList<QSizeF>& sizes, qreal radius,
                   qreal gap, const QRectF& bounds);

// True when the rectangle and the disc share any area.
bool coversCircle(const QRectF& box, const QPointF& centre, qreal radius);

} // namespace MapLabels
