#include <gtest/gtest.h>

#include <QRect>
#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "compositor/Kinds.h"
#include "compositor/LayerGeometry.h"
#include "compositor/Preparation.h"
#include "imaging/PixelHelpers.h"
#include "support/Fixtures.h"

using namespace ms;
using ms::test::raw;

namespace {

constexpr Layer kAllLayers[] = {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips,    Layer::Necklace,
                                Layer::Clothing,    Layer::Hairstyle,    Layer::Glasses, Layer::Hat,
                                Layer::EarringLeft, Layer::EarringRight, Layer::Cutout};

// Every field of a geometry record set to `v`: the record is nothing but signed 16-bit fields.
LayerGeometry everyField(int16_t v) {
    static_assert(sizeof(LayerGeometry) % sizeof(int16_t) == 0);
    LayerGeometry g;
    auto* f = reinterpret_cast<int16_t*>(&g);
    for (size_t i = 0; i < sizeof(LayerGeometry) / sizeof(int16_t); ++i) f[i] = v;
    return g;
}

int nonZeroFields(const LayerGeometry& g) {
    const auto* f = reinterpret_cast<const int16_t*>(&g);
    int n = 0;
    for (size_t i = 0; i < sizeof(LayerGeometry) / sizeof(int16_t); ++i) n += f[i] != 0;
    return n;
}

}  // namespace

TEST(KindTable, EveryLayerAndGeometryFieldBelongsToExactlyOneKind) {
    for (int i = 0; i < kKindCount; ++i) EXPECT_EQ(static_cast<int>(kindTable()[i].kind), i);
    std::set<Layer> seen;
    for (const KindInfo& k : kindTable())
        for (Layer l : k.layers()) {
            EXPECT_TRUE(seen.insert(l).second) << k.key;
            EXPECT_EQ(kindOf(l), k.kind) << k.key;
        }
    EXPECT_EQ(seen.size(), std::size(kAllLayers));

    // Resetting every kind clears every field but those of the eyes and the beard, which no layer
    // uses (eight and four fields); a field listed twice or missing would show here.
    LayerGeometry g = everyField(7);
    std::vector<int16_t LayerGeometry::*> fields;
    for (const KindInfo& k : kindTable())
        for (auto f : geometryFields(k.kind)) {
            EXPECT_EQ(std::find(fields.begin(), fields.end(), f), fields.end()) << k.key;
            fields.push_back(f);
        }
    for (const KindInfo& k : kindTable()) resetGeometry(g, k.kind);
    EXPECT_EQ(nonZeroFields(g), 12);
    EXPECT_EQ(g.yjtopy, 7);
    EXPECT_EQ(g.huzileft, 7);
}

TEST(KindTable, SizesLibrariesAndWarpsAgreeWithThePlacements) {
    for (Kind kind : componentKinds()) {
        const KindInfo& k = kindInfo(kind);
        // The library that applies a kind finds it again.
        EXPECT_EQ(kindOfLibrary(k.library, k.subKind), kind) << k.key;
        // The warpable kinds are the ones that keep a grid and a backup to warp.
        EXPECT_EQ(k.warpable, k.keepsGrid()) << k.key;
        EXPECT_EQ(k.keepsGrid(), k.backup != nullptr) << k.key;
        // The redraw source rectangles of a kind's layers cover its nominal size exactly.
        QRect covered;
        for (Layer l : k.layers()) {
            const QRect src = redrawPlacement(l, LayerGeometry{}, k.size.height()).src;
            EXPECT_TRUE(QRect(QPoint(0, 0), k.size).contains(src)) << k.key;
            covered |= src;
        }
        EXPECT_EQ(covered, QRect(QPoint(0, 0), k.size)) << k.key;
    }
    EXPECT_EQ(kindOfLibrary(LibraryKind::Accessories, AccessorySubKind::Clothing), Kind::fuzhuang);
    EXPECT_EQ(kindInfo(Kind::zuixing).imageType, 2);
    EXPECT_EQ(kindInfo(Kind::meimao).sizing().fixedWidth, 180);
    EXPECT_EQ(kindInfo(Kind::faxing).sizing().fixedWidth, 0);
}

