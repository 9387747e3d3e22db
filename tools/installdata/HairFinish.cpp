#include "HairFinish.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

#include "Geometry.h"
#include "StrandField.h"

namespace installdata {

using namespace face;

QImage maskOf(const QPainterPath& path, int blur) {
    QImage m = newLayer(kCanvasW, kCanvasH);
    QPainter q;
    beginPainter(q, m);
    q.setPen(Qt::NoPen);
    q.setBrush(Qt::black);
    q.drawPath(path);
    q.end();
    blurLayer(m, blur);
    return m;
}

namespace {

// Paints `draw` over the layer's own pixels only (colour changes, alpha kept).
void overHair(QImage& layer, double opacity, const std::function<void(QPainter&)>& draw) {
    QPainter p;
    beginPainter(p, layer);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.setOpacity(opacity);
    draw(p);
}

// The left half of the cap, crown to hairline, in the order its outline runs. Its outline lies
// a little inside that of the hair drawn over it and a little outside the portrait's own crop.
Polyline capHalf(double crownTop, double sideOut) {
    const double rx = 90 + sideOut, ry = 158 - crownTop;
    Polyline half;
    for (double deg : {0.0, 22.0, 45.0, 66.0, 84.0}) half.push_back(skullPoint(deg * kPi / 180, rx, ry));
    // Down past the sideburn, then the hairline: the portrait's own hairline moved a few pixels
    // into the forehead, so its hair stays under opaque hair while the edge softens.
    const Polyline rest{{99 - sideOut * 0.6, 186},
                        {100, 211},
                        {104, 223},
                        {112, 226},
                        {119, 219},
                        {121, 198},
                        {124, 168},
                        {130, 145},
                        {143, 131},
                        {163, 124.5},
                        {kMidX, 122.5}};
    half.insert(half.end(), rest.begin(), rest.end());
    return half;
}

// The soft sheen of black hair: the same ring and length band as the crisp one, but drawn as wide,
// faint, long strokes in groups across the head, each group lit at its own strength and height
// and some not at all, so the band breaks where one group of strands turns from the light.
void drawBrokenSheen(QPainter& q, const HairLight& l, const StrandField& field, Rng& rng) {
    constexpr int kGroups = 20;
    constexpr double kFrom = -1.45, kTo = 1.45;
    double edge[kGroups + 1], gain[kGroups], shift[kGroups];
    for (int k = 0; k <= kGroups; ++k)
        edge[k] = kFrom + (kTo - kFrom) *
                              std::clamp((k + (k % kGroups ? rng.symmetric(0.35) : 0.0)) / kGroups, 0.0, 1.0);
    for (int k = 0; k < kGroups; ++k) {
        gain[k] = rng.uniform() < 0.3 ? rng.range(0.0, 0.2) : rng.range(0.45, 1.0);
        shift[k] = rng.symmetric(0.035);
    }
    auto group = [&](double a) {
        return static_cast<int>(std::clamp<std::ptrdiff_t>(
            std::upper_bound(edge, edge + kGroups + 1, a) - edge - 1, 0, kGroups - 1));
    };
    for (int k = 0; k < 620; ++k) {
        const double a = rng.range(kFrom, kTo), band = rng.symmetric(1.0);
        const int gi = group(a);
        const double r = l.radius * (0.66 + shift[gi] + 0.13 * band), len = rng.range(14, 30);
        const double facing = 0.55 + 0.45 * std::cos(a + 0.45);
        const QPointF dir(std::sin(a), -std::cos(a));
        const Polyline pts = field.streak(l.crown + dir * r, dir, len, 4);
        const int alpha = static_cast<int>((1 - band * band) * facing * gain[gi] * rng.range(30, 80));
        fillRibbon(q, pts, rng.range(2.0, 3.6), rng.range(1.2, 2.4), withAlpha(l.sheen, alpha), 0.4, 0.4);
    }
    if (l.tipY <= 320 || l.sheenStrength < 1) return;
    for (int k = 0; k < 200; ++k) {
        const bool left = rng.uniform() < 0.6;
        const double x = left ? rng.range(40, 150) : rng.range(230, 340);
        const double band = rng.symmetric(1.0), y = 262 + 20 * band, len = rng.range(18, 36);
        const double lit = gain[static_cast<int>(x / 9) % kGroups];
        const double sway = rng.symmetric(1.5);
        const Polyline pts = field.streak({x + sway, y}, {0, 1}, len, 2);
        const int alpha = static_cast<int>((1 - band * band) * (left ? 1.0 : 0.6) * lit * rng.range(25, 70));
        fillRibbon(q, pts, rng.range(2.0, 3.5), 1.5, withAlpha(l.sheen, alpha), 0.4, 0.4);
    }
}

}  // namespace

QPointF skullPoint(double angle, double rx, double ry, double power) {
    const double s = std::sin(angle), c = std::cos(angle), e = 2 / power;
    // A superellipse: by default of power 2.5, squarer than an ellipse, like the skull with its hair on.
    return {kMidX - rx * std::copysign(std::pow(std::abs(s), e), s),
            160 - ry * std::copysign(std::pow(std::abs(c), e), c)};
}

QPointF ontoSkull(QPointF q, double rx, double ry) {
    const QPointF d = q - QPointF(kMidX, 160);
    const double r = std::pow(std::pow(std::abs(d.x() / rx), 2.5) + std::pow(std::abs(d.y() / ry), 2.5), 0.4);
    return r >= 1.0 || r < 1e-6 ? q : QPointF(kMidX, 160) + d / r;
}

double shoulderTopY(double x) {
    if (x > kMidX) x = 2 * kMidX - x;
    const std::vector<QPointF> body = bodyHalfOutline();
    if (x >= body[1].x()) return body[0].y();
    for (size_t i = 2; i < body.size(); ++i)
        if (x >= body[i].x()) {
            const QPointF a = body[i - 1], b = body[i];
            return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
        }
    return body.back().y();
}

QPainterPath bodyPath() {
    const Polyline half = bodyHalfOutline();
    Polyline all(half.rbegin(), half.rend());
    const Polyline right = mirrored(half, kMidX);
    all.insert(all.end(), right.begin(), right.end());
    return pathThrough(all, true);
}

Polyline drapedFront(const Polyline& controls, double fan) {
    Polyline line = sampleSpline(controls, 48);
    for (QPointF& q : line) {
        const double contact = shoulderTopY(q.x()) - 8, over = q.y() - contact;
        if (over <= 0) continue;
        const double push = 0.45 * std::min(over, 34.0) + fan * smoothstep(0, 70, over);
        q.setX(q.x() + (q.x() < kMidX ? -push : push));
    }
    return line;
}

QPainterPath faceOvalPath() {
    // The face kept clear of hair: the sample face's outline, a little fuller at the jaw, so that
    // the jaw of a fitted client face stays clear too.
    const Polyline half{{kMidX, 86}, {160, 90},  {132, 108}, {118, 140}, {114, 180},  {114, 218},
                        {118, 250},  {127, 280}, {142, 306}, {163, 325}, {kMidX, 331}};
    Polyline all = sampleSpline(half, 60);
    const Polyline right = mirrored(all, kMidX);
    all.insert(all.end(), right.rbegin(), right.rend());
    return pathThrough(all, true);
}

void fillHairBase(QPainter& p, const HairPalette& c, const Polyline& outline, QPointF light, double reach) {
    QRadialGradient g(light, reach);
    g.setColorAt(0.0, mix(c.dark, c.base, 0.6));
    g.setColorAt(1.0, c.dark);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 3, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(g);
        q.drawPath(pathThrough(outline, true));
    });
}

