#pragma once
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "compositor/Kind.h"
#include "persistence/DesignSlots.h"

namespace ms {

// Tool strip entries, numbered like their hot areas wuguan(i); hot area 5 has no tool.
enum class ToolEntry { ImgFx = 0, Imgfx2 = 1, Imgmm = 2, Imgfx1 = 3, Imgbz = 4, Imgzx = 6, Imgmz = 7 };
constexpr int kHotAreaCount = 8;
constexpr int kNoTool = 5;

// Timer1 intervals of the menu items shijian(0..5), in ms.
constexpr std::array<int, 6> kAutoDesignIntervals{500, 1000, 2000, 3000, 4000, 5000};

// Which of the three zoom pictures stands in its place: Image3 idle, Imgda zoom in, Imgxiao zoom out.
enum class ZoomImage { Image3, Imgda, Imgxiao };

// The controls that show the undo history: Label1 and the enabled states of Imgchexiao1 and
// Imghuifu1. They follow the history's events (a snapshot recorded, an undo, a redo) rather than
// its counters alone: an undo back to 0 keeps the label, a redo reaching the top keeps redo enabled.
struct HistoryControls {
    QString label = QStringLiteral("0");
    bool undoEnabled = false;
    bool redoEnabled = false;
    uint64_t seenRecords = 0;  // the history's record count when last followed
};

// What the main window shows besides the pictures of the studio state.
struct ShellState {
    bool autoDesignRunning = false;
    bool timersEnabled = false;  // Timer1 and Timer2 together
    int timer1Interval = 1000;   // ms
    int checkedInterval = 1;     // the checked item shijian(k)
    QString Label2 = QStringLiteral("自动设计");
    bool Label2Red = false;  // text colour RGB(200, 0, 0), else black
    QString LabSM = QStringLiteral("发型样式选择");

    // Index = hot area. A shown tool image is the entry's highlighted look; an active entry keeps it.
    std::array<bool, kHotAreaCount> toolImageShown{};
    std::array<bool, kHotAreaCount> activeTool{};

    ZoomImage zoomImage = ZoomImage::Image3;
    std::array<bool, kSlotCount> slotPreviewShown{};  // bckelmdt(1..8) at index 0..7
    std::array<QImage, kSlotCount> slotPictures;      // null where the slot picture is missing

    bool canvasEnabled = true;  // Pichuaban takes mouse input
    bool fragjbzShown = false;  // the retouch panel with the warp area slider and the usage texts
    bool eyedropper = false;    // Pichuaban1 stands in for the canvas view and takes the mouse
    HistoryControls history;
};

}  // namespace ms
