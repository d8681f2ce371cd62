#include "core/explore/ExploreLabels.h"

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString kEllipsis = QStringLiteral("…");

// A uniform grid over the zoomed map: each test looks only at the cells a box touches. Flat
// arrays rather than a hash: a crowd of thousands of dots is tested millions of times.
class Grid {
public:
    Grid(const QRectF& bounds, qreal cell)
        : m_origin(bounds.topLeft())
        , m_cell(cell)
        , m_columns(std::max(1, static_cast<int>(std::ceil(bounds.width() / cell)) + 1))
        , m_rows(std::max(1, static_cast<int>(std::ceil(bounds.height() / cell)) + 1))
        , m_head(static_cast<std::size_t>(m_columns) * m_rows, -1) {}

    void insert(const QRectF& box, int item) {
        forCells(box, [&](std::size_t cell) {
            m_entries.push_back({item, m_head[cell]});
            m_head[cell] = static_cast<int>(m_entries.size()) - 1;
            return true;
        });
    }

    // True when `hit` holds for an item of a cell that `box` touches.
    template <typename Hit> bool any(const QRectF& box, Hit&& hit) const {
        bool found = false;
        forCells(box, [&](std::size_t cell) {
            for (int e = m_head[cell]; e >= 0; e = m_entries[e].next) {
                if (hit(m_entries[e].item)) {
                    found = true;
                    return false;
                }
            }
            return true;
        });
        return found;
    }

private:
    int clamped(qreal v, qreal origin, int count) const {
        return std::clamp(static_cast<int>(std::floor((v - origin) / m_cell)), 0, count - 1);
    }
    template <typename Fn> void forCells(const QRectF& box, Fn&& fn) const {
        const int x0 = clamped(box.left(), m_origin.x(), m_columns);
        const int x1 = clamped(box.right(), m_origin.x(), m_columns);
        const int y0 = clamped(box.top(), m_origin.y(), m_rows);
        const int y1 = clamped(box.bottom(), m_origin.y(), m_rows);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                if (!fn(static_cast<std::size_t>(y) * m_columns + x))
                    return;
            }
        }
    }

    struct Entry {
        int item;
        int next;
    };
    QPointF m_origin;
    qreal m_cell;
    int m_columns;
    int m_rows;
    std::vector<int> m_head;
    std::vector<Entry> m_entries;
};

// The eight places beside a dot, best first. A shorter form of a label at the same place lies
// inside the longer one, so a place where the shortest form collides holds no form at all.
QRectF candidate(const QPointF& c, qreal width, qreal height, qreal d, int place) {
    const qreal k = d * M_SQRT1_2;
    switch (place) {
    case 0:
        return QRectF(c.x() + d, c.y() - height / 2, width, height);
    case 1:
        return QRectF(c.x() - d - width, c.y() - height / 2, width, height);
    case 2:
        return QRectF(c.x() - width / 2, c.y() - d - height, width, height);
    case 3:
        return QRectF(c.x() - width / 2, c.y() + d, width, height);
    case 4:
        return QRectF(c.x() + k, c.y() - k - height, width, height);
    case 5:
        return QRectF(c.x() - k - width, c.y() - k - height, width, height);
    case 6:
        return QRectF(c.x() + k, c.y() + k, width, height);
    default:
        return QRectF(c.x() - k - width, c.y() + k, width, height);
    }
}
constexpr int kPlaces = 8;

} // namespace

namespace ExploreLabels {

Forms measure(const QString& text, const QFontMetricsF& metrics, QHash<char32_t, qreal>& advances) {
    const auto advance = [&](char32_t c) {
        auto it = advances.constFind(c);
        if (it == advances.constEnd())
            it = advances.insert(c, metrics.horizontalAdvance(QString::fromUcs4(&c, 1)));
        return *it;
    };
    // Prefix widths at every character's end.
    QList<qreal> ends;
    QList<int> lengths;
    qreal width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A prefix never ends between the two halves of a surrogate pair.
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        width += advance(c);
        ends.append(width);
        lengths.append(static_cast<int>(i + 1));
    }
    Forms forms;
    if (text.isEmpty())
        return forms; // nothing to show: no label
    forms.widths.append(width + 2 * kPadding);
    forms.lengths.append(static_cast<int>(text.size()));
    const qreal ellipsis = advance(U'…');
    for (qsizetype i = ends.size() - 2; i >= 0; --i) {
        const qreal w = ends[i] + ellipsis + 2 * kPadding;
        if (w < forms.widths.last()) {
            forms.widths.append(w);
            forms.lengths.append(lengths[i]);
        }
    }
    return forms;
}

QString shown(const QString& text, int length) {
    return length >= text.size() ? text : text.left(length) + kEllipsis;
}

QList<Placed> place(const QList<QPointF>& dots, const QList<const Forms*>& forms,
                    const Geometry& g) {
    const qsizetype count = std::min(dots.size(), forms.size());
    const qreal r = g.dotRadius;
    const qreal distance = r + g.gap;
    // Cells of a few labels' height, but never more than about a million of them.
    const qreal side = std::max(g.bounds.width(), g.bounds.height());
    const qreal cell = std::max({g.height * 2, r * 4, side / 1024});
    Grid dotGrid(g.bounds, cell);
    Grid labelGrid(g.bounds, cell);
    const auto square = [r](const QPointF& c) {
        return QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r);
    };
    for (qsizetype i = 0; i < count; ++i)
        dotGrid.insert(square(dots[i]), static_cast<int>(i));

    QList<Placed> placed(count);
    for (qsizetype i = 0; i < count; ++i) {
        const Forms& f = *forms[i];
        const QPointF& c = dots[i];
        const auto box = [&](int form, int where) {
            return candidate(c, f.widths[form], g.height, distance, where);
        };
        const auto free = [&](const QRectF& b) {
            return g.bounds.contains(b) && !dotGrid.any(b, [&](int j) {
                return j != i && b.intersects(square(dots[j]));
            }) && !labelGrid.any(b, [&](int j) { return b.intersects(placed[j].box); });
        };
        int best = static_cast<int>(f.widths.size()); // none yet
        int bestPlace = 0;
        for (int where = 0; where < kPlaces && best > 0; ++where) {
            // Only a wider form than the best so far is worth a place further down the order.
            int hi = best - 1;
            if (!free(box(hi, where)))
                continue;
            int lo = 0;
            while (lo < hi) {
                const int mid = (lo + hi) / 2;
                if (free(box(mid, where)))
                    hi = mid;
                else
                    lo = mid + 1;
            }
            best = hi;
            bestPlace = where;
        }
        if (best < f.widths.size()) {
            placed[i] = {box(best, bestPlace), best};
            labelGrid.insert(placed[i].box, static_cast<int>(i));
        }
    }
    return placed;
}

} // namespace ExploreLabels
