#pragma once

#include <QSortFilterProxyModel>

// The full list's view of the point table: all six columns, read-only, sortable by any of them
// (X and Y by their numbers, a text that is no number after every number), following every
// change of the table. A multi-line info shows on one line, its breaks as "／", and whole in its
// tooltip. The columns are headed in Japanese, by the names the editor's messages give them (the
// table's own tags stay as they are for automation). The vertical header keeps each row's number
// in the table, 1 for the first, however the list is sorted.
class PointListModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit PointListModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};
