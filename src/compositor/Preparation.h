#pragma once
#include "compositor/StudioState.h"
#include "platform/Status.h"

namespace ms {

// Each preparation reads its kind's current file, rebuilds the kind grid (straight) and surface
// (premultiplied) and blends the surface onto the canvas at the preparation placement. When the
// file cannot be read it reports why and leaves grids, surface and canvas as they were.
// An empty current file means the kind has no component: its surface becomes empty.
Status faxing_hecheng(StudioState& s);
Status meimao_hecheng(StudioState& s);
Status zuixing_hecheng(StudioState& s);
Status yanjing_hecheng(StudioState& s);
Status maozi_hecheng(StudioState& s);
Status erhuan_hecheng(StudioState& s);
Status xianglian_hecheng(StudioState& s);
Status fuzhuang_hecheng(StudioState& s);

// The cut-out photo layer from PicRGB (colour) and PicA (grey mask: white keeps, black removes).
Status xiushi_hecheng(StudioState& s);

// Draws the hairstyle fully opaque into Picfx (380 x hairstyle height); the surface is kept.
Status faxing_hecheng1(StudioState& s);

// The kind whose surface a layer is drawn from.
Kind kindOf(Layer layer);

// Blends a kind's prepared surface again at its redraw placement.
void blendPrepared(StudioState& s, Layer layer);

}  // namespace ms
