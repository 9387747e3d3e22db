#include <gtest/gtest.h>

#include <cmath>

#include "adjust/LayerWarp.h"
#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "support/Fixtures.h"
#include "support/ReferenceWarp.h"
#include "support/TestSeed.h"

using namespace ms;
using test::randomGrid;
using test::referenceWarp;

namespace {

int differing(const PixelGrid& a, const PixelGrid& b) {
    int n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
    return n;
}

}  // namespace

TEST(Warp, MatchesTheReferenceOnRandomGridsAndAccumulates) {
    auto rng = test::seededRng(51);
    std::uniform_real_distribution<double> frac(0, 1);
    std::uniform_int_distribution<int> radius(1, 20);
    for (int round = 0; round < 40; ++round) {
        const int W = 230 + round % 3, H = 231;
        const PixelGrid m = randomGrid(W, H, rng);
        const int r = 5 * radius(rng) / 2 + 1;  // 3 .. 51
        // Start and end with fractions (the magnified view's positions), the end's y whole as the
        // dispatch gives it; the square and its sources stay clear of the last column and the top row.
        const QPointF S(100 + r + 16 + frac(rng) * (W - 2 * r - 34),
                        300 - r - 16 - frac(rng) * (H - 2 * r - 34));
        const QPointF E(S.x() + 60 * (frac(rng) - 0.5), std::nearbyint(S.y() + 60 * (frac(rng) - 0.5)));
        PixelGrid grid = m, backup;
        warpGrid(grid, backup, WarpOrigin{100, 300}, r, S, E);
        const PixelGrid expected = referenceWarp(m, 100, 300, r, S, E);
        ASSERT_EQ(differing(grid, expected), 0) << "round " << round << " r " << r;
        EXPECT_EQ(backup, grid);
        // A second drag warps the warped grid.
        const QPointF S2(S.x() + 3.5, S.y() + 2), E2(S.x() - 10, S.y() + 7);
        warpGrid(grid, backup, WarpOrigin{100, 300}, r, S2, E2);
        ASSERT_EQ(differing(grid, referenceWarp(expected, 100, 300, r, S2, E2)), 0) << "round " << round;
    }
}

TEST(Warp, CentreRimStillDragAndTheGridEdges) {
    // Columns of distinct colours: a pixel's source column can be read off its value.
    PixelGrid m(60, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) m.at(x, y) = pixelBGRA(x * 4, y * 5, 100, 255);
    // S at grid (30, 25), dragged 8 right and 6 down the screen (rows count upwards).
    PixelGrid grid = m, backup;
    warpGrid(grid, backup, WarpOrigin{0, 50}, 10, QPointF(30, 25), QPointF(38, 31));
    // The centre takes the colour half a drag behind: column 26, row 28.
    EXPECT_EQ(grid.at(30, 25), m.at(26, 28));
    // The rim (distance exactly r) and everything outside the circle keep their values.
    EXPECT_EQ(grid.at(40, 25), m.at(40, 25));
    EXPECT_EQ(grid.at(30, 15), m.at(30, 15));
    EXPECT_EQ(grid.at(38, 33), m.at(38, 33));
    EXPECT_NE(grid.at(32, 25), m.at(32, 25));

    // A drag that ends where it started changes nothing, also where the square reaches the last
    // column and the top row.
    grid = m;
    warpGrid(grid, backup, WarpOrigin{0, 50}, 20, QPointF(55, 3), QPointF(55, 3));
    EXPECT_EQ(grid, m);

    // A start outside the layer changes only the part of the circle inside it.
    grid = m;
    warpGrid(grid, backup, WarpOrigin{0, 50}, 12, QPointF(-6, 25), QPointF(4, 25));
    for (int y = 0; y < 50; ++y)
        for (int x = 6; x < 60; ++x) ASSERT_EQ(grid.at(x, y), m.at(x, y)) << x << "," << y;
    EXPECT_NE(differing(grid, m), 0);

    // A source beyond the last column reads the last column itself, not its neighbour.
    grid = m;
    warpGrid(grid, backup, WarpOrigin{0, 50}, 10, QPointF(59, 25), QPointF(39, 25));
    EXPECT_EQ(grid.at(59, 25), m.at(59, 25));
}

