#include "core/study/MasteryOverlay.h"

#include "core/platform/MapTransform.h"
#include "core/quiz/QuizPlacement.h"

#include <QPainter>

namespace {

QPointF centreOf(const QPointF& markerTopLeft) {
    return markerTopLeft + QPointF(QuizPlacement::kMarkerOffset, QuizPlacement::kMarkerOffset);
}

} // namespace

void MasteryOverlay::setPoints(const PointList& rows, const PointStatsTable& record) {
    m_rows = rows;
    m_record = record;
    m_dots.setDots(Mastery::dots(rows, record));
}

void MasteryOverlay::paint(QPainter& painter, const MapTransform& transform,
                           const QRectF& visibleMap) const {
    m_dots.paint(
        painter, [&transform](const QPointF& map) { return transform.toView(map); }, visibleMap);
}

int MasteryOverlay::itemAt(const MapTransform& transform, const QPointF& viewPos) const {
    return m_dots.rowAt([&transform](const QPointF& map) { return transform.toView(map); },
                        viewPos);
}

QString MasteryOverlay::toolTip(int item) const {
    if (item < 0 || item >= m_rows.size())
        return QString();
    const Point& point = m_rows.at(item);
    const auto it = m_record.constFind(PointIdentity::of(point));
    return Mastery::tooltip(point, it == m_record.cend() ? nullptr : &it.value());
}

void MeantPointRing::show(const Point& point) {
    const std::optional<QPointF> topLeft = QuizPlacement::markerTopLeft(point);
    m_centre = topLeft ? std::optional<QPointF>(centreOf(*topLeft)) : std::nullopt;
    m_text = point[ColumnAnswer1];
}

void MeantPointRing::paint(QPainter& painter, const MapTransform& transform,
                           const QRectF& visibleMap) const {
    Q_UNUSED(visibleMap);
    if (!m_centre)
        return;
    const QPointF centre = transform.toView(*m_centre);
    const qreal radius = kDiameter / 2.0;
    painter.setRenderHint(QPainter::Antialiasing);
    // Magenta: none of the marker's blinking colours, and outside the mastery dots' red to green.
    const QColor ring(200, 0, 200);
    painter.setPen(QPen(ring, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    // The answer on a white plate, so that it reads on any map.
    const QFontMetrics metrics = painter.fontMetrics();
    const QRectF box = QRectF(centre.x() + radius + 3, centre.y() - metrics.height() / 2.0,
                              metrics.horizontalAdvance(m_text) + 6, metrics.height())
                           .adjusted(0, -1, 0, 1);
    painter.setPen(ring);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, m_text);
}
