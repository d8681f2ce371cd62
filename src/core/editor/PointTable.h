#pragma once

#include "core/data/PointRows.h"

// The editor's point table: rows as the question table holds them, in the order they were
// added, with the editor's rules on top: no change takes it past kMaxPoints rows, and at most
// one row is selected.
class PointTable : public PointRows {
public:
    static constexpr int kNoSelection = -1;

    int selection() const { return m_selection; }
    bool hasSelection() const { return m_selection != kNoSelection; }
    // Selects `row`; kNoSelection, or any index outside the table, selects none.
    void select(int row) { m_selection = contains(row) ? row : kNoSelection; }

    // Appends a row at the end. Refused (false, nothing changes) when the table is full.
    bool append(Point point);
    // Appends as many of `points` as fit; returns how many were taken.
    int appendAll(PointList&& points);
    // Puts a row back at `row` (0 to rowCount()), the rows from there on moving down by one, as
    // undoing a deletion does; a selected row stays selected. Refused when the table is full.
    bool insert(int row, Point point);
    // Overwrites every column of `row`; the selection stays. False when there is no such row.
    bool update(int row, Point point);
    // Removes `row`; the rows after it move up by one and no row is selected afterwards.
    bool remove(int row);
    // Removes `count` rows from `first` on, as undoing an import does; no row is selected
    // afterwards. False, and nothing removed, unless all of them are rows of the table.
    bool removeRange(int first, int count);
    // Removes every row and the selection.
    void clear();

private:
    int m_selection = kNoSelection;
};
