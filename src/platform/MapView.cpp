#include "platform/MapView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

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
    : QFrame(parent)
    , m_marker(new MapMarker(this))
    , m_blinkTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_marker->hide();
    m_blinkTimer->setObjectName(QStringLiteral("MarkerBlink"));
    connect(m_blinkTimer, &QTimer::timeout, this, &MapView::blink);
    m_blinkTimer->start(kBlinkIntervalMs);
}

void MapView::blink() {
    m_marker->setFillColor(MapMarker::nextBlinkColor(m_marker->fillColor()));
}

void MapView::setMap(const QImage& map) {
    m_map = QPixmap::fromImage(map);
    // One logical unit per map pixel, also on a high-DPI screen.
    m_map.setDevicePixelRatio(1.0);
    m_mapSize = map.size();
    update();
}

void MapView::clearMap() {
    m_map = QPixmap();
    m_mapSize = QSize();
    update();
}

QPointF MapView::toMap(const QPointF& widgetPos) const {
    return widgetPos - QPointF(contentsRect().topLeft());
}

QPointF MapView::fromMap(const QPointF& mapPos) const {
    return mapPos + QPointF(contentsRect().topLeft());
}

void MapView::placeMarker(const QPointF& topLeft) {
    m_marker->setTopLeft(topLeft);
    updateMarkerGeometry();
}

void MapView::placeMarkerOnPoint(const QPointF& point) {
    const qreal half = (MapMarker::kSize - 1) / 2;
    placeMarker(point - QPointF(half, half));
}

QRect MapView::markerOnScreen() const {
    const QPointF topLeft = m_marker->topLeft();
    const QPointF first = mapToGlobal(fromMap(topLeft));
    const QPointF end = mapToGlobal(fromMap(topLeft + QPointF(MapMarker::kSize, MapMarker::kSize)));
    const int left = static_cast<int>(std::floor(first.x()));
    const int top = static_cast<int>(std::floor(first.y()));
    return QRect(left, top, static_cast<int>(std::ceil(end.x())) - left,
                 static_cast<int>(std::ceil(end.y())) - top);
}

void MapView::setMarkerVisible(bool visible) {
    m_markerShown = visible;
    updateMarkerGeometry();
}

void MapView::updateMarkerGeometry() {
    const QPointF pos = fromMap(m_marker->topLeft());
    // A position too far off to be a widget coordinate cannot be shown; keep it hidden.
    const bool placeable = std::abs(pos.x()) < 1e6 && std::abs(pos.y()) < 1e6;
    if (placeable)
        m_marker->move(
            QPoint(static_cast<int>(std::floor(pos.x())), static_cast<int>(std::floor(pos.y()))));
    m_marker->setVisible(m_markerShown && placeable);
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.fillRect(inside, palette().color(QPalette::Window));
    if (!m_map.isNull()) {
        painter.setClipRect(inside);
        painter.drawPixmap(inside.topLeft(), m_map);
    }
    painter.setClipping(false);
    QFrame::paintEvent(event); // the frame itself
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(toMap(event->position()));
    QFrame::mouseMoveEvent(event);
}

void MapView::mousePressEvent(QMouseEvent* event) {
    emit pressed(toMap(event->position()), event->button());
    QFrame::mousePressEvent(event);
}

void MapView::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    updateMarkerGeometry();
}