void drawCap(QPainter& p, const HairPalette& c, double crownTop, double sideOut, uint64_t) {
    Polyline half = sampleSpline(capHalf(std::min(crownTop, sideOut < 0 ? 75.0 : 70.0), sideOut), 90);
    Polyline all = half;
    const Polyline right = mirrored(half, kMidX);
    all.insert(all.end(), right.rbegin(), right.rend());
    fillHairBase(p, c, all, QPointF(170, 90), 150);
}

void drawHairlineWisps(QPainter& p, const HairPalette& c, double part, uint64_t seed) {
    const Polyline half = capHalf(70, 0);
    const Polyline line = sampleSpline(Polyline(half.begin() + 8, half.end()), 60);
    Rng rng(seed);
    for (int side : {-1, 1})
        for (int i = 0; i < static_cast<int>(line.size()); ++i) {
            if (rng.uniform() < 0.35) continue;
            QPointF root = line[i] + QPointF(rng.symmetric(1.5), -2.5 + rng.symmetric(1.0));
            if (side > 0) root.setX(2 * kMidX - root.x());
            // Away from the parting and down into the face, each a little differently.
            const QPointF away(root.x() < part ? -0.5 : 0.5, 1.0);
            const double ang = std::atan2(away.y(), away.x()) + rng.symmetric(0.6), len = rng.range(3, 8);
            Polyline pts{root};
            for (int k = 1; k <= 4; ++k)
                pts.push_back(pts.back() +
                              QPointF(std::cos(ang + 0.1 * k), std::sin(ang + 0.1 * k)) * (len / 4));
            const QColor col = mix(c.dark, c.base, rng.range(0.2, 0.9));
            fillRibbon(p, pts, rng.range(0.5, 0.9), 0.15,
                       withAlpha(col, static_cast<int>(rng.range(90, 190))), 0.0, 0.0);
        }
}

