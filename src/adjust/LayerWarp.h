#pragma once
#include <QPointF>
#include <optional>

#include "base/Status.h"
#include "compositor/Kind.h"
#include "compositor/StudioState.h"
#include "imaging/PixelGrid.h"

namespace ms {

// Where a kind's grid lies in the warp's input coordinates: the point (X, Y) addresses column
// X - cx and row cy - Y of the grid (rows count from the bottom). The hairstyle's cy is the height
// of its grid.
struct WarpOrigin {
    double cx = 0, cy = 0;
};

// One drag of the warp on a straight grid: pixels within `radius` of the start S are pushed along
// the drag towards the end E, by half the drag at the centre, falling off with the square of the
// distance to the rim. Only the square around S is recomputed; pixels outside the circle keep
// their values. Both grids end up holding the warped pixels, so successive drags accumulate.
void warpGrid(PixelGrid& grid, PixelGrid& backup, WarpOrigin origin, int radius, QPointF start, QPointF end);

// The warp procedures: the layer warp of the kind with the tool state's press point as start and
// its release point as end, in the kind's input coordinates, and the radius 5 x the size slider
// (the hair tools window's for the hairstyle, the library window's for the others). Then the
// layer-modified flag is set, the kind surface rebuilt (with lip colour strength or eyebrow
// strength) and the canvas redrawn. A kind without a component changes nothing.
// Returns whether the layer was warped.
bool faxing_bx(StudioState& s);
bool meimao_bx(StudioState& s);
bool zuixing_bx(StudioState& s);
bool fuzhuang_bx(StudioState& s);

// The kind the warp of a library acts on: hairstyle, eyebrows, lips, and the clothing for every
// accessory tab; none for the other values.
std::optional<Kind> warpKindOf(LibraryKind library);

// "变形工具" of the library window: the canvas tool becomes the warp, and the tools are unlocked so
// that it works also after the hair colour window locked them.
void chooseWarpTool(StudioState& s);
// The library window's warp size (1 .. 20): the warp radius is 5 x the size, and both tool outlines
// take that side.
void setLibraryWarpSize(StudioState& s, int size);

// Runs the warp procedure of the kind.
bool warpLayer(StudioState& s, Kind k);

// The canvas position (x, y) as the warp of the library takes it: the point of the kind grid under
// it, through the inverse of the layer's placement (moves and stretches undone; of the brows, the
// one nearer across), in the kind's input coordinates. For the brows at their place this is
// (x, y + mmtopz).
std::optional<QPointF> warpInput(const StudioState& s, LibraryKind library, QPointF canvas);

}  // namespace ms
