#pragma once
#include <QImage>
#include <QRect>
#include <QSize>
#include <functional>

#include "imaging/PixelHelpers.h"

namespace ms {

// The picture algorithms of the photo adjustment: pure functions from pictures to pictures. Canvas
// pictures are 380 x 480, rows top-down, (0, 0) the top-left pixel; results are opaque RGB32.

// Called once per canvas column (0 .. 379, or 0 .. 380 for the rotation grid) of a long loop, so that
// a progress bar can follow it.
using ColumnProgress = std::function<void(int column)>;

// The largest working copy of a client's photo: twice the canvas, so that half size fits it.
constexpr int kPhotoMaxWidth = 760;
constexpr int kPhotoMaxHeight = 960;

// The high-quality resampler of the photo: `source` scaled to `size` (Catmull-Rom cubic, widened by
// the reduction factor when scaling down, so that fine detail averages out instead of turning into
// moire), of which only `window` (in the scaled picture's coordinates, clipped to it) is computed.
// The result is window-sized, RGB32. A source at its own size comes back unchanged.
QImage resampled(const QImage& source, QSize size, QRect window);

// The size of the working copy of a decoded photo: a photo larger than 760 x 960 is scaled down,
// keeping its proportions (the other side rounded, at least 1), to fit inside; a smaller one keeps its size.
QSize workingCopySize(QSize decoded);
// The working copy itself, RGB32; a photo that fits keeps its pixels.
QImage workingCopy(const QImage& decoded);

// The window's fit sliders: size 0 .. 100 (scale = size / 50), across -100 .. 100 (pixels, positive
// moves right), up -100 .. 100 (pixels, positive moves up).
struct FitSliders {
    int size = 50, across = 0, up = 0;
    bool operator==(const FitSliders&) const = default;
};

// Where the fit puts the source: its scaled size and its top-left corner on the canvas (both may
// put it partly or wholly off the canvas).
QRect fitPlacement(QSize source, FitSliders sliders);

// The source scaled and placed on a white 380 x 480 canvas as the sliders say. An empty source or a
// placement wholly off the canvas gives the white canvas.
QImage fitPhoto(const QImage& source, FitSliders sliders);

// Fills the rotation grid from the canvas view: position (x, y), x 0 .. 380 and y 0 .. 480, holds
// pixel (x, y) as a colour value (red in the low byte); positions outside the picture (and the
// rest of the grid) have every bit set.
void captureRotation(const QImage& canvasView, RotationGrid& grid, const ColumnProgress& progress = {});

// The captured picture turned by `degrees` about the canvas centre (190, 240), clockwise on the screen
// for positive degrees, sampled bilinearly. Canvas pixels whose source falls outside the open
// rectangle 0 < X < 379, 0 < Y < 479 stay white, so even a turn by 0 leaves a white border.
QImage rotatePhoto(const RotationGrid& grid, int degrees);

// The window's colour sliders: brightness -20 .. 20, red and green shift -20 .. 20, contrast
// 1 .. 39 (20 is no change).
struct ColourSliders {
    int brightness = 0, red = 0, green = 0, contrast = 20;
    bool operator==(const ColourSliders&) const = default;
};

// Brightness, contrast and the red and green shifts applied to every pixel of the background.
QImage adjustColours(const QImage& background, ColourSliders sliders);

// The skin sample of the automatic skin tone: the 20 x 20 patch at (125, 225) of the canvas view,
// on the face of a photo fitted with the guide lines.
constexpr QRect kSkinPatch{125, 225, 20, 20};
// The skin colour the automatic skin tone moves the patch towards.
constexpr int kSkinRed = 250, kSkinGreen = 190, kSkinBlue = 160;

// True when the canvas view holds the whole skin patch.
bool coversSkinPatch(const QImage& canvasView);

// The background with its colours moved by the difference between the skin colour and the average of
// the canvas view's patch: by the whole difference at luminance 230, fading out linearly towards
// black and towards white. A canvas view that does not cover the patch leaves the background as it is.
QImage correctSkinTone(const QImage& canvasView, const QImage& background,
                       const ColumnProgress& progress = {});

}  // namespace ms
