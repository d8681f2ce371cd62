#include "core/study/MasteryOverlay.h"

#include "core/platform/MapTransform.h"
#include "core/quiz/QuizPlacement.h"

#include <QPainter>

#include <algorithm>

namespace {

QPointF centreOf(const QPointF& markerTopLeft) {
    return markerTopLeft + QPointF(QuizPlacement::kMarkerOffset, QuizPlacement::kMarkerOffset);
}

} // namespace

void MasteryOverlay::setSnapshot(MasterySnapshot snapshot) {
    m_snapshot = std::move(snapshot);
}

void MasteryOverlay::paint(QPainter& painter, const MapTransform& transform,
                           const QRectF& visibleMap) const {
    m_snapshot.dots.paint(
        painter, [&transform](const QPointF& map) { return transform.toView(map); }, visibleMap);
    if (m_snapshot.dots.dots().isEmpty())
        m_legend = QRectF();
    else
        paintLegend(painter, transform.viewSize());
}

void MasteryOverlay::paintLegend(QPainter& painter, const QSize& viewSize) const {
    constexpr int kMargin = 8;    // from the view's edges
    constexpr int kPad = 6;       // inside the plate
    constexpr int kGap = 4;       // between a text and what it names
    constexpr int kBarWidth = 96; // the palette, one colour per pixel column
    constexpr int kBarHeight = 10;
    const QString title = QStringLiteral("想起率");
    const QString low = QStringLiteral("0%");
    const QString high = QStringLiteral("100%");
    const QString never = QStringLiteral("未出題");
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = std::max(metrics.height(), MasteryDots::kDiameter);
    const int width = kPad + metrics.horizontalAdvance(title) + 2 * kGap +
                      metrics.horizontalAdvance(low) + kGap + kBarWidth + kGap +
                      metrics.horizontalAdvance(high) + 3 * kGap + MasteryDots::kDiameter + kGap +
                      metrics.horizontalAdvance(never) + kPad;
    const QRect plate(viewSize.width() - kMargin - width,
                      viewSize.height() - kMargin - lineHeight - 2 * kPad, width,
                      lineHeight + 2 * kPad);
    m_legend = plate.adjusted(-1, -1, 1, 1); // the antialiased rim

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(120, 120, 120));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRoundedRect(QRectF(plate).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const int middle = plate.top() + kPad + lineHeight / 2;
    const auto text = [&](int left, const QString& words) {
        const int advance = metrics.horizontalAdvance(words);
        painter.drawText(QRect(left, plate.top() + kPad, advance, lineHeight), Qt::AlignCenter,
                         words);
        return left + advance;
    };
    painter.setPen(Qt::black);
    int x = text(text(plate.left() + kPad, title) + 2 * kGap, low) + kGap;
    const QRect bar(x, middle - kBarHeight / 2, kBarWidth, kBarHeight);
    for (int i = 0; i < kBarWidth; ++i)
        painter.fillRect(QRect(bar.left() + i, bar.top(), 1, bar.height()),
                         Mastery::colourFor(static_cast<double>(i) / (kBarWidth - 1)));
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar.adjusted(-1, -1, 0, 0)); // around the colours, not over them
    painter.setPen(Qt::black);
    x = text(bar.right() + 1 + kGap, high) + 3 * kGap;
    MasteryDots::drawDot(painter, QPointF(x, middle - MasteryDots::kDiameter / 2),
                         Mastery::neverAskedColour());
    painter.setPen(Qt::black);
    text(x + MasteryDots::kDiameter + kGap, never);
}

QRectF MasteryOverlay::pinnedRect(const MapTransform& transform) const {
    Q_UNUSED(transform);
    return m_legend;
}

int MasteryOverlay::itemAt(const MapTransform& transform, const QPointF& viewPos) const {
    return m_snapshot.dots.rowAt([&transform](const QPointF& map) { return transform.toView(map); },
                                 viewPos);
}

QString MasteryOverlay::toolTip(int item) const {
    const MasterySnapshot& s = m_snapshot;
    if (item < 0 || item >= s.rows.size())
        return QString();
    const Point& point = s.rows.at(item);
    const PointIdentity id = PointIdentity::of(point);
    const auto stats = s.stats.constFind(id);
    const auto state = s.states.constFind(id);
    return Mastery::tooltip(point, stats == s.stats.cend() ? nullptr : &stats.value(),
                            state == s.states.cend() ? nullptr : &state.value(), s.model, s.at);
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
    // Magenta: none of the marker's blinking colours, and outside the mastery dots' blue to yellow.
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
