#include "core/platform/MapLineOverlay.h"

#include "core/platform/MapTransform.h"

#include <QPainter>
#include <QPen>

void MapLineOverlay::paint(QPainter& painter, const MapTransform& transform,
                           const QRectF& visibleMap) const {
    if (m_line.isNull())
        return;
    // The ring and the pen reach a few logical pixels beyond the ends.
    const qreal margin = (kRingRadius + 3) / transform.zoom() + 1;
    const QRectF reach =
        QRectF(m_line.p1(), m_line.p2()).normalized().adjusted(-margin, -margin, margin, margin);
    if (!reach.intersects(visibleMap))
        return;
    const QPointF centre(0.5, 0.5);
    const QPointF from = transform.toView(m_line.p1() + centre);
    const QPointF to = transform.toView(m_line.p2() + centre);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // A light edge first, then the dark line on it.
    for (const auto& [colour, width] :
         {std::pair{QColor(Qt::white), 4.0}, {QColor(Qt::black), 2.0}}) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(from, to);
        painter.drawEllipse(from, kRingRadius, kRingRadius);
    }
}