void hideBehindBody(QImage& layer, bool face) {
    const QImage m = maskOf(face ? bodyPath().united(faceOvalPath()) : bodyPath(), 2);
    QPainter p;
    beginPainter(p, layer);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.drawImage(0, 0, m);
}

void shadeVolume(QImage& layer, const HairLight& l) {
    overHair(layer, 1.0, [&](QPainter& p) {
        QRadialGradient g(QPointF(166, 70), 360);
        g.setColorAt(0.0, withAlpha(l.shade, 0));
        g.setColorAt(0.35, withAlpha(l.shade, 0));
        g.setColorAt(1.0, withAlpha(l.shade, 130));
        p.fillRect(layer.rect(), g);
        if (l.tipY > 300) {  // the lengths darken toward the ends, under the sheen of the crown
            QLinearGradient d(0, 290, 0, l.tipY);
            d.setColorAt(0.0, withAlpha(l.shade, 0));
            d.setColorAt(1.0, withAlpha(l.shade, 70));
            p.fillRect(QRectF(0, 290, kCanvasW, kCanvasH), d);
        }
        softEllipse(p, QPointF(l.part, 96), 9, 26, withAlpha(l.shade, 80));  // the roots along the parting
    });
    // The hair next to the face lies in the face's shadow.
    QImage occlusion = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, occlusion);
        q.setPen(QPen(QColor(0, 0, 0, 120), 12));
        q.setBrush(Qt::NoBrush);
        QPainterPath below;
        below.addRect(0, 175, kCanvasW, kCanvasH);
        q.setClipPath(below);
        q.drawPath(faceOvalPath());
    }
    blurLayer(occlusion, 8);
    overHair(layer, 1.0, [&](QPainter& p) { p.drawImage(0, 0, occlusion); });
    // Streaks of sheen running with the strands, gathered in a band across them: a ring around
    // the crown, and for long hair a second band where the lengths bend below the cheek.
    if (l.sheenStrength <= 0) return;
    // Each streak runs along the strands under it, so the band lies on the hair, not across it.
    const StrandField field(layer);
    QImage sheen = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, sheen);
        Rng rng(l.seed);
        if (l.brokenSheen) drawBrokenSheen(q, l, field, rng);
        for (int k = 0; k < (l.brokenSheen ? 0 : 520); ++k) {
            const double a = rng.range(-1.45, 1.45), band = rng.symmetric(1.0);
            const double r = l.radius * (0.66 + 0.08 * band), len = rng.range(8, 22);
            const double facing = 0.55 + 0.45 * std::cos(a + 0.45);  // brightest on the upper left
            const QPointF dir(std::sin(a), -std::cos(a));
            const Polyline pts = field.streak(l.crown + dir * r, dir, len, 4);
            const int alpha = static_cast<int>((1 - band * band) * facing * rng.range(50, 150));
            fillRibbon(q, pts, rng.range(0.8, 1.8), rng.range(0.5, 1.2), withAlpha(l.sheen, alpha), 0.3, 0.3);
        }
        if (l.tipY > 320 && l.sheenStrength >= 1 && !l.brokenSheen)
            for (int k = 0; k < 220; ++k) {
                const bool left = rng.uniform() < 0.6;
                const double x = left ? rng.range(40, 150) : rng.range(230, 340);
                const double band = rng.symmetric(1.0), y = 262 + 14 * band, len = rng.range(12, 30);
                const double sway = rng.symmetric(1.5);
                const Polyline pts = field.streak({x + sway, y}, {0, 1}, len, 2);
                const int alpha =
                    static_cast<int>((1 - band * band) * (left ? 1.0 : 0.6) * rng.range(40, 110));
                fillRibbon(q, pts, rng.range(1.0, 2.2), 1.0, withAlpha(l.sheen, alpha), 0.3, 0.3);
            }
    }
    blurLayer(sheen, l.brokenSheen ? 2 : 1);  // crisp enough to read as lit strands, not as a haze
    overHair(layer, 0.85 * l.sheenStrength, [&](QPainter& p) { p.drawImage(0, 0, sheen); });
}

