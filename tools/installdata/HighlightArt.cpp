// The highlight patterns of the hair colour window (see src/hair/HairFiles.h): dyed locks on
// straight-to-slightly-wavy hair falling downwards, each lock a bundle of fine hair lines. The
// colour file carries the streak colours with their coverage as alpha; the mask file is the same
// shape in white, so the window shows the colour picture exactly where the streaks are.
#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "InstallData.h"
#include "hair/HairFiles.h"

namespace installdata {

namespace {

namespace hf = ms::hairfiles;

// Strongest coverage: the client's own hair texture always shows through a little.
constexpr int kAlphaCeiling = 230;

// One dyed lock: a tapered bundle of fine strands from its root (top) to its ends (bottom).
struct Lock {
    double x = 0, top = 0, bottom = 0;  // root x, and the vertical extent
    double width = 4;                   // across the lock at its fullest, px
    double bend = 0;                    // own sideways drift at the ends, px
    double waveAmp = 0, wavePhase = 0;  // own slight wave, px
    QColor root, tip;                   // dye colour at the root and at the ends
    double rootOpacity = 1.0;           // coverage at the root relative to the ends (painted-on < 1)
    double opacity = 1.0;
};

struct Pattern {
    int side = 80;
    double flowAmp = 2, flowFreq = 0.6, flowPhase = 0, slant = 0;  // the common fall of the hair
    double strandWidth = 0.7;                                      // a fine hair line, px
    double density = 1.3;                                          // hair lines per px of lock width
    double body = 0.5;      // opacity of the soft fill under the hair lines
    double ceiling = 1.0;   // fraction of kAlphaCeiling
    double endFade = 0.22;  // the last fraction of a strand over which it fades out
    std::vector<Lock> locks;
    std::function<double(double, double)> coverage;  // optional extra coverage by pixel (x, y)
};

// Lightness scaled by (1 + f): per-lock and per-strand variation within one dye.
QColor shade(const QColor& c, double f) {
    float h, s, l, a;
    c.getHslF(&h, &s, &l, &a);
    return QColor::fromHslF(h, s, std::clamp(l * (1.0f + static_cast<float>(f)), 0.0f, 1.0f), a);
}

double flowX(const Pattern& pat, double y) {
    const double s = pat.side;
    return pat.slant * (y - s / 2) + pat.flowAmp * std::sin(2 * kPi * pat.flowFreq * y / s + pat.flowPhase);
}

// A little narrower where the lock is picked up, fullest in the middle, gathered at the ends.
double lockProfile(double t) {
    return (0.65 + 0.35 * smoothstep(0.0, 0.25, t)) * (1.0 - 0.4 * smoothstep(0.55, 1.0, t));
}

QPointF lockPoint(const Pattern& pat, const Lock& lk, double t, double u) {
    const double y = lk.top + t * (lk.bottom - lk.top);
    const double x = lk.x + flowX(pat, y) - flowX(pat, lk.top) + lk.bend * t * t +
                     lk.waveAmp * std::sin(2 * kPi * 0.9 * t + lk.wavePhase) +
                     u * 0.5 * lk.width * lockProfile(t);
    return {x, y};
}

// A ribbon of width w along the line, pointed at both ends.
QPolygonF ribbon(const Polyline& line, double w) {
    const int n = static_cast<int>(line.size());
    QPolygonF left, right;
    for (int i = 0; i < n; ++i) {
        const QPointF d = line[std::min(i + 1, n - 1)] - line[std::max(i - 1, 0)];
        const double len = std::max(1e-9, std::hypot(d.x(), d.y()));
        const double s = static_cast<double>(i) / (n - 1);
        const double half = 0.5 * w * std::min({1.0, s / 0.12 + 0.15, (1.0 - s) / 0.3 + 0.1});
        const QPointF nrm(-d.y() / len * half, d.x() / len * half);
        left << line[i] + nrm;
        right.prepend(line[i] - nrm);
    }
    return left + right;
}

// One strand of the lock from lock fraction t0 to t1 at cross position u (-1 .. 1): fades in at
// its start and out at its end, coloured root-to-tip with its own lightness.
void drawStrand(QPainter& p, const Pattern& pat, const Lock& lk, double u, double t0, double t1, double w,
                double light, double alpha, Rng& rng) {
    constexpr int kPoints = 28;
    const double wobAmp = rng.range(0.05, 0.3), wobFreq = rng.range(0.5, 1.5), wobPh = rng.range(0, 2 * kPi);
    Polyline line;
    for (int k = 0; k < kPoints; ++k) {
        const double t = t0 + (t1 - t0) * k / (kPoints - 1);
        line.push_back(lockPoint(pat, lk, t, u) +
                       QPointF(wobAmp * std::sin(wobFreq * 2 * kPi * t + wobPh), 0));
    }
    QLinearGradient g(line.front(), line.back());
    for (int k = 0; k <= 10; ++k) {
        const double s = k / 10.0, t = t0 + (t1 - t0) * s;
        const double ramp = smoothstep(0.05, 0.9, t);
        const double fade = smoothstep(0.0, 0.15, s) * (1.0 - smoothstep(1.0 - pat.endFade, 1.0, s));
        const double a = alpha * lk.opacity * (lk.rootOpacity + (1.0 - lk.rootOpacity) * ramp) * fade;
        g.setColorAt(
            s, withAlpha(shade(mix(lk.root, lk.tip, ramp), light), static_cast<int>(std::lround(255 * a))));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPolygon(ribbon(line, w), Qt::WindingFill);
}

QImage render(const Pattern& pat, uint64_t seed) {
    const int s = pat.side;
    const double scale = s / 80.0;
    QImage layer = newLayer(s, s);
    QPainter p;
    beginPainter(p, layer);
    Rng rng(seed);
    // A soft fill under each lock, so the dye reads as one lock rather than loose lines; its
    // staggered pieces leave ragged, pointed roots and ends instead of a rounded blob.
    paintSoft(p, layer.size(), 2, pat.body, [&](QPainter& q) {
        for (const Lock& lk : pat.locks) {
            const int pieces = std::max(2, static_cast<int>(lk.width / 2.0));
            for (int k = 0; k < pieces; ++k)
                drawStrand(q, pat, lk, rng.symmetric(0.8), rng.range(0.0, 0.1), rng.range(0.8, 0.98),
                           std::min(lk.width, 2.6 * scale), rng.symmetric(0.05), 0.9, rng);
        }
    });
    for (const Lock& lk : pat.locks) {
        const int lines = std::max(3, static_cast<int>(std::lround(lk.width * pat.density)));
        for (int k = 0; k < lines; ++k) {
            const double u = std::clamp(rng.symmetric(1.0) * 0.75 + rng.symmetric(0.3), -1.0, 1.0);
            drawStrand(p, pat, lk, u, rng.range(0.0, 0.14), rng.range(0.8, 1.0),
                       pat.strandWidth * scale * rng.range(0.75, 1.35), rng.symmetric(0.1),
                       rng.range(0.3, 1.0), rng);
        }
    }
    p.end();
    // Straight alpha: scaled to the ceiling and by the pattern's own coverage, and faded out at
    // the borders so a stamp never leaves a square edge on the client's hair.
    QImage out = layer.convertToFormat(QImage::Format_ARGB32);
    const double rim = 3.0 * scale;
    auto border = [&](double v) { return smoothstep(0.0, rim, v) * smoothstep(0.0, rim, s - v); };
    for (int y = 0; y < s; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < s; ++x) {
            double a =
                qAlpha(row[x]) * pat.ceiling * kAlphaCeiling / 255.0 * border(x + 0.5) * border(y + 0.5);
            if (pat.coverage) a *= pat.coverage(x + 0.5, y + 0.5);
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), static_cast<int>(std::lround(a)));
        }
    }
    return out;
}

