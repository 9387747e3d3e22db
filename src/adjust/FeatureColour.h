#pragma once
#include "base/Status.h"
#include "compositor/Kind.h"
#include "compositor/StudioState.h"

namespace ms {

// Rebuild the eyebrow (lip) surface from its grid with the eyebrow (lip) colour strength, then
// redraw the canvas. The grids never hold a strength, so a new strength starts from the grid again.
void meimao_yanse(StudioState& s);
void zuixing_yanse(StudioState& s);

// The colour slider "眉毛颜色浓淡" / "唇型颜色浓淡" released at v (-20 .. 0): the eyebrow strength
// becomes 8 v, the lip strength 5 v, and the layer is rebuilt. Other libraries: nothing.
void releaseColourSlider(StudioState& s, LibraryKind library, int v);

// What follows a lip colour picked in the palette (the colour is already the design's).
enum class LipColourFollow {
    Nothing,   // lip design mode is off: only the stored colour changed
    Retinted,  // the warped lips took the colour; the lip thumbnails are to be drawn again
    Reloaded,  // the lips were prepared again in the colour; the lip thumbnails are to be drawn again
};
LipColourFollow lipColourPicked(StudioState& s, Status& problem);

}  // namespace ms
