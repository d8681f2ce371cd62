#include "core/editor/PointDotsOverlay.h"

#include "core/editor/PointDots.h"
#include "core/platform/MapTransform.h"

#include <QPainter>

PointDotsOverlay::PointDotsOverlay(const PointDots& dots)
    : m_dots(dots) {}

void PointDotsOverlay::paint(QPainter& painter, const MapTransform& transform,
                             const QRectF&) const {
    const QRectF view(QPointF(0, 0), QSizeF(transform.viewSize()));
    const QRectF exposed = painter.hasClipping() ? painter.clipBoundingRect() : view;
    m_painter.paint(painter, m_dots, transform.zoom(), QPointF(transform.scroll()), exposed,
                    view.size());
}

int PointDotsOverlay::itemAt(const MapTransform& transform, const QPointF& viewPos) const {
    return PointDotsPainter::rowAt(m_dots, transform.zoom(), QPointF(transform.scroll()), viewPos);
}

QString PointDotsOverlay::toolTip(int item) const {
    return m_dots.toolTip(item);
}
