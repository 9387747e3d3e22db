#pragma once
#include <QImage>
#include <QPointF>

#include "Draw.h"

// The families of installation pictures and the face geometry they all share.
namespace installdata {

// Canvas geometry of the sample portrait (x right, y down); components are drawn to fit it.
namespace face {
constexpr int kCanvasW = 380, kCanvasH = 480;
constexpr double kMidX = 190.0;
constexpr double kEyeY = 206.0, kEyeLeftX = 155.0, kEyeRightX = 225.0;
constexpr double kBrowY = 184.0;
constexpr double kMouthY = 290.0;
constexpr double kChinY = 333.0;
// Where an earring hangs from the left lobe; the right one mirrors it about kMidX.
constexpr double kLobeX = 105.0, kLobeY = 257.0;
}  // namespace face

// The sample portrait, 380 x 480, opaque.
QImage renderPortrait();

struct HairVariant;
// The info card of a hairstyle: the portrait wearing it, with its name and category; 24-bit.
QImage renderHairCard(const QImage& portrait, const QImage& hair, const HairVariant& v);

void writePortrait(Writer& out);
void writeHairstyles(Writer& out);
void writeEyebrows(Writer& out);
void writeLips(Writer& out);
void writeGlasses(Writer& out);
void writeHats(Writer& out);
void writeEarrings(Writer& out);
void writeNecklaces(Writer& out);
void writeClothing(Writer& out);
void writeBackdrop(Writer& out);
// Brush patterns, scissor shapes and their buttons, the soft disc mask, the colour chart and
// palette, and the cursors of the canvas tools (see src/compositor/ToolFiles.h).
void writeRetouchArt(Writer& out);
// The twelve highlight patterns of the hair colour window, colour and mask (src/hair/HairFiles.h).
void writeHighlightPatterns(Writer& out);

}  // namespace installdata
