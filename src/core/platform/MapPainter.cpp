#include "core/platform/MapPainter.h"

#include "core/platform/MapOverlay.h"
#include "core/platform/MapPyramid.h"
#include "core/platform/MapTransform.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr qreal kScaleNoise = 1e-9;

// The whole pixels of a picture `shrink` times smaller than the map that cover `mapRect`.
QRect coveringPixels(const QRectF& mapRect, int shrink, const QSize& pictureSize) {
    const int left = static_cast<int>(std::floor(mapRect.left() / shrink));
    const int top = static_cast<int>(std::floor(mapRect.top() / shrink));
    const int right = static_cast<int>(std::ceil(mapRect.right() / shrink));
    const int bottom = static_cast<int>(std::ceil(mapRect.bottom() / shrink));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))
        .intersected(QRect(QPoint(0, 0), pictureSize));
}

} // namespace

namespace MapPainter {

void paint(QPainter& painter, const MapPyramid& map, const MapTransform& transform,
           const QRect& exposed, const QColor& background,
           const QList<const MapOverlay*>& overlays) {
    const QRectF wholeMap(QPointF(0, 0), QSizeF(transform.mapSize()));
    const QRectF mapInView = transform.toView(wholeMap);
    if (map.isNull() || !mapInView.contains(QRectF(exposed)))
        painter.fillRect(exposed, background);

    const QRectF visible = transform.toMap(QRectF(exposed)).intersected(wholeMap);
    if (!map.isNull() && visible.isValid()) {
        const MapPyramid::Level& level = map.levelFor(transform.deviceScale());
        const QRect source = coveringPixels(visible, level.shrink, level.image.size());
        const QRectF target = transform.toView(
            QRectF(QPointF(source.topLeft()) * level.shrink, QSizeF(source.size()) * level.shrink));
        painter.save();
        // A copy's last pixels may reach past the map's edge by part of a pixel.
        painter.setClipRect(exposed.intersected(mapInView.toAlignedRect()));
        // Sharp pixels when enlarging or copying; averaged when reducing.
        const bool reducing = transform.deviceScale() * level.shrink < 1 - kScaleNoise;
        painter.setRenderHint(QPainter::SmoothPixmapTransform, reducing);
        painter.drawImage(target, level.image, QRectF(source));
        painter.restore();
    }

    for (const MapOverlay* overlay : overlays) {
        painter.save();
        painter.setClipRect(exposed);
        overlay->paint(painter, transform, visible.isValid() ? visible : QRectF());
        painter.restore();
    }
}

} // namespace MapPainter
