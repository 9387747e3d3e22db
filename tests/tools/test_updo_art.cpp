// Checks of the updos, hair drawn back from the face: a hairline where the roots stand apart
// rather than one painted edge, and sides that run out thin over the ears instead of ending in
// the hard rim of a cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

// The updos of the gathered and the traditional styles (the others in those categories hang loose).
const char* const kUpdos[] = {"p001.tta", "p002.tta", "p003.tta", "p004.tta", "p005.tta", "p007.tta",
                              "p009.tta", "l002.tta", "l004.tta", "l006.tta", "l009.tta"};

int alphaAt(const QImage& img, QPointF q) {
    return qAlpha(img.pixel(static_cast<int>(q.x()), static_cast<int>(q.y())));
}

QPointF lerp(QPointF a, QPointF b, double t) { return a + (b - a) * t; }

// Mean change of alpha from one pixel to the next along a line 3 px in front of the portrait's
// own hairline, from the sideburn over the temple (side -1 left, 1 right). A soft painted edge
// changes little along it; roots with skin between them change a lot.
double hairlineRoughness(const QImage& img, int side) {
    const std::vector<QPointF> own = ownHairHalfOutline();
    const QPainterPath region = ownHairRegion();
    double sum = 0;
    int steps = 0, last = -1;
    for (size_t i = own.size() - 6; i < own.size() - 3; ++i) {  // (116, 196) to (140, 127)
        const QPointF a = own[i], b = own[i + 1], d = b - a;
        const double len = std::hypot(d.x(), d.y());
        QPointF n(-d.y() / len, d.x() / len);
        if (region.contains(lerp(a, b, 0.5) + n * 3)) n = -n;
        for (double t = 0; t < len; t += 1.0) {
            QPointF q = a + d * (t / len) + n * 3;
            if (side > 0) q.setX(2 * kMidX - q.x());
            const int alpha = alphaAt(img, q);
            if (last >= 0) sum += std::abs(alpha - last), ++steps;
            last = alpha;
        }
    }
    return steps ? sum / steps : 0.0;
}

// Share of the pixels above the ear (x 99-111, y 216-226 on the left, mirrored on the right) that
// are solid hair.
double solidOverTheEar(const QImage& img, int side) {
    int solid = 0, all = 0;
    for (int y = 216; y <= 226; ++y)
        for (int x = 99; x <= 111; ++x) {
            solid += qAlpha(img.pixel(side < 0 ? x : kCanvasW - 1 - x, y)) >= 240;
            ++all;
        }
    return static_cast<double>(solid) / all;
}

}  // namespace

// A side fringe may cover one temple and a ponytail one ear: each style shows them on at least one
// side. The full fringe of p009 covers both temples; the hanging buns of l009 the ears.
TEST(UpdoArt, PulledBackHairShowsItsRootsAndThinsOverTheEars) {
    for (const char* name : kUpdos) {
        const QString n = QString::fromLatin1(name);
        const QImage img = arttest::component(QStringLiteral("faxing"), n);
        ASSERT_FALSE(img.isNull()) << name;
        const double rough = std::max(hairlineRoughness(img, -1), hairlineRoughness(img, 1));
        const double solid = std::min(solidOverTheEar(img, -1), solidOverTheEar(img, 1));
        std::printf("%s hairline roughness %.1f, solid over the ear %.2f\n", name, rough, solid);
        if (n != QLatin1String("p009.tta")) {
            EXPECT_GE(rough, 10.0) << name << ": the hairline at the temples is one painted edge";
        }
        if (n != QLatin1String("l009.tta")) {
            EXPECT_LE(solid, 0.15) << name << ": the sides end over the ears in a solid rim";
        }
    }
}

// Beside the temple, above the ear and outside the face (x 92-110, y 186-211 and its mirror), the
// hair is either there or not: the partings between the roots belong on the skin, and cut out here
// they let the backdrop (on a client, her own hair) through in a grey hatching. At most a quarter
// of those pixels are half transparent (0.29-0.39 with the partings cut there, 0.12-0.20 without).
TEST(UpdoArt, BesideTheTemplesTheHairIsNotHatchedThrough) {
    for (const char* name : kUpdos) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        int half = 0, all = 0;
        for (int y = 186; y <= 211; ++y)
            for (int x = 92; x <= 110; ++x)
                for (int side : {x, kCanvasW - 1 - x}) {
                    const int a = qAlpha(img.pixel(side, y));
                    half += a > 30 && a < 200;
                    ++all;
                }
        const double share = static_cast<double>(half) / all;
        std::printf("%s half transparent beside the temples %.2f\n", name, share);
        EXPECT_LE(share, 0.25) << name << ": the hair beside the temple is hatched through";
    }
}

namespace {

// Width of the solid run (alpha >= 240) through x `mid` on row y; 0 if that pixel is not solid.
int runWidth(const QImage& img, int mid, int y) {
    auto solid = [&](int x) { return x >= 0 && x < img.width() && qAlpha(img.pixel(x, y)) >= 240; };
    if (!solid(mid)) return 0;
    int l = mid, r = mid;
    while (solid(l - 1)) --l;
    while (solid(r + 1)) ++r;
    return r - l + 1;
}

}  // namespace

// A bun on top of the crown sits down in the hair swept up into its base: going down from its
// middle, the hair never narrows to a stalk before it widens over the skull. The narrowest row
// between the bun's middle and the first row half as wide again as the bun is at least half the
// bun's width (the bun perched above the crown before: 0, a see-through seam under it).
TEST(UpdoArt, ABunOnTheCrownSitsInTheHairWithoutAStalk) {
    const struct {
        const char* name;
        int x, y;  // the bun's centre
    } buns[] = {{"p001.tta", 190, 46}, {"p005.tta", 190, 42}, {"l006.tta", 190, 28}};
    for (const auto& b : buns) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(b.name));
        ASSERT_FALSE(img.isNull()) << b.name;
        const int bun = runWidth(img, b.x, b.y);
        ASSERT_GT(bun, 0) << b.name << ": no bun at its centre";
        int narrowest = bun, y = b.y;
        for (; y < kCanvasH && runWidth(img, b.x, y) * 2 < bun * 3; ++y)
            narrowest = std::min(narrowest, runWidth(img, b.x, y));
        std::printf("%s bun %d px wide, narrowest below it %d px (down to y %d)\n", b.name, bun, narrowest,
                    y);
        EXPECT_GE(narrowest * 2, bun) << b.name << ": the bun perches on a stalk of hair";
    }
}
