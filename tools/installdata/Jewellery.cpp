#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <numbers>

#include "AccessoryDraw.h"
#include "InstallData.h"

// Earring pairs: 80 x 65 pictures; the left earring is columns 0-39, placed at canvas (85, 248),
// the right one columns 40-78, placed at canvas (255, 248). Each hangs from its lobe (kLobeX,
// kLobeY and its mirror image) and is drawn the same way round on both sides, so that the light
// falls on both from the upper left.
namespace installdata {

namespace {

const QColor kGold(214, 170, 86), kRoseGold(218, 150, 124), kSilver(206, 210, 218);

// A polished round wire bent into an ellipse round `c`, shaded per pixel as a tube lit from the
// upper left, with the part near the top (where it passes through the lobe) left out.
void drawHoop(QPainter& p, QPointF c, double rx, double ry, double thickness, const QColor& metal,
              double gapDeg = 26) {
    const int w = static_cast<int>(2 * rx + thickness + 6), h = static_cast<int>(2 * ry + thickness + 6);
    QImage ring = newLayer(w, h);
    const double lx = -0.45, ly = -0.6, lz = 0.66, hl = std::hypot(lx, ly, lz + 1);
    const double half = thickness / 2, mean = (rx + ry) / 2;
    for (int j = 0; j < h; ++j) {
        auto* row = reinterpret_cast<QRgb*>(ring.scanLine(j));
        for (int i = 0; i < w; ++i) {
            const double x = i + 0.5 - w / 2.0, y = j + 0.5 - h / 2.0;
            const double d = (std::hypot(x / rx, y / ry) - 1) * mean;
            const double cover = std::clamp(half + 0.5 - std::abs(d), 0.0, 1.0);
            const double fromTop = std::abs(std::atan2(x, -y)) * 180 / std::numbers::pi;
            const double alpha = cover * smoothstep(gapDeg / 2, gapDeg / 2 + 8, fromTop);
            if (alpha <= 0) continue;
            const double t = std::clamp(d / half, -1.0, 1.0), a = std::atan2(y / ry, x / rx);
            const double nx = std::cos(a) * t, ny = std::sin(a) * t, nz = std::sqrt(1 - t * t);
            const double ndl = nx * lx + ny * ly + nz * lz, ndh = (nx * lx + ny * ly + nz * (lz + 1)) / hl;
            const QColor m = metalShade(metal, std::clamp(1.4 * ndl - 0.35 - 0.35 * ny, -1.0, 1.0));
            const double specular = 0.9 * std::pow(std::max(0.0, ndh), 40);
            auto ch = [&](int v) {
                return static_cast<int>(std::lround(std::min(255.0, v + specular * 255) * alpha));
            };
            row[i] =
                qRgba(ch(m.red()), ch(m.green()), ch(m.blue()), static_cast<int>(std::lround(255 * alpha)));
        }
    }
    p.drawImage(c - QPointF(w / 2.0, h / 2.0), ring);
}

// A short curved ear wire coming out of the lobe's front.
void drawEarWire(QPainter& p, const QColor& metal, double length) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(metalShade(metal, -0.4), 0.9, Qt::SolidLine, Qt::RoundCap));
    QPainterPath wire(QPointF(0, 0));
    wire.cubicTo(QPointF(1.2, 1.5), QPointF(0.6, length * 0.6), QPointF(0, length));
    p.drawPath(wire);
    p.setPen(QPen(metalShade(metal, 0.7), 0.35));
    p.drawPath(wire.translated(-0.25, 0));
}

void smallChain(QPainter& p, QPointF from, QPointF to, const QColor& metal, double link = 1.0) {
    const double len = std::hypot(to.x() - from.x(), to.y() - from.y());
    p.setPen(Qt::NoPen);
    int k = 0;
    for (double s = 0; s <= len; s += link, ++k) {
        p.setBrush(metalShade(metal, k % 2 ? 0.6 : -0.3));
        p.drawEllipse(lerp(from, to, s / len), k % 2 ? 0.45 : 0.55, k % 2 ? 0.6 : 0.45);
    }
}

