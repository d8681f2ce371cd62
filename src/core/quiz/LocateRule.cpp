#include "core/quiz/LocateRule.h"

#include "core/data/NumericText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Positions beyond this are off any map; clamping keeps squared distances finite.
constexpr double kFarAway = 1.0e7;

std::optional<QPointF> placeOf(const Point& point) {
    const std::optional<double> x = NumericText::toNumber(point[ColumnX]);
    const std::optional<double> y = NumericText::toNumber(point[ColumnY]);
    if (!x || !y)
        return std::nullopt;
    return QPointF(std::clamp(*x, -kFarAway, kFarAway), std::clamp(*y, -kFarAway, kFarAway));
}

double squaredDistance(const QPointF& a, const QPointF& b) {
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

} // namespace

LocateRule::LocateRule(const PointList& rows, QSize mapSize)
    : m_mapSize(mapSize) {
    m_positions.reserve(rows.size());
    for (const Point& point : rows)
        m_positions.append(placeOf(point));
}

bool LocateRule::isOnMap(const QPointF& press) const {
    return press.x() >= 0 && press.y() >= 0 && press.x() < m_mapSize.width() &&
           press.y() < m_mapSize.height();
}

std::optional<QPointF> LocateRule::position(int row) const {
    if (row < 0 || row >= m_positions.size())
        return std::nullopt;
    return m_positions.at(row);
}

double LocateRule::catchmentRadius(int row) const {
    const std::optional<QPointF> asked = position(row);
    if (!asked)
        return 0;
    double nearest = std::numeric_limits<double>::infinity();
    for (const std::optional<QPointF>& other : m_positions) {
        // Points at the asked point's own place (itself, or a twin) are no neighbours.
        if (other && *other != *asked)
            nearest = std::min(nearest, squaredDistance(*asked, *other));
    }
    if (std::isinf(nearest))
        return kLonelyRadiusShare * std::hypot(double(m_mapSize.width()), m_mapSize.height());
    return std::sqrt(nearest);
}

LocateVerdict LocateRule::judge(int askedRow, const QPointF& press) const {
    const std::optional<QPointF> asked = position(askedRow);
    if (!asked)
        return {};
    const double toAsked = squaredDistance(press, *asked);
    const bool nearest =
        std::none_of(m_positions.cbegin(), m_positions.cend(), [&](const auto& other) {
            return other && squaredDistance(press, *other) < toAsked;
        });
    const double distance = std::sqrt(toAsked);
    return {nearest && distance <= catchmentRadius(askedRow), distance};
}

std::optional<int> LocateRule::nearestRow(const QPointF& press) const {
    int nearest = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int row = 0; row < m_positions.size(); ++row) {
        const std::optional<QPointF>& place = m_positions.at(row);
        if (place && squaredDistance(press, *place) < best) {
            best = squaredDistance(press, *place);
            nearest = row;
        }
    }
    if (nearest < 0 || std::sqrt(best) > catchmentRadius(nearest))
        return std::nullopt;
    return nearest;
}