TEST(LayerMapping, CanvasPointsReachTheGridRowsFlipped) {
    // Lips at their default place: (140, 265) 100 x 50 from the whole 100 x 50 grid.
    const Placement lips = redrawPlacement(Layer::Lips, LayerGeometry{}, 0);
    EXPECT_EQ(canvasToGrid(lips, 50, {140, 265}), QPoint(0, 49));  // top-left: the grid's top row
    EXPECT_EQ(canvasToGrid(lips, 50, {239, 314}), QPoint(99, 0));
    EXPECT_EQ(canvasToGrid(lips, 50, {139, 265}), std::nullopt);
    EXPECT_EQ(canvasToGrid(lips, 50, {140, 315}), std::nullopt);
    EXPECT_EQ(gridToCanvas(lips, 50, {0, 49}), QPointF(140, 265));
    // The right eyebrow starts at grid column 90 and is drawn one pixel narrower.
    const Placement brow = redrawPlacement(Layer::EyebrowRight, LayerGeometry{}, 0);
    EXPECT_EQ(canvasToGrid(brow, 40, {190, 160}), QPoint(90, 39));
    EXPECT_EQ(canvasToGrid(brow, 40, {278, 199}), QPoint(179, 0));

    // Stretched twice as wide and half as high again: every grid pixel's centre maps back to it.
    LayerGeometry g;
    g.zuixingWidth = 100;
    g.zuixingheight = 25;
    const Placement wide = redrawPlacement(Layer::Lips, g, 0);
    ASSERT_EQ(wide.dst.size(), QSize(200, 75));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const QPointF c = gridToCanvas(wide, 50, {x, y});
            ASSERT_EQ(canvasToGrid(wide, 50, QPoint(qFloor(c.x()), qFloor(c.y()))), QPoint(x, y))
                << x << "," << y;
        }
    // Shrunk: every canvas pixel of the layer lands inside the grid.
    g.zuixingWidth = -60;
    g.zuixingheight = -30;
    const Placement narrow = redrawPlacement(Layer::Lips, g, 0);
    for (int y = narrow.dst.top(); y <= narrow.dst.bottom(); ++y)
        for (int x = narrow.dst.left(); x <= narrow.dst.right(); ++x) {
            const auto p = canvasToGrid(narrow, 50, {x, y});
            ASSERT_TRUE(p && QRect(0, 0, 100, 50).contains(*p)) << x << "," << y;
        }
}

TEST(LayerMapping, MagnifiedViewPointsAreCanvasPixelsTimesPointFactor) {
    // A click at view point (100, 200), that is (133.3, 266.7) screen pixels, is canvas (83, 166).
    const QPointF c = magnifiedToCanvas(QPointF(100, 200) / kPointsPerViewPixel);
    EXPECT_NEAR(c.x(), 83.0, 1e-9);
    EXPECT_NEAR(c.y(), 166.0, 1e-9);
    const QPointF back = canvasToMagnified(c);
    EXPECT_NEAR(back.x(), 100 / kPointsPerViewPixel, 1e-9);
    // The whole magnified view covers a little less than the canvas: 0.83 is not 0.8333...
    const QPointF corner = magnifiedToCanvas(QPointF(608, 768));
    EXPECT_LT(corner.x(), 380.0);
    EXPECT_GT(corner.x(), 378.0);
}

TEST(KindSurface, RebuildAppliesEachKindsOwnStepToACopyOfTheGrid) {
    StudioState s;
    // Lips: the grid carries the tint; the surface takes alpha + strength.
    s.doc.grids.lips = PixelGrid(100, 50, pixelBGRA(80, 0, 255, 100));
    s.doc.design.zuixingnd = -20;
    rebuildKindSurface(s, Kind::zuixing);
    uint32_t expected = pixelBGRA(80, 0, 255, 80);
    premultiply_pixel(expected);
    EXPECT_EQ(raw(s.doc.surfaces.of(Kind::zuixing).image(), 0, 0), expected);
    EXPECT_EQ(s.doc.grids.lips.at(0, 0), pixelBGRA(80, 0, 255, 100));  // the grid stays straight

    // Eyebrows at the lowest strength: alpha below 160 vanishes, 200 becomes 40.
    s.doc.grids.eyebrow = PixelGrid(180, 40, pixelBGRA(10, 20, 30, 150));
    s.doc.grids.eyebrow.at(3, 39) = pixelBGRA(100, 150, 250, 200);
    s.session.eyebrowStrength = -160;
    rebuildKindSurface(s, Kind::meimao);
    const QImage& brow = s.doc.surfaces.of(Kind::meimao).image();
    EXPECT_EQ(raw(brow, 0, 0), 0u);
    expected = pixelBGRA(100, 150, 250, 40);
    premultiply_pixel(expected);
    EXPECT_EQ(raw(brow, 3, 0), expected);  // grid row 39 is the surface's top row
    EXPECT_EQ(s.doc.surfaces.of(Kind::meimao).spans().spans.size(), 1u);  // only that pixel shows

    // An edit of one grid pixel reaches exactly that surface pixel.
    s.session.eyebrowStrength = 0;
    rebuildKindSurface(s, Kind::meimao);
    const QImage before = s.doc.surfaces.of(Kind::meimao).image().copy();
    s.doc.grids.eyebrow.at(5, 0) = 0xFF0000FFu;
    rebuildKindSurface(s, Kind::meimao);
    const QImage after = s.doc.surfaces.of(Kind::meimao).image();
    int changed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 180; ++x) changed += raw(after, x, y) != raw(before, x, y);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(raw(after, 5, 39), 0xFF0000FFu);

    // An empty grid empties the surface; a kind that keeps no grid is left alone.
    s.doc.grids.lips = PixelGrid();
    rebuildKindSurface(s, Kind::zuixing);
    EXPECT_TRUE(s.doc.surfaces.of(Kind::zuixing).isEmpty());
    s.doc.surfaces.of(Kind::maozi) = Surface::fromGrid(PixelGrid(2, 2, 0xFF123456u));
    rebuildKindSurface(s, Kind::maozi);
    EXPECT_EQ(raw(s.doc.surfaces.of(Kind::maozi).image(), 1, 1), 0xFF123456u);
}
