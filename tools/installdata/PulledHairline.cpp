#include <QLinearGradient>
#include <QPainterPathStroker>
#include <cmath>

#include "Geometry.h"
#include "PortraitParts.h"
#include "UpdoArt.h"

namespace installdata {

namespace {

using namespace face;

// The direction the hair is pulled in from a point near the left hairline: back over the head,
// leaning out more toward the ear.
QPointF pullDirection(QPointF q) {
    const QPointF d((q.x() - kMidX) / 140.0, -1.0);
    return d / std::hypot(d.x(), d.y());
}

}  // namespace

void openTheHairline(QPainter& p, const HairPalette& c, uint64_t seed) {
    // The front of the portrait's own hair, from just above the ear round the temple to the middle.
    const std::vector<QPointF> ownHalf = ownHairHalfOutline();
    Polyline front{{107, 194}};
    front.insert(front.end(), ownHalf.begin() + 6, ownHalf.end());
    const Polyline line = sampleSpline(front, 120);
    QPainterPathStroker band;
    band.setWidth(22);
    QPainterPathStroker rim;
    rim.setWidth(4);
    QPainterPath zone;
    for (bool mirror : {false, true}) {
        const QPainterPath half = pathThrough(mirror ? mirrored(line, kMidX) : line, false);
        zone = zone.united(band.createStroke(half));
    }
    const QPainterPath ownHair = ownHairRegion();
    const QPainterPath own = ownHair.united(rim.createStroke(ownHair));
    // Only over skin: beside the ear the band reaches out over the backdrop, where the partings
    // between the roots would be a grey hatching through the hair.
    zone = zone.subtracted(own).intersected(portrait::facePath().united(portrait::earsPath()));
    Rng rng(seed);
    QImage gaps = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, gaps);
        q.setClipPath(zone);
        for (int k = 0; k < 900; ++k) {
            const bool right = k % 2;
            const QPointF at = line[static_cast<size_t>(rng.range(0, line.size() - 1))] +
                               QPointF(rng.symmetric(9), rng.symmetric(9));
            const QPointF d = turned(pullDirection(at), rng.symmetric(0.25));
            const double len = rng.range(4, 11);
            Polyline g{at - d * (0.5 * len), at, at + d * (0.5 * len)};
            if (right) g = mirrored(g, kMidX);
            fillRibbon(q, g, rng.range(0.7, 1.5), rng.range(0.5, 1.2),
                       withAlpha(QColor(0, 0, 0), static_cast<int>(rng.range(90, 180))), 0.3, 0.3);
        }
    }
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.setOpacity(0.85);
    p.drawImage(0, 0, gaps);
    // Over the ear the pulled sheet runs out thin: fading toward its lower edge.
    QLinearGradient fade(0, 186, 0, 228);
    fade.setColorAt(0.0, QColor(0, 0, 0, 0));
    fade.setColorAt(1.0, QColor(0, 0, 0, 150));
    p.setOpacity(1.0);
    p.setClipPath(zone);
    p.fillRect(QRectF(0, 186, kCanvasW, 50), fade);
    p.restore();
    // Where the hair lifts off the temple before running back: a soft roll of light a little
    // behind the hairline, and the roots under it in its shade.
    const Polyline temple = sampleSpline({{131, 136}, {123, 154}, {119, 176}, {117, 198}}, 30);
    auto inside = [&](double by) {
        Polyline l = temple;
        for (size_t i = 0; i < l.size(); ++i) l[i] += normalAt(temple, i) * by;
        return l;
    };
    const double in = ownHair.contains(temple[10] + normalAt(temple, 10) * 6) ? 1 : -1;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 3, 1.0, [&](QPainter& q) {
        for (bool mirror : {false, true}) {
            auto put = [&](Polyline l, double w, const QColor& col) {
                fillRibbon(q, mirror ? mirrored(l, kMidX) : l, w, 0.5 * w, col, 0.3, 0.4);
            };
            put(inside(in * 9), 7, withAlpha(mix(c.light, c.sheen, 0.35), 85));
            put(inside(in * 2), 3.5, withAlpha(mix(c.dark, QColor(0, 0, 0), 0.5), 110));
        }
    });
    p.restore();
    // The roots: out of the skin a little in front of the hair, back along the pull into it.
    for (int k = 0; k < 460; ++k) {
        const bool right = k % 2;
        // Not behind the ear, where the sheet only thins.
        const size_t i = static_cast<size_t>(rng.range(28, line.size() - 1));
        const QPointF n = normalAt(line, i);
        const QPointF out = ownHair.contains(line[i] + n * 4) ? -n : n;  // away from its own hair
        const QPointF root = line[i] + out * rng.range(3.0, 8.5);
        const QPointF d = turned(pullDirection(root), rng.symmetric(0.2));
        const double len = rng.range(6, 14), bend = rng.symmetric(0.12);
        Polyline h{root};
        for (int s = 1; s <= 5; ++s) h.push_back(h.back() + turned(d, bend * s) * (len / 5));
        if (right) h = mirrored(h, kMidX);
        const QColor col = mix(c.dark, c.base, rng.range(0.2, 0.9));
        fillRibbon(p, h, 0.2, rng.range(0.55, 0.85), withAlpha(col, static_cast<int>(rng.range(110, 210))),
                   0.0, 0.2);
    }
}

}  // namespace installdata
