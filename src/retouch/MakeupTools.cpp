#include "retouch/MakeupTools.h"

#include <algorithm>

#include "compositor/Composition.h"
#include "imaging/PixelGrid.h"

namespace ms {

using toolfiles::CursorId;

namespace {

void choosePattern(StudioState& s, int n) {
    s.session.tools.brushPatternFile = s.path(toolfiles::brushPattern(n));
}

}  // namespace

void openMakeupTools(StudioState& s) {
    s.session.tools.brushSize = 1;
    choosePattern(s, 1);
}

std::optional<CursorId> chooseMakeupOption(StudioState& s, MakeupOption option) {
    ToolState& t = s.session.tools;
    switch (option) {
        case MakeupOption::Pen:
            t.mode = ToolMode::pen;
            return CursorId::Pen;
        case MakeupOption::Brush:
            t.mode = ToolMode::brush;
            choosePattern(s, t.brushSize);
            return CursorId::Brush;
        case MakeupOption::Concealer:
            t.mode = ToolMode::concealer;
            choosePattern(s, t.brushSize);
            return CursorId::Concealer;
        case MakeupOption::Eyedropper:
            return std::nullopt;
        case MakeupOption::Soften:
            t.mode = ToolMode::soften;
            return CursorId::Soften;
        case MakeupOption::Clone:
            t.mode = ToolMode::clone;
            return CursorId::Clone;
        case MakeupOption::Eraser:
            t.mode = ToolMode::eraser;
            return CursorId::Eraser;
    }
    return std::nullopt;
}

void setBrushSize(StudioState& s, int v) {
    ToolState& t = s.session.tools;
    v = std::clamp(v, 1, toolfiles::kBrushSizes);
    t.brushSize = v;
    t.Shape5.setSide(5 * v);
    t.canvasDrawWidth = v;
    choosePattern(s, v);
}

void pickMakeupColour(StudioState& s, int32_t colour) {
    s.session.tools.colour = colour;
    s.session.tools.canvasDrawColour = colour;
}

void beginEyedropper(StudioState& s) {
    Views& v = s.session.views;
    v.Pichuaban1 = v.Pichuaban1Kept = v.Pichuaban;
}

Status clearAllMakeup(StudioState& s) {
    DesignState& d = s.doc.design;
    d.PicMT = d.PicMT0;
    s.session.views.Pichuaban = d.PicMT0;
    return huaban_hecheng2(s);
}

void undoMakeup(StudioState& s) {
    Views& v = s.session.views;
    if (!v.Pichuaban1Kept.isNull()) v.Pichuaban = v.Pichuaban1Kept;
}

std::optional<int32_t> colourAt(const QImage& picture, QPoint at) {
    if (!picture.valid(at)) return std::nullopt;
    const QRgb p = picture.pixel(at);
    return colourValue(qRed(p), qGreen(p), qBlue(p));
}

PalettePick paletteRelease(StudioState& s, PalettePicture picture, int32_t colour) {
    ToolState& t = s.session.tools;
    PalettePick pick;
    if (t.highlightBrush) {
        pick.highlight = true;
        t.mode = ToolMode::brush;
        pickMakeupColour(s, colour);
        choosePattern(s, 1);
        pick.cursor = CursorId::Brush;
        // A swatch of the chart is a final choice; on the palette the stylist may try another.
        pick.closePalette = picture == PalettePicture::Chart;
    } else {
        s.doc.design.lipColour = colour;
    }
    return pick;
}

}  // namespace ms
