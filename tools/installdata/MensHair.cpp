#include <QRadialGradient>
#include <cmath>

#include "HairDrawing.h"
#include "HairFinish.h"
#include "InstallData.h"
#include "MensClumps.h"

// Men's cuts: clippered sides fading into the skin, and a top of clumped hair that is parted,
// lifted, combed back, brushed forward or cropped close. Each cut is an outline (how far the hair
// stands off the skull, where its hairline runs) and the direction the hair is combed in.
namespace installdata {

namespace {

using namespace face;

// The outline of the hair: over the skull from the left temple to the right one, down past the
// sideburns and back along the front hairline.
struct Outline {
    double top = 70;     // y of the crown
    double sideX = 100;  // x of the left side at the temples
    double wobble = 2;   // px the outline wanders in and out
    double lean = 0;     // how much higher the hair stands right of `part`
    double part = kMidX;
    double drop = 0;     // how much further down the forehead the tips may reach than the fill
    double front = 137;  // y of the hairline in the middle of the forehead
    double sweep = 0;    // how much lower it runs right of the middle (hair swept over from a part)
    double dome = 2.5;   // the top arc's superellipse power: 2 round, higher squarer
    Polyline hairline;   // left half, from below the temple to the middle of the forehead
    uint64_t seed = 1;
};

// A natural hairline: just past the portrait's own one (which it must cover), the corners of the
// forehead a little receded.
Polyline naturalHairline(double sideX) {
    return {{sideX + 2, 175}, {104.5, 200}, {107, 218}, {111, 232},   {115.5, 230}, {118, 214},  {120, 196},
            {122.5, 168},     {126, 156},   {132, 146}, {148, 139.5}, {170, 137.5}, {kMidX, 137}};
}

// The top arc from the left temple (angle > 0) to the right one.
Polyline topArc(const Outline& o, double grow) {
    Rng rng(o.seed);
    double ph[3], amp[3];
    for (int i = 0; i < 3; ++i) ph[i] = rng.range(0, 2 * kPi), amp[i] = rng.range(0.5, 1.0);
    Polyline arc;
    for (int i = 0; i <= 120; ++i) {
        const double a = (84.0 - 168.0 * i / 120) * kPi / 180;
        QPointF q = skullPoint(a, kMidX - o.sideX + grow, 160 - o.top + grow, o.dome);
        const double n = amp[0] * std::sin(7 * a + ph[0]) + amp[1] * std::sin(13 * a + ph[1]) +
                         0.6 * amp[2] * std::sin(23 * a + ph[2]);
        const double up =
            1 + o.lean * smoothstep(o.part - 10, o.part + 50, q.x()) * (1 - smoothstep(250, 290, q.x()));
        const QPointF d = q - QPointF(kMidX, 160);
        q = QPointF(kMidX, 160) + QPointF(d.x(), d.y() * up) * (1 + o.wobble * 0.6 * n / 100);
        // Hair swept over from the parting stands out at the far temple too.
        q.rx() += o.lean * 55 * smoothstep(225, 275, q.x()) * (1 - smoothstep(140, 175, q.y()));
        arc.push_back(q);
    }
    // Tufts standing up out of the outline here and there.
    for (int t = 0; t < (o.wobble > 1.5 ? 7 : 0); ++t) {
        const double at = rng.range(10, 110), height = std::min(5.0, rng.range(0.8, 2.0) * o.wobble),
                     width = rng.range(2.5, 6);
        for (int i = 0; i <= 120; ++i) {
            const double k = (i - at) / width;
            arc[i] += (arc[i] - QPointF(kMidX, 165)) / 95 * height * std::exp(-k * k);
        }
    }
    return arc;
}

// One half of the hairline (the right one mirrored, running from its side to the middle), moved
// `grow` px away from the hair.
Polyline hairlineOf(const Outline& o, bool right, double grow) {
    Polyline half = o.hairline;
    for (QPointF& q : half) {
        q += QPointF(q.x() < 125 ? -grow * 0.4 : 0, grow * 0.5 + (grow > 0 && q.x() > 125 ? o.drop : 0));
        q.setY(q.y() + (o.front - 137) * smoothstep(122, 160, q.x()));
    }
    if (!right) return half;
    half = mirrored(half, kMidX);
    for (QPointF& q : half)
        q.setY(q.y() + o.sweep * smoothstep(192, 212, q.x()) * (1 - smoothstep(238, 262, q.x())));
    return half;
}

QPainterPath outlinePath(const Outline& o, double grow) {
    Polyline all = topArc(o, grow);
    const Polyline left = hairlineOf(o, false, grow), right = hairlineOf(o, true, grow);
    all.insert(all.end(), right.begin(), right.end());
    all.insert(all.end(), left.rbegin(), left.rend());
    return pathThrough(all, true);
}

QPainterPath rect(double x0, double y0, double x1, double y1) {
    QPainterPath r;
    r.addRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)));
    return r;
}

