#include "core/explore/ExploreOverlay.h"

#include "core/explore/ExplorePoints.h"
#include "core/platform/MapTransform.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Layouts kept: going back and forth between a few zooms finds them made.
constexpr std::size_t kLayoutsKept = 4;
// Orange with a dark rim: none of the marker's blinking colours, the mastery map's red to
// green or the meant point's magenta, and visible on a pale map as on a dark one.
const QColor kDotFill(255, 150, 0);
const QColor kDotRim(40, 40, 40);
const QColor kPlate(255, 255, 255, 215);

int cellOf(qreal v, qreal cell, int count) {
    return std::clamp(static_cast<int>(std::floor(v / cell)), 0, count - 1);
}

} // namespace

void ExploreOverlay::setPoints(const PointList& rows, QSize mapSize) {
    m_rows = rows;
    m_mapSize = mapSize;
    m_places.clear();
    m_places.reserve(rows.size());
    for (const Point& point : rows)
        m_places.append(ExplorePoints::place(point, mapSize));
    m_nameForms.clear();
    m_numberForms.clear();
    setShown({});
}

void ExploreOverlay::setShown(const QList<int>& rows) {
    m_shown.clear();
    for (int row : rows) {
        if (row >= 0 && row < m_rows.size() && m_places.at(row))
            m_shown.append(row);
    }
    m_rule.reset();
    forgetLayouts();
}

void ExploreOverlay::setNumbers(bool numbers) {
    if (numbers == m_numbers)
        return;
    m_numbers = numbers;
    forgetLayouts();
}

void ExploreOverlay::setFont(const QFont& font) {
    m_font = font;
    m_nameForms.clear();
    m_numberForms.clear();
    forgetLayouts();
}

void ExploreOverlay::forgetLayouts() {
    m_layouts.clear();
    m_layoutsMade = 0;
}

std::optional<int> ExploreOverlay::rowAt(const QPointF& press) const {
    if (!m_rule) {
        PointList shownRows;
        shownRows.reserve(m_shown.size());
        for (int row : m_shown)
            shownRows.append(m_rows.at(row));
        m_rule.emplace(shownRows, m_mapSize);
    }
    const std::optional<int> item = m_rule->nearestRow(press);
    return item ? std::optional<int>(m_shown.at(*item)) : std::nullopt;
}

QString ExploreOverlay::textOf(int row) const {
    return m_numbers ? QString::number(row + 1) : m_rows.at(row)[ColumnAnswer1];
}

const QList<ExploreLabels::Forms>& ExploreOverlay::forms() const {
    QList<ExploreLabels::Forms>& forms = m_numbers ? m_numberForms : m_nameForms;
    if (forms.isEmpty() && !m_rows.isEmpty()) {
        const QFontMetricsF metrics(m_font);
        ExploreLabels::Advances advances(metrics);
        forms.reserve(m_rows.size());
        for (int row = 0; row < m_rows.size(); ++row)
            forms.append(ExploreLabels::measure(textOf(row), advances));
    }
    return forms;
}

const ExploreOverlay::Layout& ExploreOverlay::layout(qreal zoom) const {
    const auto it = std::find_if(m_layouts.begin(), m_layouts.end(),
                                 [zoom](const auto& made) { return made->zoom == zoom; });
    if (it != m_layouts.end()) {
        std::rotate(m_layouts.begin(), it, it + 1);
    } else {
        m_layouts.insert(m_layouts.begin(), makeLayout(zoom));
        ++m_layoutsMade;
        if (m_layouts.size() > kLayoutsKept)
            m_layouts.pop_back();
    }
    return *m_layouts.front();
}

