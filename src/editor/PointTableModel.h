#pragma once

#include "editor/PointTable.h"

#include <QAbstractTableModel>

// The point table as an item model: one model column per point column, so each of the
// editor's six column lists shows one column of the same rows. Every change of the table goes
// through here so that the lists always agree with it.
class PointTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PointTableModel(QObject* parent = nullptr);

    // The `Tag` of each column list: PositionX, PositionY, ヒント, 答え1, 答え2, 情報.
    static QString columnTag(int column);

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
    bool update(int row, Point point);
    bool remove(int row);
    void clear();

private:
    PointTable m_table;
};
