#include "core/app/MainLayout.h"

#include <algorithm>

namespace MainLayout {

namespace {

std::optional<int> nonNegative(int value) {
    if (value < 0)
        return std::nullopt;
    return value;
}

} // namespace

Assignments resize(int outerWidth, int outerHeight, int panelPositionWidth, int columnWidth) {
    Assignments a;
    if (columnWidth > 0) {
        // Kept to what is left, never refused: a map keeping its old width would reach under
        // the column.
        a.mapWidth = std::max(0, outerWidth - 315 - kColumnGap - columnWidth);
        a.columnLeft = kMapLeft + *a.mapWidth + kColumnGap;
    } else {
        a.mapWidth = nonNegative(outerWidth - 315);
    }
    a.mapHeight = nonNegative(outerHeight - 1125);
    // Line ends are coordinates, not sizes: any value is taken.
    a.line0X2 = outerWidth - 210;
    a.line1X2 = outerWidth - 210;
    a.panelTimeWidth = kPanelTimeWidth;
    a.panelMainWidth = nonNegative(outerWidth - panelPositionWidth - a.panelTimeWidth - 100);
    return a;
}

Grown grownToShow(QRect window, QSize missing, QSize frame, QRect available) {
    const QSize size = (window.size() + missing).boundedTo(available.size() - frame);
    const QSize outer = size + frame;
    return {
        size,
        QPoint(std::clamp(window.x(), available.left(), available.right() + 1 - outer.width()),
               std::clamp(window.y(), available.top(), available.bottom() + 1 - outer.height()))};
}

} // namespace MainLayout