namespace {

// A studio without files: every kind empty, grids set by the tests.
struct WarpStudio {
    StudioState s;
    WarpStudio() {
        s.doc.surfaces.canvas = QImage(380, 480, QImage::Format_ARGB32_Premultiplied);
        s.doc.design.PicMT = QImage(380, 480, QImage::Format_RGB32);
        s.doc.design.PicMT.fill(Qt::gray);
    }
    void stroke(QPointF start, QPointF end) {
        s.session.tools.press = start;
        s.session.tools.release = end;
    }
};

}  // namespace

TEST(LayerWarps, MarkTheLayerRebuildItsSurfaceAndSkipKindsWithoutComponent) {
    WarpStudio t;
    t.stroke({200, 180}, {210, 185});
    for (auto warp : {faxing_bx, meimao_bx, zuixing_bx, fuzhuang_bx}) EXPECT_FALSE(warp(t.s));
    for (Kind k : {Kind::faxing, Kind::meimao, Kind::zuixing, Kind::fuzhuang})
        EXPECT_FALSE(t.s.doc.flags.modified(k));

    // Eyebrows at strength -80: the surface is rebuilt from the warped grid with the strength.
    t.s.doc.grids.eyebrow = PixelGrid(180, 40, pixelBGRA(20, 30, 40, 200));
    t.s.doc.grids.eyebrow.at(100, 19) = pixelBGRA(250, 250, 250, 255);
    t.s.session.eyebrowStrength = -80;
    t.s.session.tools.libraryWarpSize = 2;
    t.stroke({200, 180}, {190, 180});  // grid column 100, row 19; dragged left
    ASSERT_TRUE(meimao_bx(t.s));
    EXPECT_TRUE(t.s.doc.flags.modified(Kind::meimao));
    EXPECT_EQ(t.s.doc.grids.eyebrowBackup, t.s.doc.grids.eyebrow);
    EXPECT_EQ(t.s.doc.grids.eyebrow.at(100, 19), pixelBGRA(20, 30, 40, 200));  // taken from the right
    EXPECT_GT(blueOf(t.s.doc.grids.eyebrow.at(97, 19)), 100);                  // pushed left
    const QImage& surface = t.s.doc.surfaces.of(Kind::meimao).image();
    EXPECT_EQ(qAlpha(surface.pixel(0, 0)), 120);

    // The hairstyle takes its radius from the hair tools and its cy from its height.
    t.s.doc.grids.hairstyle = PixelGrid(380, 300, 0);
    t.s.doc.grids.hairstyle.at(200, 120) = 0xFFFFFFFFu;
    t.s.session.tools.hairWarpSize = 1;
    t.stroke({200, 180}, {190, 180});
    ASSERT_TRUE(faxing_bx(t.s));
    EXPECT_TRUE(t.s.doc.flags.modified(Kind::faxing));
    EXPECT_EQ(t.s.doc.grids.hairstyle.at(200, 120), 0u);
}

TEST(LayerWarps, TheInputPointIsTheGridPixelUnderThePointer) {
    WarpStudio t;
    LayerGeometry& g = t.s.doc.design.geometry;
    g.mmtopz = g.mmtopy = 5;  // brows moved up by the slider
    g.zuixingleft = 7, g.zuixingtop = -3;
    g.faxingleft = -4, g.faxingtop = 9;
    g.fuzhuangtop = 6;
    t.s.doc.design.hairHeight = 480;
    const struct {
        LibraryKind library;
        Layer layer;
        double cx, cy;
        int gridHeight;
    } cases[] = {{LibraryKind::Eyebrows, Layer::EyebrowLeft, 100, 199, 40},
                 {LibraryKind::Lips, Layer::Lips, 140, 320, 50},
                 {LibraryKind::Hairstyles, Layer::Hairstyle, 0, 480, 480},
                 {LibraryKind::Accessories, Layer::Clothing, 0, 490, 190}};
    for (const auto& c : cases) {
        const Placement p = redrawPlacement(c.layer, g, c.gridHeight);
        const QPoint pointer = p.dst.topLeft() + QPoint(12, 8);
        const auto at = canvasToGrid(p, c.gridHeight, pointer);
        ASSERT_TRUE(at);
        const auto input = warpInput(t.s, c.library, pointer);
        ASSERT_TRUE(input);
        EXPECT_EQ(QPoint(int(input->x() - c.cx), int(c.cy - input->y())), *at) << int(c.library);
    }
    EXPECT_FALSE(warpInput(t.s, LibraryKind::None, {10, 10}));
}
