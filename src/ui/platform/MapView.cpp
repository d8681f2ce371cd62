#include "ui/platform/MapView.h"

#include "core/platform/MapOverlay.h"
#include "core/platform/MapPainter.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace {

// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;
// Logical pixels one scroll-bar step moves (a wheel notch moves wheelScrollLines() of them).
constexpr int kScrollStep = 20;

} // namespace

QColor MapMarker::nextBlinkColor(const QColor& current) {
    switch (current.rgb() & 0xFFFFFF) {
    case 0x000000:
        return QColor(255, 255, 255);
    case 0xFFFFFF:
        return QColor(255, 0, 0);
    case 0xFF0000:
        return QColor(0, 0, 255);
    case 0x0000FF:
        return QColor(255, 255, 0);
    case 0xFFFF00:
        return QColor(0, 0, 0);
    default:
        return current;
    }
}

MapMarker::MapMarker(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Shape1"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(kSize, kSize);
}

void MapMarker::setFillColor(const QColor& color) {
    if (color == m_fill)
        return;
    m_fill = color;
    update();
}

void MapMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_fill);
    painter.drawEllipse(QRectF(0.5, 0.5, kSize - 1, kSize - 1));
}

MapView::MapView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_marker(new MapMarker(viewport()))
    , m_blinkTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Keys go to the window's controls, as before the map could scroll.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
    m_marker->hide();
    updateScrollBars();
    connect(&m_pyramid, &MapPyramid::copiesReady, viewport(), qOverload<>(&QWidget::update));
    m_blinkTimer->setObjectName(QStringLiteral("MarkerBlink"));
    connect(m_blinkTimer, &QTimer::timeout, this, &MapView::blink);
    m_blinkTimer->start(kBlinkIntervalMs);
}

void MapView::blink() {
    m_marker->setFillColor(MapMarker::nextBlinkColor(m_marker->fillColor()));
}

// ---- The map, the zoom and the scroll ----

void MapView::setMap(const QImage& map) {
    m_pyramid.setMap(map);
    m_opening = true;
    apply(MapTransform(mapSize(), maximumViewportSize(),
                       MapTransform::openingZoom(mapSize(), maximumViewportSize())));
}

void MapView::clearMap() {
    m_pyramid.clear();
    m_opening = false;
    apply(MapTransform(QSize(), maximumViewportSize()));
}

MapTransform MapView::transform() const {
    return MapTransform(mapSize(), m_viewSize, m_zoom,
                        QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()),
                        viewport()->devicePixelRatioF());
}

void MapView::restoreView(const SavedView& saved) {
    m_opening = saved.opening;
    if (saved.opening)
        apply(MapTransform(mapSize(), maximumViewportSize(),
                           MapTransform::openingZoom(mapSize(), maximumViewportSize())));
    else
        apply(saved.transform);
}

void MapView::zoomAbout(qreal zoom, const QPointF& viewportAnchor) {
    m_opening = false;
    apply(transform().zoomedAbout(zoom, viewportAnchor));
}

QPointF MapView::viewportCentre() const {
    return QPointF(viewport()->width(), viewport()->height()) / 2;
}

void MapView::zoomIn() {
    zoomAbout(transform().zoomInStep(), viewportCentre());
}

void MapView::zoomOut() {
    zoomAbout(transform().zoomOutStep(), viewportCentre());
}

void MapView::zoomToActualSize() {
    zoomAbout(1.0, viewportCentre());
}

void MapView::zoomToFit() {
    m_opening = false;
    apply(MapTransform(mapSize(), maximumViewportSize(),
                       MapTransform::fitZoom(mapSize(), maximumViewportSize())));
}

void MapView::apply(const MapTransform& next) {
    m_applying = true;
    m_zoom = next.zoom();
    updateScrollBars();
    // The scroll bars keep the scroll within their new ranges.
    horizontalScrollBar()->setValue(next.scroll().x());
    verticalScrollBar()->setValue(next.scroll().y());
    m_applying = false;
    updateMarkerGeometry();
    viewport()->update();
}

