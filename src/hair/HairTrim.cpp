#include "hair/HairTrim.h"

#include <algorithm>

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "compositor/LayerGeometry.h"
#include "compositor/Preparation.h"
#include "compositor/ToolFiles.h"
#include "hair/HairColour.h"
#include "imaging/Rounding.h"
#include "imaging/Surface.h"

namespace ms {

Status cutHair(StudioState& s, QPointF canvas, const AlphaMask& shape) {
    if (!hasHairstyle(s)) return Status::notFound(QStringLiteral("画像上没有发型，剪刀无处可剪。"));
    if (shape.isEmpty()) return Status::success();
    PixelGrid& hair = s.doc.grids.hairstyle;
    const Placement p = redrawPlacement(Layer::Hairstyle, s.doc.design.geometry, s.doc.design.hairHeight);
    const auto at = canvasToGridF(p, hair.height, canvas);
    if (!at) return Status::success();
    // (x, y): where the position lies on the unmoved hairstyle, y counted from the top.
    const double x = at->x(), y = hair.height - 1 - at->y();
    const int W = shape.width, H = shape.height;
    for (int i = 0; i < W; ++i)
        for (int j = 0; j < H; ++j) {
            const int gx = roundHalfEven(x + i - W / 2.0), gy = roundHalfEven(hair.height + j - y - H / 2.0);
            if (gx < 0 || gx >= hair.width || gy < 0 || gy >= hair.height) continue;
            // The shape's rows are kept top-down: its row j from the bottom is H - 1 - j.
            const int cut = shape.at(i, H - 1 - j);
            uint32_t& px = hair.at(gx, gy);
            const int a = std::max(alphaOf(px) - cut, 0);
            px = (px & 0x00FFFFFFu) | static_cast<uint32_t>(a) << 24;
        }
    s.doc.grids.hairstyleBackup = hair;
    s.doc.surfaces.of(Kind::faxing) = Surface::fromGrid(hair);
    huaban_hecheng1(s);
    return Status::success();
}

void chooseScissors(StudioState& s, int shape) {
    ToolState& t = s.session.tools;
    t.locked = false;
    t.mode = ToolMode::scissors;
    t.scissorShapeFile = s.path(toolfiles::scissorShape(std::clamp(shape, 0, 5)));
}

void chooseShaping(StudioState& s) {
    s.session.tools.locked = false;
    s.session.tools.mode = ToolMode::warp;
}

void setHairWarpSize(StudioState& s, int size) {
    ToolState& t = s.session.tools;
    t.hairWarpSize = std::clamp(size, 1, 20);
    t.sizeOutlines(5 * t.hairWarpSize);
}

Status resetHairstyle(StudioState& s) {
    Status st;
    if (s.session.library.currentKind == LibraryKind::Hairstyles) {
        resetGeometry(s.doc.design.geometry, Kind::faxing);
        st = faxing_hecheng(s);
        s.doc.flags.modified(Kind::faxing) = false;
    }
    huaban_hecheng1(s);
    return st;
}

}  // namespace ms