void diamondStud(QPainter& p) {
    drawMetalBall(p, {0, 1}, 3.2, kSilver);
    drawCutStone(p, {0, 1}, 2.6, QColor(226, 234, 246));
    for (int k = 0; k < 4; ++k)  // claws
        drawMetalBall(p, QPointF(0, 1) + QPointF(k % 2 ? 2.4 : -2.4, k < 2 ? -2.4 : 2.4) * 0.75, 0.6,
                      kSilver);
}

void pearlStud(QPainter& p) { drawPearl(p, {0, 1.5}, 3.3, QColor(244, 238, 228)); }

void smallHoop(QPainter& p) { drawHoop(p, {0, 6.8}, 6.0, 6.8, 1.8, kGold); }

void largeHoop(QPainter& p) { drawHoop(p, {0, 17.5}, 14.0, 17.5, 1.6, kGold, 16); }

void pavedHuggie(QPainter& p) {
    drawHoop(p, {0, 4.6}, 4.3, 4.6, 2.8, kSilver, 40);
    for (int k = 0; k < 7; ++k) {  // small stones set in the front of the ring
        const double a = (200 + 22 * k) * std::numbers::pi / 180;
        const QPointF s = QPointF(0, 4.6) + QPointF(4.4 * std::cos(a), -4.6 * std::sin(a));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 252, 255, 235));
        p.drawEllipse(s, 0.75, 0.75);
        p.setBrush(QColor(140, 150, 170, 180));
        p.drawEllipse(s + QPointF(0.3, 0.35), 0.3, 0.3);
    }
}

void sapphireDrop(QPainter& p) {
    drawMetalBall(p, {0, 0.8}, 1.8, kGold);
    smallChain(p, {0, 2.6}, {0, 6.5}, kGold);
    drawMetalBall(p, {0, 12.6}, 4.1, kGold);  // the bezel round the stone
    drawTeardrop(p, {0, 6.8}, 6.4, 11.0, QColor(30, 56, 150));
}

void pearlDrop(QPainter& p) {
    drawEarWire(p, kGold, 8.0);
    const QPointF c(0, 13.5);
    drawPearl(p, c, 4.3, QColor(242, 234, 222));
    QPainterPath cap;  // a gold cap on the pearl
    cap.addEllipse(QPointF(0, 9.8), 1.9, 1.3);
    p.setPen(Qt::NoPen);
    p.setBrush(metalShade(kGold, 0.2));
    p.drawPath(cap);
}

void chandelier(QPainter& p) {
    const QColor amethyst(120, 60, 150), crystal(228, 236, 246);
    drawMetalBall(p, {0, 1.2}, 2.4, kGold);
    drawCutStone(p, {0, 1.2}, 1.8, amethyst);
    smallChain(p, {0, 3.8}, {0, 6.5}, kGold);
    QPainterPath frame;  // a fan of wire: two arcs hung from a ring
    frame.moveTo(-9.5, 9);
    frame.quadTo(0, 25, 9.5, 9);
    frame.moveTo(-6.5, 12);
    frame.quadTo(0, 22, 6.5, 12);
    frame.moveTo(-9.5, 9);
    frame.lineTo(0, 7);
    frame.lineTo(9.5, 9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(metalShade(kGold, -0.5), 1.1));
    p.drawPath(frame);
    p.setPen(QPen(metalShade(kGold, 0.7), 0.45));
    p.drawPath(frame.translated(-0.25, -0.3));
    drawMetalBall(p, {0, 7}, 1.3, kGold);
    for (int k = -3; k <= 3; ++k) {
        const double u = k / 3.0;  // along the outer arc of the frame
        const QPointF top(9.5 * u, 9 + 8 * (1 - u * u));
        const double len = 9.0 - 1.6 * std::abs(k);
        smallChain(p, top, top + QPointF(0, len), kGold, 0.9);
        drawTeardrop(p, top + QPointF(0, len), 3.0 + 0.2 * (3 - std::abs(k)), 5.0 + 0.6 * (3 - std::abs(k)),
                     std::abs(k) % 2 ? amethyst : crystal);
    }
    drawTeardrop(p, {0, 19}, 5.0, 12.0, amethyst);
}

