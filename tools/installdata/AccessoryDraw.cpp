#include "AccessoryDraw.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "Draw.h"

namespace installdata {

namespace {

// Premultiplied colour with alpha scaled by k and the colour also darkened by `shade` (<= 1), a
// little warmer than grey, as skin shadow is.
QRgb scaled(QRgb c, double k, double shade) {
    auto ch = [](int v, double f) { return std::clamp(static_cast<int>(std::lround(v * f)), 0, 255); };
    const int a = ch(qAlpha(c), k);
    return qRgba(std::min(a, ch(qRed(c), k * std::pow(shade, 0.8))), std::min(a, ch(qGreen(c), k * shade)),
                 std::min(a, ch(qBlue(c), k * std::pow(shade, 1.15))), a);
}

}  // namespace

QImage withDropShadow(const QImage& art, QPointF drop, int radius, double opacity) {
    const QColor tint(46, 26, 18);
    QImage silhouette = newLayer(art.width(), art.height());
    for (int y = 0; y < art.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(silhouette.scanLine(y));
        for (int x = 0; x < art.width(); ++x) {
            const int a = qAlpha(src[x]);
            dst[x] = qRgba(tint.red() * a / 255, tint.green() * a / 255, tint.blue() * a / 255, a);
        }
    }
    QImage contact = silhouette;
    blurLayer(contact, 2);
    blurLayer(silhouette, radius);
    QImage out = newLayer(art.width(), art.height());
    QPainter p;
    beginPainter(p, out);
    p.setOpacity(std::min(1.0, opacity * 0.9));
    p.drawImage(drop * 0.35, contact);
    p.setOpacity(opacity);
    p.drawImage(drop, silhouette);
    p.setOpacity(1.0);
    p.drawImage(0, 0, art);
    return out;
}

void fadeTowards(QImage& layer, QPoint origin, QPointF end, double length) {
    for (int y = 0; y < layer.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            const double d = std::hypot(origin.x() + x + 0.5 - end.x(), origin.y() + y + 0.5 - end.y());
            if (d >= 2.2 * length) continue;
            // An eased ramp: long and faint where the strand is nearly gone, as it slips behind the neck.
            row[x] = scaled(row[x], std::pow(std::min(1.0, d / length), 1.6),
                            0.6 + 0.4 * smoothstep(0.0, 2.2 * length, d));
        }
    }
}

QColor metalShade(const QColor& metal, double lit) {
    lit = std::clamp(lit, -1.0, 1.0);
    if (lit < 0) return mix(metal, metal.darker(300), -lit);
    return mix(metal, mix(metal.lighter(150), QColor(255, 252, 240), 0.45), lit * lit);
}

void drawMetalBall(QPainter& p, QPointF c, double r, const QColor& metal) {
    QRadialGradient g(c + QPointF(-0.35 * r, -0.4 * r), 1.45 * r);
    g.setColorAt(0.0, metalShade(metal, 1.0));
    g.setColorAt(0.3, metalShade(metal, 0.45));
    g.setColorAt(0.62, metalShade(metal, -0.35));
    g.setColorAt(0.85, metalShade(metal, -0.8));
    g.setColorAt(1.0, metalShade(metal, -0.2));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(255, 253, 245, 230));
    p.drawEllipse(c + QPointF(-0.36 * r, -0.42 * r), 0.22 * r, 0.17 * r);
}

void drawPearl(QPainter& p, QPointF c, double r, const QColor& body) {
    QRadialGradient g(c + QPointF(-0.3 * r, -0.38 * r), 1.5 * r);
    g.setColorAt(0.0, mix(body, Qt::white, 0.7));
    g.setColorAt(0.35, body.lighter(104));
    g.setColorAt(0.7, mix(body.darker(118), QColor(226, 196, 200), 0.25));
    g.setColorAt(1.0, mix(body.darker(150), QColor(150, 160, 150), 0.2));
    p.setPen(QPen(withAlpha(body.darker(220), 110), std::max(0.35, 0.1 * r)));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    QRadialGradient rim(c + QPointF(0.45 * r, 0.5 * r), 0.6 * r);  // light bounced up from the skin
    rim.setColorAt(0.0, withAlpha(QColor(255, 236, 226), 90));
    rim.setColorAt(1.0, withAlpha(QColor(255, 236, 226), 0));
    p.setBrush(rim);
    p.drawEllipse(c, r * 0.95, r * 0.95);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(c + QPointF(-0.34 * r, -0.4 * r), 0.2 * r, 0.16 * r);
}

