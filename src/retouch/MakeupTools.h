#pragma once
#include <QImage>
#include <QPoint>
#include <optional>

#include "base/Status.h"
#include "compositor/StudioState.h"
#include "compositor/ToolFiles.h"

// What the makeup tools window and the palette window do to the studio state.
namespace ms {

// The makeup window's tool options, numbered like its option buttons.
enum class MakeupOption {
    Pen = 1,
    Brush = 2,
    Concealer = 3,
    Eyedropper = 4,
    Soften = 5,
    Clone = 6,
    Eraser = 7
};

// The window opens with brush size 1 and the first brush pattern; colour and tool mode stay.
void openMakeupTools(StudioState& s);
// A tool option: the tool mode and the cursor it shows on the canvas (none for the eyedropper,
// which leaves the mode as it is). Brush and concealer choose the pattern of the brush size.
std::optional<toolfiles::CursorId> chooseMakeupOption(StudioState& s, MakeupOption option);
// Brush size 1 .. 10: the canvas outline (5 v), the canvas view's line width and the pattern.
void setBrushSize(StudioState& s, int v);
// The eyedropper's pick: the colour of the pen and the brush; the tool mode stays.
void pickMakeupColour(StudioState& s, int32_t colour);
// The eyedropper on the portrait: Pichuaban1 stands in for the canvas view and keeps its picture.
void beginEyedropper(StudioState& s);
// "清除全部化妆": the working photo and the canvas view back to the photo as last committed.
Status clearAllMakeup(StudioState& s);
// "撤消化妆": the canvas view back to what Pichuaban1 keeps (strokes of the magnified view).
void undoMakeup(StudioState& s);

// The colour value (red in the low byte) of a picture's pixel, nullopt outside the picture.
std::optional<int32_t> colourAt(const QImage& picture, QPoint at);

// The palette window's clients: the hair highlight brush (while the highlight brush flag is set)
// and the lip colour.
enum class PalettePicture { Chart, Palette };
struct PalettePick {
    bool highlight = false;  // picked for the highlight brush, else for the lips
    bool closePalette = false;
    std::optional<toolfiles::CursorId> cursor;
};
// A left release on one of the palette's pictures with colour c under the pointer.
PalettePick paletteRelease(StudioState& s, PalettePicture picture, int32_t colour);

}  // namespace ms
