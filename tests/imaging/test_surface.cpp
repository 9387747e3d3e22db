#include <gtest/gtest.h>

#include <array>
#include <random>

#include "imaging/GridImage.h"
#include "imaging/PixelHelpers.h"
#include "imaging/Surface.h"
#include "support/Fixtures.h"
#include "support/TestSeed.h"

using namespace ms;
using ms::test::raw;

namespace {

QImage canvas(uint32_t fill, int w = 8, int h = 8) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

Surface surfaceOf(uint32_t premultipliedPixel, int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(premultipliedPixel);
    return Surface(img);
}

// Plain bilinear reference: centre-to-centre 16.16 mapping, clamped at the source edges.
QImage stretchedReference(QImage dst, const QRect& dr, const QImage& src, const QRect& sr) {
    auto map = [](int d, int dlen, int slen, int& lo, int& hi, uint32_t& w) {
        const int64_t scale = (static_cast<int64_t>(slen) << 16) / dlen;
        int64_t u = (2 * d + 1) * scale / 2 - (1 << 15);
        int a = static_cast<int>(u >> 16);
        w = static_cast<uint32_t>(u >> 8 & 0xFF);
        if (u < 0) a = 0, w = 0;
        if (a >= slen - 1) a = slen - 1, w = 0;
        lo = a, hi = std::min(a + 1, slen - 1);
    };
    auto lerp = [](uint32_t a, uint32_t b, uint32_t w) {
        uint32_t out = 0;
        for (int sh = 0; sh < 32; sh += 8)
            out |= (((a >> sh & 0xFF) * (256 - w) + (b >> sh & 0xFF) * w) >> 8) << sh;
        return out;
    };
    // Within one pixel of the source size the nearest pixel is taken: the centre rounded down.
    const bool nearest = std::abs(dr.width() - sr.width()) <= 1 && std::abs(dr.height() - sr.height()) <= 1;
    auto nearestOf = [](int d, int dlen, int slen) {
        const int64_t scale = (static_cast<int64_t>(slen) << 16) / dlen;
        return std::clamp(static_cast<int>(((2 * d + 1) * scale / 2) >> 16), 0, slen - 1);
    };
    for (int y = std::max(0, dr.top()); y <= std::min(dst.height() - 1, dr.bottom()); ++y) {
        int y0, y1;
        uint32_t wy;
        map(y - dr.y(), dr.height(), sr.height(), y0, y1, wy);
        if (nearest) y0 = y1 = nearestOf(y - dr.y(), dr.height(), sr.height()), wy = 0;
        for (int x = std::max(0, dr.left()); x <= std::min(dst.width() - 1, dr.right()); ++x) {
            int x0, x1;
            uint32_t wx;
            map(x - dr.x(), dr.width(), sr.width(), x0, x1, wx);
            if (nearest) x0 = x1 = nearestOf(x - dr.x(), dr.width(), sr.width()), wx = 0;
            auto at = [&](int xx, int yy) { return raw(src, sr.x() + xx, sr.y() + yy); };
            // Vertical first, then horizontal, 8-bit weights, truncating.
            const uint32_t s = lerp(lerp(at(x0, y0), at(x0, y1), wy), lerp(at(x1, y0), at(x1, y1), wy), wx);
            uint32_t& d = reinterpret_cast<uint32_t*>(dst.scanLine(y))[x];
            const uint32_t ia = 255 - (s >> 24);
            uint32_t out = 0;
            for (int sh = 0; sh < 32; sh += 8)
                out |= ((s >> sh & 0xFF) + ((d >> sh & 0xFF) * ia + 127) / 255) << sh;
            d = out;
        }
    }
    return dst;
}

QImage randomPremultiplied(int w, int h, std::mt19937& rng) {
    PixelGrid g = test::randomGrid(w, h, rng);
    return Surface::fromGrid(g).image();
}

}  // namespace

TEST(Blend, SinglePixelResults) {
    // Transparent source leaves the destination; opaque replaces it; half alpha mixes exactly.
    QImage d = canvas(0xFF204060u);
    blendOver(d, QRect(0, 0, 1, 1), surfaceOf(0, 1, 1), QRect(0, 0, 1, 1));
    EXPECT_EQ(raw(d, 0, 0), 0xFF204060u);
    blendOver(d, QRect(0, 0, 1, 1), surfaceOf(0xFF0A0B0Cu, 1, 1), QRect(0, 0, 1, 1));
    EXPECT_EQ(raw(d, 0, 0), 0xFF0A0B0Cu);
    QImage e = canvas(0xFFC8C8C8u);
    blendOver(e, QRect(0, 0, 1, 1), surfaceOf(0x80400000u, 1, 1), QRect(0, 0, 1, 1));
    // c = s + 200 * 127 / 255 = s + 99.6 -> 100; alpha 128 + 255 * 127 / 255 = 255
    EXPECT_EQ(raw(e, 0, 0), 0xFF000000u | (0x40 + 100) << 16 | 100 << 8 | 100);
    QImage clear = canvas(0);
    blendOver(clear, QRect(0, 0, 1, 1), surfaceOf(0x80400000u, 1, 1), QRect(0, 0, 1, 1));
    EXPECT_EQ(raw(clear, 0, 0), 0x80400000u);
}

