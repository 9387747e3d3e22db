#pragma once
#include <QPointF>
#include <QString>
#include <array>
#include <functional>

#include "base/Status.h"
#include "compositor/StudioState.h"
#include "imaging/PixelGrid.h"

namespace ms {

// A dye: every hair pixel takes hue A, its saturation shifted by B (0 .. 100 scale) and its value V
// changed to V + C / V, at most 95.
struct Dye {
    int A = 0, B = 0, C = 0;
    bool operator==(const Dye&) const = default;
};

// The twelve colours of "常用色标", captions as the window shows them.
struct DyePreset {
    const char16_t* caption;
    Dye dye;
};
const std::array<DyePreset, 12>& dyePresets();

// One straight pixel dyed (alpha kept), not premultiplied.
uint32_t dyePixel(uint32_t pixel, const Dye& dye);

// Whether there is a hairstyle to colour or trim: a hairstyle file other than the "000" default,
// with a grid that shows something.
bool hasHairstyle(const StudioState& s);

// "彩色漂染" opened: the opaque hair picture Picfx drawn from the hairstyle, and a snapshot of the
// cut-out pictures.
Status openHairColour(StudioState& s);

// faxing_bianse: the hairstyle as loaded or last trimmed, dyed with the session's dye, becomes the
// hairstyle surface and the hair picture Picfx (so that highlights go on top of the dye); the grids
// keep the undyed pixels; the canvas is redrawn. `progress` is told the column reached (0 .. 379)
// now and then. Without a hairstyle nothing changes.
Status faxing_bianse(StudioState& s, const std::function<void(int)>& progress = {});

// The hair picture Picfx read back into the hairstyle surface with the hairstyle's own alpha:
// strokes outside the hair vanish. Each grid pixel takes the pixel of Picfx where the hairstyle's
// placement puts it, so a moved or stretched hairstyle keeps its highlights under the strokes.
Status commitHairPicture(StudioState& s);

// "挑染颜色选择": the brush paints highlights, the tools are unlocked, the hair picture (undyed,
// with earlier highlights) becomes the hairstyle again.
Status beginHighlights(StudioState& s);
// "清除挑染": the hairstyle without dye and highlights.
Status clearHighlights(StudioState& s);

// The highlight patterns: choosing one (0 .. 11), and stamping it centred on a canvas position
// onto the cut-out pictures (colour onto PicRGB, mask onto PicA), with cut-out snapshots before
// and after. The stamp shows on the canvas at once: the pattern is laid on the working photo too,
// as the cut-out layer shows it. A pattern that cannot be read stamps nothing and is reported.
void selectHighlightPattern(StudioState& s, int i);
Status stampHighlightPattern(StudioState& s, QPointF canvas);

// Saves the cut-out pictures as snapshot n ("temp/<n>.bmp" and "temp/<n>p.bmp"); errors ignored.
void saveCutoutSnapshot(const StudioState& s);

}  // namespace ms
