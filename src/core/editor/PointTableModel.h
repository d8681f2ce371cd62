#pragma once

#include "core/editor/PointTable.h"

#include <QAbstractTableModel>

// The point table as an item model: one model column per point column, headed by the column's
// tag. The editor's list shows the answer-1 column; every change of the table goes through
// here so that views always agree with it.
class PointTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PointTableModel(QObject* parent = nullptr);

    const PointTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void select(int row) { m_table.select(row); }
    bool append(Point point);
    // One insertion for many rows (a read hands its rows over in batches). Returns how many
    // fitted under the row limit.
    int appendAll(PointList&& points);
    bool insert(int row, Point point);
    bool update(int row, Point point);
    bool remove(int row);
    bool removeRange(int first, int count);
    void clear();

private:
    PointTable m_table;
};
