#pragma once
#include <QPointF>

#include "base/Status.h"
#include "compositor/StudioState.h"
#include "imaging/Stamps.h"

namespace ms {

// The scissors: below the shape centred on the canvas position, each hair pixel's alpha is lowered
// by the shape's alpha (never below 0); the cut becomes part of the hairstyle (its backup grid),
// the surface is rebuilt from the straight pixels (dropping dye and highlights) and the canvas
// redrawn. The canvas position reaches the grid through the hairstyle's placement; unmoved, the
// position is the grid position. Without a hairstyle or with an empty shape nothing changes.
Status cutHair(StudioState& s, QPointF canvas, const AlphaMask& shape);

// The hair tools window's options: a scissor shape (0 .. 5) or the shaping warp; both unlock the
// tools. The warp size (1 .. 20) sizes both outlines (5 x the value).
void chooseScissors(StudioState& s, int shape);
void chooseShaping(StudioState& s);
void setHairWarpSize(StudioState& s, int size);

// "恢复初始状态": with the hairstyle library current, its move and stretch fields back to 0 and the
// hairstyle prepared again from its file (cuts, shaping, dye and highlights gone); then the canvas
// is redrawn.
Status resetHairstyle(StudioState& s);

}  // namespace ms
