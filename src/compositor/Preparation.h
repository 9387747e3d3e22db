#pragma once
#include "base/Status.h"
#include "compositor/Kinds.h"
#include "compositor/StudioState.h"
#include "imaging/ComponentCodec.h"

namespace ms {

// A kind's current file read into a straight grid; the lips are tinted with the lip colour.
struct KindFile {
    bool none = false;  // the kind has no component (its current file is "")
    TgaHeader header;
    PixelGrid grid;
};

// Reads the kind's current file as its kind table entry says. Fails without changing anything
// when the file cannot be read.
Status loadKindGrid(const StudioState& s, Kind k, KindFile& out);

// Every pixel of the grid takes the lip colour (a colour value); alphas stay.
void tintWithLipColour(PixelGrid& grid, int32_t lipColour);

// Builds the kind's surface again from its kept grid, with the kind's own step (lip strength,
// eyebrow strength); an empty grid empties the surface. Kinds that keep no grid are left alone.
// Warps, colour strength, dyeing and trimming edit the grid and then call this.
void rebuildKindSurface(StudioState& s, Kind k);

// The preparation of a kind: its file read into its grid and backup (kinds that keep one), its
// surface rebuilt and blended onto the canvas at the preparation placement. When the file cannot
// be read it reports why and leaves grids, surface and canvas as they were. An empty current file
// means the kind has no component: grids and surface become empty.
Status prepareKind(StudioState& s, Kind k);

// The preparations by their names.
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
// The same from a straight grid of the hairstyle's size (a dyed one).
void drawHairPicture(StudioState& s, const PixelGrid& hair);

// Blends a kind's prepared surface again at its redraw placement.
void blendPrepared(StudioState& s, Layer layer);

}  // namespace ms
