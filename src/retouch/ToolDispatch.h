#pragma once
#include <QPointF>
#include <functional>
#include <optional>

#include "base/Status.h"
#include "compositor/Kind.h"
#include "compositor/StudioState.h"
#include "compositor/ToolFiles.h"
#include "retouch/PatternCache.h"

namespace ms {

enum class View { Canvas, Magnified };
enum class MouseAction { Down, Move, Up };

// A mouse event of one view, its position in the view's own pixels.
struct CanvasEvent {
    MouseAction action = MouseAction::Move;
    Qt::MouseButton button = Qt::NoButton;    // the button pressed or released
    Qt::MouseButtons buttons = Qt::NoButton;  // the buttons held during a move
    bool alt = false;
    QPointF pos;
};

// The one mapping from a view position to canvas pixels: the canvas view is the canvas; the
// magnified view takes 0.83 canvas pixels per point, 0.6225 per pixel of its own.
QPointF toCanvas(View view, QPointF viewPixels);

enum class Recompose { None, Redraw, Reload };  // nothing, huaban_hecheng1, huaban_hecheng2

// What a mouse event did, and what has to follow it.
struct ToolResult {
    Recompose recompose = Recompose::None;
    bool showPhotoAfter = false;    // after the recomposition the canvas view shows the working photo
    bool refreshMagnified = false;  // the magnified view is drawn again from the canvas view
    bool changed = false;           // a picture or an outline changed: repaint the views
    std::optional<toolfiles::CursorId> cursor;           // the canvas views' cursor
    std::optional<toolfiles::CursorId> magnifiedCursor;  // the magnified view's own cursor
    Status problem;                                      // a pattern that could not be read, told once
};

// Layer operations that the hair tools provide: the hair cut with the scissor shape at a canvas
// position, the commit of the highlights painted on the hair picture, and the highlight pattern
// stamp of the magnified view. Until one is given, its tool does nothing.
struct LayerTools {
    std::function<Status(StudioState&, QPointF at, const AlphaMask& shape)> cutHair;
    std::function<Status(StudioState&)> commitHighlights;
    std::function<Status(StudioState&, QPointF at)> stampPattern;
};

// The mouse handlers of both views, for every tool mode: a table of what each mouse event does.
class CanvasTools {
  public:
    LayerTools& layerTools() { return layers_; }

    // Runs the tool of the current mode for one event; pictures change in place, the
    // recomposition is left to finish().
    ToolResult dispatch(StudioState& s, View view, const CanvasEvent& e);
    // The recomposition and the view updates the result asks for.
    static Status finish(StudioState& s, const ToolResult& r);
    // Both: what a view's handler does.
    ToolResult handle(StudioState& s, View view, const CanvasEvent& e);

    // The masks the stamps use; empty (and reported once) when their file cannot be read.
    const AlphaMask& brushPattern(StudioState& s, Status& reported);
    const AlphaMask& softDisc(StudioState& s, Status& reported);
    const AlphaMask& scissorShape(StudioState& s, Status& reported);

  private:
    PatternCache patterns_;
    LayerTools layers_;
};

// The cursor of a tool mode; none for the modes whose cursor the handlers do not restore.
std::optional<toolfiles::CursorId> cursorOfMode(ToolMode mode);

}  // namespace ms
