#pragma once
#include <QImage>
#include <QString>

#include "base/Status.h"

namespace ms {
struct StudioState;
}

namespace ms::bench {

// The installed program folder the benchmarks run on (given as --studio=).
const QString& studioFolder();

// Set-up steps must work, or the figures mean nothing: a failure is printed.
void check(const Status& st);

// The studio as the main window starts it, then dressed with one real component of every kind
// (the first of each library folder after the "000" default), prepared.
void dress(StudioState& s);

// A photo-like picture of w x h (RGB32): a graded backdrop, shaded hair around a face-like
// ellipse, clothes, and per-pixel grain of up to 8 levels, as a camera gives. The same for the
// same size on every run.
QImage photoLike(int w, int h);

}  // namespace ms::bench
