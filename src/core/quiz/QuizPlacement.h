#pragma once

#include "core/platform/Twips.h"

#include "core/data/Point.h"
#include "core/quiz/RandomSource.h"

#include <QPointF>

#include <optional>

namespace QuizPlacement {

// The marker is 9 x 9 map pixels; its top-left corner sits 4 pixels up and left of the point,
// so its centre pixel is the point.
constexpr int kMarkerSize = 9;
constexpr int kMarkerOffset = 4;

// Top-left corner of the marker for a point, in map pixels (fractions kept); nothing when X
// or Y is not a number, and the marker stays hidden. Far-off values are clamped to a range no
// map reaches, so later pixel arithmetic cannot overflow.
std::optional<QPointF> markerTopLeft(const Point& point);

// Width of the band the answer window's new left edge is drawn from: 8000 twips.
constexpr int kJumpRangeTwips = 8000;
constexpr int kJumpRangePixels = kJumpRangeTwips / Twips::kPerPixel;

struct Span {
    int left = 0;
    int width = 0;
    int right() const { return left + width; } // one past the last pixel
};

// Where the answer window goes so that it does not cover the marker, horizontally only.
// All values are screen pixels. `window` is the window's current outer span, `markerX` and
// `markerWidth` the marker's screen span (width 0 tests the single x strictly inside the
// window), `screen` the available span of the screen. The window stays put when it does not
// cover the marker; otherwise a new left edge is drawn from screen.left + r * jumpRange,
// clamped to keep the window on the screen, until it is clear. After `maxDraws` unlucky draws
// the nearest clear position beside the marker is taken, on the side with more room.
int answerWindowLeft(Span window, int markerX, int markerWidth, Span screen, RandomSource& random,
                     int jumpRange = kJumpRangePixels, int maxDraws = 64);

// True when the window's span covers the marker's span (for width 0: contains x strictly).
bool covers(Span window, int markerX, int markerWidth);

// A locate quiz asks in a column of the main window beside the map, so that nothing of the
// program's covers the map at any screen size; the main window widens by the column where the
// screen has room, so the map keeps its size. The main window's outer span (`frame`) widened
// by `extra` pixels, as far as the screen's available span allows; moved left only as far as
// its right edge needs to stay on the screen, never past the screen's left edge (a frame
// already partly past it keeps its left edge). A frame as wide as the screen or wider, or
// wholly off it, stays as it is.
Span widenedFrame(Span frame, int extra, Span screen);

} // namespace QuizPlacement
