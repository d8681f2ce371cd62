#include "core/platform/MapTransform.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Zoom In and Zoom Out walk these steps; the fitted zoom and the limits lie between them.
constexpr std::array<qreal, 14> kZoomSteps = {0.1, 0.125, 1.0 / 6, 0.25, 1.0 / 3, 0.5, 2.0 / 3,
                                              1.0, 1.5,   2.0,     3.0,  4.0,     6.0, 8.0};
// Zooms this close count as equal, so that a step is never a step to (almost) the same place.
constexpr qreal kSameZoom = 1e-6;
// A zoomed length that misses a whole pixel by rounding noise is that whole pixel.
constexpr qreal kPixelNoise = 1e-6;

int wholeLength(qreal length) {
    return static_cast<int>(std::ceil(length - kPixelNoise));
}

} // namespace

MapTransform::MapTransform(QSize mapSize, QSize viewSize, qreal zoom, QPoint scroll,
                           qreal devicePixelRatio)
    : m_mapSize(mapSize.expandedTo(QSize(0, 0)))
    , m_viewSize(viewSize.expandedTo(QSize(0, 0)))
    , m_devicePixelRatio(devicePixelRatio > 0 ? devicePixelRatio : 1.0) {
    m_zoom = clampZoom(zoom);
    m_scroll = clampScroll(scroll);
}

QPointF MapTransform::toMap(const QPointF& view) const {
    return (view + QPointF(m_scroll)) / m_zoom;
}

QPointF MapTransform::toView(const QPointF& map) const {
    return map * m_zoom - QPointF(m_scroll);
}

QRectF MapTransform::toMap(const QRectF& view) const {
    return QRectF(toMap(view.topLeft()), view.size() / m_zoom);
}

QRectF MapTransform::toView(const QRectF& map) const {
    return QRectF(toView(map.topLeft()), map.size() * m_zoom);
}

QPoint MapTransform::mapPixelAtDevice(const QPointF& device) const {
    // A position that misses a pixel's edge by rounding noise (a fractional ratio's logical
    // coordinates, a zoom such as 2/3) is on that edge, so it belongs to the pixel it starts.
    const qreal scale = deviceScale();
    const auto axis = [&](qreal position, int scroll) {
        const qreal pixel = (position + scroll * m_devicePixelRatio) / scale;
        return static_cast<int>(std::floor(pixel + kPixelNoise));
    };
    return QPoint(axis(device.x(), m_scroll.x()), axis(device.y(), m_scroll.y()));
}

QPoint MapTransform::mapPixelAt(const QPointF& view) const {
    return mapPixelAtDevice(view * m_devicePixelRatio);
}

QRectF MapTransform::visibleMapRect() const {
    const QRectF inView = toMap(QRectF(QPointF(0, 0), QSizeF(m_viewSize)));
    const QRectF visible = inView.intersected(QRectF(QPointF(0, 0), QSizeF(m_mapSize)));
    return visible.isValid() ? visible : QRectF();
}

QPoint MapTransform::markerTopLeft(const QPointF& point, int size) const {
    const QPointF centre = toView(point + QPointF(0.5, 0.5));
    // Rounded to the nearest pixel, halves up: at zoom 1 a whole point gives point - size / 2.
    return QPoint(static_cast<int>(std::floor(centre.x() - size / 2.0 + 0.5)),
                  static_cast<int>(std::floor(centre.y() - size / 2.0 + 0.5)));
}

QSize MapTransform::zoomedMapSize() const {
    return QSize(wholeLength(m_mapSize.width() * m_zoom), wholeLength(m_mapSize.height() * m_zoom));
}

QPoint MapTransform::maxScroll() const {
    const QSize zoomed = zoomedMapSize();
    return QPoint(std::max(0, zoomed.width() - m_viewSize.width()),
                  std::max(0, zoomed.height() - m_viewSize.height()));
}

QPoint MapTransform::clampScroll(const QPoint& scroll) const {
    const QPoint most = maxScroll();
    return QPoint(std::clamp(scroll.x(), 0, most.x()), std::clamp(scroll.y(), 0, most.y()));
}

qreal MapTransform::clampZoom(qreal zoom) const {
    if (!(zoom > 0)) // also NaN
        zoom = 1.0;
    return std::clamp(zoom, minZoom(), kMaxZoom);
}

qreal MapTransform::zoomInStep() const {
    const auto next = std::find_if(kZoomSteps.begin(), kZoomSteps.end(),
                                   [&](qreal step) { return step > m_zoom * (1 + kSameZoom); });
    return clampZoom(next == kZoomSteps.end() ? kMaxZoom : *next);
}

qreal MapTransform::zoomOutStep() const {
    const auto next = std::find_if(kZoomSteps.rbegin(), kZoomSteps.rend(),
                                   [&](qreal step) { return step < m_zoom * (1 - kSameZoom); });
    return next == kZoomSteps.rend() ? minZoom() : clampZoom(*next);
}

MapTransform MapTransform::withScroll(const QPoint& scroll) const {
    return MapTransform(m_mapSize, m_viewSize, m_zoom, scroll, m_devicePixelRatio);
}

MapTransform MapTransform::withViewSize(const QSize& viewSize) const {
    return MapTransform(m_mapSize, viewSize, m_zoom, m_scroll, m_devicePixelRatio);
}

MapTransform MapTransform::zoomedAbout(qreal zoom, const QPointF& viewAnchor) const {
    const QPointF anchor = toMap(viewAnchor);
    const qreal newZoom = clampZoom(zoom);
    const QPointF scroll = anchor * newZoom - viewAnchor;
    return MapTransform(m_mapSize, m_viewSize, newZoom,
                        QPoint(static_cast<int>(std::lround(scroll.x())),
                               static_cast<int>(std::lround(scroll.y()))),
                        m_devicePixelRatio);
}

QPoint MapTransform::scrollToShow(const QPointF& point, int margin) const {
    // Along one axis: the scroll that keeps `position` (zoomed map pixels) within the margin.
    const auto axis = [margin](qreal position, int scroll, int viewLength) {
        if (viewLength < 2 * margin)
            return static_cast<int>(std::lround(position - viewLength / 2.0));
        if (position < scroll + margin)
            return static_cast<int>(std::floor(position - margin));
        if (position > scroll + viewLength - margin)
            return static_cast<int>(std::ceil(position + margin - viewLength));
        return scroll;
    };
    const QPointF centre = (point + QPointF(0.5, 0.5)) * m_zoom;
    return clampScroll(QPoint(axis(centre.x(), m_scroll.x(), m_viewSize.width()),
                              axis(centre.y(), m_scroll.y(), m_viewSize.height())));
}

qreal MapTransform::fitZoom(QSize mapSize, QSize viewSize) {
    if (mapSize.isEmpty() || viewSize.isEmpty())
        return 1.0;
    const qreal zoom = std::min(qreal(viewSize.width()) / mapSize.width(),
                                qreal(viewSize.height()) / mapSize.height());
    return std::min(zoom, kMaxZoom);
}

qreal MapTransform::minZoom(QSize mapSize, QSize viewSize) {
    return std::min(fitZoom(mapSize, viewSize), kMinZoomAtMost);
}

qreal MapTransform::openingZoom(QSize mapSize, QSize viewSize) {
    const bool fits = mapSize.width() <= viewSize.width() && mapSize.height() <= viewSize.height();
    return fits ? 1.0 : fitZoom(mapSize, viewSize);
}