std::unique_ptr<ExploreOverlay::Layout> ExploreOverlay::makeLayout(qreal zoom) const {
    auto made = std::make_unique<Layout>();
    Layout& l = *made;
    l.zoom = zoom;
    const QList<ExploreLabels::Forms>& all = forms();
    QList<const ExploreLabels::Forms*> shownForms;
    l.dots.reserve(m_shown.size());
    shownForms.reserve(m_shown.size());
    for (int row : m_shown) {
        // The centre of the point's pixel, as the marker's.
        l.dots.append((*m_places.at(row) + QPointF(0.5, 0.5)) * zoom);
        shownForms.append(&all.at(row));
    }
    const QFontMetricsF metrics(m_font);
    ExploreLabels::Geometry geometry;
    geometry.dotRadius = kDotDiameter / 2.0;
    geometry.gap = 1.5;
    geometry.height = std::ceil(metrics.height()) + 2;
    geometry.bounds = QRectF(0, 0, m_mapSize.width() * zoom, m_mapSize.height() * zoom);
    l.labels = ExploreLabels::place(l.dots, shownForms, geometry);

    // Counting sort of the items by their dots' cells.
    l.columns = std::max(1, static_cast<int>(std::ceil(geometry.bounds.width() / l.cell)));
    l.rows = std::max(1, static_cast<int>(std::ceil(geometry.bounds.height() / l.cell)));
    const auto cellIndex = [&l](const QPointF& dot) {
        return static_cast<std::size_t>(cellOf(dot.y(), l.cell, l.rows)) * l.columns +
               cellOf(dot.x(), l.cell, l.columns);
    };
    l.cellStart.assign(static_cast<std::size_t>(l.columns) * l.rows + 1, 0);
    for (const QPointF& dot : l.dots)
        ++l.cellStart[cellIndex(dot) + 1];
    for (std::size_t c = 1; c < l.cellStart.size(); ++c)
        l.cellStart[c] += l.cellStart[c - 1];
    l.items.resize(l.dots.size());
    std::vector<int> next(l.cellStart.begin(), l.cellStart.end() - 1);
    l.reach = kDotDiameter;
    for (int i = 0; i < l.dots.size(); ++i) {
        l.items[next[cellIndex(l.dots[i])]++] = i;
        const QRectF& box = l.labels[i].box;
        if (!box.isEmpty()) {
            l.reach = std::max({l.reach, std::abs(box.left() - l.dots[i].x()),
                                std::abs(box.right() - l.dots[i].x()),
                                std::abs(box.top() - l.dots[i].y()),
                                std::abs(box.bottom() - l.dots[i].y())});
        }
    }
    return made;
}

QString ExploreOverlay::labelText(const Layout& layout, int item) const {
    const ExploreLabels::Placed& placed = layout.labels.at(item);
    if (placed.form < 0)
        return QString();
    const int row = m_shown.at(item);
    return ExploreLabels::shown(textOf(row), forms().at(row).lengths.at(placed.form));
}

const QImage& ExploreOverlay::dotImage(qreal ratio) const {
    auto it = m_dotImages.find(ratio);
    if (it != m_dotImages.end())
        return *it;
    const int side = static_cast<int>(std::ceil(kDotDiameter * ratio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kDotRim, 1));
    painter.setBrush(kDotFill);
    painter.drawEllipse(QRectF(0.5, 0.5, kDotDiameter - 1, kDotDiameter - 1));
    painter.end();
    return *m_dotImages.insert(ratio, image);
}

void ExploreOverlay::paint(QPainter& painter, const MapTransform& transform,
                           const QRectF& visibleMap) const {
    if (m_shown.isEmpty() || visibleMap.isEmpty())
        return;
    const Layout& l = layout(transform.zoom());
    const QPointF scroll(transform.scroll());
    const QRectF visible = QRectF(visibleMap.topLeft() * l.zoom, visibleMap.size() * l.zoom);
    const qreal half = kDotDiameter / 2.0;
    const QRectF dotsShown = visible.adjusted(-half, -half, half, half);
    // Cells far enough around for a label whose dot lies outside the view.
    const QRectF reached = visible.adjusted(-l.reach, -l.reach, l.reach, l.reach);
    const int x0 = cellOf(reached.left(), l.cell, l.columns);
    const int x1 = cellOf(reached.right(), l.cell, l.columns);
    const int y0 = cellOf(reached.top(), l.cell, l.rows);
    const int y1 = cellOf(reached.bottom(), l.cell, l.rows);

    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage& dot = dotImage(ratio);
    std::vector<int> labelled;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const std::size_t c = static_cast<std::size_t>(y) * l.columns + x;
            for (int k = l.cellStart[c]; k < l.cellStart[c + 1]; ++k) {
                const int i = l.items[k];
                if (dotsShown.contains(l.dots[i])) {
                    const QPointF centre = l.dots[i] - scroll;
                    // Whole device pixels: a copy, not a resampling.
                    painter.drawImage(QPointF(std::round((centre.x() - half) * ratio) / ratio,
                                              std::round((centre.y() - half) * ratio) / ratio),
                                      dot);
                }
                if (l.labels[i].form >= 0 && l.labels[i].box.intersects(visible))
                    labelled.push_back(i);
            }
        }
    }
    // Labels after every dot: a label never covers a dot, but its plate would hide one drawn
    // later on a neighbouring cell's edge.
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    const qreal ascent = QFontMetricsF(m_font).ascent();
    for (int i : labelled) {
        const QRectF box = l.labels[i].box.translated(-scroll);
        painter.fillRect(box, kPlate);
        painter.drawText(QPointF(box.left() + ExploreLabels::kPadding, box.top() + 1 + ascent),
                         labelText(l, i));
    }
}

int ExploreOverlay::itemAt(const MapTransform& transform, const QPointF& viewPos) const {
    return rowAt(QPointF(transform.mapPixelAt(viewPos))).value_or(-1);
}

QString ExploreOverlay::toolTip(int item) const {
    // The name even where its label had no room.
    return item >= 0 && item < m_rows.size() ? m_rows.at(item)[ColumnAnswer1] : QString();
}
