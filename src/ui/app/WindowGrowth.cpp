#include "ui/app/WindowGrowth.h"

#include "core/app/MainLayout.h"

#include <QScreen>
#include <QWidget>

namespace WindowGrowth {

void grow(QWidget& window, QSize missing) {
    missing = missing.expandedTo(QSize(0, 0));
    if (window.isMaximized() || window.isFullScreen() || missing.isNull())
        return;
    const QScreen* screen = window.screen();
    if (!screen) {
        window.resize(window.size() + missing);
        return;
    }
    // Before the first show the frame is unknown; leave room for a typical one.
    const QSize frame =
        window.isVisible() ? window.frameGeometry().size() - window.size() : QSize(16, 48);
    const MainLayout::Grown grown = MainLayout::grownToShow(
        QRect(window.pos(), window.size()), missing, frame, screen->availableGeometry());
    window.resize(grown.size);
    if (window.isVisible())
        window.move(grown.position); // keeps the grown window on the screen
}

} // namespace WindowGrowth
