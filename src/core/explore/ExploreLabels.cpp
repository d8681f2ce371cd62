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

// The dots in a uniform grid, each in the cell of its centre, stored cell by cell with their
// positions, so that a test reads one stretch of memory per cell.
class DotGrid {
public:
    DotGrid(const QList<QPointF>& dots, qsizetype count, const QRectF& bounds, qreal cell)
        : m_origin(bounds.topLeft())
        , m_cell(cell)
        , m_columns(std::max(1, static_cast<int>(std::ceil(bounds.width() / cell)) + 1))
        , m_rows(std::max(1, static_cast<int>(std::ceil(bounds.height() / cell)) + 1))
        , m_start(static_cast<std::size_t>(m_columns) * m_rows + 1, 0)
        , m_entries(static_cast<std::size_t>(count)) {
        std::vector<std::size_t> cells(m_entries.size());
        for (qsizetype i = 0; i < count; ++i) {
            cells[i] =
                cellOf(dots[i].x(), m_origin.x(), m_columns) +
                static_cast<std::size_t>(cellOf(dots[i].y(), m_origin.y(), m_rows)) * m_columns;
            ++m_start[cells[i] + 1];
        }
        for (std::size_t c = 1; c < m_start.size(); ++c)
            m_start[c] += m_start[c - 1];
        std::vector<int> next(m_start.begin(), m_start.end() - 1);
        for (qsizetype i = 0; i < count; ++i)
            m_entries[next[cells[i]]++] = {dots[i].x(), dots[i].y(), static_cast<int>(i)};
    }

    // Whether a dot other than `own` has its square of half side `r` overlapping `box`.
    bool covered(const QRectF& box, qreal r, int own) const {
        const int x0 = cellOf(box.left() - r, m_origin.x(), m_columns);
        const int x1 = cellOf(box.right() + r, m_origin.x(), m_columns);
        const int y0 = cellOf(box.top() - r, m_origin.y(), m_rows);
        const int y1 = cellOf(box.bottom() + r, m_origin.y(), m_rows);
        const qreal left = box.left() - r, right = box.right() + r;
        const qreal top = box.top() - r, bottom = box.bottom() + r;
        for (int y = y0; y <= y1; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * m_columns;
            for (int e = m_start[row + x0]; e < m_start[row + x1 + 1]; ++e) {
                const Entry& d = m_entries[e];
                if (d.x > left && d.x < right && d.y > top && d.y < bottom && d.item != own)
                    return true;
            }
        }
        return false;
    }

private:
    int cellOf(qreal v, qreal origin, int count) const {
        return std::clamp(static_cast<int>(std::floor((v - origin) / m_cell)), 0, count - 1);
    }

    struct Entry {
        qreal x = 0;
        qreal y = 0;
        int item = -1;
    };
    QPointF m_origin;
    qreal m_cell;
    int m_columns;
    int m_rows;
    std::vector<int> m_start; // entries of cell c: m_start[c] .. m_start[c + 1]
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

// Whether two boxes share an area (touching edges do not), inline: it runs millions of times.
bool overlap(const QRectF& a, const QRectF& b) {
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() &&
           b.top() < a.bottom();
}

} // namespace

namespace ExploreLabels {

Advances::Advances(const QFontMetricsF& metrics)
    : m_metrics(metrics)
    , m_basic(0x10000, -1) {}

qreal Advances::of(char32_t c) {
    if (c < m_basic.size()) {
        qreal& known = m_basic[c];
        if (known < 0)
            known = m_metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
        return known;
    }
    auto it = m_other.constFind(c);
    if (it == m_other.constEnd())
        it = m_other.insert(c, m_metrics.horizontalAdvance(QString::fromUcs4(&c, 1)));
    return *it;
}

Forms measure(const QString& text, Advances& advances) {
    Forms forms;
    if (text.isEmpty())
        return forms; // nothing to show: no label
    // Prefix widths at every character's end, and where each character ends.
    thread_local std::vector<std::pair<qreal, int>> ends;
    ends.clear();
    qreal width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A prefix never ends between the two halves of a surrogate pair.
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        width += advances.of(c);
        ends.emplace_back(width, static_cast<int>(i + 1));
    }
    forms.widths.reserve(static_cast<qsizetype>(ends.size()));
    forms.lengths.reserve(static_cast<qsizetype>(ends.size()));
    forms.widths.append(width + 2 * kPadding);
    forms.lengths.append(static_cast<int>(text.size()));
    const qreal ellipsis = advances.of(U'…');
    for (auto it = ends.rbegin() + 1; it < ends.rend(); ++it) {
        const qreal w = it->first + ellipsis + 2 * kPadding;
        if (w < forms.widths.last()) {
            forms.widths.append(w);
            forms.lengths.append(it->second);
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
    // Cells of about a label's height: in a crowd, a test meets a colliding dot within a cell
    // or two. Never more than about a million of them.
    const qreal side = std::max(g.bounds.width(), g.bounds.height());
    const qreal cell = std::max({g.height, r * 4, side / 1024});
    const DotGrid dotGrid(dots, count, g.bounds, cell);
    Grid labelGrid(g.bounds, cell);

    QList<Placed> placed(count);
    for (qsizetype i = 0; i < count; ++i) {
        const Forms& f = *forms[i];
        const QPointF& c = dots[i];
        const auto box = [&](int form, int where) {
            return candidate(c, f.widths[form], g.height, distance, where);
        };
        const auto free = [&](const QRectF& b) {
            return g.bounds.contains(b) && !dotGrid.covered(b, r, static_cast<int>(i)) &&
                   !labelGrid.any(b, [&](int j) { return overlap(b, placed[j].box); });
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
