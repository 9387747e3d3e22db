#pragma once
#include <QImage>
#include <QPointF>

#include "Draw.h"
#include "Geometry.h"

// The families of installation pictures and the face geometry they all share.
namespace installdata {

// The sample portrait, 380 x 480, opaque.
QImage renderPortrait();

struct HairVariant;
// The info card of a hairstyle: the portrait wearing it, with its name and category; 24-bit.
QImage renderHairCard(const QImage& portrait, const QImage& hair, const HairVariant& v);

void writePortrait(Writer& out);
// Only the styles whose file name starts with prefix ("n" for the men's), for drawing iterations.
void writeHairstyles(Writer& out, const QString& prefix = {});
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
