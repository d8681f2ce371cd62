#pragma once

#include "ui/platform/MapView.h"

#include <QObject>
#include <QPointF>
#include <QPointer>

#include <memory>

class EditorHistory;
class PointDots;
class PointDotsOverlay;
class PointTableModel;
class QMouseEvent;

// The rows of the point table on the editor's map view: a dot with its row number on each
// point, whose tooltip shows its hint and answers; a double-click on a dot asks for its row to
// be selected, and Shift + drag on a dot moves the point. While a point is dragged only its dot
// moves; the release stores the new place as a step of the history, Esc cancels. Other presses
// reach the view as before, so a press still places the point being typed.
class MapPoints : public QObject {
    Q_OBJECT
public:
    MapPoints(EditorHistory& history, const PointTableModel& model, MapView* view,
              QObject* parent = nullptr);
    ~MapPoints() override;

    const PointDots& dots() const { return *m_dots; }
    bool isDragging() const { return m_draggedRow >= 0; }
    // Ends a drag without moving the point.
    void cancelDrag();

signals:
    void rowActivated(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int rowAt(const QPointF& viewportPos) const;
    // The dragged point's place for the pointer of `event`: its place in the table moved by
    // the whole map pixels the pointer moved since the press.
    QPointF draggedTo(const QMouseEvent& event) const;

    EditorHistory& m_history;
    QPointer<MapView> m_view; // the window may destroy the view first
    // Compared with the filtered object on its own: while the view is being destroyed, its
    // viewport still sends events, and the view is then no longer a MapView to cast to.
    QPointer<QWidget> m_viewport;
    std::unique_ptr<PointDots> m_dots;
    std::unique_ptr<PointDotsOverlay> m_overlay;
    int m_draggedRow = -1;
    QPointF m_pressPixel;
    QPointF m_startPos;
};
