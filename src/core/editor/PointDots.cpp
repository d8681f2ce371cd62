#include "core/editor/PointDots.h"

#include "core/data/NumericText.h"
#include "core/editor/PointColumns.h"
#include "core/editor/PointTableModel.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// The grid has at most this many cells along a side, each at least kMinCell map pixels wide.
constexpr int kMaxCellsAlong = 256;
constexpr double kMinCell = 32;
// A tooltip shows this much of a long text.
constexpr qsizetype kToolTipChars = 200;

QString tipLine(const QString& name, const QString& text) {
    QString shown = text.size() > kToolTipChars ? text.left(kToolTipChars) + u'…' : text;
    return name.toHtmlEscaped() + QStringLiteral(": ") + shown.toHtmlEscaped();
}

} // namespace

PointDots::PointDots(const PointTableModel& model, QObject* parent)
    : QObject(parent)
    , m_model(model) {
    m_positions.resize(model.rowCount());
    readRows(0, model.rowCount() - 1);
    const auto restart = [this] {
        m_draggedRow = -1;
        m_positions.assign(m_model.rowCount(), Position{});
        readRows(0, m_model.rowCount() - 1);
        invalidate();
    };
    connect(&model, &QAbstractItemModel::modelReset, this, restart);
    connect(&model, &QAbstractItemModel::layoutChanged, this, restart);
    connect(&model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                m_draggedRow = -1;
                m_positions.insert(m_positions.begin() + first, last - first + 1, Position{});
                readRows(first, last);
                invalidate();
            });
    connect(&model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                m_draggedRow = -1;
                m_positions.erase(m_positions.begin() + first, m_positions.begin() + last + 1);
                invalidate();
            });
    connect(&model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                readRows(topLeft.row(), bottomRight.row());
                invalidate();
            });
}

PointDots::Position PointDots::readRow(int row) const {
    const std::optional<double> x = NumericText::toNumber(m_model.table().text(ColumnX, row));
    const std::optional<double> y = NumericText::toNumber(m_model.table().text(ColumnY, row));
    if (!x || !y || !(std::abs(*x) <= kFarthest) || !(std::abs(*y) <= kFarthest))
        return {};
    return {*x, *y, true};
}

void PointDots::readRows(int first, int last) {
    for (int row = std::max(first, 0); row <= last && row < rowCount(); ++row)
        m_positions[row] = readRow(row);
}

void PointDots::invalidate() {
    m_gridDirty = true;
    emit changed();
}

std::optional<QPointF> PointDots::tablePosition(int row) const {
    if (row < 0 || row >= rowCount() || !m_positions[row].valid)
        return std::nullopt;
    return QPointF(m_positions[row].x, m_positions[row].y);
}

std::optional<QPointF> PointDots::position(int row) const {
    if (row == m_draggedRow && m_draggedRow >= 0)
        return m_draggedTo;
    return tablePosition(row);
}

void PointDots::dragTo(int row, const QPointF& mapPos) {
    if (!tablePosition(row))
        return;
    m_draggedRow = row;
    m_draggedTo = mapPos;
    emit changed();
}

void PointDots::endDrag() {
    if (m_draggedRow < 0)
        return;
    m_draggedRow = -1;
    emit changed();
}

int PointDots::cellOf(double x, double y) const {
    const int column =
        std::clamp(static_cast<int>((x - m_origin.x()) / m_cellSize), 0, m_columns - 1);
    const int row = std::clamp(static_cast<int>((y - m_origin.y()) / m_cellSize), 0, m_rows - 1);
    return row * m_columns + column;
}

