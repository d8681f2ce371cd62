#include "core/worksheet/Worksheet.h"

#include "core/data/NumericText.h"
#include "core/quiz/RandomSource.h"

#include <cmath>
#include <utility>

namespace {

std::optional<QPointF> mapPosition(const Point& point, const QSize& mapSize) {
    const auto x = NumericText::toNumber(point[ColumnX]);
    const auto y = NumericText::toNumber(point[ColumnY]);
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y))
        return std::nullopt;
    if (*x < 0 || *y < 0 || *x >= mapSize.width() || *y >= mapSize.height())
        return std::nullopt;
    // A coordinate names a pixel; its circle goes round the pixel's centre.
    return QPointF(*x + 0.5, *y + 0.5);
}

} // namespace

Worksheet::Worksheet(WorksheetSource source, const WorksheetOptions& options, RandomSource& random)
    : m_source(std::move(source))
    , m_options(options) {
    const int count = static_cast<int>(m_source.points.size());
    QList<int> rows(count);
    for (int i = 0; i < count; ++i)
        rows[i] = i;
    if (options.numbering == WorksheetOptions::Numbering::Shuffled) {
        random.reseed();
        for (int i = count - 1; i > 0; --i)
            std::swap(rows[i], rows[randomIndex(random, i + 1)]);
    }
    m_entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int row = rows[i];
        m_entries.append({i + 1, row, mapPosition(m_source.points[row], m_source.map.size())});
    }
}
