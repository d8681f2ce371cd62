#include "core/editor/PointTable.h"

#include <algorithm>

bool PointTable::append(Point point) {
    if (isFull())
        return false;
    m_rows.append(std::move(point));
    return true;
}

int PointTable::appendAll(PointList&& points) {
    const int room = kMaxPoints - rowCount();
    const int taken = std::min(room, static_cast<int>(points.size()));
    if (taken <= 0)
        return 0;
    if (m_rows.isEmpty() && taken == points.size()) {
        m_rows = std::move(points);
    } else {
        m_rows.reserve(m_rows.size() + taken);
        std::move(points.begin(), points.begin() + taken, std::back_inserter(m_rows));
    }
    points.clear();
    return taken;
}

bool PointTable::insert(int row, Point point) {
    if (isFull() || row < 0 || row > rowCount())
        return false;
    m_rows.insert(row, std::move(point));
    if (m_selection >= row)
        ++m_selection;
    return true;
}

bool PointTable::update(int row, Point point) {
    if (!contains(row))
        return false;
    m_rows[row] = std::move(point);
    return true;
}

bool PointTable::remove(int row) {
    if (!contains(row))
        return false;
    m_rows.removeAt(row);
    m_selection = kNoSelection;
    return true;
}

bool PointTable::removeRange(int first, int count) {
    if (count <= 0 || !contains(first) || !contains(first + count - 1))
        return false;
    m_rows.remove(first, count);
    m_selection = kNoSelection;
    return true;
}

void PointTable::clear() {
    m_rows.clear();
    m_selection = kNoSelection;
}
