#pragma once

#include "core/data/Point.h"

// The rows of a table of points, read-only: what the main window's question table and the
// editor's point table share. Every row carries all six columns together; a table holds at
// most kMaxPoints rows (the editor refuses more, a read stops there).
class PointRows {
public:
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    bool isFull() const { return rowCount() >= kMaxPoints; }
    bool contains(int row) const { return row >= 0 && row < rowCount(); }

    const Point& row(int row) const { return m_rows.at(row); }
    const QString& text(int column, int row) const { return m_rows.at(row)[column]; }
    const PointList& rows() const { return m_rows; }

protected:
    PointList m_rows;
};
