#include "core/study/Mastery.h"

#include "core/quiz/QuizPlacement.h"

#include <algorithm>

namespace Mastery {

std::optional<double> level(const PointStats& stats) {
    if (stats.asked <= 0)
        return std::nullopt;
    const double share =
        std::clamp(static_cast<double>(stats.right) / static_cast<double>(stats.asked), 0.0, 1.0);
    const double run =
        static_cast<double>(std::clamp<std::int64_t>(stats.streak, 0, kLearntStreak)) /
        kLearntStreak;
    return (share + run) / 2;
}

QColor neverAskedColour() {
    return QColor(160, 160, 160);
}

QColor colourFor(double level) {
    // Hue 0 is red, 120 green; full saturation would glare on a map.
    return QColor::fromHsv(static_cast<int>(std::clamp(level, 0.0, 1.0) * 120 + 0.5), 230, 220);
}

QColor colourFor(const PointStats* stats) {
    const std::optional<double> l = stats ? level(*stats) : std::nullopt;
    return l ? colourFor(*l) : neverAskedColour();
}

QString tooltip(const Point& point, const PointStats* stats) {
    const QString& name = point[ColumnAnswer1];
    if (!stats || stats->asked <= 0)
        return name + QStringLiteral(": 未出題");
    return name + QStringLiteral(": %1回中 %2回正解、連続 %3回")
                      .arg(stats->asked)
                      .arg(stats->right)
                      .arg(stats->streak);
}

QList<Dot> dots(const PointList& rows, const PointStatsTable& record) {
    QList<Dot> result;
    result.reserve(rows.size());
    const QPointF toCentre(QuizPlacement::kMarkerOffset, QuizPlacement::kMarkerOffset);
    for (int row = 0; row < rows.size(); ++row) {
        const Point& point = rows.at(row);
        const std::optional<QPointF> topLeft = QuizPlacement::markerTopLeft(point);
        if (!topLeft)
            continue;
        const auto it = record.constFind(PointIdentity::of(point));
        result.append(
            {row, *topLeft + toCentre, colourFor(it == record.cend() ? nullptr : &it.value())});
    }
    return result;
}

} // namespace Mastery