void MapView::updateScrollBars() {
    // Scroll bars only where the zoomed map is larger than the room left beside the other bar;
    // the viewport gets that size once the bars have been laid out (later, queued).
    const QSize most = maximumViewportSize();
    const QSize zoomed = MapTransform(mapSize(), most, m_zoom).zoomedMapSize();
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int barHeight = horizontalScrollBar()->sizeHint().height();
    bool across = zoomed.width() > most.width();
    const bool down = zoomed.height() > most.height() - (across ? barHeight : 0);
    across = zoomed.width() > most.width() - (down ? barWidth : 0);
    m_viewSize =
        QSize(most.width() - (down ? barWidth : 0), most.height() - (across ? barHeight : 0));
    horizontalScrollBar()->setRange(0, std::max(0, zoomed.width() - m_viewSize.width()));
    horizontalScrollBar()->setPageStep(m_viewSize.width());
    verticalScrollBar()->setRange(0, std::max(0, zoomed.height() - m_viewSize.height()));
    verticalScrollBar()->setPageStep(m_viewSize.height());
}

void MapView::scrollBy(const QPoint& delta) {
    m_opening = false;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + delta.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + delta.y());
}

void MapView::scrollContentsBy(int dx, int dy) {
    if (m_applying)
        return; // apply() repaints the whole view
    m_opening = false;
    // Moves what is painted already (the marker with it); only the uncovered strip repaints.
    viewport()->scroll(dx, dy);
    const MapTransform now = transform();
    for (const MapOverlay* overlay : std::as_const(m_overlays)) {
        const QRect pinned = overlay->pinnedRect(now).toAlignedRect();
        if (!pinned.isEmpty()) {
            viewport()->update(pinned);
            viewport()->update(pinned.translated(dx, dy));
        }
    }
    updateMarkerGeometry();
}

void MapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const QSize most = maximumViewportSize();
    if (m_opening)
        m_zoom = MapTransform::openingZoom(mapSize(), most);
    m_zoom = MapTransform(mapSize(), most, m_zoom).zoom(); // within the limits of this size
    m_applying = true;
    updateScrollBars();
    m_applying = false;
    updateMarkerGeometry();
    viewport()->update();
}

// ---- The marker ----

void MapView::placeMarker(const QPointF& topLeft) {
    m_marker->setTopLeft(topLeft);
    updateMarkerGeometry();
}

void MapView::placeMarkerOnPoint(const QPointF& point) {
    placeMarker(point - QPointF(MapMarker::kSize / 2, MapMarker::kSize / 2));
}

void MapView::setMarkerVisible(bool visible) {
    m_markerShown = visible;
    updateMarkerGeometry();
}

void MapView::followMarker() {
    const MapTransform now = transform();
    const QPoint scroll = now.scrollToShow(m_marker->point(), kFollowMargin + MapMarker::kSize / 2);
    if (scroll != now.scroll())
        scrollBy(scroll - now.scroll());
}

QRect MapView::markerOnScreen() const {
    const QPoint topLeft = transform().markerTopLeft(m_marker->point(), MapMarker::kSize);
    return QRect(viewport()->mapToGlobal(topLeft), QSize(MapMarker::kSize, MapMarker::kSize));
}

void MapView::updateMarkerGeometry() {
    const QPointF point = m_marker->point();
    // A position too far off to be a widget coordinate cannot be shown; keep it hidden.
    const QPointF inView = transform().toView(point);
    const bool placeable = std::abs(inView.x()) < 1e6 && std::abs(inView.y()) < 1e6;
    if (placeable)
        m_marker->move(transform().markerTopLeft(point, MapMarker::kSize));
    m_marker->setVisible(m_markerShown && placeable);
}

// ---- Overlays ----

void MapView::addOverlay(const MapOverlay* overlay) {
    if (overlay && !m_overlays.contains(overlay))
        m_overlays.append(overlay);
    viewport()->update();
}

void MapView::removeOverlay(const MapOverlay* overlay) {
    m_overlays.removeAll(overlay);
    viewport()->update();
}

