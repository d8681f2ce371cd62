#pragma once

#include "data/Point.h"

// The main window's question table: one row per point, in file order after a load and in
// question order after a shuffle. Rows always carry all six columns together.
class QuestionTable {
public:
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    bool isFull() const { return rowCount() >= kMaxPoints; }

    const Point& row(int index) const { return m_rows.at(index); }
    const QString& text(int column, int row) const { return m_rows.at(row)[column]; }

    void appendRow(Point point) { m_rows.append(std::move(point)); }
    void clear() { m_rows.clear(); }

    const PointList& rows() const { return m_rows; }
    PointList& rows() { return m_rows; }

private:
    PointList m_rows;
};