QPointF away(QPointF q, QPointF from) { return q - from; }

// Cuts the top of what is drawn to a crisp, broken edge: 2 px inside the outline, with the points
// of clumps standing 1-4 px out of it every few px, so the top ends in tips rather than a soft rim.
void trimTop(QPainter& p, const Outline& o) {
    Rng rng(o.seed + 31);
    const Polyline arc = topArc(o, -2);
    const QPointF centre(kMidX, 165);
    Polyline edge;
    for (size_t i = 0; i + 1 < arc.size(); ++i) {
        edge.push_back(arc[i]);
        if (i % 2 == 1) continue;
        const QPointF mid = lerp(arc[i], arc[i + 1], rng.range(0.3, 0.7)), out = mid - centre;
        edge.push_back(mid + out / std::hypot(out.x(), out.y()) * rng.range(1.0, 4.0));
    }
    edge.push_back(arc.back());
    QPolygonF keep(QList<QPointF>(edge.begin(), edge.end()));
    keep << QPointF(kCanvasW, arc.back().y()) << QPointF(kCanvasW, kCanvasH) << QPointF(0, kCanvasH)
         << QPointF(0, arc.front().y());
    QPainterPath region;
    region.addPolygon(keep);
    region = region.united(rect(0, 130, kCanvasW, kCanvasH));
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, maskOf(region, 0));
    p.restore();
}

// The dense fill under the clumps: the dark of the gaps between them, lighter toward the light.
void drawMass(QPainter& p, const QPainterPath& path, const HairPalette& c) {
    QRadialGradient g(QPointF(160, 80), 150);
    g.setColorAt(0.0, mix(c.dark, c.base, 0.55));
    g.setColorAt(1.0, mix(c.dark, QColor(0, 0, 0), 0.25));
    paintSoft(p, QSize(kCanvasW, kCanvasH), 1, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(g);
        q.drawPath(path);
    });
}

ClumpField field(const QPainterPath& roots, const QPainterPath& reach, Flow flow, QPointF source,
                 double length, double width, uint64_t seed) {
    ClumpField f;
    f.roots = roots;
    f.reach = reach;
    f.flow = std::move(flow);
    f.source = source;
    f.length = length;
    f.width = width;
    f.spacing = std::max(2.6, width * 0.85);
    f.seed = seed;
    return f;
}

// The short hair over the clippered sides, combed down and back.
void drawSideHair(QPainter& p, const QPainterPath& mass, const HairPalette& c, uint64_t seed) {
    const QPainterPath sides = mass.intersected(rect(0, 138, 128, 260).united(rect(252, 138, 380, 260)));
    ClumpField f = field(
        sides, mass, [](QPointF q) { return QPointF(q.x() < kMidX ? -0.3 : 0.3, 1); }, QPointF(kMidX, 90), 6,
        2.6, seed);
    f.jitter = 0.35;
    f.bend = 0.6;
    drawClumps(p, f, c);
}

// How a cut is combed: its outline and, for the cuts drawn as one field of clumps, that field's
// flow (where the strands go), source (which clumps lie on top) and clump size.
struct Plan {
    Outline o;
    Flow flow;
    QPointF source{kMidX, 60};
    double length = 10, width = 4;
};

