#include "core/explore/ExplorePoints.h"

#include "core/data/NumericText.h"
#include "core/editor/PointColumns.h"

#include <QSet>

#include <cmath>

namespace ExplorePoints {

QStringList hints(const PointList& rows) {
    QStringList result;
    QSet<QString> seen;
    for (const Point& point : rows) {
        if (!seen.contains(point[ColumnHint])) {
            seen.insert(point[ColumnHint]);
            result.append(point[ColumnHint]);
        }
    }
    return result;
}

std::optional<QPointF> place(const Point& point, QSize mapSize) {
    const std::optional<double> x = NumericText::toNumber(point[ColumnX]);
    const std::optional<double> y = NumericText::toNumber(point[ColumnY]);
    // Written so that NaN fails as well.
    if (!x || !y || !(*x >= 0 && *x < mapSize.width() && *y >= 0 && *y < mapSize.height()))
        return std::nullopt;
    return QPointF(*x, *y);
}

Split split(const PointList& rows, QSize mapSize, const std::optional<QString>& hint) {
    Split result;
    for (int row = 0; row < rows.size(); ++row) {
        const Point& point = rows.at(row);
        if (hint && point[ColumnHint] != *hint)
            continue;
        (place(point, mapSize) ? result.onMap : result.offMap).append(row);
    }
    return result;
}

QString details(const Point& point, int row) {
    QStringList lines{QStringLiteral("番号: %1").arg(row + 1)};
    for (int column : {ColumnHint, ColumnAnswer1, ColumnAnswer2, ColumnInfo}) {
        QString text = point[column];
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        lines.append(PointColumns::boxName(column) + QStringLiteral(": ") + text);
    }
    return lines.join(u'\n');
}

} // namespace ExplorePoints