void castShadow(QImage& layer, int strength) {
    QImage shadow = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, shadow);
        q.drawImage(QPointF(0.5, 2.5), layer);
        q.setCompositionMode(QPainter::CompositionMode_SourceIn);
        q.fillRect(shadow.rect(), QColor(34, 16, 10));
    }
    blurLayer(shadow, 6);
    QPainterPath skin = faceOvalPath().united(bodyPath());
    skin.addEllipse(QPointF(106, 234), 11, 28);
    skin.addEllipse(QPointF(2 * kMidX - 106, 234), 11, 28);
    {
        QPainter q;
        beginPainter(q, shadow);
        q.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        q.drawImage(0, 0, maskOf(skin, 2));
    }
    QPainter p;
    beginPainter(p, layer);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    p.setOpacity(strength / 255.0);
    p.drawImage(0, 0, shadow);
}

void closePartingNotch(QImage& layer, int part) {
    constexpr int kReach = 6, kHalf = 5, kRows = 110;
    for (int y = 0; y < kRows; ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        const std::vector<QRgb> was(row, row + layer.width());
        for (int x = std::max(kReach, part - kHalf); x <= std::min(layer.width() - 1 - kReach, part + kHalf);
             ++x) {
            // The most solid hair within reach on each side; only a dip below both is a notch.
            QRgb left = 0, right = 0;
            for (int d = 1; d <= kReach; ++d) {
                if (qAlpha(was[x - d]) > qAlpha(left)) left = was[x - d];
                if (qAlpha(was[x + d]) > qAlpha(right)) right = was[x + d];
            }
            const int bridge = std::min(qAlpha(left), qAlpha(right));
            if (bridge <= qAlpha(was[x])) continue;
            const QRgb l = qUnpremultiply(left), r = qUnpremultiply(right);
            row[x] = qPremultiply(qRgba((qRed(l) + qRed(r)) / 2, (qGreen(l) + qGreen(r)) / 2,
                                        (qBlue(l) + qBlue(r)) / 2, bridge));
        }
    }
}

void keepFaceClear(QImage& layer) {
    // The face from the brows down, a few pixels inside its outline: the hair beside the cheeks
    // and jaw stays, and no background shows between them and the face.
    const Polyline half{{126, 172}, {123, 200}, {124, 230}, {127, 256},
                        {134, 281}, {147, 304}, {165, 320}, {kMidX, 325}};
    Polyline all = sampleSpline(half, 40);
    const Polyline right = mirrored(all, kMidX);
    all.insert(all.end(), right.rbegin(), right.rend());
    QPainterPath zone = pathThrough(all, true);
    QPainter p;
    beginPainter(p, layer);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.drawImage(0, 0, maskOf(zone, 4));
}

}  // namespace installdata