Plan planOf(const HairVariant& v) {
    Plan k;
    Outline& o = k.o;
    o.seed = v.seed;
    o.part = v.part;
    o.hairline = naturalHairline(o.sideX);
    switch (v.cut) {
        case MensCut::Crew:
            o.top = 69 - v.volume * 0.3, o.sideX = 104, o.wobble = 2.5, o.front = 131, o.dome = 2.1;
            k.flow = [](QPointF q) { return away(q, QPointF(kMidX, 45)); };
            k.source = QPointF(kMidX, 150), k.length = 8.5, k.width = 4;
            break;
        case MensCut::SidePart:
            o.top = 72 - v.volume * 0.6, o.sideX = 103, o.lean = 0.25, o.wobble = 3, o.front = 123,
            o.dome = 2.2;
            o.sweep = 7;
            break;
        case MensCut::Quiff:
            o.top = 70, o.sideX = 103, o.wobble = 1.5, o.front = 123;
            break;
        case MensCut::Fringe:
            o.top = 56 - v.volume * 0.3, o.sideX = 96, o.wobble = 4, o.drop = 24;
            o.hairline.resize(7);  // the sides as they are; the fringe low over the forehead
            o.hairline.insert(o.hairline.end(),
                              {{123.5, 170}, {129, 153}, {146, 141}, {168, 142}, {kMidX, 140}});
            k.flow = [](QPointF q) { return away(q, QPointF(kMidX, -80)); };
            k.source = QPointF(kMidX, 30), k.length = 38, k.width = 10;
            break;
        case MensCut::SlickBack:
            o.top = 64 - v.volume * 0.4, o.wobble = 1;
            k.flow = [](QPointF q) { return away(q, QPointF(kMidX, 260)); };
            k.source = QPointF(kMidX, 250), k.length = 30, k.width = 6;
            break;
        case MensCut::Curly:
            o.top = 42 - v.volume * 0.3, o.sideX = 85, o.wobble = 1.5, o.front = 129;
            break;
        default:  // textured, and a cropped shoulder length
            o.top = 58 - v.volume * 0.3, o.wobble = 6;
            k.flow = [](QPointF q) { return away(q, QPointF(kMidX, 40)); };
            k.source = QPointF(kMidX, 50), k.length = 14, k.width = 5;
            break;
    }
    o.hairline.front().setX(o.sideX + 2);
    return k;
}

// Combed down on the near side of the parting, swept over and lifted on the far side. Returns the
// flow at the front hairline.
Flow drawSidePart(QPainter& p, const HairVariant& v, const QPainterPath& mass, const QPainterPath& reach,
                  const HeadLight& light, const HairPalette& c) {
    const double part = v.part;
    // From a point high above the far side: down and a little out on the near side, no fan of
    // directions around the crown.
    const Flow down = [part](QPointF q) { return away(q, QPointF(part + 40, -60)); };
    ClumpField left =
        field(mass.intersected(rect(0, 0, part - 1, 480)), reach, down, QPointF(part, 60), 30, 7, v.seed + 5);
    left.light = light;
    left.jitter = 0.06, left.sway = 0.2, left.follow = true, left.bend = 2, left.rootTaper = 0.3;
    drawClumps(p, left, c);
    const Flow over = [](QPointF q) { return QPointF(1, -0.25 + 1.5 * smoothstep(205, 285, q.x())); };
    ClumpField right = field(mass.intersected(rect(part + 1, 0, 380, 480)), reach, over, QPointF(part, 100),
                             40, 8, v.seed + 6);
    right.light = light;
    right.gloss = 0.5;
    right.jitter = 0.05, right.sway = 0.18, right.follow = true, right.rootTaper = 0.25;
    // Long clumps bending down over the far side would fill out the corner of the crown: there
    // their tips stop at the outline; lower down they may reach past it over the temple.
    right.reach = mass.united(reach.intersected(rect(0, 125, 380, 480)));
    drawClumps(p, right, c);
    drawBroadLight(p, reach, light, c, 0.8);
    // The parting: a thin line of scalp between the two sides, fading back over the top.
    fillRibbon(p, {{part + 0.5, 123}, {part + 1.5, 108}, {part + 3, 92}}, 1.6, 0.3,
               QColor(190, 150, 130, 150), 0.0, 0.2);
    return [part, down](QPointF q) { return q.x() < part ? down(q) : QPointF(1, -0.4); };
}

// Short at the back, the front lifted up and back in a rounded crest leaning a little to the left.
Flow drawQuiff(QPainter& p, const HairVariant& v, const QPainterPath& mass, const QPainterPath& reach,
               const HeadLight& light, const HairPalette& c) {
    ClumpField back = field(
        mass, reach, [](QPointF q) { return away(q, QPointF(kMidX, 200)); }, QPointF(kMidX, 200), 8, 3.4,
        v.seed + 5);
    back.light = light;
    drawClumps(p, back, c);
    const double h = 38 - v.volume * 0.35;
    const Polyline half{{kMidX, 127}, {160, 129}, {138, 137}, {125, 122},   {121, 94},
                        {127, 64},    {140, 45},  {160, 35},  {180, h + 1}, {kMidX, h}};
    Polyline all = sampleSpline(half, 40);
    const Polyline rightHalf = mirrored(all, kMidX);
    all.insert(all.end(), rightHalf.rbegin() + 1, rightHalf.rend());
    for (QPointF& q : all)  // lower on the right
        q.setY(q.y() + (1 - smoothstep(60, 110, q.y())) * 0.14 * (q.x() - 170));
    const QPainterPath crest = pathThrough(all, true);
    drawMass(p, crest, c);
    HeadLight lift = light;
    lift.centre = QPointF(184, 118);
    lift.radius = 88, lift.band = 62;
    const Flow rollBack = [](QPointF q) {  // up from the hairline, turning left over the top
        const QPointF d = away(q, QPointF(180, 240));
        return d + QPointF(-0.55 * std::hypot(d.x(), d.y()) * (1 - smoothstep(40, 95, q.y())), 0);
    };
    ClumpField up = field(crest, crest.united(reach), rollBack, QPointF(184, 240), 40, 8, v.seed + 6);
    up.light = lift;
    up.gloss = 0.7;
    up.jitter = 0.2;
    up.rootTaper = 0.35;
    up.bend = 3.5;
    drawClumps(p, up, c);
    return rollBack;
}