void drawCutStone(QPainter& p, QPointF c, double r, const QColor& stone) {
    QRadialGradient g(c + QPointF(-0.2 * r, -0.25 * r), 1.3 * r);
    g.setColorAt(0.0, stone.lighter(150));
    g.setColorAt(0.6, stone);
    g.setColorAt(1.0, stone.darker(220));
    p.setPen(QPen(withAlpha(stone.darker(300), 160), std::max(0.3, 0.08 * r)));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 8; ++k) {  // crown facets, lit by their angle to the light
        const double a0 = 2 * std::numbers::pi * k / 8, a1 = 2 * std::numbers::pi * (k + 1) / 8;
        QPolygonF facet{c + QPointF(std::cos(a0), std::sin(a0)) * 0.95 * r,
                        c + QPointF(std::cos(a1), std::sin(a1)) * 0.95 * r,
                        c + QPointF(std::cos(a1), std::sin(a1)) * 0.5 * r,
                        c + QPointF(std::cos(a0), std::sin(a0)) * 0.5 * r};
        const double lit = -std::cos((a0 + a1) / 2 + std::numbers::pi / 4);
        p.setBrush(lit > 0 ? withAlpha(Qt::white, static_cast<int>(110 * lit))
                           : withAlpha(stone.darker(250), static_cast<int>(-110 * lit)));
        p.drawPolygon(facet);
    }
    p.setBrush(withAlpha(stone.lighter(170), 150));  // the table
    p.drawEllipse(c, 0.42 * r, 0.42 * r);
    p.setPen(QPen(QColor(255, 255, 255, 220), std::max(0.3, 0.09 * r)));  // a glint
    const QPointF s = c + QPointF(-0.32 * r, -0.32 * r);
    p.drawLine(s - QPointF(0.35 * r, 0), s + QPointF(0.35 * r, 0));
    p.drawLine(s - QPointF(0, 0.35 * r), s + QPointF(0, 0.35 * r));
}

void drawTeardrop(QPainter& p, QPointF top, double width, double height, const QColor& stone) {
    const double w = width / 2;
    QPainterPath drop(top);
    drop.cubicTo(top + QPointF(0.35 * w, 0.25 * height), top + QPointF(w * 1.05, 0.55 * height),
                 top + QPointF(w * 0.8, 0.82 * height));
    drop.cubicTo(top + QPointF(w * 0.5, 1.02 * height), top + QPointF(-w * 0.5, 1.02 * height),
                 top + QPointF(-w * 0.8, 0.82 * height));
    drop.cubicTo(top + QPointF(-w * 1.05, 0.55 * height), top + QPointF(-0.35 * w, 0.25 * height), top);
    QRadialGradient g(top + QPointF(-0.3 * w, 0.5 * height), height * 0.75);
    g.setColorAt(0.0, stone.lighter(165));
    g.setColorAt(0.45, stone);
    g.setColorAt(1.0, stone.darker(240));
    p.setPen(QPen(withAlpha(stone.darker(300), 170), 0.45));
    p.setBrush(g);
    p.drawPath(drop);
    p.save();
    p.setClipPath(drop);
    p.setPen(QPen(withAlpha(Qt::white, 70), 0.4));  // facet edges
    const QPointF mid = top + QPointF(0, 0.62 * height);
    for (int k = -2; k <= 2; ++k) p.drawLine(top, mid + QPointF(k * 0.45 * w, 0.4 * height));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(stone.darker(200), 90));
    p.drawEllipse(mid + QPointF(0.45 * w, 0.1 * height), 0.4 * w, 0.3 * height);
    p.restore();
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(top + QPointF(-0.35 * w, 0.55 * height), 0.16 * w + 0.2, 0.09 * height + 0.2);
}

}  // namespace installdata
