// The files of the canvas tools: brush patterns, scissor shapes and their buttons, the soft disc
// mask of the stamps, the colour chart and palette, and the tool cursors.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "InstallData.h"
#include "compositor/ToolFiles.h"

namespace installdata {

namespace {

namespace tf = ms::toolfiles;

// ---- Brush patterns ----

// White, with the alpha of a soft round brush: translucent (kBrushPeak) at the centre and fading
// like a gaussian to nothing at the inscribed circle. One dab tints the skin without an edge;
// colour builds up with more dabs, as powder and blush do. The dragged eraser's doubled strength
// restores fully at the centre.
constexpr double kBrushPeak = 150;
QImage brushPattern(int side) {
    QImage img(side, side, QImage::Format_ARGB32);
    const double c = side / 2.0, radius = side / 2.0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double d = std::hypot(x + 0.5 - c, y + 0.5 - c) / radius;
            const double fade = std::exp(-(d / 0.5) * (d / 0.5)) * (1.0 - smoothstep(0.8, 1.0, d));
            img.setPixel(x, y, qRgba(255, 255, 255, static_cast<int>(std::lround(kBrushPeak * fade))));
        }
    return img;
}

// ---- Scissor shapes ----

const QColor kShapeGrey(64, 64, 64);

// A band along x centred on the origin, `length` long, with comb teeth on both long edges: a
// thinning cut that leaves a jagged line of hair instead of a straight one.
void combBand(QPainter& p, double length) {
    constexpr double kCoreHalf = 5.0, kToothLength = 6.0, kToothWidth = 2.6, kPitch = 5.0;
    p.setPen(Qt::NoPen);
    p.setBrush(kShapeGrey);
    p.drawRect(QRectF(-length / 2, -kCoreHalf, length, 2 * kCoreHalf));
    const int teeth = static_cast<int>(length / kPitch) + 1;
    const double first = -(teeth - 1) * kPitch / 2;
    for (int k = 0; k < teeth; ++k) {
        const double x = first + k * kPitch - kToothWidth / 2;
        // Slightly narrower at the free end, like the teeth of a comb.
        for (double sign : {-1.0, 1.0}) {
            const double y0 = sign * kCoreHalf, y1 = sign * (kCoreHalf + kToothLength);
            QPolygonF tooth;
            tooth << QPointF(x, y0) << QPointF(x + kToothWidth, y0) << QPointF(x + kToothWidth - 0.4, y1)
                  << QPointF(x + 0.4, y1);
            p.drawPolygon(tooth);
        }
    }
}

QImage scissorShape(int i) {
    constexpr int s = tf::kScissorSide;
    QImage layer = newLayer(s, s);
    if (i >= 4) {  // soft edged: alpha straight from the distance to the shape's outline
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                const double dx = x + 0.5 - s / 2.0, dy = y + 0.5 - s / 2.0;
                const double fill = i == 4 ? (1.0 - smoothstep(10.5, 17.0, std::abs(dx))) *
                                                 (1.0 - smoothstep(6.5, 13.0, std::abs(dy)))
                                           : 1.0 - smoothstep(7.0, 18.5, std::hypot(dx, dy));
                layer.setPixel(
                    x, y,
                    qPremultiply(withAlpha(kShapeGrey, static_cast<int>(std::lround(255.0 * fill))).rgba()));
            }
        return layer;
    }
    QPainter p;
    beginPainter(p, layer);
    p.translate(s / 2.0, s / 2.0);
    switch (i) {
        case 0:  // horizontal band
            combBand(p, s + 4);
            break;
        case 1:  // from the lower left to the upper right
            p.rotate(-45);
            combBand(p, s * 1.5);
            break;
        case 2:  // from the upper left to the lower right
            p.rotate(45);
            combBand(p, s * 1.5);
            break;
        default:  // an upright rectangle, toothed left and right
            p.rotate(90);
            combBand(p, 30);
            break;
    }
    p.end();
    return layer;
}

// The shape, a little smaller, as dark grey on the light face of its option button.
QImage scissorButton(const QImage& shape) {
    constexpr int s = tf::kScissorSide;
    QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor(246, 242, 238));
    QPainter p;
    beginPainter(p, img);
    p.drawImage(QRectF(3, 3, s - 6, s - 6), shape);
    p.setPen(QPen(QColor(196, 186, 178), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, s - 1, s - 1));
    p.end();
    return img;
}

