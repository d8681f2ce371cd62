#pragma once

#include <QColor>

// The marker blinks by stepping its fill through black, white, red, blue, yellow and back to
// black; a colour outside that cycle stays as it is (so a marker can be stopped on purpose).
namespace MarkerBlink {

inline QColor next(const QColor& current) {
    const QRgb rgb = current.rgb() & 0xFFFFFF;
    switch (rgb) {
    case 0x000000:
        return QColor(255, 255, 255);
    case 0xFFFFFF:
        return QColor(255, 0, 0);
    case 0xFF0000:
        return QColor(0, 0, 255);
    case 0x0000FF:
        return QColor(255, 255, 0);
    case 0xFFFF00:
        return QColor(0, 0, 0);
    default:
        return current;
    }
}

constexpr int kIntervalMs = 300;

} // namespace MarkerBlink
