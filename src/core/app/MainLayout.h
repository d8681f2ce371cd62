#pragma once

#include "core/platform/Twips.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// The main window's layout in twips (1/1440 inch; 15 twips make one pixel at 96 dpi). The
// window keeps its layout in twips so that its figures match the design on every screen.
namespace MainLayout {

// Design figures of the client area and its controls.
constexpr int kClientWidth = 6810;
constexpr int kClientHeight = 4530;
constexpr int kMapLeft = 120;
constexpr int kMapTop = 120;
constexpr int kMapWidth = 6615;
constexpr int kMapHeight = 4095;
constexpr int kLineX1 = 120;
constexpr int kLineX2 = 6720;
constexpr int kLine0Y = 0;
constexpr int kLine1Y = 20;
constexpr int kPanelTimeWidth = 1000;
constexpr int kPanelPositionWidth = 1440;
// A locate quiz's column beside the map: this far right of the map, level with its top.
constexpr int kColumnGap = 120;

// What one resize assigns. An empty value is an assignment the toolkit would refuse (a
// negative width or height): the control keeps its previous value and the rest still apply.
struct Assignments {
    std::optional<int> mapWidth;
    std::optional<int> mapHeight;
    int line0X2 = 0;
    int line1X2 = 0;
    int panelTimeWidth = 0;
    std::optional<int> panelMainWidth;
    // With a column: its left edge, kColumnGap right of the map's right edge.
    int columnLeft = 0;
};

// From the window's outer width and height (frame included) and the current width of
// Panel_Position, all in twips. `columnWidth` is the width of a column that stands right of
// the map (a locate quiz's questions), 0 for none: the map gives way to it, down to no width
// at all, so that the two never overlap.
Assignments resize(int outerWidth, int outerHeight, int panelPositionWidth, int columnWidth = 0);

// The window grown so that `missing` more pixels of the map show, as far as the screen's
// `available` area allows: its new size (frame excluded), and the position that keeps the grown
// window on the screen. `window` is its position with the frame (a window's position is its
// frame's) and its size without; `frame` is what the frame adds to the size.
struct Grown {
    QSize size;
    QPoint position;
};
Grown grownToShow(QRect window, QSize missing, QSize frame, QRect available);

} // namespace MainLayout
