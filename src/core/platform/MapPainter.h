#pragma once

#include <QColor>
#include <QList>
#include <QRect>

class MapOverlay;
class MapPyramid;
class MapTransform;
class QPainter;

// Paints a map view: the map zoomed and scrolled as `transform` says, from the reduced copy that
// suits the zoom, then the overlays. Pixels are kept sharp from 100 % up (each map pixel a
// block of device pixels) and averaged below.
namespace MapPainter {

// Paints the part `exposed` of the view (view coordinates); what the map does not cover there is
// filled with `background`.
void paint(QPainter& painter, const MapPyramid& map, const MapTransform& transform,
           const QRect& exposed, const QColor& background,
           const QList<const MapOverlay*>& overlays = {});

} // namespace MapPainter
