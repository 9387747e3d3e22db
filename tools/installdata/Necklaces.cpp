#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "AccessoryDraw.h"
#include "InstallData.h"

// Necklaces: 200 x 140 pictures placed at canvas (90, 320), drawn in canvas coordinates. Every
// strand comes out from behind the neck at its sides (a little inside the neck's silhouette, below
// the jaw), lies round the base of the neck and over the collarbones, and turns away behind the
// neck again on the other side; it fades and darkens there instead of stopping in the air.
namespace installdata {

namespace {

const QColor kGold(214, 170, 86), kRoseGold(218, 150, 124), kSilver(204, 208, 216);
const QPoint kOrigin(90, 320);
// Where the strands pass behind the neck on the left; the right end mirrors it about kMidX.
const QPointF kLeftEnd(168.5, 330.5);
constexpr double kFadeLength = 13.0;

// A strand from its left end round the front to its right end, as a densely sampled line.
class Strand {
  public:
    // depth: y of the lowest point, on the middle; spread: how far the strand swings out over the
    // collarbones; round: how wide its bottom is (small values hang in a V). endDrop moves the end
    // a little down the neck, for strands that lie under others.
    Strand(double depth, double spread, double round, double endDrop = 0) {
        const QPointF e = kLeftEnd + QPointF(-0.15 * endDrop, endDrop), c(face::kMidX, depth);
        const QPointF p1 = e + QPointF(-1.25 * spread, 0.52 * (depth - e.y())),
                      p2(face::kMidX - round, depth);
        Polyline half;
        for (int i = 0; i <= 240; ++i) {
            const double t = i / 240.0, u = 1 - t;
            half.push_back(u * u * u * e + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * c);
        }
        Polyline all = half;
        const Polyline right = mirrored(half, face::kMidX);
        for (int i = static_cast<int>(right.size()) - 2; i >= 0; --i) all.push_back(right[i]);
        length_.push_back(0);
        for (size_t i = 1; i < all.size(); ++i)
            length_.push_back(length_.back() +
                              std::hypot(all[i].x() - all[i - 1].x(), all[i].y() - all[i - 1].y()));
        points_ = std::move(all);
    }
    double length() const { return length_.back(); }
    QPointF at(double s) const {
        const size_t i = index(s);
        const double span = length_[i + 1] - length_[i];
        return lerp(points_[i], points_[i + 1], span > 0 ? (s - length_[i]) / span : 0);
    }
    QPointF tangent(double s) const {
        const size_t i = index(s);
        const QPointF d = points_[i + 1] - points_[i];
        return d / std::max(1e-9, std::hypot(d.x(), d.y()));
    }
    // Arc length where the strand reaches the canvas x on its left half.
    double atX(double x) const {
        double s = 0;
        for (size_t i = 0; i < points_.size() && points_[i].x() < x; ++i) s = length_[i];
        return s;
    }

  private:
    size_t index(double s) const {
        const auto it = std::upper_bound(length_.begin(), length_.end(), std::clamp(s, 0.0, length()));
        return std::clamp<size_t>(static_cast<size_t>(it - length_.begin()), 1, length_.size() - 1) - 1;
    }
    Polyline points_;
    std::vector<double> length_;
};

// How much a strand's piece faces the light from the upper left: its side normal towards the light.
double facing(QPointF tangent) {
    const QPointF normal(tangent.y(), -tangent.x());
    return std::abs(normal.x() * -0.6 + normal.y() * -0.8);
}

// A fine chain of alternating links (one seen flat, the next edge on), each catching the light by
// its direction, a few sparkling. from/to are arc lengths.
void drawChain(QPainter& p, const Strand& st, const QColor& metal, double width, uint32_t seed,
               double from = 0, double to = -1) {
    if (to < 0) to = st.length();
    Polyline base;
    for (double s = from; s <= to; s += 1.0) base.push_back(st.at(s));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(metalShade(metal, -0.55), width * 0.75, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(base.data(), static_cast<int>(base.size()));
    const double pitch = std::max(0.9, width * 1.05);
    int k = 0;
    for (double s = from; s <= to; s += pitch, ++k) {
        const QPointF c = st.at(s), t = st.tangent(s);
        const double jitter = valueNoise(s * 0.9, 0.5, seed) - 0.5;
        const double lit = 1.5 * facing(t) - 0.75 + 0.9 * jitter;
        p.save();
        p.translate(c);
        p.rotate(std::atan2(t.y(), t.x()) * 180 / std::numbers::pi);
        if (k % 2 == 0) {
            p.setPen(QPen(metalShade(metal, lit), width * 0.38));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(0, 0), width * 0.62, width * 0.42);
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(metalShade(metal, lit + 0.35));
            p.drawEllipse(QPointF(0, 0), width * 0.6, width * 0.2);
        }
        p.restore();
        if (valueNoise(s * 1.7, 3.5, seed + 11) > 0.8) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 252, 236, 210));
            p.drawEllipse(c + QPointF(-0.15, -0.2), 0.45 * width, 0.45 * width);
        }
    }
}

