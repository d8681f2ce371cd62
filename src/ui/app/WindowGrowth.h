#pragma once

#include <QSize>

class QWidget;

namespace WindowGrowth {

// Makes a top-level window larger by `missing`, as far as its screen allows, keeping it on the
// screen. It never shrinks, and a maximized or full-screen window stays as the user made it.
void grow(QWidget& window, QSize missing);

} // namespace WindowGrowth
