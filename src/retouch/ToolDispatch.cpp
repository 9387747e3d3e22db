#include "retouch/ToolDispatch.h"

#include <algorithm>
#include <array>

#include "adjust/LayerWarp.h"
#include "compositor/Composition.h"
#include "imaging/Rounding.h"
#include "imaging/Stamps.h"

namespace ms {

using toolfiles::CursorId;

namespace {

constexpr int kStampSide = 50;  // the magnified view's clone and restore stamps

// One mouse event on its way through the table.
struct Ctx {
    CanvasTools& tools;
    StudioState& s;
    ToolState& t;
    const CanvasEvent& e;
    QPointF c;  // canvas position
    ToolResult& r;

    // "Left" and "right" are the button of a press or release, or the one button held in a move.
    bool isButton(Qt::MouseButton b) const {
        return e.action == MouseAction::Move ? e.buttons == Qt::MouseButtons(b) : e.button == b;
    }
    bool left() const { return isButton(Qt::LeftButton); }
    bool right() const { return isButton(Qt::RightButton); }
    QImage& PicMT() { return s.doc.design.PicMT; }
    QImage& Pichuaban() { return s.session.views.Pichuaban; }

    const AlphaMask& pattern() {
        const AlphaMask& m = tools.brushPattern(s, r.problem);
        t.patternWidth = m.width, t.patternHeight = m.height;
        return m;
    }
    const AlphaMask& disc() { return tools.softDisc(s, r.problem); }
    void cursor(CursorId id) { r.cursor = id; }
    // The canvas view's picture, as it is now, also becomes what Pichuaban1 keeps.
    void keepCanvasView() {
        Views& v = s.session.views;
        v.Pichuaban1 = v.Pichuaban1Kept = v.Pichuaban;
        r.changed = true;
    }
    void refresh() {
        r.refreshMagnified = true;
        r.changed = true;
    }
};

using Handler = void (*)(Ctx&);
void none(Ctx&) {}

// Magnified-view outline sizes are in points; the outline itself is placed in view pixels.
int pointsToPixels(double points) { return roundHalfEven(points / kPointsPerViewPixel); }
QPointF viewPoints(const Ctx& x) { return x.e.pos * kPointsPerViewPixel; }
void placeShape6(Ctx& x, QPointF topLeftPoints, double sidePoints) {
    const int side = pointsToPixels(sidePoints);
    x.t.Shape6.rect = QRect(pointsToPixels(topLeftPoints.x()), pointsToPixels(topLeftPoints.y()), side, side);
    x.t.Shape6.shown = true;
    x.r.changed = true;
}
void centreShape(ToolOutline& shape, Ctx& x, QPointF at, int side) {
    shape.centreOn(at, side, side);
    x.r.changed = true;
}

// The makeup brush: one stamp of the brush pattern in the current colour, one pixel smaller.
void makeupStamp(Ctx& x, QImage& dst, QPointF at) {
    const AlphaMask& m = x.pattern();
    if (m.isEmpty()) return;
    QRect to = centredRect(at, m.width, m.height);
    to.setSize(QSize(m.width - 1, m.height - 1));
    stampColour(dst, to, m, x.t.colour);
    x.r.changed = true;
}

// The last composed canvas brushed back over the canvas view with the soft disc.
void restoreStamp(Ctx& x) {
    const AlphaMask& m = x.disc();
    if (m.isEmpty()) return;
    const QPoint at(roundHalfEven(x.c.x() - kStampSide / 2.0), roundHalfEven(x.c.y() - kStampSide / 2.0));
    stampArea(x.Pichuaban(), at, x.s.doc.surfaces.canvas, at, m);
    x.keepCanvasView();
}

// The layer warp's start or end for the current library kind, relative to the layer in both
// views; nullopt where the kind has no warp.
std::optional<QPointF> warpPoint(const Ctx& x) {
    return warpInput(x.s, x.s.session.library.currentKind, x.c);
}

// The warp of the current library kind from the press point to the release point. A kind without
// a component changes nothing.
void runWarp(Ctx& x) {
    const auto k = warpKindOf(x.s.session.library.currentKind);
    if (k && warpLayer(x.s, *k)) x.r.changed = true;
}

// A hair tool's layer operation; what it could not do is the event's problem.
template <typename... Args, typename F>
void layerTool(Ctx& x, const F& tool, Args&&... args) {
    if (!tool) return;
    if (const Status st = tool(x.s, std::forward<Args>(args)...); !st) x.r.problem = st;
    x.r.changed = true;
}

// ---- Canvas view: strokes go into the working photo, under every layer.

void canvasPenDown(Ctx& x) {
    if (x.left()) x.t.press = x.c;
}
void canvasPenMove(Ctx& x) {
    x.t.photoDrawColour = x.t.colour;
    if (!x.left()) return;
    drawLine(x.PicMT(), x.t.press, x.c, x.t.photoDrawColour, 1);
    x.t.press = x.c;
    x.cursor(CursorId::Pen);
    x.r.recompose = Recompose::Redraw;
}
// A finished pen stroke is committed: the eraser, soften and clone read it from the reference photo.
void canvasPenUp(Ctx& x) { x.s.doc.design.PicMT0 = x.s.doc.design.PicMT; }

// Highlights: the pattern in the current colour, on the hair picture and on the canvas view; the
// release commits them to the hair.
void canvasBrushDown(Ctx& x) {
    if (x.left() && x.t.highlightBrush) (void)x.pattern();
}
void canvasBrushMove(Ctx& x) {
    centreShape(x.t.Shape5, x, x.c, 7 * x.t.brushSize);
    if (!x.left() || !x.t.highlightBrush) return;
    makeupStamp(x, x.s.session.views.Picfx, x.c);
    makeupStamp(x, x.Pichuaban(), x.c);
}
// The makeup brush paints one stamp where the button is released, nothing while it is held.
void canvasBrushUp(Ctx& x) {
    if (!x.left()) return;
    if (x.t.highlightBrush)
        layerTool(x, x.tools.layerTools().commitHighlights);
    else
        makeupStamp(x, x.PicMT(), x.c);
    x.r.recompose = Recompose::Redraw;
}

// Softens from the reference photo, so passing over a spot again gives the same result.
void canvasSoftenMove(Ctx& x) {
    if (x.left()) {
        x.cursor(CursorId::Soften);
        softenSquare(x.PicMT(), x.s.doc.design.PicMT0, x.c.x(), x.c.y());
    }
    x.r.recompose = Recompose::Redraw;
}

// One stamp per press, always from the same source area of the reference photo.
void canvasCloneDown(Ctx& x) {
    x.cursor(CursorId::Clone);
    if (!x.left()) return;
    if (x.e.alt) x.t.cloneSource = x.c;
    const AlphaMask& m = x.pattern();
    const QRect source = centredRect(x.t.cloneSource, x.t.patternWidth, x.t.patternHeight);
    x.t.Shape5.rect = source;
    x.t.Shape5.shown = true;
    x.r.changed = true;
    if (x.e.alt || m.isEmpty()) return;
    x.t.cloneAnchor = QPointF(x.c.x(), roundHalfEven(x.c.y()));
    stampArea(x.PicMT(), centredRect(x.c, m.width, m.height).topLeft(), x.s.doc.design.PicMT0,
              source.topLeft(), m);
    x.r.recompose = Recompose::Reload;
}

void canvasConcealerDown(Ctx& x) {
    if (x.left()) x.t.press = x.c;
}
// Spreads the skin found where the stroke began along the stroke.
void canvasConcealerMove(Ctx& x) {
    // Centred with the outline's old size, then resized about its top-left.
    const int old = std::max(x.t.Shape5.rect.width(), 0);
    x.t.Shape5.centreOn(x.c, old, old);
    x.t.Shape5.rect.setSize(QSize(4 * x.t.brushSize, 4 * x.t.brushSize));
    x.r.changed = true;
    if (x.left()) {
        const AlphaMask& m = x.pattern();
        if (!m.isEmpty())
            stampArea(x.PicMT(), centredRect(x.c, m.width, m.height).topLeft(), x.PicMT(),
                      centredRect(x.t.press, m.width, m.height).topLeft(), m);
    }
    x.r.recompose = Recompose::Redraw;
}
void canvasConcealerUp(Ctx& x) { x.r.recompose = Recompose::Redraw; }

void canvasWarpDown(Ctx& x) {
    if (!x.left()) return;
    if (const auto p = warpPoint(x)) x.t.press = *p;
}
void canvasWarpMove(Ctx& x) {
    const int size = x.t.hairToolsActive ? x.t.hairWarpSize : x.t.libraryWarpSize;
    centreShape(x.t.Shape5, x, x.c, 4 * size);
    if (x.t.hairToolsActive) x.cursor(CursorId::Concealer);
}
void canvasWarpUp(Ctx& x) {
    if (!x.left()) return;
    const auto p = warpPoint(x);
    if (!p) return;
    x.t.release = QPointF(p->x(), roundHalfEven(p->y()));
    runWarp(x);
}

// Brings back the photo as last committed under the brush; while dragging the pattern's alpha
// counts double (at most 255) and the view shows the photo without the layers.
void eraserStamp(Ctx& x, bool drag) {
    const AlphaMask& m = x.pattern();
    if (m.isEmpty()) return;
    const QPoint at = centredRect(x.c, m.width, m.height).topLeft();
    stampArea(x.PicMT(), at, x.s.doc.design.PicMT0, at, drag ? m.doubled() : m);
    x.r.recompose = Recompose::Reload;
    x.r.showPhotoAfter = drag;
}
void canvasEraserMove(Ctx& x) {
    if (!x.left()) return;
    x.cursor(CursorId::Eraser);
    eraserStamp(x, true);
}
void canvasEraserUp(Ctx& x) {
    if (x.left()) eraserStamp(x, false);
}

void canvasScissorsMove(Ctx& x) {
    x.cursor(CursorId::Scissors);
    x.t.Shape5.rect = QRect(roundHalfEven(x.c.x() - 20), roundHalfEven(x.c.y() - 20), 40, 40);
    x.t.Shape5.shown = true;
    x.r.changed = true;
}
void canvasScissorsUp(Ctx& x) {
    if (!x.left()) return;
    const AlphaMask& shape = x.tools.scissorShape(x.s, x.r.problem);
    if (!shape.isEmpty()) layerTool(x, x.tools.layerTools().cutHair, x.c, shape);
    x.r.recompose = Recompose::Redraw;
}

// ---- Magnified view: strokes go onto the canvas view itself, above every layer.

void magPenDown(Ctx& x) {
    if (x.left()) x.t.press = x.c;
}
void magPenMove(Ctx& x) {
    if (!x.left()) return;
    drawLine(x.Pichuaban(), x.t.press, x.c, x.t.canvasDrawColour, x.t.canvasDrawWidth);
    x.t.press = x.c;
    x.keepCanvasView();
    x.refresh();
    x.cursor(CursorId::Pen);
}

void magBrushDown(Ctx& x) {
    if (!x.left()) return;
    x.cursor(CursorId::Brush);
    makeupStamp(x, x.Pichuaban(), x.c);
}
void magBrushMove(Ctx& x) { centreShape(x.t.Shape6, x, x.e.pos, pointsToPixels(7 * x.t.brushSize)); }

// Softens from the view's last state, so every pass softens further.
void magSoftenMove(Ctx& x) {
    if (!x.left()) return;
    x.cursor(CursorId::Soften);
    softenSquare(x.Pichuaban(), x.s.session.views.Pichuaban1, x.c.x(), x.c.y());
    x.keepCanvasView();
    x.refresh();
}

// A 50 x 50 soft stamp copied from the canvas view, its source moving with the pointer.
void cloneStamp(Ctx& x) {
    const ToolState& t = x.t;
    const double sx = std::clamp(t.cloneSource.x() + (x.c.x() - t.cloneAnchor.x()) - 28, 0.0, 380.0);
    const int sy = std::clamp(roundHalfEven(t.cloneSource.y() + (x.c.y() - t.cloneAnchor.y()) - 32), 0, 480);
    const AlphaMask& m = x.disc();
    if (m.isEmpty()) return;
    const QPoint to(roundHalfEven(x.c.x() - kStampSide / 2.0), roundHalfEven(x.c.y() - kStampSide / 2.0));
    stampArea(x.Pichuaban(), to, x.Pichuaban(), QPoint(roundHalfEven(sx), sy), m);
    x.keepCanvasView();
    x.refresh();
}
void magCloneDown(Ctx& x) {
    const QPointF p = viewPoints(x);
    if (x.left() && x.e.alt) {
        x.t.cloneSource = x.c;
        placeShape6(x, p - QPointF(25, 25), 50);
    } else if (x.left()) {
        x.t.cloneAnchor = QPointF(x.c.x(), roundHalfEven(x.c.y()));
        placeShape6(x, x.t.cloneSource / kCanvasPerMagnifiedPoint - QPointF(25, 25), 50);
        cloneStamp(x);
    } else if (x.right()) {
        x.cursor(CursorId::Eraser);
        placeShape6(x, p - QPointF(25, 25), 50);
        restoreStamp(x);
    }
}
void magCloneMove(Ctx& x) {
    const QPointF p = viewPoints(x);
    if (x.left()) {
        placeShape6(x, p + (x.t.cloneSource - x.t.cloneAnchor) / kCanvasPerMagnifiedPoint - QPointF(25, 25),
                    50);
        cloneStamp(x);
    } else if (x.right()) {
        placeShape6(x, p - QPointF(25, 25), 50);
    }
}

// The magnified view's drag-warp runs in the concealer mode; the clothing is warped on the canvas
// view only.
bool magnifiedWarps(const Ctx& x) { return x.s.session.library.currentKind != LibraryKind::Accessories; }
void magConcealerDown(Ctx& x) {
    if (!x.left() || !magnifiedWarps(x)) return;
    if (const auto p = warpPoint(x)) x.t.press = *p;
}
void magConcealerMove(Ctx& x) {
    centreShape(x.t.Shape6, x, x.e.pos, pointsToPixels(5 * x.t.warpAreaSize));
    if (x.left()) x.cursor(CursorId::Concealer);
}
void magConcealerUp(Ctx& x) {
    if (!x.left() || !magnifiedWarps(x)) return;
    const auto p = warpPoint(x);
    if (!p) return;
    x.t.release = QPointF(p->x(), roundHalfEven(p->y()));
    runWarp(x);
}

struct ToolRow {
    ToolMode mode;
    View view;
    Handler down, move, up;
};

// Every tool mode in both views. The magnified view's right-button restore runs after its row.
constexpr std::array<ToolRow, 16> kToolTable{{
    {ToolMode::pen, View::Canvas, canvasPenDown, canvasPenMove, canvasPenUp},
    {ToolMode::brush, View::Canvas, canvasBrushDown, canvasBrushMove, canvasBrushUp},
    {ToolMode::soften, View::Canvas, none, canvasSoftenMove, none},
    {ToolMode::clone, View::Canvas, canvasCloneDown, none, none},
    {ToolMode::concealer, View::Canvas, canvasConcealerDown, canvasConcealerMove, canvasConcealerUp},
    {ToolMode::warp, View::Canvas, canvasWarpDown, canvasWarpMove, canvasWarpUp},
    {ToolMode::eraser, View::Canvas, none, canvasEraserMove, canvasEraserUp},
    {ToolMode::scissors, View::Canvas, none, canvasScissorsMove, canvasScissorsUp},
    {ToolMode::pen, View::Magnified, magPenDown, magPenMove, none},
    {ToolMode::brush, View::Magnified, magBrushDown, magBrushMove, none},
    {ToolMode::soften, View::Magnified, none, magSoftenMove, none},
    {ToolMode::clone, View::Magnified, magCloneDown, magCloneMove, none},
    {ToolMode::concealer, View::Magnified, magConcealerDown, magConcealerMove, magConcealerUp},
    {ToolMode::warp, View::Magnified, none, none, none},
    {ToolMode::eraser, View::Magnified, none, none, none},
    {ToolMode::scissors, View::Magnified, none, none, none},
}};

const ToolRow* rowFor(ToolMode mode, View view) {
    for (const ToolRow& row : kToolTable)
        if (row.mode == mode && row.view == view) return &row;
    return nullptr;
}

// What the magnified view does in every mode, locked or not, after its row.
void magnifiedTail(Ctx& x) {
    if (x.e.action == MouseAction::Move && x.right()) {
        x.cursor(CursorId::Eraser);
        restoreStamp(x);
        x.refresh();
    } else if (x.e.action == MouseAction::Up) {
        // While the hair colour window locks the tools, a left release stamps the chosen
        // highlight pattern.
        if (x.left() && x.t.locked) layerTool(x, x.tools.layerTools().stampPattern, x.c);
        x.refresh();
        if (!x.right()) return;
        if (x.t.locked) {
            x.r.magnifiedCursor = CursorId::Locked;
        } else {
            if (x.t.mode <= ToolMode::concealer) x.r.cursor = cursorOfMode(x.t.mode);
            x.keepCanvasView();
        }
    }
}

}  // namespace

QPointF toCanvas(View view, QPointF viewPixels) {
    return view == View::Canvas ? viewPixels : magnifiedToCanvas(viewPixels);
}

std::optional<CursorId> cursorOfMode(ToolMode mode) {
    switch (mode) {
        case ToolMode::pen:
            return CursorId::Pen;
        case ToolMode::brush:
            return CursorId::Brush;
        case ToolMode::soften:
            return CursorId::Soften;
        case ToolMode::clone:
            return CursorId::Clone;
        case ToolMode::concealer:
        case ToolMode::warp:
            return CursorId::Concealer;
        case ToolMode::eraser:
            return CursorId::Eraser;
        case ToolMode::scissors:
            return CursorId::Scissors;
    }
    return std::nullopt;
}

const AlphaMask& CanvasTools::brushPattern(StudioState& s, Status& reported) {
    ToolState& t = s.session.tools;
    if (t.brushPatternFile.isEmpty()) t.brushPatternFile = s.path(toolfiles::brushPattern(1));
    return patterns_.mask(t.brushPatternFile, PatternCache::Source::ComponentAlpha, reported);
}

const AlphaMask& CanvasTools::softDisc(StudioState& s, Status& reported) {
    return patterns_.mask(s.path(QLatin1String(toolfiles::kSoftDiscMask)), PatternCache::Source::PictureRed,
                          reported);
}

const AlphaMask& CanvasTools::scissorShape(StudioState& s, Status& reported) {
    ToolState& t = s.session.tools;
    if (t.scissorShapeFile.isEmpty()) t.scissorShapeFile = s.path(toolfiles::scissorShape(0));
    return patterns_.mask(t.scissorShapeFile, PatternCache::Source::ComponentAlpha, reported);
}

ToolResult CanvasTools::dispatch(StudioState& s, View view, const CanvasEvent& e) {
    ToolResult r;
    ToolState& t = s.session.tools;
    Ctx x{*this, s, t, e, toCanvas(view, e.pos), r};
    if (view == View::Canvas && t.locked) return r;
    if (!t.locked)
        if (const ToolRow* row = rowFor(t.mode, view)) {
            const Handler h = e.action == MouseAction::Down   ? row->down
                              : e.action == MouseAction::Move ? row->move
                                                              : row->up;
            h(x);
        }
    if (view == View::Magnified) magnifiedTail(x);
    return r;
}

Status CanvasTools::finish(StudioState& s, const ToolResult& r) {
    Status st;
    if (r.recompose == Recompose::Redraw) huaban_hecheng1(s);
    if (r.recompose == Recompose::Reload) st = huaban_hecheng2(s);
    Views& v = s.session.views;
    if (r.showPhotoAfter) v.Pichuaban = s.doc.design.PicMT;
    if (r.refreshMagnified && r.recompose == Recompose::None && v.PicfangdaVisible) magnifyView(v);
    return st;
}

ToolResult CanvasTools::handle(StudioState& s, View view, const CanvasEvent& e) {
    ToolResult r = dispatch(s, view, e);
    if (Status st = finish(s, r); !st && r.problem) r.problem = st;
    return r;
}

}  // namespace ms
