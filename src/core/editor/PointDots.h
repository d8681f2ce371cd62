#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class PointTableModel;

// Where the rows of the point table lie on the map, for a dot on each: the coordinates read as
// numbers once and kept in step with the model, and a grid of cells over them, so that the
// rows in a part of the map and the row under the pointer are found without looking at every
// row. A row whose X or Y does not read as a number (a file may hold anything) has no dot.
//
// While a point is dragged its dot is shown at the dragged-to place; the row changes only when
// the drag ends.
class PointDots : public QObject {
    Q_OBJECT
public:
    // Coordinates farther out than this can never be scrolled into view; they get no dot.
    static constexpr double kFarthest = 1e6;

    explicit PointDots(const PointTableModel& model, QObject* parent = nullptr);

    int rowCount() const { return static_cast<int>(m_positions.size()); }
    // Where the row's dot is (map pixels; the dragged-to place while it is dragged), if any.
    std::optional<QPointF> position(int row) const;
    // Where the row's point is in the table, dragged or not.
    std::optional<QPointF> tablePosition(int row) const;

    // The rows whose dots lie in `mapRect` (edges included), in row order, into `rows`.
    void rowsIn(const QRectF& mapRect, std::vector<int>& rows) const;
    // How many dots lie in `mapRect`, up to `limit` (counting stops there).
    int countIn(const QRectF& mapRect, int limit) const;
    // The row whose dot is nearest `mapPos`, at most `radius` map pixels away; -1 for none.
    // Of two at the same distance, the lower row.
    int rowNear(const QPointF& mapPos, double radius) const;

    // Shows `row`'s dot at `mapPos` until endDrag().
    void dragTo(int row, const QPointF& mapPos);
    void endDrag();
    int draggedRow() const { return m_draggedRow; }

    // The tooltip of a row's dot: its number, hint and answers, as rich text with the row's
    // own texts escaped.
    QString toolTip(int row) const;

signals:
    // Something to repaint: rows came, went or moved, or a drag moved.
    void changed();

private:
    struct Position {
        double x = 0;
        double y = 0;
        bool valid = false;
    };

    Position readRow(int row) const;
    void readRows(int first, int last);
    void invalidate();
    void buildGrid() const;
    // Calls visit(row) for the rows of the table whose points lie in `mapRect`, cell by cell,
    // the dragged row left out, until visit returns false.
    template <typename Visit> void visitIn(const QRectF& mapRect, Visit&& visit) const;
    int cellOf(double x, double y) const;

    const PointTableModel& m_model;
    std::vector<Position> m_positions;
    int m_draggedRow = -1;
    QPointF m_draggedTo;

    // The grid, built on the first query after a change: cells of m_cellSize map pixels from
    // m_origin, m_columns x m_rows of them; the rows of cell c are
    // m_cellRows[m_cellStart[c] .. m_cellStart[c + 1]), in row order.
    mutable bool m_gridDirty = true;
    mutable QPointF m_origin;
    mutable double m_cellSize = 1;
    mutable int m_columns = 0;
    mutable int m_rows = 0;
    mutable std::vector<int> m_cellStart;
    mutable std::vector<int> m_cellRows;
    mutable std::vector<quint64> m_marks; // rowsIn()'s rows found, one bit each
};