// ---- Soft disc mask ----

// Red by distance from the centre: flat in the middle, then a bell-shaped fall.
constexpr std::array<double, 15> kDiscDistance{0, 5, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 29};
constexpr std::array<double, 15> kDiscRed{255, 255, 254, 247, 230, 200, 162, 120, 80, 49, 27, 12, 5, 1, 0};

// Monotone cubic (Fritsch-Carlson) through the profile: smooth, and never overshooting it.
double discRed(double d) {
    const auto& x = kDiscDistance;
    const auto& v = kDiscRed;
    constexpr size_t n = x.size();
    if (d <= x.front()) return v.front();
    if (d >= x.back()) return v.back();
    std::array<double, n> slope{}, tangent{};
    for (size_t i = 0; i + 1 < n; ++i) slope[i] = (v[i + 1] - v[i]) / (x[i + 1] - x[i]);
    tangent[0] = slope[0];
    tangent[n - 1] = slope[n - 2];
    for (size_t i = 1; i + 1 < n; ++i)
        tangent[i] = slope[i - 1] * slope[i] <= 0 ? 0.0 : (slope[i - 1] + slope[i]) / 2;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (slope[i] == 0) {
            tangent[i] = tangent[i + 1] = 0;
            continue;
        }
        const double a = tangent[i] / slope[i], b = tangent[i + 1] / slope[i], h = std::hypot(a, b);
        if (h > 3) {
            tangent[i] = 3 * a / h * slope[i];
            tangent[i + 1] = 3 * b / h * slope[i];
        }
    }
    size_t i = 0;
    while (d > x[i + 1]) ++i;
    const double h = x[i + 1] - x[i], t = (d - x[i]) / h, t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * v[i] + (t3 - 2 * t2 + t) * h * tangent[i] + (-2 * t3 + 3 * t2) * v[i + 1] +
           (t3 - t2) * h * tangent[i + 1];
}

QImage softDiscMask() {
    constexpr int s = tf::kSoftDiscSide;
    QImage img(s, s, QImage::Format_RGB888);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const int v =
                std::clamp(static_cast<int>(std::lround(discRed(std::hypot(x - 24.5, y - 24.5)))), 0, 255);
            img.setPixel(x, y, qRgb(v, v, v));
        }
    return img;
}

// ---- Colour chart ----

// Rows 2 .. 6 of the chart, for hair and makeup. Row 0 holds the primaries, white and a grey ramp,
// row 1 a wheel of clear hues.
constexpr int kChartColumns = 16, kChartRows = 7;
constexpr QRgb kChartColours[kChartRows - 2][kChartColumns] = {
    // Hair: platinum and blondes, copper and auburn, browns to soft black, silver and rose gold.
    {0xE8E0C8, 0xDEC796, 0xC8A05A, 0xB28040, 0xC8825A, 0xB85C32, 0x913C28, 0x6E2A26, 0x701E32, 0x78482C,
     0x644430, 0x6E6054, 0x422E24, 0x282220, 0xB4B6BA, 0xD6968C},
    // Lips: reds and cherry, brick and wine, berries and plum, fuchsia and pinks, roses, nudes.
    {0xBE1E2D, 0xA81428, 0xD23C32, 0xA03C32, 0x6E192D, 0x8C2850, 0x783250, 0xBE2D64, 0xD23C82, 0xE65A96,
     0xC86473, 0xB46E73, 0xA56E7D, 0xD2968C, 0xC8967D, 0xAA6E55},
    // Blush: soft pinks, corals, peach and apricot, tawny and terracotta, berry, mauve, lilac.
    {0xF8C8CD, 0xF4B6BE, 0xF096AA, 0xE8A0A0, 0xDC828C, 0xF08C78, 0xEB735F, 0xFAB496, 0xF5A06E, 0xEB8C78,
     0xC8785A, 0xBE6450, 0xB45064, 0xBE8296, 0xC8AAD2, 0xDCB4D2},
    // Eye shadow: champagne, gold, bronze, copper, camel, taupe, browns, khaki, plums, violet, navy, greys.
    {0xEBD7B4, 0xCDA550, 0xAA6E37, 0xB45F3C, 0xBE9164, 0x917D6E, 0x6E4B37, 0x503223, 0x37261E, 0x78734A,
     0x6E375A, 0x4B2341, 0x825AA0, 0x28325A, 0x3C3C41, 0x6E6E73},
    // Foundation: porcelain and ivory through beige, honey and tan to deep brown skin.
    {0xFAE4D4, 0xF5DEC4, 0xF0D4B6, 0xEECDB9, 0xE8C4A5, 0xE2BC96, 0xDAB088, 0xD2A578, 0xC69669, 0xB9875F,
     0xA87650, 0x966441, 0x805438, 0x6C4630, 0x543828, 0x3E2A20},
};

