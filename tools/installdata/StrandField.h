#pragma once
#include <QImage>
#include <QPointF>
#include <vector>

#include "Draw.h"
#include "SkinField.h"

// Which way the strands of a finished hair layer run, read from its own pixels: light laid on
// afterwards (a sheen band round the head) can then follow the hair under it instead of crossing it.
namespace installdata {

class StrandField {
  public:
    explicit StrandField(const QImage& layer);
    // The unit direction along the strands at q (either sign) and how clearly they run one way
    // there, 0 (flat or no hair) to 1.
    QPointF along(QPointF q, double& clarity) const;
    // A streak of `length` through `mid` along the strands, started toward `hint` and kept on its
    // course where the strands are unclear: `steps` + 1 points.
    Polyline streak(QPointF mid, QPointF hint, double length, int steps = 6) const;

  private:
    int w_, h_;
    Field xx_, xy_, yy_;  // the smoothed structure tensor of the luminance
};

}  // namespace installdata
