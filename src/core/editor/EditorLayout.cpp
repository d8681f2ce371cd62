#include "core/editor/EditorLayout.h"

#include <algorithm>

namespace EditorLayout {

Arrangement arrange(int insideWidth, int statusBarTop) {
    Arrangement result;
    result.mapWidth = std::max(0, insideWidth - kMapRightMargin - kMapLeft);
    result.mapHeight = std::max(0, statusBarTop - kMapBottomMargin - kMapTop);
    result.lineX2 = std::max(kLineX1, insideWidth - kLineRightMargin);
    return result;
}

} // namespace EditorLayout
