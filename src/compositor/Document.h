#pragma once
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

#include "compositor/Kind.h"
#include "compositor/LayerGeometry.h"
#include "imaging/PixelGrid.h"
#include "imaging/Surface.h"

namespace ms {

constexpr int kCanvasWidth = 380;
constexpr int kCanvasHeight = 480;
// The lip colour a design starts with and the lip library opens with: RGB(255, 0, 80), as a
// colour value with red in the low byte.
constexpr int32_t kDefaultLipColour = 255 + 256 * 0 + 65536 * 80;

// Everything needed to rebuild a design.
struct DesignState {
    // Current component file of each kind, full paths; "" means the kind has no component.
    QString faxingname, meimaoxingname, yjzname, yjyname, huziname, zuixingname;
    QString yanjingname, maoziname, erhuanname, xianglianname, fuzhuangname;
    LayerGeometry geometry;
    int hairHeight = 0;                     // H of the current hairstyle file
    int32_t lipColour = kDefaultLipColour;  // colour value, red in the low byte
    int16_t zuixingnd = 0;                  // lip colour strength, added to the lips alpha
    bool woman = false;
    QImage PicMT, PicMT0, Picbeijing, PicRGB, PicA;  // 380 x 480 photo pictures
};

// Straight-alpha grids (bottom-up) of the kinds that keep one between preparations, each with
// the backup grid that warps and colour changes work against.
struct KindGrids {
    PixelGrid hairstyle, hairstyleBackup;  // W x H of the file
    PixelGrid eyebrow, eyebrowBackup;      // fixed size, see the kind table
    PixelGrid lips, lipsBackup;            // fixed size, tinted with the lip colour
    PixelGrid clothing, clothingBackup;    // W x H of the file
    PixelGrid cutout, cutoutMask;          // 380 x 480; the cut-out grid is kept premultiplied
};

struct KindSurfaces {
    QImage canvas;  // the composed portrait, 380 x 480, premultiplied
    std::array<Surface, kKindCount> kinds;
    Surface& of(Kind k) { return kinds[static_cast<size_t>(k)]; }
    const Surface& of(Kind k) const { return kinds[static_cast<size_t>(k)]; }
};

// Layer-modified flags: a set flag keeps the kind's warped surface when layers are reloaded.
// Only the kinds the kind table marks warpable ever have theirs set.
struct LayerFlags {
    std::array<bool, kKindCount> Check1{};
    bool& modified(Kind k) { return Check1[static_cast<size_t>(k)]; }
    bool modified(Kind k) const { return Check1[static_cast<size_t>(k)]; }
};

// The design document: what is composed, stored in slots and recorded in the history.
struct Document {
    DesignState design;
    KindGrids grids;
    KindSurfaces surfaces;
    LayerFlags flags;
};

}  // namespace ms