TEST(Blend, ClipsAtEveryEdgeAndSkipsEmptyRectangles) {
    const Surface s = surfaceOf(0xFF112233u, 4, 4);
    QImage d = canvas(0xFF000000u, 6, 6);
    EXPECT_TRUE(blendOver(d, QRect(-2, -3, 4, 4), s, QRect(0, 0, 4, 4)));
    EXPECT_EQ(raw(d, 0, 0), 0xFF112233u);
    EXPECT_EQ(raw(d, 1, 0), 0xFF112233u);
    EXPECT_EQ(raw(d, 2, 0), 0xFF000000u);
    EXPECT_EQ(raw(d, 0, 1), 0xFF000000u);
    QImage e = canvas(0xFF000000u, 6, 6);
    EXPECT_TRUE(blendOver(e, QRect(4, 5, 4, 4), s, QRect(0, 0, 4, 4)));
    EXPECT_EQ(raw(e, 5, 5), 0xFF112233u);
    EXPECT_EQ(raw(e, 3, 5), 0xFF000000u);
    EXPECT_EQ(raw(e, 5, 4), 0xFF000000u);
    QImage f = canvas(0xFF000000u, 6, 6);
    const QImage before = f;
    EXPECT_FALSE(blendOver(f, QRect(0, 0, 0, 4), s, QRect(0, 0, 4, 4)));
    EXPECT_FALSE(blendOver(f, QRect(0, 0, 4, -2), s, QRect(0, 0, 4, 4)));
    EXPECT_FALSE(blendOver(f, QRect(0, 0, 4, 4), s, QRect(2, 0, 4, 4)));  // source outside the surface
    EXPECT_FALSE(blendOver(f, QRect(0, 0, 4, 4), Surface(), QRect(0, 0, 4, 4)));
    EXPECT_TRUE(blendOver(f, QRect(10, 10, 4, 4), s, QRect(0, 0, 4, 4)));  // wholly outside: nothing
    EXPECT_EQ(f, before);
}

// Every set of blend kernels this processor can run: SSE2, and AVX2 where it exists.
static std::vector<const BlendKernels*> kernelSets() {
    std::vector<const BlendKernels*> sets{&sse2BlendKernels()};
    if (avx2BlendKernels()) sets.push_back(avx2BlendKernels());
    return sets;
}

TEST(Blend, FastUnstretchedMatchesPixelByPixelReference) {
    std::mt19937 rng = test::seededRng(1);
    for (int round = 0; round < 200; ++round) {
        const int sw = 1 + rng() % 37, sh = 1 + rng() % 23;
        const QImage src = randomPremultiplied(sw, sh, rng);
        const QImage base = randomPremultiplied(31, 29, rng);
        const int sx = rng() % sw, sy = rng() % sh;
        const QRect sr(sx, sy, 1 + rng() % (sw - sx), 1 + rng() % (sh - sy));
        const QRect dr(static_cast<int>(rng() % 40) - 10, static_cast<int>(rng() % 40) - 10, sr.width(),
                       sr.height());
        QImage slow = base;
        blendOverReference(slow, dr, src, sr);
        for (const BlendKernels* k : kernelSets()) {
            QImage fast = base;
            blendOver(fast, dr, Surface(src), sr, *k);
            ASSERT_EQ(fast, slow) << k->name << " round " << round;
        }
    }
}

TEST(Blend, FastStretchedMatchesPlainBilinearReference) {
    std::mt19937 rng = test::seededRng(2);
    for (int round = 0; round < 120; ++round) {
        const int sw = 2 + rng() % 40, sh = 2 + rng() % 30;
        const QImage src = randomPremultiplied(sw, sh, rng);
        const QImage base = randomPremultiplied(45, 41, rng);
        const QRect sr(0, 0, sw, sh);
        const bool nearUnity = round % 3 == 0;  // one pixel narrower or wider, as some layers are drawn
        const QRect dr(static_cast<int>(rng() % 20) - 5, static_cast<int>(rng() % 20) - 5,
                       nearUnity ? sw + int(rng() % 3) - 1 : 1 + int(rng() % 50),
                       nearUnity ? sh + int(rng() % 3) - 1 : 1 + int(rng() % 50));
        if (dr.size() == sr.size()) continue;
        const QImage slow = stretchedReference(base, dr, src, sr);
        for (const BlendKernels* k : kernelSets()) {
            QImage fast = base;
            blendOver(fast, dr, Surface(src), sr, *k);
            ASSERT_EQ(fast, slow) << k->name << " round " << round;
        }
    }
}

