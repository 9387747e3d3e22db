#pragma once
#include <QPointF>
#include <QRect>
#include <QString>
#include <cstdint>

#include "compositor/LayerGeometry.h"
#include "imaging/Rounding.h"

namespace ms {

// The canvas tool in use. The values are those the tool windows set; 7 and 8 are not used.
enum class ToolMode : uint8_t {
    pen = 0,
    brush = 1,
    soften = 2,
    clone = 3,
    concealer = 4,
    warp = 5,
    eraser = 6,
    scissors = 9,
};

// A tool outline drawn over a view (Shape5 over the canvas view in canvas pixels, Shape6 over the
// magnified view in its own pixels).
struct ToolOutline {
    QRect rect;
    bool shown = false;
    // Square of `side` with its centre where it was.
    void setSide(int side) {
        const QPoint c = rect.isNull() ? QPoint() : rect.center();
        rect = QRect(0, 0, side, side);
        rect.moveCenter(c);
    }
    // A w x h outline centred on `at` (left and top both from the width), shown.
    void centreOn(QPointF at, int w, int h) {
        rect = QRect(roundHalfEven(at.x() - w / 2.0), roundHalfEven(at.y() - w / 2.0), w, h);
        shown = true;
    }
};

// What the tool windows set and the canvas views' mouse handlers read. Positions are canvas pixels
// (x right, y down, origin at the top-left of the canvas).
struct ToolState {
    ToolMode mode = ToolMode::pen;
    bool locked = false;          // the views ignore the tools, except the magnified view's restore
    bool highlightBrush = false;  // the brush paints hair highlights instead of makeup
    int32_t colour = 0;           // pen and brush colour, red in the low byte
    QString brushPatternFile;     // full path of "penqiang/<n>.tta"
    QString scissorShapeFile;     // full path of "penqiang/11.tta" .. "16.tta"
    QPointF press;                // where the current stroke started
    QPointF release;              // where a warp stroke ended; y is whole
    QPointF cloneSource;          // chosen with Alt + left click
    QPointF cloneAnchor;          // first left press after the source was chosen; y is whole
    int patternWidth = 0, patternHeight = 0;  // of the last brush pattern read
    int brushSize = 1;                        // 1 .. 10, the makeup window's brush size

    int32_t canvasDrawColour = 0;  // lines drawn on the canvas view (magnified-view pen)
    int canvasDrawWidth = 1;       // follows the brush size
    int32_t photoDrawColour = 0;   // lines drawn on the working photo (canvas-view pen)

    // Sizes of the other windows' area sliders that the outlines follow.
    int warpAreaSize = 7;          // the main window's "变形区域大小", 1 .. 20
    int libraryWarpSize = 1;       // the component library window's warp size
    int hairWarpSize = 10;         // the hair tools window's warp size
    bool hairToolsActive = false;  // the hair tools window is the tool in use

    ToolOutline Shape5, Shape6;

    // Both outlines square with `side` canvas pixels; the magnified view's side counts in points.
    void sizeOutlines(int side) {
        Shape5.setSide(side);
        Shape6.setSide(roundHalfEven(side / kPointsPerViewPixel));
    }
};

}  // namespace ms