MapView::OverlayItem MapView::overlayItemAt(const QPointF& viewportPos) const {
    const MapTransform now = transform();
    for (auto it = m_overlays.crbegin(); it != m_overlays.crend(); ++it) {
        const int item = (*it)->itemAt(now, viewportPos);
        if (item >= 0)
            return {*it, item};
    }
    return {};
}

// ---- Painting and input ----

QPointF MapView::fromMap(const QPointF& mapPos) const {
    return transform().toView(mapPos) + QPointF(viewport()->pos());
}

QPointF MapView::pointerPosition(const QMouseEvent& event) {
    // Qt hands a widget whole logical pixels (and rounds the global position to match), but
    // keeps the fraction in the position within the window, from which that whole pixel was
    // rounded: a press on the second device pixel of a logical pixel at ratio 2 is half a
    // pixel in, not the next pixel. The widget's offset in its window is whole, so the
    // fraction is the window position's own. A position that already has a fraction is taken
    // as it is.
    const auto axis = [](qreal given, qreal inWindow, int rounded) {
        return given == std::floor(given) ? given + (inWindow - rounded) : given;
    };
    const QPointF given = event.position();
    const QPointF inWindow = event.scenePosition();
    const QPoint rounded = inWindow.toPoint();
    return QPointF(axis(given.x(), inWindow.x(), rounded.x()),
                   axis(given.y(), inWindow.y(), rounded.y()));
}

QPoint MapView::mapPixelUnder(const QMouseEvent& event) const {
    return transform().mapPixelAt(pointerPosition(event));
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    MapPainter::paint(painter, m_pyramid, transform(), event->rect(),
                      palette().color(QPalette::Window), m_overlays);
}

bool MapView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const OverlayItem found = overlayItemAt(help->pos());
        const QString text = found.overlay ? found.overlay->toolTip(found.item) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        // A pan if it is dragged, a press if it is released where it began.
        m_middleDown = true;
        m_panning = false;
        m_middlePress = m_lastPan = event->position();
        m_middlePixel = mapPixelUnder(*event);
        return;
    }
    emit pressed(QPointF(mapPixelUnder(*event)), event->button());
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    if (m_middleDown) {
        const QPointF moved = event->position() - m_middlePress;
        if (!m_panning && moved.manhattanLength() >= QApplication::startDragDistance()) {
            m_panning = true;
            viewport()->setCursor(Qt::ClosedHandCursor);
        }
        if (m_panning) {
            const QPoint step = (event->position() - m_lastPan).toPoint();
            m_lastPan += QPointF(step);
            scrollBy(-step);
        }
    }
    emit pointerMoved(QPointF(mapPixelUnder(*event)));
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton || !m_middleDown)
        return;
    m_middleDown = false;
    if (m_panning) {
        m_panning = false;
        viewport()->unsetCursor();
        return;
    }
    emit pressed(QPointF(m_middlePixel), Qt::MiddleButton);
}

void MapView::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        m_zoomWheel += angle.y() != 0 ? angle.y() : angle.x();
        for (; m_zoomWheel >= kWheelNotch; m_zoomWheel -= kWheelNotch)
            zoomAbout(transform().zoomInStep(), event->position());
        for (; m_zoomWheel <= -kWheelNotch; m_zoomWheel += kWheelNotch)
            zoomAbout(transform().zoomOutStep(), event->position());
        return;
    }
    // Touchpads report pixels; wheels report notches of wheelScrollLines() steps each.
    QPoint delta = event->pixelDelta();
    if (delta.isNull())
        delta = angle * QApplication::wheelScrollLines() * kScrollStep / kWheelNotch;
    if ((event->modifiers() & Qt::ShiftModifier) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    scrollBy(-delta);
}

QString MapView::positionText(QPointF mapPixel) {
    return QStringLiteral("X=%1 Y=%2")
        .arg(static_cast<qint64>(std::floor(mapPixel.x())))
        .arg(static_cast<qint64>(std::floor(mapPixel.y())));
}
