// Ponytails: a length of hair from its tie, rounded and shadowed on the neck behind it.
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "UpdoArt.h"

namespace installdata {

using namespace face;

namespace {

// A length of hair is round: shaded along both edges, lit a little left of its middle.
void roundLength(QPainter& p, const Polyline& l, const Polyline& centre, const Polyline& r,
                 const HairPalette& c) {
    Polyline lit(centre.size());
    for (size_t i = 0; i < centre.size(); ++i) lit[i] = lerp(centre[i], l[i], 0.35);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 3, 0.6, [&](QPainter& q) {
        const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.5);
        fillRibbon(q, l, 4, 2, deep, 0.1, 0.2);
        fillRibbon(q, r, 7, 3, deep, 0.1, 0.2);
        fillRibbon(q, lit, 5, 1.5, mix(c.light, c.sheen, 0.3), 0.15, 0.35);
    });
    p.restore();
}

}  // namespace

// The soft shadow a hanging length casts on the neck, shoulder and clothes behind it: down and to
// the right, away from the light. Only the body takes it; the backdrop is too far behind, and a
// shadow on it would stand beside the length like a cut-out's.
void castOnNeck(QPainter& p, const Polyline& rightEdge, double w) {
    Polyline fallen = rightEdge;
    for (QPointF& q : fallen) q += QPointF(4, 9);
    QImage shadow = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, shadow);
        fillRibbon(q, fallen, w, 0.6 * w, QColor(10, 6, 4), 0.1, 0.3);
    }
    blurLayer(shadow, 6);
    QPainter q;
    beginPainter(q, shadow);
    q.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    q.drawImage(0, 0, maskOf(bodyPath().united(faceOvalPath()), 3));
    q.end();
    p.save();
    p.setOpacity(0.6);
    p.drawImage(0, 0, shadow);
    p.restore();
}

// A ponytail's length from its tie to its end: full after the tie, tapering to the tips.
void drawTail(QPainter& p, const HairVariant& v, const Attachment& a, const HairPalette& c, uint64_t seed) {
    const QPointF tie(a.x, a.y), end(a.endX, a.endY);
    const double w = 20 * a.size, out = tie.x() < kMidX ? -1 : 1;
    const QPointF d = end - tie;
    const QPointF bow(out * 12, 0);
    // Tied high behind a pouf, the length springs up and out over the crown before it falls.
    const bool springs = v.pouf > 0 && tie.y() < 120;
    Polyline centre = springs ? sampleSpline({tie, tie + QPointF(out * 30, -12), tie + QPointF(out * 66, 28),
                                              lerp(tie, end, 0.55) + QPointF(out * 22, 0), end},
                                             40)
                              : sampleSpline({tie, tie + d * 0.3 + bow, tie + d * 0.7 + bow * 0.6, end}, 40);
    if (tie.y() > 200) centre = drapedFront(centre);
    Polyline l, r;
    for (size_t i = 0; i < centre.size(); ++i) {
        const double u = static_cast<double>(i) / (centre.size() - 1);
        const QPointF t = centre[std::min(i + 1, centre.size() - 1)] - centre[i == 0 ? 0 : i - 1];
        const double len = std::max(1e-6, std::hypot(t.x(), t.y()));
        const QPointF n(-t.y() / len, t.x() / len);
        const double half = 0.5 * w *
                            (0.55 + 0.9 * std::pow(std::sin(3.14159 * std::min(u * 1.4, 1.0)), 0.6)) *
                            (1.0 - 0.5 * std::max(0.0, u - 0.6) / 0.4);
        l.push_back(centre[i] + n * half);
        r.push_back(centre[i] - n * half);
    }
    castOnNeck(p, r, w);
    Sweep s;
    s.guides = {l, centre, r};
    s.locks = 18;
    s.strandsPerLock = 12;
    s.clump = 0.55;
    s.lengthJitter = 0.2;
    s.flyaways = 6;
    s.sheenAt = 0.08;
    if (springs) {  // the lengths part into locks toward their ends
        s.locks = 18;
        s.clump = 0.9;
        s.lengthJitter = 0.22;
        s.flyaways = 10;
        s.sheenAt = 0.25;
    }
    applyCurl(s, v.curl, std::hypot(d.x(), d.y()));
    s.seed = seed;
    drawSweep(p, s, c);
    roundLength(p, l, centre, r, c);
    p.setPen(Qt::NoPen);
    p.setBrush(mix(c.dark, QColor(0, 0, 0), 0.4));
    p.drawEllipse(tie, 0.34 * w, 0.22 * w);
}

}  // namespace installdata