// A rigid round tube along the strand: dark underside, body and a highlight on the side that
// faces the light.
void drawTube(QPainter& p, const Strand& st, const QColor& metal, double width, double from, double to) {
    auto offsetLine = [&](double shift) {
        Polyline line;
        for (double s = from; s <= to; s += 0.7) {
            const QPointF t = st.tangent(s);
            const QPointF n = QPointF(t.y(), -t.x()) * (t.x() >= 0 ? 1.0 : -1.0);  // upward side
            line.push_back(st.at(s) + n * shift);
        }
        return line;
    };
    fillRibbon(p, offsetLine(0), width, width, metalShade(metal, -0.8));
    fillRibbon(p, offsetLine(0.12 * width), width * 0.78, width * 0.78, metalShade(metal, -0.15));
    fillRibbon(p, offsetLine(0.2 * width), width * 0.45, width * 0.45, metalShade(metal, 0.35));
    fillRibbon(p, offsetLine(0.26 * width), width * 0.16, width * 0.16,
               withAlpha(metalShade(metal, 1.0), 220));
    fillRibbon(p, offsetLine(-0.36 * width), width * 0.12, width * 0.12,
               withAlpha(metalShade(metal, 0.2), 140));
}

// Beads along the strand: radius(i) for the i-th bead counted from the middle outwards, both ways.
void beadsAlong(const Strand& st, const std::function<double(int)>& radius,
                const std::function<void(QPointF, double, int)>& draw, double gap = 0.3) {
    const double mid = st.length() / 2;
    std::vector<std::pair<double, int>> places{{mid, 0}};
    double off = 0;
    for (int i = 1; off < mid; ++i) {
        off += radius(i - 1) + radius(i) + gap;
        places.push_back({mid - off, i});
        places.push_back({mid + off, i});
    }
    // The outer beads first: each lies over its outer neighbour, as the strand hangs to the middle.
    std::stable_sort(places.begin(), places.end(), [](auto a, auto b) { return a.second > b.second; });
    for (const auto& [s, i] : places)  // none right where the strand slips behind the neck
        if (s > 12 + 1.5 * radius(i) && s < st.length() - 12 - 1.5 * radius(i)) draw(st.at(s), radius(i), i);
}

void drawBail(QPainter& p, QPointF top, const QColor& metal, double r) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(metalShade(metal, -0.5), r * 0.75));
    p.drawEllipse(top + QPointF(0, r), r, r * 1.15);
    p.setPen(QPen(metalShade(metal, 0.6), r * 0.3));
    p.drawArc(QRectF(top.x() - r, top.y(), 2 * r, 2.3 * r), 100 * 16, 90 * 16);
}

using NecklaceArt = std::function<void(QPainter&)>;

void solitaire(QPainter& p) {
    const Strand st(394, 26, 15);
    drawChain(p, st, kGold, 1.1, 1);
    const QPointF low = st.at(st.length() / 2);
    drawBail(p, low + QPointF(0, -0.8), kGold, 1.3);
    drawMetalBall(p, low + QPointF(0, 6.2), 3.7, kGold);
    drawCutStone(p, low + QPointF(0, 6.2), 3.0, QColor(226, 234, 246));
}

void pearls(QPainter& p) {
    const Strand st(386, 23, 26);
    drawChain(p, st, QColor(230, 226, 214), 0.8, 2);
    beadsAlong(
        st, [](int i) { return std::max(2.4, 3.4 - 0.035 * i); },
        [&](QPointF c, double r, int i) {
            drawPearl(p, c, r, mix(QColor(244, 238, 226), QColor(236, 226, 216), (i % 3) / 3.0));
        });
}