void PointDots::buildGrid() const {
    m_gridDirty = false;
    m_columns = m_rows = 0;
    m_cellStart.clear();
    m_cellRows.clear();
    double left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    for (const Position& p : m_positions) {
        if (!p.valid)
            continue;
        if (!any) {
            left = right = p.x;
            top = bottom = p.y;
            any = true;
        }
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    if (!any)
        return;
    m_origin = QPointF(left, top);
    m_cellSize = std::max(kMinCell, std::max(right - left, bottom - top) / (kMaxCellsAlong - 1));
    m_columns = static_cast<int>((right - left) / m_cellSize) + 1;
    m_rows = static_cast<int>((bottom - top) / m_cellSize) + 1;

    // A counting sort by cell keeps each cell's rows in row order.
    m_cellStart.assign(static_cast<size_t>(m_columns) * m_rows + 1, 0);
    for (const Position& p : m_positions) {
        if (p.valid)
            ++m_cellStart[cellOf(p.x, p.y) + 1];
    }
    for (size_t c = 1; c < m_cellStart.size(); ++c)
        m_cellStart[c] += m_cellStart[c - 1];
    m_cellRows.resize(m_cellStart.back());
    std::vector<int> next(m_cellStart.begin(), m_cellStart.end() - 1);
    for (int row = 0; row < rowCount(); ++row) {
        const Position& p = m_positions[row];
        if (p.valid)
            m_cellRows[next[cellOf(p.x, p.y)]++] = row;
    }
}

template <typename Visit> void PointDots::visitIn(const QRectF& mapRect, Visit&& visit) const {
    if (m_gridDirty)
        buildGrid();
    if (m_columns == 0 || mapRect.right() < m_origin.x() || mapRect.bottom() < m_origin.y())
        return;
    const int first = cellOf(mapRect.left(), mapRect.top());
    const int last = cellOf(mapRect.right(), mapRect.bottom());
    for (int cellRow = first / m_columns; cellRow <= last / m_columns; ++cellRow) {
        for (int column = first % m_columns; column <= last % m_columns; ++column) {
            const int cell = cellRow * m_columns + column;
            for (int i = m_cellStart[cell]; i < m_cellStart[cell + 1]; ++i) {
                const int row = m_cellRows[i];
                const Position& p = m_positions[row];
                if (row != m_draggedRow && p.x >= mapRect.left() && p.x <= mapRect.right() &&
                    p.y >= mapRect.top() && p.y <= mapRect.bottom() && !visit(row))
                    return;
            }
        }
    }
}

void PointDots::rowsIn(const QRectF& mapRect, std::vector<int>& rows) const {
    rows.clear();
    // Row order without sorting: mark the rows found, then read the marks in order.
    m_marks.assign((m_positions.size() + 63) / 64, 0);
    visitIn(mapRect, [&](int row) {
        m_marks[row / 64] |= quint64(1) << (row % 64);
        return true;
    });
    if (m_draggedRow >= 0 && mapRect.contains(m_draggedTo))
        m_marks[m_draggedRow / 64] |= quint64(1) << (m_draggedRow % 64);
    for (size_t word = 0; word < m_marks.size(); ++word) {
        for (quint64 bits = m_marks[word]; bits != 0; bits &= bits - 1)
            rows.push_back(static_cast<int>(word * 64) + std::countr_zero(bits));
    }
}

int PointDots::countIn(const QRectF& mapRect, int limit) const {
    int count = m_draggedRow >= 0 && mapRect.contains(m_draggedTo) ? 1 : 0;
    if (count < limit)
        visitIn(mapRect, [&](int) { return ++count < limit; });
    return count;
}

int PointDots::rowNear(const QPointF& mapPos, double radius) const {
    std::vector<int> rows;
    rowsIn(QRectF(mapPos - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), rows);
    int nearest = -1;
    double best = radius * radius;
    for (int row : rows) {
        const QPointF d = *position(row) - mapPos;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance < best || (distance == best && nearest < 0)) {
            best = distance;
            nearest = row;
        }
    }
    return nearest;
}

QString PointDots::toolTip(int row) const {
    if (!m_model.table().contains(row))
        return QString();
    const Point& point = m_model.table().row(row);
    QStringList lines{QStringLiteral("%1番目の項目").arg(row + 1),
                      tipLine(PointColumns::boxName(ColumnHint), point[ColumnHint]),
                      tipLine(PointColumns::boxName(ColumnAnswer1), point[ColumnAnswer1])};
    if (!point[ColumnAnswer2].isEmpty())
        lines.append(tipLine(PointColumns::boxName(ColumnAnswer2), point[ColumnAnswer2]));
    // Rich text, so that a text of the row that looks like markup shows as it is.
    return QStringLiteral("<p style='white-space:pre'>") + lines.join(QStringLiteral("<br>")) +
           QStringLiteral("</p>");
}
