#pragma once
#include <QColor>
#include <QPainter>
#include <QRectF>

// The line icons of the window art, drawn in a 24 x 24 unit box.
namespace shellart {

enum class Icon {
    Hair,
    Dye,
    Brow,
    Scissors,
    Brush,
    Lips,
    Gem,
    Clock,
    Undo,
    Redo,
    Help,
    Hide,
    Power,
    Zoom,
    ZoomIn,
    ZoomOut
};

// Draws `icon` scaled into `box` with round-capped strokes `strokeUnits` of the unit box wide.
void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& colour, double strokeUnits = 1.7);

}  // namespace shellart
