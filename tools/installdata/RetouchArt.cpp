// The files of the canvas tools: brush patterns, scissor shapes and their buttons, the soft disc
// mask of the stamps, the colour chart and palette, and the tool cursors (ToolCursors.cpp).
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "InstallData.h"
#include "ToolCursors.h"
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
        out.picture(toolCursor(art.id), QString::fromLatin1(art.file), "ICO");
}

}  // namespace installdata