void threader(QPainter& p) {
    smallChain(p, {0.6, 0.5}, {-1.0, 30}, kRoseGold, 0.9);  // the front strand
    p.setOpacity(0.85);
    smallChain(p, {1.4, 2.5}, {2.6, 16}, kRoseGold.darker(120), 0.9);  // the back strand, shorter
    p.setOpacity(1.0);
    p.setPen(Qt::NoPen);
    QLinearGradient g(-1.2, 30, 0.4, 30);
    g.setColorAt(0.0, metalShade(kRoseGold, 0.8));
    g.setColorAt(1.0, metalShade(kRoseGold, -0.6));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(-2.0, 30, 2.0, 9.0), 0.8, 0.8);  // the bar at the end
    drawMetalBall(p, {2.7, 16.8}, 1.1, kRoseGold);
}

void silkTassel(QPainter& p) {
    const QColor silk(24, 96, 84);
    drawMetalBall(p, {0, 1.0}, 1.8, kGold);
    smallChain(p, {0, 2.8}, {0, 6.0}, kGold);
    Rng rng(17);
    for (int k = 0; k < 46; ++k) {  // threads, darker at the back and the sides
        const double x = rng.symmetric(3.0), len = 28 + rng.symmetric(2.5);
        const double depth = std::abs(x) / 3.0;
        const QColor c = mix(silk.lighter(125), silk.darker(170), 0.4 * depth + 0.5 * rng.uniform());
        fillRibbon(p, {{x * 0.35, 11}, {x * 0.9, 11 + len * 0.5}, {x * 1.25 + 0.6, 11 + len}}, 0.9, 0.75,
                   withAlpha(c, 235));
    }
    QLinearGradient g(-3, 0, 3, 0);
    g.setColorAt(0.0, metalShade(kGold, 0.8));
    g.setColorAt(0.6, metalShade(kGold, -0.1));
    g.setColorAt(1.0, metalShade(kGold, -0.8));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    QPainterPath cap;  // the bell-shaped cap the threads come out of
    cap.moveTo(-1.4, 6);
    cap.cubicTo(-1.6, 8.5, -3.2, 10, -3.3, 12);
    cap.lineTo(3.3, 12);
    cap.cubicTo(3.2, 10, 1.6, 8.5, 1.4, 6);
    cap.closeSubpath();
    p.drawPath(cap);
}

const std::function<void(QPainter&)> kEarrings[] = {diamondStud, pearlStud,    smallHoop, largeHoop,
                                                    pavedHuggie, sapphireDrop, pearlDrop, chandelier,
                                                    threader,    silkTassel};

QImage renderEarrings(const std::function<void(QPainter&)>& art) {
    QImage img = newLayer(80, 65);
    QPainter p;
    beginPainter(p, img);
    const QPointF left(face::kLobeX - 85, face::kLobeY - 248);
    const QPointF right(2 * face::kMidX - face::kLobeX - 255 + 40, face::kLobeY - 248);
    for (const QPointF& at : {left, right}) {
        p.save();
        p.setClipRect(at.x() < 40 ? QRect(0, 0, 40, 65) : QRect(40, 0, 39, 65));
        p.translate(at);
        art(p);
        p.restore();
    }
    p.end();
    QImage out = withDropShadow(img, QPointF(0.9, 1.5), 2, 0.3);
    QPainter q;
    beginPainter(q, out);
    q.setCompositionMode(QPainter::CompositionMode_DestinationOver);  // where it meets the lobe
    for (const QPointF& at : {left, right})
        softEllipse(q, at + QPointF(0.8, 1.6), 3.2, 2.4, QColor(60, 30, 24, 90));
    return out;
}

}  // namespace

void writeEarrings(Writer& out) {
    int index = 0;
    for (const auto& art : kEarrings)
        out.component(renderEarrings(art), QStringLiteral("erhuan/") + componentName({}, ++index));
}

}  // namespace installdata