QColor chartColour(int column, int row) {
    if (row > 1) return QColor(kChartColours[row - 2][column]);
    if (row == 1) return QColor::fromHsv(column * 360 / kChartColumns, 210, 230);
    static const QColor primaries[] = {Qt::red,  Qt::yellow,  Qt::green, Qt::cyan,
                                       Qt::blue, Qt::magenta, Qt::white};
    if (column < 7) return primaries[column];
    const int v = 224 - (column - 7) * 28;  // nine greys, the last pure black
    return QColor(v, v, v);
}

QImage colourChart() {
    QImage img(tf::kColourChartSize, QImage::Format_RGB888);
    img.fill(QColor(214, 214, 212));
    QPainter p(&img);
    p.setPen(QColor(120, 120, 120));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    for (int r = 0; r < kChartRows; ++r)
        for (int c = 0; c < kChartColumns; ++c) p.fillRect(7 + 12 * c, 7 + 12 * r, 11, 11, chartColour(c, r));
    return img;
}

// ---- Colour palette ----

// Hue left to right round the wheel, white at the top through the full colour to black at the bottom.
QImage colourPalette() {
    constexpr int frame = 2;
    const QSize size = tf::kColourPaletteSize;
    QImage img(size, QImage::Format_RGB888);
    const int fw = size.width() - 2 * frame, fh = size.height() - 2 * frame;
    for (int y = 0; y < fh; ++y) {
        const double t = static_cast<double>(y) / (fh - 1);
        for (int x = 0; x < fw; ++x) {
            const QColor full = QColor::fromHsvF(std::fmod(static_cast<double>(x) / (fw - 1), 1.0), 1.0, 1.0);
            const QColor c = t < 0.5 ? mix(Qt::white, full, t / 0.5) : mix(full, Qt::black, (t - 0.5) / 0.5);
            img.setPixel(x + frame, y + frame, c.rgb());
        }
    }
    QPainter p(&img);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(110, 110, 110));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(200, 200, 200));
    p.drawRect(img.rect().adjusted(1, 1, -2, -2));
    return img;
}

// ---- Cursors ----

const QColor kOutline(36, 32, 30);
const QColor kLight(252, 250, 246);

// A light shape traced with a thin dark line: it shows on light and on dark skin.
void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, double width = 1.1) {
    p.setPen(QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath polygonPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

// A tool lying from its point at the hot spot towards the upper right: x runs along the tool.
void alongDiagonal(QPainter& p, QPoint hotSpot) {
    p.translate(hotSpot.x() + 0.5, hotSpot.y() + 0.5);
    p.rotate(-45);
}

void drawPencil(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Pen).hotSpot);
    outlined(p, polygonPath({{-0.8, 0}, {9, -3.4}, {31, -3.4}, {31, 3.4}, {9, 3.4}}), kLight);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(234, 204, 164));  // the sharpened wood
    p.drawPolygon(QPolygonF({{-0.8, 0}, {9, -3.4}, {9, 3.4}}));
    p.setBrush(QColor(92, 52, 48));  // the lead, a brow brown
    p.drawPolygon(QPolygonF({{-0.8, 0}, {3.6, -1.5}, {3.6, 1.5}}));
    p.setPen(QPen(QColor(200, 194, 188), 0.8));
    p.drawLine(QPointF(10, 0), QPointF(30, 0));  // a facet of the barrel
    outlined(p, polygonPath({{-0.8, 0}, {9, -3.4}, {31, -3.4}, {31, 3.4}, {9, 3.4}}), Qt::NoBrush);
    p.setPen(QPen(kOutline, 0.9));
    p.drawLine(QPointF(9, -3.4), QPointF(9, 3.4));
    QPainterPath cap;
    cap.addRoundedRect(QRectF(31, -3.4, 4, 6.8), 1.2, 1.2);
    outlined(p, cap, QColor(168, 115, 125));
}

