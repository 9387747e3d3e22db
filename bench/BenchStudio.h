#pragma once
#include <QImage>
#include <QString>

#include "base/Status.h"

namespace ms::bench {

// The installed program folder the benchmarks run on (given as --studio=).
const QString& studioFolder();

// Set-up steps must work, or the figures mean nothing: a failure is printed.
void check(const Status& st);

// A photo-like picture of w x h (RGB32): a graded backdrop, shaded hair around a face-like
// ellipse, clothes, and per-pixel grain of up to 8 levels, as a camera gives. The same for the
// same size on every run.
QImage photoLike(int w, int h);

}  // namespace ms::bench