TEST(Blend, StretchingAUniformColourKeepsItExactly) {
    QImage d = canvas(0xFF000000u, 400, 60);
    blendOver(d, QRect(0, 0, 379, 49), surfaceOf(0xFF336699u, 380, 50), QRect(0, 0, 380, 50));
    EXPECT_EQ(raw(d, 0, 0), 0xFF336699u);
    EXPECT_EQ(raw(d, 378, 48), 0xFF336699u);
    EXPECT_EQ(raw(d, 379, 48), 0xFF000000u);
    EXPECT_EQ(raw(d, 0, 49), 0xFF000000u);
}

TEST(Surface, GridRowZeroIsTheBottomRow) {
    PixelGrid g(4, 3);
    g.at(1, 2) = 0xFF00FF00u;  // top row of the picture
    g.at(2, 0) = 0x80FF0000u;  // bottom row, half alpha: premultiplied on upload
    const Surface s = Surface::fromGrid(g);
    EXPECT_EQ(raw(s.image(), 1, 0), 0xFF00FF00u);
    EXPECT_EQ(raw(s.image(), 2, 2), 0x80800000u);
    EXPECT_EQ(raw(s.image(), 0, 0), 0u);
    EXPECT_EQ(gridFromImage(imageFromGrid(g)), g);
}

TEST(Surface, SpanIndexCoversExactlyTheVisiblePixels) {
    QImage img(10, 2, QImage::Format_ARGB32_Premultiplied);
    img.fill(0);
    auto* row = reinterpret_cast<uint32_t*>(img.scanLine(0));
    row[2] = row[3] = 0xFF000000u;
    row[4] = 0x10000000u;
    row[9] = 0xFF000000u;
    const Surface s(img);
    ASSERT_EQ(s.spans().rowStart.size(), 3u);
    ASSERT_EQ(s.spans().rowStart[1], 2u);
    EXPECT_EQ(s.spans().rowStart[2], 2u);  // the second row is empty
    const auto& sp = s.spans().spans;
    EXPECT_TRUE(sp[0].x0 == 2 && sp[0].x1 == 5 && !sp[0].opaque);  // one partial pixel: blended
    EXPECT_TRUE(sp[1].x0 == 9 && sp[1].x1 == 10 && sp[1].opaque);
}

// Painting into a surface keeps its span index true: the rows it touched are indexed again, the
// others kept, and a blend of the edited surface sees exactly its new pixels.
TEST(Surface, EditIndexesTheRowsItTouchedAgain) {
    std::mt19937 rng = test::seededRng(6);
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + static_cast<int>(rng() % 41), h = 1 + static_cast<int>(rng() % 29);
        Surface s = Surface::fromGrid(test::randomGrid(w, h, rng));
        const QRect touched(static_cast<int>(rng() % (w + 4)) - 2, static_cast<int>(rng() % (h + 4)) - 2,
                            1 + static_cast<int>(rng() % w), 1 + static_cast<int>(rng() % h));
        const uint32_t paint = std::array<uint32_t, 4>{0u, 0xFF102030u, 0x01010101u, 0xFEFE0000u}[rng() % 4];
        s.edit(touched, [&](QImage& img) {
            for (int y = std::max(0, touched.top()); y <= std::min(h - 1, touched.bottom()); ++y)
                for (int x = std::max(0, touched.left()); x <= std::min(w - 1, touched.right()); ++x)
                    reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = paint;
        });
        SpanIndex fresh;
        fresh.build(s.image());
        ASSERT_EQ(s.spans().spans, fresh.spans) << "round " << round;
        ASSERT_EQ(s.spans().rowStart, fresh.rowStart) << "round " << round;
        const QImage base = randomPremultiplied(w + 3, h + 3, rng);
        QImage fast = base, slow = base;
        blendOver(fast, QRect(1, 2, w, h), s, QRect(0, 0, w, h));
        blendOverReference(slow, QRect(1, 2, w, h), s.image(), QRect(0, 0, w, h));
        ASSERT_EQ(fast, slow) << "round " << round;
    }
    // An empty surface has nothing to paint.
    Surface none;
    bool painted = false;
    none.edit(QRect(0, 0, 4, 4), [&](QImage&) { painted = true; });
    EXPECT_FALSE(painted);
}