void drawPowderBrush(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Brush).hotSpot);
    QPainterPath handle;
    handle.moveTo(17, -2.2);
    handle.lineTo(32, -1.6);
    handle.quadTo(34.5, 0, 32, 1.6);
    handle.lineTo(17, 2.2);
    handle.closeSubpath();
    outlined(p, handle, kLight);
    QPainterPath ferrule;
    ferrule.addRect(QRectF(11, -2.8, 6.5, 5.6));
    outlined(p, ferrule, QColor(206, 208, 214));
    // The tuft: a full dome of bristles, dusted with rose powder at the tip.
    QPainterPath tuft;
    tuft.moveTo(0, 0);
    tuft.cubicTo(0, -4.8, 6, -5.2, 11.3, -2.8);
    tuft.lineTo(11.3, 2.8);
    tuft.cubicTo(6, 5.2, 0, 4.8, 0, 0);
    QLinearGradient powder(0, 0, 11, 0);
    powder.setColorAt(0.0, QColor(222, 146, 152));
    powder.setColorAt(0.45, QColor(240, 206, 204));
    powder.setColorAt(1.0, kLight);
    outlined(p, tuft, powder);
    p.setPen(QPen(QColor(190, 150, 150), 0.6));
    p.drawLine(QPointF(3.5, -1.2), QPointF(10, -1.6));
    p.drawLine(QPointF(3.5, 1.2), QPointF(10, 1.6));
}

void drawSoftDot(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Soften).hotSpot) + QPointF(0.5, 0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 3.4));
    p.drawEllipse(c, 12.0, 12.0);
    p.setPen(QPen(kLight, 1.4));
    p.drawEllipse(c, 12.0, 12.0);
    // A pale halo, so the dot shows on dark skin, and the blurred dark dot itself.
    QRadialGradient halo(c, 8.5);
    halo.setColorAt(0.0, QColor(255, 255, 255, 210));
    halo.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, 8.5, 8.5);
    QRadialGradient dot(c, 6.0);
    dot.setColorAt(0.0, QColor(36, 32, 30, 255));
    dot.setColorAt(0.3, QColor(36, 32, 30, 235));
    dot.setColorAt(1.0, QColor(36, 32, 30, 0));
    p.setBrush(dot);
    p.drawEllipse(c, 6.0, 6.0);
}

void drawStamp(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Clone).hotSpot) + QPointF(0.5, 0.5);
    // Cross-hairs with a gap round the point, light lines edged dark.
    const QLineF arms[] = {{c + QPointF(-14, 0), c + QPointF(-3.5, 0)},
                           {c + QPointF(3.5, 0), c + QPointF(14, 0)},
                           {c + QPointF(0, -14), c + QPointF(0, -3.5)},
                           {c + QPointF(0, 3.5), c + QPointF(0, 14)}};
    p.setPen(QPen(kOutline, 3.2, Qt::SolidLine, Qt::FlatCap));
    for (const QLineF& l : arms) p.drawLine(l);
    p.setPen(QPen(kLight, 1.2, Qt::SolidLine, Qt::FlatCap));
    for (const QLineF& l : arms)
        p.drawLine(l.p1() + (l.p2() - l.p1()) * 0.06, l.p2() - (l.p2() - l.p1()) * 0.06);
    QPainterPath centre;
    centre.addEllipse(c, 1.6, 1.6);
    outlined(p, centre, kOutline, 0.8);
    // The stamp in the upper right quarter: knob, neck, block and its inked rubber.
    QPainterPath knob;
    knob.addEllipse(QPointF(25.5, 3.6), 2.8, 2.6);
    outlined(p, knob, kLight);
    QPainterPath neck;
    neck.addRect(QRectF(24, 6, 3, 3.5));
    outlined(p, neck, kLight);
    QPainterPath block;
    block.addRoundedRect(QRectF(19.8, 9.3, 11.4, 3.6), 1.2, 1.2);
    outlined(p, block, kLight);
    QPainterPath rubber;
    rubber.addRect(QRectF(20.8, 12.9, 9.4, 1.6));
    outlined(p, rubber, QColor(168, 115, 125), 0.8);
}

