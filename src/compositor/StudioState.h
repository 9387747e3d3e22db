#pragma once
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

#include "compositor/LayerGeometry.h"
#include "imaging/PixelGrid.h"
#include "imaging/PixelHelpers.h"
#include "platform/Surface.h"

namespace ms {

constexpr int kCanvasWidth = 380;
constexpr int kCanvasHeight = 480;
constexpr int kMagnifiedWidth = 608;  // the canvas at 1.6 x
constexpr int kMagnifiedHeight = 768;

// Component kinds, in the order their surfaces are created.
enum class Kind { xiushi, faxing, meimao, zuixing, xianglian, maozi, yanjing, erhuan, fuzhuang };
constexpr int kKindCount = 9;

// Everything needed to rebuild a design.
struct DesignState {
    // Current component file of each kind, full paths; "" means the kind has no component.
    QString faxingname, meimaoxingname, yjzname, yjyname, huziname, zuixingname;
    QString yanjingname, maoziname, erhuanname, xianglianname, fuzhuangname;
    LayerGeometry geometry;
    int hairHeight = 0;            // H of the current hairstyle file
    int32_t lipColour = 0x5000FF;  // colour value, red in the low byte: RGB(255, 0, 80)
    int16_t zuixingnd = 0;         // added to the lips alpha
    bool woman = false;
    QImage PicMT, PicMT0, Picbeijing, PicRGB, PicA;  // 380 x 480 photo pictures
};

// Straight-alpha grids of the kinds that keep one between preparations.
struct KindGrids {
    PixelGrid hairstyle, hairstyleBackup, hairstyleWork;
    PixelGrid eyebrow, eyebrowBackup;  // 180 x 40
    PixelGrid lips, lipsBackup;        // 100 x 50, tinted with the lip colour
    PixelGrid clothing, clothingBackup;
    PixelGrid cutout, cutoutMask;  // 380 x 480
};

struct KindSurfaces {
    QImage canvas;  // the composed portrait, 380 x 480, premultiplied
    std::array<Surface, kKindCount> kinds;
    Surface& of(Kind k) { return kinds[static_cast<size_t>(k)]; }
    const Surface& of(Kind k) const { return kinds[static_cast<size_t>(k)]; }
};

// The pictures the windows show.
struct Views {
    QImage Pichuaban;   // canvas view
    QImage Pichuaban1;  // copy of the last composition
    QImage Picfangda;   // magnified view, 608 x 768
    bool PicfangdaVisible = false;
    QImage Picfx;  // opaque hairstyle rendering, 380 x hairstyle height
};

// Layer-modified flags: a set flag keeps the warped surface when layers are reloaded.
struct LayerFlags {
    static constexpr int kHairstyle = 0, kEyebrows = 2, kLips = 6, kClothing = 12;
    std::array<bool, 13> Check1{};
};

// Undo history counters and the state of the controls that show them.
struct HistoryState {
    int position = 0;
    int32_t top = 0;
    bool undoEnabled = false;             // Imgchexiao1
    bool redoEnabled = false;             // Imghuifu1
    QString label = QStringLiteral("0");  // Label1
};

// What the library windows list.
struct LibraryState {
    int currentKind = 0;       // 1 hairstyles, 3 eyebrows, 6 lips, 8 accessories
    int accessorySubKind = 8;  // 8 hat, 9 glasses, 10 earrings, 11 necklace, 12 clothing
    QString folder, pattern;
    QString hairFirstCode, hairSecondCode, eyebrowCode, lipCode;
};

// The shared state of one run, owned by the main window and passed by reference.
struct StudioState {
    QString P;  // program folder, no trailing separator
    QString designName = QStringLiteral("kelm");
    QImage builtinPortrait;  // the canvas view's initial picture
    DesignState design;
    KindGrids grids;
    KindSurfaces surfaces;
    Views views;
    LayerFlags flags;
    HistoryState history;
    LibraryState library;
    RotationGrid rotation;

    QString path(const QString& relative) const { return P + QLatin1Char('/') + relative; }
};

}  // namespace ms
