#include "core/quiz/QuizPlacement.h"

#include "core/data/NumericText.h"

#include <algorithm>
#include <cmath>

namespace QuizPlacement {

namespace {

// Positions beyond this are off any map and any screen; clamping keeps int arithmetic safe.
constexpr double kFarAway = 1.0e7;

double nearby(double value) {
    return std::clamp(value, -kFarAway, kFarAway);
}

int clampToScreen(int left, int width, Span screen) {
    // A window wider than the screen keeps its left edge on the screen.
    const int highest = std::max(screen.left, screen.right() - width);
    return std::clamp(left, screen.left, highest);
}

} // namespace

std::optional<QPointF> markerTopLeft(const Point& point) {
    const std::optional<double> x = NumericText::toNumber(point[ColumnX]);
    const std::optional<double> y = NumericText::toNumber(point[ColumnY]);
    if (!x || !y)
        return std::nullopt;
    return QPointF(nearby(*x - kMarkerOffset), nearby(*y - kMarkerOffset));
}

bool covers(Span window, int markerX, int markerWidth) {
    if (markerWidth <= 0)
        return window.left < markerX && markerX < window.right();
    return window.left < markerX + markerWidth && markerX < window.right();
}

int answerWindowLeft(Span window, int markerX, int markerWidth, Span screen, RandomSource& random,
                     int jumpRange, int maxDraws) {
    if (!covers(window, markerX, markerWidth))
        return window.left;
    const int range = std::max(jumpRange, 0);
    for (int draw = 0; draw < maxDraws; ++draw) {
        const double r = random.next();
        const double offset = (r >= 0.0 && r < 1.0) ? std::floor(r * range) : 0.0;
        const int left =
            clampToScreen(screen.left + static_cast<int>(offset), window.width, screen);
        if (!covers({left, window.width}, markerX, markerWidth))
            return left;
    }
    // Beside the marker: just right of it, or just left of it, as far onto the screen as that
    // side allows; both are clear by construction. When neither side holds the whole window
    // the side with more room wins: a window clear of the marker matters more than a few
    // pixels past the screen edge.
    const int markerEnd = markerX + std::max(markerWidth, 0);
    const int rightSide = std::max(markerEnd, screen.left);
    const int leftSide = std::min(markerX - window.width, screen.right() - window.width);
    const int roomRight = screen.right() - rightSide;
    const int roomLeft = leftSide + window.width - screen.left;
    if (roomRight >= window.width)
        return rightSide;
    if (roomLeft >= window.width)
        return leftSide;
    return roomRight >= roomLeft ? rightSide : leftSide;
}

Span widenedFrame(Span frame, int extra, Span screen) {
    const bool onScreen = frame.left < screen.right() && screen.left < frame.right();
    const int room = screen.width - frame.width;
    if (!onScreen || room <= 0 || extra <= 0)
        return frame;
    const int width = frame.width + std::min(extra, room);
    // The widened frame fits the screen, so its right edge can always be brought onto it.
    const int left =
        frame.left < screen.left ? frame.left : std::min(frame.left, screen.right() - width);
    return {left, width};
}

} // namespace QuizPlacement