void drawConcealer(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Concealer).hotSpot);
    QPainterPath tube;
    tube.addRoundedRect(QRectF(11, -4, 21, 8), 1.5, 1.5);
    outlined(p, tube, kLight);
    p.setPen(QPen(QColor(168, 115, 125), 1.4));
    p.drawLine(QPointF(14, -3.2), QPointF(14, 3.2));
    QPainterPath collar;
    collar.addRect(QRectF(8, -3.3, 3, 6.6));
    outlined(p, collar, QColor(206, 208, 214));
    // The stick, skin beige, rounded at the working end.
    QPainterPath stick;
    stick.moveTo(8, -2.6);
    stick.lineTo(2.6, -2.6);
    stick.arcTo(QRectF(0, -2.6, 5.2, 5.2), 90, 180);
    stick.lineTo(8, 2.6);
    stick.closeSubpath();
    outlined(p, stick, QColor(234, 196, 164));
}

void drawEraser(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Eraser).hotSpot);
    QPainterPath block;
    block.addRoundedRect(QRectF(0, -6.3, 25, 12.6), 1.6, 1.6);
    outlined(p, block, kLight);
    // The rubbing end in soft pink, the rest in its paper sleeve.
    p.save();
    p.setClipPath(block);
    p.fillRect(QRectF(0, -7, 9, 14), QColor(244, 178, 184));
    p.restore();
    outlined(p, block, Qt::NoBrush);
    p.setPen(QPen(kOutline, 0.9));
    p.drawLine(QPointF(9, -6.3), QPointF(9, 6.3));
    p.setPen(QPen(QColor(196, 188, 182), 0.8));
    p.drawLine(QPointF(13, -3), QPointF(21, -3));
    p.drawLine(QPointF(13, 0), QPointF(21, 0));
}

void drawScissors(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Scissors).hotSpot) + QPointF(0.5, 0.5);
    // Two halves, each a blade reaching up past the pivot and a shank down to its finger ring.
    for (double side : {-1.0, 1.0}) {
        const QPointF tip = c + QPointF(side * 8.5, -15), ring = c + QPointF(-side * 7.5, 9.5);
        const QPointF along = (tip - c) / std::hypot((tip - c).x(), (tip - c).y());
        const QPointF across(-along.y(), along.x());
        QPainterPath blade;
        blade.moveTo(c + across * 2.6 - along * 2);
        blade.lineTo(tip + across * 0.3);
        blade.lineTo(tip - across * 0.3);
        blade.lineTo(c - across * 2.0 - along * 2);
        blade.closeSubpath();
        const QPointF down = (ring - c) / std::hypot((ring - c).x(), (ring - c).y());
        const QPointF downAcross(-down.y(), down.x());
        QPainterPath shank;
        shank.moveTo(c + downAcross * 1.6);
        shank.lineTo(ring - down * 3.5 + downAcross * 1.3);
        shank.lineTo(ring - down * 3.5 - downAcross * 1.3);
        shank.lineTo(c - downAcross * 1.6);
        shank.closeSubpath();
        QPainterPath loop;
        loop.addEllipse(ring, 4.6, 4.6);
        QPainterPath hole;
        hole.addEllipse(ring, 2.0, 2.0);
        outlined(p, blade.united(shank).united(loop).subtracted(hole), kLight);
    }
    QPainterPath pivot;
    pivot.addEllipse(c, 1.7, 1.7);
    outlined(p, pivot, QColor(120, 112, 108), 0.9);
}