void velvetChoker(QPainter& p) {
    const Strand st(352, 3, 22, 4.0);
    Polyline line;
    for (double s = 0; s <= st.length(); s += 0.7) line.push_back(st.at(s));
    fillRibbon(p, line, 4.6, 4.6, QColor(26, 16, 26));
    fillRibbon(p, line, 2.4, 2.4, QColor(40, 26, 40));
    Polyline upper;
    for (double s = 0; s <= st.length(); s += 0.7) upper.push_back(st.at(s) + QPointF(0, -1.8));
    fillRibbon(p, upper, 0.8, 0.8, QColor(120, 104, 126, 120));  // velvet shines where it turns away
    const QPointF c = st.at(st.length() / 2);
    drawBail(p, c + QPointF(0, 1.0), kGold, 1.4);
    drawPearl(p, c + QPointF(0, 7.6), 3.0, QColor(246, 240, 230));
}

void layered(QPainter& p) {
    const Strand inner(360, 11, 18, 0.5), middle(383, 20, 20, 1.5), outer(408, 27, 21, 2.5);
    drawChain(p, inner, kGold, 0.9, 3);
    for (double s = 6; s < inner.length() - 6; s += 7) drawMetalBall(p, inner.at(s), 1.15, kGold);
    drawChain(p, middle, kGold, 1.0, 4);
    const QPointF coin = middle.at(middle.length() / 2) + QPointF(0, 4.6);
    drawBail(p, coin + QPointF(0, -5.4), kGold, 1.0);
    drawMetalBall(p, coin, 3.6, kGold);
    p.setPen(QPen(withAlpha(kGold.darker(200), 150), 0.45));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(coin, 2.4, 2.4);
    drawChain(p, outer, kGold, 1.15, 5);
    const QPointF drop = outer.at(outer.length() / 2);
    drawBail(p, drop + QPointF(0, -0.6), kGold, 1.0);
    drawTeardrop(p, drop + QPointF(0, 1.2), 4.4, 7.0, QColor(60, 170, 170));
}

void gemstoneBeads(QPainter& p) {
    const Strand st(390, 24, 24);
    drawChain(p, st, kGold, 0.8, 6);
    beadsAlong(
        st, [](int i) { return i % 2 == 1 ? 1.3 : 3.5; },
        [&](QPointF c, double r, int i) {
            if (i % 2 == 1) return drawMetalBall(p, c, r, kGold);
            const QColor lapis(38, 62, 138), jade(64, 130, 96);
            const QColor body = i % 4 == 0 ? lapis : jade;
            drawMetalBall(p, c, r, body);
            p.setPen(QPen(withAlpha(body.lighter(170), 90), 0.35));  // veins in the stone
            p.drawArc(QRectF(c.x() - r * 0.8, c.y() - r * 0.5, r * 1.4, r), (40 * i) * 16, 120 * 16);
        },
        0.2);
}

void statementCollar(QPainter& p) {
    const Strand st(368, 14, 27);
    drawChain(p, st, kGold, 1.2, 7);
    const QColor emerald(28, 128, 88), crystal(226, 236, 244);
    const double mid = st.length() / 2;
    for (int k = -6; k <= 6; ++k) {  // the hanging row first, so the setting row lies over it
        const double s = mid + k * 6.2;
        const QPointF c = st.at(s);
        const double len = 12.0 - 0.9 * std::abs(k);
        drawTeardrop(p, c + QPointF(0, 2.2), 4.2, len, std::abs(k) % 2 == 0 ? emerald : crystal);
    }
    for (int k = -7; k <= 7; ++k) {
        const QPointF c = st.at(mid + k * 6.2);
        drawMetalBall(p, c, 3.1, kGold);
        drawCutStone(p, c, 2.4, std::abs(k) % 2 == 0 ? crystal : emerald);
    }
}

