#include "core/worksheet/MapLabels.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A uniform grid over the page, so that each test looks only at its neighbourhood: thousands
// of points stay linear.
class Grid {
public:
    explicit Grid(qreal cell)
        : m_cell(cell) {}

    void insert(const QRectF& area, int item) {
        forCells(area, [&](quint64 key) {
            m_cells[key].append(item);
            return true;
        });
    }

    // Every item whose area may meet `area` (an item can come more than once), until `fn`
    // returns false.
    template <typename Fn> void visit(const QRectF& area, Fn&& fn) const {
        forCells(area, [&](quint64 key) {
            const auto it = m_cells.constFind(key);
            if (it == m_cells.constEnd())
                return true;
            for (int item : *it) {
                if (!fn(item))
                    return false;
            }
            return true;
        });
    }

private:
    template <typename Fn> void forCells(const QRectF& area, Fn&& fn) const {
        const auto lo = [&](qreal v) {
            return static_cast<qint64>(std::floor(v / m_cell));
        };
        for (qint64 y = lo(area.top()); y <= lo(area.bottom()); ++y) {
            for (qint64 x = lo(area.left()); x <= lo(area.right()); ++x) {
                if (!fn((static_cast<quint64>(static_cast<quint32>(x)) << 32) |
                        static_cast<quint32>(y)))
                    return;
            }
        }
    }

    qreal m_cell;
    QHash<quint64, QList<int>> m_cells;
};

QRectF square(const QPointF& centre, qreal half) {
    return QRectF(centre.x() - half, centre.y() - half, 2 * half, 2 * half);
}

// Places around the circle, best first: beside it to the right and left, above and below, then
// the corners; each `ring` farther out needs a leader line.
QRectF candidate(const QPointF& c, const QSizeF& size, qreal distance, int direction) {
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal d = distance;
    const qreal k = d * M_SQRT1_2;
    switch (direction) {
    case 0:
        return QRectF(c.x() + d, c.y() - h / 2, w, h);
    case 1:
        return QRectF(c.x() - d - w, c.y() - h / 2, w, h);
    case 2:
        return QRectF(c.x() - w / 2, c.y() - d - h, w, h);
    case 3:
        return QRectF(c.x() - w / 2, c.y() + d, w, h);
    case 4:
        return QRectF(c.x() + k, c.y() - k - h, w, h);
    case 5:
        return QRectF(c.x() - k - w, c.y() - k - h, w, h);
    case 6:
        return QRectF(c.x() + k, c.y() + k, w, h);
    default:
        return QRectF(c.x() - k - w, c.y() + k, w, h);
    }
}

constexpr int kDirections = 8;
constexpr int kRings = 6;

} // namespace

namespace MapLabels {

bool coversCircle(const QRectF& box, const QPointF& centre, qreal radius) {
    const qreal dx = centre.x() - std::clamp(centre.x(), box.left(), box.right());
    const qreal dy = centre.y() - std::clamp(centre.y(), box.top(), box.bottom());
    return dx * dx + dy * dy < radius * radius;
}

qreal circleRadius(const QList<QPointF>& centres, qreal smallest, qreal largest) {
    // Circles of radius r stay apart while the nearest two centres are more than 2r (and a
    // little) apart; only pairs closer than that matter.
    const qreal reach = largest / 0.45;
    const qreal floorDistance = smallest / 0.45;
    Grid grid(reach);
    qreal nearest = reach;
    for (int i = 0; i < centres.size() && nearest > floorDistance; ++i) {
        grid.visit(square(centres[i], reach), [&](int j) {
            nearest = std::min(nearest, std::hypot(centres[i].x() - centres[j].x(),
                                                   centres[i].y() - centres[j].y()));
            return true;
        });
        grid.insert(QRectF(centres[i], QSizeF(0, 0)), i);
    }
    return std::clamp(0.45 * nearest, smallest, largest);
}

QList<Label> place(const QList<QPointF>& centres, const QList<QSizeF>& sizes, qreal radius,
                   qreal gap, const QRectF& bounds) {
    const qsizetype count = std::min(centres.size(), sizes.size());
    // Cells about the size of a label's height: wide labels span several, crowds stay split.
    qreal tallest = radius * 2;
    for (qsizetype i = 0; i < count; ++i)
        tallest = std::max(tallest, sizes[i].height());
    Grid circles(tallest * 2);
    Grid labels(tallest * 2);
    for (qsizetype i = 0; i < count; ++i)
        circles.insert(square(centres[i], radius), static_cast<int>(i));

    QList<Label> result;
    result.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const QPointF& centre = centres[i];
        // Conflicts of a place: circles it covers and labels it meets, counted up to `limit`
        // (a place no better than the best so far need not be counted out).
        const auto conflicts = [&](const QRectF& box, int limit) {
            int n = 0;
            circles.visit(box, [&](int j) {
                if (j != i && coversCircle(box, centres[j], radius))
                    ++n;
                return n < limit;
            });
            labels.visit(box, [&](int j) {
                if (result[j].box.intersects(box))
                    ++n;
                return n < limit;
            });
            return n;
        };
        // Beyond a few conflicts every place is as bad; counting further would only make a
        // crowd of thousands quadratic.
        constexpr int kHopeless = 4;
        std::optional<Label> best;
        int bestConflicts = kHopeless + 1;
        const qreal step = std::max(sizes[i].height(), radius * 2);
        for (int ring = 0; ring < kRings && bestConflicts > 0; ++ring) {
            for (int direction = 0; direction < kDirections; ++direction) {
                const QRectF box =
                    candidate(centre, sizes[i], radius + gap + ring * step, direction);
                if (!bounds.contains(box))
                    continue;
                // A duplicate seen through two grid cells counts twice; only zero matters
                // exactly, the rest is a ranking.
                const int n = conflicts(box, bestConflicts);
                if (n < bestConflicts || !best) {
                    best = Label{box, ring > 0};
                    bestConflicts = n;
                    if (n == 0)
                        break;
                }
            }
        }
        if (!best) {
            // No place inside the bounds at all (a point in a corner of a tiny map): beside
            // the circle, pushed inside.
            QRectF box = candidate(centre, sizes[i], radius + gap, 0);
            box.moveLeft(
                std::max(bounds.left(), std::min(box.left(), bounds.right() - box.width())));
            box.moveTop(
                std::max(bounds.top(), std::min(box.top(), bounds.bottom() - box.height())));
            best = Label{box, false};
        }
        result.append(*best);
        labels.insert(best->box, static_cast<int>(i));
    }
    return result;
}

} // namespace MapLabels
