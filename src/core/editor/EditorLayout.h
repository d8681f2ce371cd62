#pragma once

#include "core/platform/Twips.h"

// The editor window's arithmetic on resizing, in twips (15 twips to a pixel). The toolkit
// reports the inside of the window, so the margins of the design size are kept: the map view
// ends 60 twips inside the right edge and 60 twips above the status bar, and the separator
// lines end 75 twips inside the right edge. Nothing else moves.
namespace EditorLayout {

// The design: an inside area of 8355 x 7290 twips with the status bar's top at 7035.
constexpr int kDesignWidth = 8355;
constexpr int kDesignHeight = 7290;
constexpr int kDesignStatusBarTop = 7035;

constexpr int kMapLeft = 1560;
constexpr int kMapTop = 120;
constexpr int kMapRightMargin = 60;
constexpr int kMapBottomMargin = 60;
constexpr int kLineX1 = 120;
constexpr int kLineRightMargin = 75;

struct Arrangement {
    int mapWidth = 0; // Picture1
    int mapHeight = 0;
    int lineX2 = 0; // right end of Line1(0) and Line1(1)
};

// For an inside width and a status bar whose top lies at `statusBarTop` (both in twips).
// A window too small for the map view gives it a size of zero rather than a negative one.
Arrangement arrange(int insideWidth, int statusBarTop);

} // namespace EditorLayout
