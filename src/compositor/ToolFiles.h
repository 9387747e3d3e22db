#pragma once
#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

// The installation files of the canvas tools, below the program folder. Shared with the
// installation-data generator, which draws them.
namespace ms::toolfiles {

// Brush patterns "penqiang/<n>.tta", n = 1 .. 10, one per brush size: soft round brushes of side
// 7 n (the brush outline's size). Only their alpha is used: the shape and softness of the brush.
constexpr int kBrushSizes = 10;
constexpr int brushPatternSide(int n) { return 7 * n; }
inline QString brushPattern(int n) { return QStringLiteral("penqiang/%1.tta").arg(n); }

// Scissor shapes "penqiang/<11 + i>.tta", i = 0 .. 5, each 40 x 40, with the 40 x 40 picture of
// the shape that its option button shows.
constexpr int kScissorShapes = 6;
constexpr int kScissorSide = 40;
inline QString scissorShape(int i) { return QStringLiteral("penqiang/%1.tta").arg(11 + i); }
inline QString scissorButton(int i) { return QStringLiteral("penqiang/%1.png").arg(11 + i); }

// The soft disc mask of the 50 x 50 stamps: only its red byte is used, as the stamp's alpha.
constexpr const char* kSoftDiscMask = "penqiang/rouhe.bmp";
constexpr int kSoftDiscSide = 50;

// The colour chart (a grid of swatches) and the colour palette (hue across, lightness down).
constexpr const char* kColourChart = "ziyuan/sebiaoka.bmp";
constexpr QSize kColourChartSize{205, 97};
constexpr const char* kColourPalette = "ziyuan/tiaosepan.bmp";
constexpr QSize kColourPaletteSize{207, 112};

// The cursors of the canvas tools: 32 x 32 icons with transparency, each drawn to look like its
// tool, and the point of the tool (the hot spot) in icon pixels.
enum class CursorId { Pen, Brush, Soften, Clone, Concealer, Eraser, Scissors, Eyedropper, Locked };
constexpr int kCursorSide = 32;
struct CursorArt {
    CursorId id;
    const char* file;
    QPoint hotSpot;
};
constexpr std::array<CursorArt, 9> kCursors{{
    {CursorId::Pen, "ziyuan/hb.ico", {2, 29}},         // a makeup pencil, tip at the lower left
    {CursorId::Brush, "ziyuan/pq.ico", {3, 28}},       // a round makeup brush, bristles at the lower left
    {CursorId::Soften, "ziyuan/mh.ico", {16, 16}},     // a soft blurred dot in a ring
    {CursorId::Clone, "ziyuan/fz.ico", {16, 16}},      // a stamp over cross-hairs
    {CursorId::Concealer, "ziyuan/tm.ico", {4, 27}},   // a concealer stick (also the warp tool)
    {CursorId::Eraser, "ziyuan/xp.ico", {6, 25}},      // an eraser block, its edge at the lower left
    {CursorId::Scissors, "ziyuan/jd.ico", {16, 16}},   // open scissors, blades crossing at the centre
    {CursorId::Eyedropper, "ziyuan/xg.ico", {2, 29}},  // an eyedropper, tip at the lower left
    {CursorId::Locked, "ziyuan/FZ.ico", {16, 16}},  // a hand: the magnified view while the tools are locked
}};
constexpr const CursorArt& cursorArt(CursorId id) { return kCursors[static_cast<size_t>(id)]; }

}  // namespace ms::toolfiles
