#pragma once

#include <QRect>

// Window layouts are designed in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
// Every design figure is a multiple of 15, so the conversions are exact there.
namespace Twips {

constexpr int kPerPixel = 15;

// Nearest pixel of a length in twips (halves away from zero).
constexpr int toPixels(int twips) {
    return twips >= 0 ? (twips + kPerPixel / 2) / kPerPixel
                      : -((-twips + kPerPixel / 2) / kPerPixel);
}

constexpr int fromPixels(int pixels) {
    return pixels * kPerPixel;
}

// A control's geometry given as left, top, width and height in twips.
inline QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
