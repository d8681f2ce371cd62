#include "ui/editor/MapPoints.h"

#include "core/data/NumericText.h"
#include "core/editor/EditorHistory.h"
#include "core/editor/PointDots.h"
#include "core/editor/PointDotsOverlay.h"
#include "core/editor/PointTableModel.h"
#include "ui/platform/MapView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

MapPoints::MapPoints(EditorHistory& history, const PointTableModel& model, MapView* view,
                     QObject* parent)
    : QObject(parent)
    , m_history(history)
    , m_view(view)
    , m_viewport(view->viewport())
    , m_dots(std::make_unique<PointDots>(model))
    , m_overlay(std::make_unique<PointDotsOverlay>(*m_dots)) {
    m_view->addOverlay(m_overlay.get());
    connect(m_dots.get(), &PointDots::changed, m_view, &MapView::updateOverlays);
    m_view->viewport()->installEventFilter(this);
    // Rows that come or go renumber the rest: a drag under way ends.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&model, signal, this, &MapPoints::cancelDrag);
    connect(&model, &QAbstractItemModel::modelReset, this, &MapPoints::cancelDrag);
}

MapPoints::~MapPoints() {
    qApp->removeEventFilter(this);
    if (m_view)
        m_view->removeOverlay(m_overlay.get());
}

int MapPoints::rowAt(const QPointF& viewportPos) const {
    const MapView::OverlayItem found = m_view->overlayItemAt(viewportPos);
    return found.overlay == m_overlay.get() ? found.item : -1;
}

QPointF MapPoints::draggedTo(const QMouseEvent& event) const {
    return m_startPos + (QPointF(m_view->mapPixelUnder(event)) - m_pressPixel);
}

void MapPoints::cancelDrag() {
    if (m_draggedRow < 0)
        return;
    m_draggedRow = -1;
    qApp->removeEventFilter(this);
    m_dots->endDrag();
}

bool MapPoints::eventFilter(QObject* watched, QEvent* event) {
    // While dragging, Esc anywhere in the program cancels the drag and does nothing else.
    if (m_draggedRow >= 0 &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (event->type() == QEvent::KeyPress)
            cancelDrag();
        event->accept();
        return true;
    }
    if (!m_viewport || watched != m_viewport.data())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int row =
            mouse->button() == Qt::LeftButton ? rowAt(MapView::pointerPosition(*mouse)) : -1;
        if (row < 0)
            return false;
        emit rowActivated(row);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_draggedRow >= 0)
            return true; // another button during a drag
        if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ShiftModifier))
            return false;
        const int row = rowAt(MapView::pointerPosition(*mouse));
        const std::optional<QPointF> start = m_dots->tablePosition(row);
        if (!start)
            return false;
        m_draggedRow = row;
        m_startPos = *start;
        m_pressPixel = QPointF(m_view->mapPixelUnder(*mouse));
        qApp->installEventFilter(this);
        m_dots->dragTo(row, m_startPos);
        return true;
    }
    case QEvent::MouseMove:
        if (m_draggedRow >= 0)
            m_dots->dragTo(m_draggedRow, draggedTo(*static_cast<QMouseEvent*>(event)));
        return false; // the view still reports where the pointer is
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_draggedRow < 0 || mouse->button() != Qt::LeftButton)
            return m_draggedRow >= 0;
        const int row = m_draggedRow;
        const QPointF to = draggedTo(*mouse);
        cancelDrag();
        // Stored as an update would store typed coordinates.
        if (to != m_startPos)
            m_history.movePoint(row, NumericText::format(to.x()), NumericText::format(to.y()));
        return true;
    }
    default:
        return false;
    }
}