// n locks spread evenly across the pattern with jitter; dye colours picked from the palette.
void spread(Pattern& pat, Rng& rng, int n, double wLo, double wHi, const std::vector<QColor>& palette,
            double margin = 6) {
    const double k = pat.side / 80.0, lo = margin * k, hi = pat.side - margin * k;
    const double step = (hi - lo) / n;
    for (int i = 0; i < n; ++i) {
        Lock lk;
        lk.width = rng.range(wLo, wHi) * k;
        lk.x = lo + step * (i + 0.5 + rng.symmetric(0.3));
        lk.top = rng.range(-1, 6) * k;
        lk.bottom = pat.side + rng.range(0, 4) * k;
        lk.bend = rng.symmetric(1.2) * k;
        lk.waveAmp = rng.range(0.2, 0.7) * k;
        lk.wavePhase = rng.range(0, 2 * kPi);
        lk.root = lk.tip = shade(palette[rng.next() % palette.size()], rng.symmetric(0.05));
        lk.opacity = rng.range(0.85, 1.0);
        pat.locks.push_back(lk);
    }
}

Pattern pattern(int i) {
    Pattern pat;
    pat.side = hf::highlightSide(i);
    Rng rng(0x4841 + 977 * static_cast<uint64_t>(i));
    pat.flowPhase = rng.range(0, 2 * kPi);
    pat.slant = rng.symmetric(0.05);
    switch (i) {
        case 0:  // honey blonde: many thin streaks
            spread(pat, rng, 10, 2.5, 4.0,
                   {QColor(214, 170, 100), QColor(228, 188, 120), QColor(200, 152, 86)});
            break;
        case 1:  // caramel: fewer, wider ribbons
            spread(pat, rng, 4, 9, 12, {QColor(178, 112, 52), QColor(196, 132, 66), QColor(164, 100, 46)}, 8);
            pat.density = 1.6;
            break;
        case 2:  // platinum babylights: very many very fine, kept subtle
            spread(pat, rng, 26, 1.0, 1.8,
                   {QColor(238, 234, 224), QColor(228, 226, 220), QColor(246, 242, 232)}, 4);
            pat.strandWidth = 0.5;
            pat.density = 2.2;
            pat.body = 0.3;
            pat.ceiling = 0.72;
            break;
        case 3:  // ash blonde: three bold, chunky panels
            spread(pat, rng, 3, 14, 17, {QColor(198, 192, 172), QColor(184, 180, 164), QColor(210, 204, 186)},
                   10);
            pat.density = 1.5;
            pat.body = 0.7;
            break;
        case 4:  // copper and auburn
            spread(pat, rng, 6, 4, 6, {QColor(190, 88, 38), QColor(204, 106, 50), QColor(150, 58, 32)});
            break;
        case 5:  // burgundy, wine red
            spread(pat, rng, 6, 4, 6.5, {QColor(122, 24, 46), QColor(140, 32, 56), QColor(104, 20, 42)});
            pat.body = 0.6;
            break;
        case 6: {  // money piece: a bold light strand at each side, falling away from the face
            pat.flowAmp = 0.5;
            pat.slant = 0;
            for (int side : {-1, 1}) {
                for (int part = 0; part < 2; ++part) {  // the bold piece and a finer one beside it
                    Lock lk;
                    lk.width = part == 0 ? 11 : 4;
                    lk.x = 40 + side * (part == 0 ? 28 : 20.5);
                    lk.top = part == 0 ? -3 : 3;
                    lk.bottom = part == 0 ? 80 : 70;
                    lk.bend = side * (part == 0 ? 4.0 : 3.0);
                    lk.waveAmp = 0.5;
                    lk.wavePhase = rng.range(0, 2 * kPi);
                    lk.root = lk.tip = shade(QColor(244, 226, 182), rng.symmetric(0.03));
                    lk.opacity = part == 0 ? 1.0 : 0.75;
                    pat.locks.push_back(lk);
                }
            }
            pat.density = 1.8;
            pat.body = 0.75;
            break;
        }
        case 7: {  // balayage: painted on, lighter and fuller toward the ends
            spread(pat, rng, 8, 8, 11, {QColor(240, 212, 160)}, 4);
            for (Lock& lk : pat.locks) {
                lk.top = rng.range(4, 24);
                lk.root = QColor(150, 102, 58);
                lk.rootOpacity = 0.08;
                lk.bottom = 82;
            }
            pat.endFade = 0.1;
            pat.body = 0.65;
            break;
        }
        case 8: {  // foil weave: slanted slices across the hair, each a woven row of fine picks
            spread(pat, rng, 20, 4.5, 5.5, {QColor(234, 212, 162), QColor(242, 224, 182)}, 2);
            for (Lock& lk : pat.locks) lk.top = -6, lk.bottom = 86, lk.bend = 0;
            // Per slice, which columns the comb picked up: fine picks with narrow gaps.
            // Each pick's dye runs on down its hair a little below the slice.
            std::vector<std::vector<double>> picks(4, std::vector<double>(80, 0.0)), tails = picks;
            for (int k = 0; k < 4; ++k)
                for (double x = rng.range(0, 2); x < 80;) {
                    const double w = rng.range(1.2, 2.4), strength = rng.range(0.7, 1.0);
                    for (int c = static_cast<int>(x); c < std::min(80.0, x + w); ++c)
                        picks[k][c] = strength, tails[k][c] = rng.range(1.5, 4.5);
                    x += w + rng.range(0.8, 2.0);
                }
            pat.coverage = [picks, tails](double x, double y) {
                double c = 0;
                const int col = std::clamp(static_cast<int>(x), 0, 79);
                for (int k = 0; k < 4; ++k) {
                    // A crisp upper edge where the foil sat, the dye bleeding a little below it.
                    const double d = y - (13 + 16.5 * k) - 0.2 * (x - 40);
                    const double tail = std::max(1.5, tails[k][col]);
                    const double band = smoothstep(-4.5, -2.5, d) * (1.0 - smoothstep(1.5, 1.5 + tail, d));
                    const double pick = 0.6 * picks[k][col] + 0.2 * (picks[k][std::max(col - 1, 0)] +
                                                                     picks[k][std::min(col + 1, 79)]);
                    c += band * pick;
                }
                return std::min(c, 1.0);
            };
            pat.body = 0.6;
            pat.density = 1.8;
            break;
        }
        case 9:  // pastel lavender and pink
            spread(pat, rng, 7, 4, 6, {QColor(198, 170, 228), QColor(238, 172, 206), QColor(218, 176, 222)});
            pat.body = 0.6;
            break;
        case 10:  // small golden fine streaks
            spread(pat, rng, 8, 2.5, 3.5, {QColor(228, 182, 80), QColor(240, 198, 102), QColor(212, 162, 62)},
                   5);
            break;
        default:  // small silver grey streaks
            spread(pat, rng, 7, 3, 4.5, {QColor(204, 206, 210), QColor(178, 180, 186), QColor(224, 224, 226)},
                   5);
            pat.body = 0.75;
            pat.density = 1.6;
            break;
    }
    return pat;
}

}  // namespace

void writeHighlightPatterns(Writer& out) {
    for (int i = 0; i < hf::kHighlightPatternCount; ++i) {
        const QImage colour = render(pattern(i), 0x5EED0 + static_cast<uint64_t>(i));
        // The mask: white, with exactly the colour file's coverage.
        QImage mask(colour.size(), QImage::Format_ARGB32);
        for (int y = 0; y < colour.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(colour.constScanLine(y));
            auto* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
            for (int x = 0; x < colour.width(); ++x) row[x] = qRgba(255, 255, 255, qAlpha(in[x]));
        }
        out.component(colour, hf::highlightPattern(i));
        out.component(mask, hf::highlightMask(i));
    }
}

}  // namespace installdata
