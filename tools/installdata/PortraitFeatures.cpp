#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "PortraitParts.h"

// Eyes, lids, lashes and brows of the sample portrait, and the outlines of its eyes and lips.
namespace installdata::portrait {

using namespace face;

namespace {

const QSize kSize(kCanvasW, kCanvasH);
const Polyline kUpperLid{{172, 207}, {165.5, 200.2}, {154, 197.7}, {143.5, 199.1}, {136.5, 204}};
const Polyline kLowerLid{{136.5, 204}, {144.5, 210.2}, {156, 212.3}, {166.5, 210.4}, {172, 207}};
constexpr double kIrisR = 7.7;

// The upper lid covers the top of the iris by a pixel or two, as in a relaxed gaze.
QPointF irisCentre(int side) { return QPointF(side < 0 ? kEyeLeftX - 0.5 : kEyeRightX + 0.5, kEyeY - 1.2); }

// The y of a lid line at x, from the nearest of its samples.
double lidYAt(const Polyline& lid, double x) {
    double best = 1e9, y = kEyeY;
    for (const QPointF& q : lid)
        if (std::abs(q.x() - x) < best) {
            best = std::abs(q.x() - x);
            y = q.y();
        }
    return y;
}

// Brown iris: dark limbal ring, lighter collarette round the pupil, radial fibres, and the light
// that passes the cornea glowing on the side away from the key light.
QColor irisColour(QPointF at, QPointF centre, const std::vector<float>& fibres) {
    const QPointF d = at - centre;
    const double r = std::hypot(d.x(), d.y()) / kIrisR, a = std::atan2(d.y(), d.x());
    const int n = static_cast<int>(fibres.size());
    const double fa = (a + kPi) / (2 * kPi) * n;
    const int i = static_cast<int>(fa) % n;
    const double fibre = fibres[i] + (fibres[(i + 1) % n] - fibres[i]) * (fa - std::floor(fa));
    QColor c = r < 0.5 ? mix(QColor(126, 88, 52), QColor(96, 64, 40), (r - 0.38) / 0.12)
                       : mix(QColor(96, 64, 40), QColor(58, 38, 26), (r - 0.5) / 0.4);
    if (r < 0.38) c = QColor(126, 88, 52);
    c = mix(c, QColor(36, 24, 20), smoothstep(0.8, 1.0, r));
    const double glow = std::max(0.0, (d.x() + 0.6 * d.y()) / kIrisR) * smoothstep(1.0, 0.5, r);
    const double k = (1.0 + 0.22 * fibre) * (1.0 + 0.35 * glow);
    return QColor(std::clamp(static_cast<int>(c.red() * k), 0, 255),
                  std::clamp(static_cast<int>(c.green() * k), 0, 255),
                  std::clamp(static_cast<int>(c.blue() * k), 0, 255));
}

void drawEyeball(QImage& canvas, int side) {
    const QPainterPath opening = eyeOpening(side);
    const Field cover = coverageOf(opening, kCanvasW, kCanvasH);
    const Polyline lid = sampleSpline(upperLid(side), 60), lowerEdge = sampleSpline(lowerLid(side), 60);
    const QPointF ic = irisCentre(side);
    std::vector<float> fibres(120);
    Rng rng(side < 0 ? 141 : 142);
    for (float& f : fibres) f = static_cast<float>(rng.symmetric(1.0));
    const QRectF box = opening.boundingRect().adjusted(-1, -1, 1, 1);
    for (int y = static_cast<int>(box.top()); y <= box.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = static_cast<int>(box.left()); x <= box.right(); ++x) {
            const float c = cover(x, y);
            if (c <= 0) continue;
            const QPointF at(x + 0.5, y + 0.5);
            // Sclera: a ball lit from the upper left, greyer toward the corners, pink at the inner one.
            const double across = (at.x() - ic.x()) / 17.0, inner = side < 0 ? across : -across;
            // A wet ball in the shade of the lids: never paper white, greyer and warmer than it looks.
            QColor col = mix(QColor(178, 166, 160), QColor(128, 106, 100),
                             std::min(1.0, std::pow(std::abs(across), 1.5) * 1.3));
            col = mix(col, QColor(200, 140, 136), smoothstep(0.45, 1.0, inner) * 0.7);
            const double r = std::hypot(at.x() - ic.x(), at.y() - ic.y());
            if (r < kIrisR + 1.0) {
                QColor iris = irisColour(at, ic, fibres);
                iris = mix(iris, QColor(10, 8, 8), smoothstep(3.0, 2.4, r));  // pupil
                col = mix(col, iris, smoothstep(kIrisR + 0.6, kIrisR - 0.6, r));
            }
            // The upper lid and lashes shade the top of the eye.
            const double below = at.y() - lidYAt(lid, at.x());
            col = mix(col, QColor(78, 56, 50), 0.82 * std::pow(smoothstep(8.5, 0.0, below), 1.3));
            const double above = lidYAt(lowerEdge, at.x()) - at.y();  // the lower rim shades a little
            col = mix(col, QColor(150, 110, 104), 0.3 * smoothstep(1.6, 0.0, above));
            const QRgb under = row[x];
            row[x] = qRgb(static_cast<int>(qRed(under) + (col.red() - qRed(under)) * c),
                          static_cast<int>(qGreen(under) + (col.green() - qGreen(under)) * c),
                          static_cast<int>(qBlue(under) + (col.blue() - qBlue(under)) * c));
        }
    }
    QPainter p;
    beginPainter(p, canvas);
    p.setClipPath(opening);
    // The softbox mirrored in the wet cornea: a soft bright window up on the key's side, over the edge
    // of the pupil, and a faint one of the fill opposite.
    softEllipse(p, ic + QPointF(-2.3, -2.4), 1.9, 1.5, QColor(255, 252, 248, 235));
    softEllipse(p, ic + QPointF(-1.6, -1.8), 1.0, 0.8, QColor(255, 255, 255, 255));
    softEllipse(p, ic + QPointF(3.0, 2.2), 1.2, 0.8, QColor(236, 242, 255, 90));
    softEllipse(p, QPointF(ic.x() + (side < 0 ? 12.5 : -12.5), kEyeY + 1), 2.6, 2.0,
                QColor(228, 150, 150, 150));
    // The wet rim of the lower lid: a pink ledge inside the opening, a fine wet line of light along
    // it and a few brighter points where it catches the key.
    Polyline waterline = sampleSpline(lowerLid(side), 30);
    for (QPointF& q : waterline) q += QPointF(0, -0.8);
    fillRibbon(p, waterline, 0.6, 0.6, QColor(220, 164, 156, 160), 0.15, 0.15);
    Polyline wet = waterline;
    for (QPointF& q : wet) q += QPointF(0, -0.55);
    fillRibbon(p, wet, 0.3, 0.3, QColor(255, 236, 228, 80), 0.25, 0.3);
    Rng glint(side < 0 ? 143 : 144);
    for (int k = 0; k < 4; ++k) {
        const QPointF at = splineAt(lowerLid(side), glint.range(0.25, 0.75)) + QPointF(0, -1.2);
        softEllipse(p, at, glint.range(0.5, 0.9), 0.35,
                    QColor(255, 250, 246, static_cast<int>(glint.range(120, 200))));
    }
    p.end();
}

void drawLidsAndLashes(QImage& canvas, int side) {
    QPainter p;
    beginPainter(p, canvas);
    const Polyline upper = upperLid(side), lower = lowerLid(side);
    const Polyline crease =
        sampleSpline(mapped({{170, 200}, {161, 193.2}, {150, 191.4}, {140, 194.6}, {134, 201}}, side), 24);
    paintSoft(p, kSize, 3, 0.5, [&](QPainter& q) {  // the fold of the lid overhangs the crease: soft shade
        fillRibbon(q, crease, 2.0, 3.0, QColor(130, 82, 68), 0.25, 0.35);
    });
    paintSoft(p, kSize, 1, 0.55, [&](QPainter& q) {  // and the crease itself, a fine darker line
        fillRibbon(q, crease, 0.6, 0.9, QColor(120, 72, 60), 0.2, 0.3);
    });
    Polyline rim = sampleSpline(lower, 30);
    for (QPointF& q : rim) q += QPointF(0, 0.9);
    fillRibbon(p, rim, 1.0, 1.0, QColor(238, 196, 184, 110), 0.15, 0.1);  // lit edge of the lower lid
    paintSoft(p, kSize, 1, 0.5, [&](QPainter& q) {                        // lash line
        fillRibbon(q, sampleSpline(upper, 40), 0.6, 1.05, QColor(38, 26, 22, 196), 0.02, 0.1);
    });
    Rng rng(side < 0 ? 151 : 152);
    const double out = side < 0 ? -1.0 : 1.0;
    // Upper lashes as fine, soft hairs that grow in small clumps: they rise off the lid, curl up and
    // only lean outward a little toward the outer corner, thin to nothing at their tips, and lie half
    // in front of one another, so they read as a soft dark fringe rather than separate spikes.
    for (int clump = 0; clump < 34; ++clump) {
        const double u0 = 0.04 + 0.92 * std::pow((clump + rng.range(0.0, 0.8)) / 34.0, 0.85);
        const double len0 =
            (1.1 + 2.5 * smoothstep(0.05, 0.75, u0) - 0.6 * smoothstep(0.85, 1.0, u0)) * rng.range(0.8, 1.15);
        const double lean0 = (0.05 + 0.3 * u0) * out;
        const int hairs = 3 + static_cast<int>(rng.range(0.0, 2.99));
        for (int k = 0; k < hairs; ++k) {
            const double u = std::clamp(u0 + rng.symmetric(0.012), 0.0, 1.0);
            const QPointF root = splineAt(upper, u) + QPointF(0, rng.symmetric(0.3));
            const double len = len0 * rng.range(0.8, 1.1), lean = lean0 + rng.symmetric(0.08);
            Polyline lash{root, root + QPointF(lean * 0.3 * len, -0.6 * len),
                          root + QPointF((lean * 0.8 + 0.12 * out) * len, -0.9 * len)};
            fillRibbon(p, sampleSpline(lash, 8), rng.range(0.3, 0.42), 0.04,
                       QColor(30, 21, 18, static_cast<int>(rng.range(70, 140))));
        }
    }
    fillRibbon(p, sampleSpline(lower, 30), 0.5, 0.7, QColor(96, 62, 54, 70), 0.1, 0.2);  // lower lash line
    for (int k = 0; k < 12; ++k) {
        const double u = rng.range(0.35, 0.95);
        const QPointF root = splineAt(lower, 1.0 - u) + QPointF(0, 1.0);
        const double len = rng.range(0.6, 1.4);
        fillRibbon(p, {root, root + QPointF(out * 0.4 * u * len, len)}, 0.35, 0.05, QColor(52, 36, 30, 55));
    }
    p.end();
}

}  // namespace

