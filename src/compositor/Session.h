#pragma once
#include <QImage>
#include <QString>
#include <cstdint>

#include "compositor/ClientFace.h"
#include "compositor/Kind.h"
#include "compositor/ToolState.h"
#include "imaging/Magnify.h"

namespace ms {

constexpr int kMagnifiedWidth = kMagnifyWidth;  // the canvas at 1.6 x: 608 x 768
constexpr int kMagnifiedHeight = kMagnifyHeight;

// The pictures the windows show.
struct Views {
    QImage Pichuaban;   // canvas view
    QImage Pichuaban1;  // copy of the last composition
    // What Pichuaban1 keeps when it is repainted: set when the eyedropper starts and by the
    // magnified view's tools, not by recompositions. "撤消化妆" brings it back to the canvas view.
    QImage Pichuaban1Kept;
    QImage Picfangda;  // magnified view, 608 x 768
    bool PicfangdaVisible = false;
    QImage Picfx;  // opaque hairstyle rendering, 380 x hairstyle height
};

// Undo history counters. `recorded` counts every snapshot written in this run, so that the
// controls showing the history can tell that one was recorded since they last looked.
struct HistoryCounters {
    int position = 0;
    int32_t top = 0;
    uint64_t recorded = 0;
};

// What the library windows list.
struct LibraryState {
    LibraryKind currentKind = LibraryKind::None;
    AccessorySubKind accessorySubKind = AccessorySubKind::Hat;
    QString folder, pattern;
    QString hairFirstCode, hairSecondCode, eyebrowCode, lipCode;
    bool onlySuitingFace = false;  // the hairstyle library lists only the styles suiting the client's face
};

// Which brows the move and stretch sliders act on; program-wide, both at start.
enum class EyebrowSides { Both, Left, Right };

// The hair colour and trim tools' values that outlive their windows.
struct HairToolState {
    // The dye: hue A (degrees), saturation shift B, darkening C (V becomes V + C / V).
    int dyeHue = 0, dyeSaturation = 0, dyeDarkening = 0;
    int32_t snapshot = 0;       // n of the next pair of cut-out snapshots "temp/<n>.bmp", "temp/<n>p.bmp"
    int32_t lastSnapshot = 0;   // n of the last pair written by a pattern stamp
    int highlightPattern = -1;  // the chosen highlight pattern, -1: none
};

// The state of one run around the document: views, history, libraries and tool values that are
// not part of a design.
struct Session {
    Views views;
    HistoryCounters history;
    LibraryState library;
    ToolState tools;
    int eyebrowStrength = 0;  // added to the eyebrow alpha when its surface is built, -160 .. 0
    EyebrowSides eyebrowSides = EyebrowSides::Both;
    HairToolState hair;
    ClientFace clientFace;
    // On while the stylist designs lips (the tool strip's lip button): a lip colour picked in the
    // palette then goes onto the lips and the lip thumbnails at once.
    bool lipDesignMode = false;
};

}  // namespace ms
