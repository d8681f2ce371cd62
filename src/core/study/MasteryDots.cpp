#include "core/study/MasteryDots.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

void MasteryDots::setDots(QList<Mastery::Dot> dots) {
    // Grouped by colour, so painting switches pictures a few times, not at every dot.
    std::stable_sort(dots.begin(), dots.end(), [](const Mastery::Dot& a, const Mastery::Dot& b) {
        return a.colour.rgba() < b.colour.rgba();
    });
    m_dots = std::move(dots);
}

const QImage& MasteryDots::sprite(QRgb colour, qreal devicePixelRatio) const {
    const auto key = qMakePair(colour, devicePixelRatio);
    auto it = m_sprites.find(key);
    if (it != m_sprites.end())
        return *it;
    const int side = static_cast<int>(std::ceil(kDiameter * devicePixelRatio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawDot(painter, QPointF(0, 0), QColor(colour));
    painter.end();
    return *m_sprites.insert(key, image);
}

void MasteryDots::drawDot(QPainter& painter, const QPointF& topLeft, const QColor& colour) {
    painter.setRenderHint(QPainter::Antialiasing);
    // A dark rim keeps a pale dot visible on a pale map.
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(topLeft + QPointF(0.5, 0.5), QSizeF(kDiameter - 1, kDiameter - 1)));
}

void MasteryDots::paint(QPainter& painter, const ToView& toView, const QRectF& visibleMap) const {
    if (m_dots.isEmpty())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const qreal half = kDiameter / 2.0;
    // Culled in the view, where a dot's size is known at any zoom.
    const QRectF shown = QRectF(toView(visibleMap.topLeft()), toView(visibleMap.bottomRight()))
                             .normalized()
                             .adjusted(-half, -half, half, half);
    QRgb lastColour = 0;
    const QImage* image = nullptr;
    for (const Mastery::Dot& dot : m_dots) {
        const QPointF centre = toView(dot.centre);
        if (!shown.contains(centre))
            continue;
        const QRgb colour = dot.colour.rgba();
        if (!image || colour != lastColour) {
            image = &sprite(colour, ratio);
            lastColour = colour;
        }
        // Whole device pixels: a copy, not a resampling.
        const QPointF topLeft(std::round((centre.x() - half) * ratio) / ratio,
                              std::round((centre.y() - half) * ratio) / ratio);
        painter.drawImage(topLeft, *image);
    }
}

int MasteryDots::rowAt(const ToView& toView, const QPointF& viewPos) const {
    const qreal radius = kDiameter / 2.0;
    for (qsizetype i = m_dots.size() - 1; i >= 0; --i) {
        const QPointF d = toView(m_dots.at(i).centre) - viewPos;
        if (d.x() * d.x() + d.y() * d.y() <= radius * radius)
            return m_dots.at(i).row;
    }
    return -1;
}
