#pragma once
#include <QColor>
#include <QImage>

namespace installdata {

// Fills see-through gaps walled in by hair (inside a ringlet at the silhouette, between the bun
// and the head) with the shade of the hair behind them; the picture's border and the bare face
// stay open, and so does a pocket that only faint hair (a stray wisp, frizz) closes off.
void fillEnclosedGaps(QImage& layer, const QColor& behind);

}  // namespace installdata
