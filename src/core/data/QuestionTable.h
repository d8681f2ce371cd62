#pragma once

#include "core/data/PointRows.h"

// The main window's question table: one row per point, in file order after a load and in
// question order after a shuffle, which moves the rows in place.
class QuestionTable : public PointRows {
public:
    void appendRow(Point point) { m_rows.append(std::move(point)); }
    void clear() { m_rows.clear(); }

    using PointRows::rows;
    PointList& rows() { return m_rows; }
};