Polyline upperLid(int side) { return mapped(kUpperLid, side); }
Polyline lowerLid(int side) { return mapped(kLowerLid, side); }

QPainterPath eyeOpening(int side) {
    Polyline all = sampleSpline(upperLid(side), 30);
    for (const QPointF& q : sampleSpline(lowerLid(side), 30)) all.push_back(q);
    return pathThrough(all, true);
}

namespace {

const Polyline kUpperLip{{164, 291}, {172, 286.6}, {180, 281.8}, {185.5, 280.6}, {190, 282.6}};
const Polyline kLowerLip{{164, 291}, {170, 296.2}, {180, 301}, {190, 302.6}};
const Polyline kMouthLine{{164, 291}, {176, 291.4}, {184, 292.6}, {190, 292.6}};

QPainterPath lipPath(const Polyline& half) {
    Polyline all = sampleSpline(half, 24);
    const Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    const Polyline line = mouthLine();
    for (auto it = line.rbegin(); it != line.rend(); ++it) all.push_back(*it);
    return pathThrough(all, true);
}

}  // namespace

Polyline mouthLine() {
    Polyline all = sampleSpline(kMouthLine, 20);
    const Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    return all;
}

QPainterPath upperLipPath() { return lipPath(kUpperLip); }
QPainterPath lowerLipPath() { return lipPath(kLowerLip); }

