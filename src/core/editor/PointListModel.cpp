#include "core/editor/PointListModel.h"

#include "core/data/NumericText.h"
#include "core/data/Point.h"
#include "core/editor/PointColumns.h"

#include <optional>

PointListModel::PointListModel(QObject* parent)
    : QSortFilterProxyModel(parent) {
    setDynamicSortFilter(true);
}

QVariant PointListModel::data(const QModelIndex& index, int role) const {
    if (index.column() != ColumnInfo || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QSortFilterProxyModel::data(index, role);
    QString text = QSortFilterProxyModel::data(index, Qt::DisplayRole).toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    if (role == Qt::DisplayRole)
        text.replace(u'\n', QStringLiteral("／"));
    return text;
}

QVariant PointListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && PointColumns::isColumn(section))
        return PointColumns::boxName(section);
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags PointListModel::flags(const QModelIndex& index) const {
    return QSortFilterProxyModel::flags(index) & ~Qt::ItemIsEditable;
}

bool PointListModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (left.column() != ColumnX && left.column() != ColumnY)
        return QSortFilterProxyModel::lessThan(left, right);
    const QString leftText = sourceModel()->data(left).toString();
    const QString rightText = sourceModel()->data(right).toString();
    const std::optional<double> a = NumericText::toNumber(leftText);
    const std::optional<double> b = NumericText::toNumber(rightText);
    if (a && b)
        return *a < *b;
    if (a || b)
        return a.has_value(); // numbers first
    return leftText < rightText;
}
