#include "core/study/Mastery.h"

#include "core/quiz/QuizPlacement.h"

#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Cividis as straight lines between these of its 256 published colours, which keeps every one
// of them within one step of 255: the place on the scale (of 255), then red, green and blue.
struct Stop {
    int at;
    int r, g, b;
};
constexpr Stop kCividis[] = {
    {0, 0, 34, 78},       {19, 0, 48, 111},     {21, 0, 49, 112},     {23, 1, 50, 113},
    {28, 18, 53, 112},    {34, 30, 58, 111},    {43, 43, 64, 109},    {52, 54, 70, 108},
    {66, 69, 80, 108},    {84, 86, 92, 109},    {107, 107, 109, 114}, {126, 123, 122, 120},
    {147, 143, 138, 120}, {164, 159, 151, 117}, {179, 174, 163, 113}, {192, 188, 174, 108},
    {205, 201, 185, 101}, {219, 217, 197, 92},  {232, 231, 209, 80},  {243, 243, 219, 66},
    {251, 253, 227, 52},  {252, 254, 228, 52},  {255, 254, 232, 56},
};
static_assert(kCividis[std::size(kCividis) - 1].at == Mastery::kSteps - 1);

const std::array<QRgb, Mastery::kSteps>& palette() {
    static const std::array<QRgb, Mastery::kSteps> made = [] {
        std::array<QRgb, Mastery::kSteps> steps{};
        std::size_t stop = 0;
        for (int i = 0; i < Mastery::kSteps; ++i) {
            while (kCividis[stop + 1].at < i)
                ++stop;
            const Stop& a = kCividis[stop];
            const Stop& b = kCividis[stop + 1];
            const double f = static_cast<double>(i - a.at) / (b.at - a.at);
            const auto mix = [f](int from, int to) {
                return static_cast<int>(std::lround(from + (to - from) * f));
            };
            steps[i] = qRgb(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
        }
        return steps;
    }();
    return made;
}

QString dayText(const QDate& day, const QDate& today) {
    if (day.year() == today.year())
        return QStringLiteral("%1月%2日").arg(day.month()).arg(day.day());
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

} // namespace

namespace Mastery {

QColor neverAskedColour() {
    // Paler than the palette's grey and without its tint.
    return QColor(214, 214, 214);
}

QColor colourFor(double recall) {
    const double within = recall >= 0 ? std::min(recall, 1.0) : 0.0; // not a number: 0
    return QColor(palette()[static_cast<std::size_t>(std::lround(within * (kSteps - 1)))]);
}

std::optional<double> recall(const Fsrs& model, const MemoryState* state, std::int64_t atMsecsUtc) {
    if (!state || state->phase == MemoryPhase::New)
        return std::nullopt;
    return model.retrievability(*state, atMsecsUtc);
}

QString dueText(std::int64_t dueMsecsUtc, const QDateTime& now) {
    const QDate today = now.date();
    const QDate day =
        QDateTime::fromMSecsSinceEpoch(dueMsecsUtc, Qt::UTC).toTimeZone(now.timeZone()).date();
    if (day < today)
        return QStringLiteral("期限切れ (%1)").arg(dayText(day, today));
    if (day == today)
        return QStringLiteral("今日");
    return dayText(day, today);
}

QString tooltip(const Point& point, const PointStats* stats, const MemoryState* state,
                const Fsrs& model, const QDateTime& now) {
    const QString& name = point[ColumnAnswer1];
    if (!stats || stats->asked <= 0)
        return name + QStringLiteral(": 未出題");
    QString text = name + QStringLiteral(": %1回中 %2回正解、連続 %3回")
                              .arg(stats->asked)
                              .arg(stats->right)
                              .arg(stats->streak);
    if (const std::optional<double> r = recall(model, state, now.toMSecsSinceEpoch())) {
        text += QStringLiteral("\n想起率 %1%、次の復習: %2")
                    .arg(std::lround(*r * 100))
                    .arg(dueText(state->dueMsecsUtc, now));
    }
    return text;
}

QList<Dot> dots(const PointList& rows, const MemoryStateTable& states, const Fsrs& model,
                std::int64_t atMsecsUtc) {
    QList<Dot> result;
    result.reserve(rows.size());
    const QPointF toCentre(QuizPlacement::kMarkerOffset, QuizPlacement::kMarkerOffset);
    for (int row = 0; row < rows.size(); ++row) {
        const Point& point = rows.at(row);
        const std::optional<QPointF> topLeft = QuizPlacement::markerTopLeft(point);
        if (!topLeft)
            continue;
        const auto it = states.constFind(PointIdentity::of(point));
        const std::optional<double> r =
            recall(model, it == states.cend() ? nullptr : &it.value(), atMsecsUtc);
        result.append({row, *topLeft + toCentre, r ? colourFor(*r) : neverAskedColour()});
    }
    return result;
}

} // namespace Mastery