void drawEyes(QImage& canvas) {
    for (int side : {-1, 1}) {
        drawEyeball(canvas, side);
        drawLidsAndLashes(canvas, side);
    }
}

// Full, natural brows: a soft tone of the skin under them, then fine hairs that rise at the head
// and lie toward the tail further on, densest along the lower edge of the body.
void drawBrows(QPainter& p) {
    for (int side : {-1, 1}) {
        const Polyline brow = mapped({{177, 190.5}, {163, 184}, {147, 181}, {131, 185.5}}, side);
        // The tone under the hairs is faint at the head and gathers over the body of the brow.
        const Polyline line = sampleSpline(brow, 30);
        paintSoft(p, kSize, 5, 0.3, [&](QPainter& q) {
            fillRibbon(q, Polyline(line.begin(), line.begin() + 10), 7.0, 5.0, QColor(150, 116, 96), 0.3,
                       0.3);
            fillRibbon(q, Polyline(line.begin() + 8, line.end()), 5.0, 3.0, QColor(116, 88, 72), 0.35, 0.15);
        });
        Rng rng(side < 0 ? 161 : 162);
        const double out = side < 0 ? -1 : 1;
        for (int k = 0; k < 760; ++k) {
            const double u = std::pow(rng.uniform(), 0.8);  // 0 head .. 1 tail
            // Sparse at the head, densest over the body; the tail thins to a few hairs.
            if (rng.uniform() > 0.25 + 0.75 * smoothstep(0.0, 0.3, u)) continue;
            const double thick = 4.4 - 2.6 * smoothstep(0.35, 1.0, u);
            const double spread = thick * rng.symmetric(1.0) * (0.55 + 0.45 * rng.uniform());
            const QPointF at = splineAt(brow, u) + QPointF(rng.symmetric(0.5), spread);
            const double up = 1.0 - smoothstep(0.0, 0.35, u);
            const QPointF dir = QPointF(out * (0.3 + 0.7 * (1 - up)) + rng.symmetric(0.25),
                                        -0.95 * up - 0.22 - 0.1 * spread + rng.symmetric(0.2)) *
                                rng.range(2.8, 5.0);
            // Single hairs, fine and half see-through, lighter and fewer toward the head.
            const int alpha = static_cast<int>(rng.range(36, 124) * (0.3 + 0.7 * smoothstep(0.0, 0.35, u)));
            const QColor c = rng.uniform() < 0.4 ? QColor(124, 96, 78, alpha) : QColor(62, 45, 36, alpha);
            fillRibbon(p, {at, at + dir * 0.5 + QPointF(0, 0.15), at + dir + QPointF(0, 0.4)},
                       rng.range(0.3, 0.5), 0.08, c);
        }
    }
}

}  // namespace installdata::portrait