void drawEyedropper(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Eyedropper).hotSpot);
    QPainterPath bulb;
    bulb.moveTo(23.5, -3.2);
    bulb.lineTo(31, -3.4);
    bulb.arcTo(QRectF(27.6, -3.4, 6.8, 6.8), 90, -180);
    bulb.lineTo(23.5, 3.2);
    bulb.closeSubpath();
    outlined(p, bulb, QColor(178, 170, 174));
    QPainterPath collar;
    collar.addRect(QRectF(20.5, -3.8, 3, 7.6));
    outlined(p, collar, QColor(206, 208, 214));
    // The glass: a tube narrowing to the tip, a drop of colour in its lower end.
    const QPainterPath glass = polygonPath(
        {{-0.6, -0.8}, {8, -1.8}, {9.5, -2.6}, {20.5, -2.6}, {20.5, 2.6}, {9.5, 2.6}, {8, 1.8}, {-0.6, 0.8}});
    outlined(p, glass, QColor(236, 244, 248));
    p.save();
    p.setClipPath(glass);
    p.fillRect(QRectF(-1, -3, 12.5, 6), QColor(200, 110, 120));
    p.restore();
    outlined(p, glass, Qt::NoBrush);
}

void drawHand(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Locked).hotSpot) + QPointF(0.5, 0.5);
    // An open right hand, the hot spot in its palm: four fingers up, the thumb to the left.
    p.translate(c.x() - 16, c.y() - 17);
    constexpr double kFinger = 4.0, kThumb = 3.8, kLine = 1.1;
    const double fingers[][2] = {{11, 6.4}, {15, 3.8}, {19, 4.8}, {23, 8.0}};  // centre x, top
    const QRectF palm(9.5, 12, 23 + kFinger / 2 - 9.5, 15.5);
    // The parts drawn dark and a line's width larger, then light on top: one outline round them all.
    for (bool fill : {false, true}) {
        const QColor colour = fill ? kLight : kOutline;
        const double grow = fill ? 0.0 : 2 * kLine;
        p.setPen(QPen(colour, kFinger + grow, Qt::SolidLine, Qt::RoundCap));
        for (const auto& f : fingers) p.drawLine(QPointF(f[0], f[1] + kFinger / 2), QPointF(f[0], 16));
        p.setPen(QPen(colour, kThumb + grow, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.4, 13.6), QPointF(11, 22));
        p.setPen(fill ? QPen(Qt::NoPen) : QPen(colour, grow));
        p.setBrush(colour);
        p.drawRoundedRect(palm, 4.5, 4.5);
    }
    // The fingers touch; thin lines on pixel centres part them down to the palm.
    p.setPen(QPen(kOutline, 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k + 1 < 4; ++k) {
        const double x = (fingers[k][0] + fingers[k + 1][0]) / 2;
        p.drawLine(QPointF(x, std::max(fingers[k][1], fingers[k + 1][1]) + kFinger / 2), QPointF(x, 14.5));
    }
}

QImage cursor(tf::CursorId id) {
    QImage layer = newLayer(tf::kCursorSide, tf::kCursorSide);
    QPainter p;
    beginPainter(p, layer);
    switch (id) {
        case tf::CursorId::Pen:
            drawPencil(p);
            break;
        case tf::CursorId::Brush:
            drawPowderBrush(p);
            break;
        case tf::CursorId::Soften:
            drawSoftDot(p);
            break;
        case tf::CursorId::Clone:
            drawStamp(p);
            break;
        case tf::CursorId::Concealer:
            drawConcealer(p);
            break;
        case tf::CursorId::Eraser:
            drawEraser(p);
            break;
        case tf::CursorId::Scissors:
            drawScissors(p);
            break;
        case tf::CursorId::Eyedropper:
            drawEyedropper(p);
            break;
        case tf::CursorId::Locked:
            drawHand(p);
            break;
    }
    p.end();
    return layer.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

void writeRetouchArt(Writer& out) {
    for (int n = 1; n <= tf::kBrushSizes; ++n)
        out.component(brushPattern(tf::brushPatternSide(n)), tf::brushPattern(n));
    for (int i = 0; i < tf::kScissorShapes; ++i) {
        const QImage shape = scissorShape(i);
        out.component(shape, tf::scissorShape(i));
        out.picture(scissorButton(shape), tf::scissorButton(i), "PNG");
    }
    out.picture(softDiscMask(), QString::fromLatin1(tf::kSoftDiscMask), "BMP");
    out.picture(colourChart(), QString::fromLatin1(tf::kColourChart), "BMP");
    out.picture(colourPalette(), QString::fromLatin1(tf::kColourPalette), "BMP");
    for (const tf::CursorArt& art : tf::kCursors)
        out.picture(cursor(art.id), QString::fromLatin1(art.file), "ICO");
}

}  // namespace installdata
