#include "core/editor/PointTableModel.h"

#include "core/editor/PointColumns.h"

#include <algorithm>

PointTableModel::PointTableModel(QObject* parent)
    : QAbstractTableModel(parent) {}

int PointTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.rowCount();
}

int PointTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPointColumns;
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_table.contains(index.row()) || index.column() < 0 ||
        index.column() >= kPointColumns)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_table.text(index.column(), index.row());
    return {};
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return PointColumns::tag(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool PointTableModel::append(Point point) {
    if (m_table.isFull())
        return false;
    const int row = m_table.rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_table.append(std::move(point));
    endInsertRows();
    return true;
}

int PointTableModel::appendAll(PointList&& points) {
    const int first = m_table.rowCount();
    const int taken = std::min(kMaxPoints - first, static_cast<int>(points.size()));
    if (taken <= 0)
        return 0;
    beginInsertRows(QModelIndex(), first, first + taken - 1);
    m_table.appendAll(std::move(points));
    endInsertRows();
    return taken;
}

bool PointTableModel::insert(int row, Point point) {
    if (m_table.isFull() || row < 0 || row > m_table.rowCount())
        return false;
    beginInsertRows(QModelIndex(), row, row);
    m_table.insert(row, std::move(point));
    endInsertRows();
    return true;
}

bool PointTableModel::update(int row, Point point) {
    if (!m_table.update(row, std::move(point)))
        return false;
    emit dataChanged(index(row, 0), index(row, kPointColumns - 1));
    return true;
}

bool PointTableModel::remove(int row) {
    if (!m_table.contains(row))
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_table.remove(row);
    endRemoveRows();
    return true;
}

bool PointTableModel::removeRange(int first, int count) {
    if (count <= 0 || !m_table.contains(first) || !m_table.contains(first + count - 1))
        return false;
    beginRemoveRows(QModelIndex(), first, first + count - 1);
    m_table.removeRange(first, count);
    endRemoveRows();
    return true;
}

void PointTableModel::clear() {
    beginResetModel();
    m_table.clear();
    endResetModel();
}