// The cuts drawn as one field of clumps over the whole top.
void drawTop(QPainter& p, const HairVariant& v, const Plan& k, const QPainterPath& mass,
             const QPainterPath& reach, const HeadLight& light, const HairPalette& c) {
    if (v.cut == MensCut::Crew) {  // seen from the front the short pile stands toward the viewer
        // A little past the fill, so that the fine hairs make the edge, over a solid band that covers
        // the portrait's own hairline.
        drawMass(p, outlinePath(k.o, 1.5), c);
        drawPile(p, outlinePath(k.o, 2.5), k.flow, light, c, v.seed + 5);
        drawBroadLight(p, mass, light, c, 0.6);
        return;
    }
    ClumpField top = field(mass, reach, k.flow, k.source, k.length, k.width, v.seed + 5);
    top.light = light;
    if (v.cut == MensCut::SlickBack) top.gloss = 1.0, top.jitter = 0.08, top.bend = 2, top.rootTaper = 0.3;
    if (v.cut == MensCut::Textured || v.cut == MensCut::Shoulder) top.jitter = 0.55, top.bend = 2.5;
    // Pieces of a choppy fringe: bundles of strands rooted softly under the ones above, each
    // gathering into two or three points. The upper right corner of the crown stands out past the
    // roots of the clumps over it: shorter clumps of the same comb fill it first.
    if (v.cut == MensCut::Fringe) {
        top.jitter = 0.06, top.sway = 0.22, top.follow = true, top.rootTaper = 0.3, top.gloss = 0.4,
        top.contrast = 0.75, top.bend = 2.5, top.fine = 9;
        ClumpField corner = top;
        corner.roots = mass.intersected(rect(236, 30, 300, 92));
        corner.length = k.length * 0.5, corner.width = k.width * 0.8, corner.spacing = 5;
        corner.seed = v.seed + 11;
        drawClumps(p, corner, c);
    }
    drawClumps(p, top, c);
    if (v.cut == MensCut::Fringe) drawBroadLight(p, reach, light, c, 0.8);
}

}  // namespace

void drawMensCrop(QPainter& p, const HairVariant& v, const HairPalette& c) {
    const Plan k = planOf(v);
    const Outline& o = k.o;
    const QPainterPath mass = outlinePath(o, 0), reach = outlinePath(o, 7);
    drawMass(p, mass, c);
    drawSideHair(p, mass, c, v.seed + 3);
    HeadLight light;
    light.radius = 178 - o.top;
    light.band = (160 - o.top) * 0.72;
    Flow front = k.flow;  // the direction of the hair at the front hairline
    switch (v.cut) {
        case MensCut::SidePart:
            front = drawSidePart(p, v, mass, reach, light, c);
            break;
        case MensCut::Quiff:
            front = drawQuiff(p, v, mass, reach, light, c);
            break;
        case MensCut::Curly:
            drawCoils(p, outlinePath(o, 2).intersected(rect(0, 0, 380, 226)), 5.8, light, c, v.seed + 5);
            front = [](QPointF q) { return away(q, QPointF(kMidX, 100)); };
            break;
        default:
            drawTop(p, v, k, mass, reach, light, c);
            break;
    }
    if (v.cut != MensCut::Fringe) {  // fine hairs growing out of the skin along the front hairline
        const Polyline left = hairlineOf(o, false, 0), right = hairlineOf(o, true, 0);
        Polyline line = sampleSpline(Polyline(left.begin() + 7, left.end()), 40);
        const Polyline more = sampleSpline(Polyline(right.begin() + 7, right.end()), 40);
        line.insert(line.end(), more.begin(), more.end());
        drawHairlineHairs(p, line, front, c, v.seed + 7);
    }
    if (v.cut == MensCut::Fringe) trimTop(p, o);
    drawFlyaways(p, topArc(o, -1), front, c, v.cut == MensCut::SlickBack ? 10 : 30, v.seed + 8);
    fadeSides(p, c, v.seed + 9);
}

}  // namespace installdata