void locket(QPainter& p) {
    const Strand st(394, 27, 14);
    drawChain(p, st, kGold.darker(108), 1.3, 8);
    const QPointF top = st.at(st.length() / 2);
    drawBail(p, top + QPointF(0, -0.6), kGold, 1.5);
    const QRectF oval(top.x() - 6.0, top.y() + 3.0, 12.0, 15.0);
    QRadialGradient g(oval.center() + QPointF(-2.5, -3.5), 10);
    g.setColorAt(0.0, metalShade(kGold, 0.9));
    g.setColorAt(0.5, metalShade(kGold, 0.0));
    g.setColorAt(1.0, metalShade(kGold, -0.8));
    p.setPen(QPen(metalShade(kGold, -0.9), 0.6));
    p.setBrush(g);
    p.drawEllipse(oval);
    p.setBrush(Qt::NoBrush);  // an engraved border and a flower in the middle
    p.setPen(QPen(withAlpha(kGold.darker(220), 170), 0.5));
    p.drawEllipse(oval.adjusted(1.6, 1.6, -1.6, -1.6));
    p.setPen(QPen(withAlpha(metalShade(kGold, 1.0), 160), 0.4));
    p.drawEllipse(oval.adjusted(2.1, 2.1, -1.1, -1.1));
    for (int k = 0; k < 5; ++k) {
        const double a = 2 * std::numbers::pi * k / 5;
        p.setPen(QPen(withAlpha(kGold.darker(200), 150), 0.45));
        p.drawEllipse(oval.center() + QPointF(std::cos(a), std::sin(a)) * 1.7, 1.1, 1.1);
    }
    drawMetalBall(p, oval.center(), 0.8, kGold);
}

void bar(QPainter& p) {
    const Strand st(384, 20, 23);
    const double halfBar = 12.5, s0 = st.atX(face::kMidX - halfBar);
    drawChain(p, st, kSilver, 1.0, 9, 0, s0);
    drawChain(p, st, kSilver, 1.0, 9, st.length() - s0, st.length());
    const QPointF a = st.at(s0), b = st.at(st.length() - s0);
    QLinearGradient g(0, a.y() - 1.6, 0, a.y() + 1.6);
    g.setColorAt(0.0, metalShade(kSilver, 0.9));
    g.setColorAt(0.45, metalShade(kSilver, 0.1));
    g.setColorAt(1.0, metalShade(kSilver, -0.8));
    p.setPen(QPen(metalShade(kSilver, -0.9), 0.4));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(a.x() - 0.5, a.y() - 1.5, b.x() - a.x() + 1, 3.0), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(QRectF(a.x() + 2, a.y() - 1.0, 7, 0.7), 0.3, 0.3);
}

void lariat(QPainter& p) {
    const Strand st(378, 19, 7);
    drawChain(p, st, kRoseGold, 1.0, 10);
    const QPointF knot = st.at(st.length() / 2);
    for (double y = 1; y < 36; y += 1.05) {
        const QPointF c = knot + QPointF(0.4 * y / 36, y);
        p.setPen(Qt::NoPen);
        p.setBrush(metalShade(kRoseGold, static_cast<int>(y) % 2 == 0 ? -0.4 : 0.5));
        p.drawEllipse(c, 0.55, 0.62);
    }
    drawMetalBall(p, knot, 2.0, kRoseGold);
    drawCutStone(p, knot, 1.4, QColor(240, 200, 210));
    drawTeardrop(p, knot + QPointF(0.4, 35.5), 4.6, 8.0, QColor(236, 168, 184));
}

void torque(QPainter& p) {
    const Strand st(364, 11, 24, 1.0);
    const double gap = st.atX(face::kMidX - 6);
    drawTube(p, st, kGold, 3.8, 0, gap);
    drawTube(p, st, kGold, 3.8, st.length() - gap, st.length());
    drawMetalBall(p, st.at(gap) + QPointF(0.6, 0), 2.9, kGold);
    drawMetalBall(p, st.at(st.length() - gap) + QPointF(-0.6, 0), 2.9, kGold);
}

const NecklaceArt kNecklaces[] = {solitaire,       pearls, velvetChoker, layered, gemstoneBeads,
                                  statementCollar, locket, bar,          lariat,  torque};

QImage renderNecklace(const NecklaceArt& art) {
    QImage img = newLayer(200, 140);
    QPainter p;
    beginPainter(p, img);
    p.translate(-kOrigin.x(), -kOrigin.y());
    art(p);
    p.end();
    fadeTowards(img, kOrigin, kLeftEnd, kFadeLength);
    fadeTowards(img, kOrigin, QPointF(2 * face::kMidX - kLeftEnd.x(), kLeftEnd.y()), kFadeLength);
    return withDropShadow(img, QPointF(1.4, 2.3), 3, 0.45);
}

}  // namespace

void writeNecklaces(Writer& out) {
    int index = 0;
    for (const NecklaceArt& art : kNecklaces)
        out.component(renderNecklace(art), QStringLiteral("xianglian/") + componentName({}, ++index));
}

}  // namespace installdata
