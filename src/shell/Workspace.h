#pragma once
#include "adjust/FeatureColour.h"
#include "base/Status.h"
#include "compositor/Kind.h"
#include "compositor/StudioState.h"
#include "retouch/MakeupTools.h"
#include "retouch/ToolDispatch.h"
#include "shell/ShellState.h"

namespace ms {

// The main window's logic without any widget: every handler of the main window, the welcome
// window and the exit window calls one of these and then shows the studio and shell state.
class Workspace {
  public:
    explicit Workspace(StudioState& s);
    StudioState& studio() { return s_; }
    const ShellState& shell() const { return shell_; }

    // Start-up when the main window is first shown: an interrupted slot store finished or undone,
    // the slot pictures, then every kind back to its default. Missing slot pictures leave empty
    // slots and are reported together.
    Status startUp();
    Status loadSlotPictures();

    // Welcome window buttons.
    void beginMakeup();       // "进行美容化妆"
    void beginAutoDesign();   // "自动设计发型"
    void beginHairLibrary();  // "打开发型库"

    // Tool strip. A click highlights its entry; the right button resets the hairstyle, eyebrows,
    // lips or hat to the library's "000." file, recomposes and records one undo snapshot.
    void pointAtHotArea(int i);
    void pointAtBackground();
    void clickTool(ToolEntry e);
    // A library window closed by double click: no tool keeps its highlight, lip design ends.
    void clearActiveTools() {
        shell_.activeTool.fill(false);
        s_.session.lipDesignMode = false;
    }
    // "变形工具" of the component library window: the canvas takes the mouse again.
    void chooseWarpTool();
    // "彩色漂染" opened: the hair picture drawn, the cut-out pictures kept as a snapshot.
    Status openHairColour();
    // A lip colour picked in the palette: in lip design the lips (and the lip thumbnails, when the
    // result says so) take it.
    LipColourFollow lipColourPicked(Status& problem);
    Status rightClickTool(ToolEntry e);

    // Automatic design.
    void pointAtLabel2();
    void pressLabel2();
    void toggleAutoDesign();  // Label2 released
    Status autoDesignTick();  // Timer1
    void blinkTick();         // Timer2
    void chooseInterval(int k);
    void stopTimersForExit();  // leaves caption and running flag as they are

    // Zoom.
    void pointAtZoom();  // Image3
    void zoomIn();       // Imgda released
    void pressZoomOut();
    void zoomOut();  // Imgxiao released

    // The warp area size "变形区域大小", 1 .. 20: both tool outlines become 5 x the value.
    void setSlider1(int value);

    // A mouse event of the canvas view or the magnified view, run by the tool in use; the
    // recomposition it asks for is done.
    ToolResult canvasMouse(View view, const CanvasEvent& e);
    CanvasTools& canvasTools() { return tools_; }
    // The makeup tools window's eyedropper on the portrait: starts, and ends with a pick or none.
    void beginEyedropper();
    void enableCanvas() { shell_.canvasEnabled = true; }
    void endEyedropper(std::optional<int32_t> picked);
    void pointAtSlot(int i);  // bckelm(i), i = 1 .. 8
    // A click on the preview bckelmdt(i): the right button stores the design in slot i (and the
    // slot shows the canvas), any other button brings the slot's design back.
    Status storeSlot(int i);
    Status restoreSlot(int i);

    // A new client photo (from the open-picture dialog or dropped on the canvas): read as its
    // working copy, upright and within the photo caps. A picture that cannot be read changes
    // nothing; otherwise every kind goes back to its default and `workingCopy` is the picture for
    // the photo adjustment.
    Status takeInPhoto(const QString& path, QImage& workingCopy);
    // A frame from the camera as the new client photo: an empty frame changes nothing; otherwise
    // every kind goes back to its default and `workingCopy` is the frame.
    Status takeInPicture(const QImage& frame, QImage& workingCopy);
    // "保存设计图": the canvas view as a picture, in the format of the file name's extension.
    Status saveDesignPicture(const QString& path);

    // Undo and redo, and the history controls that follow them.
    Status undo();
    Status redo();
    // Brings the history controls up to date with snapshots recorded since they last looked
    // (by the libraries, a slot restore, a reset, automatic design).
    void followHistory();

    // Empties the temporary folder and releases the drawing surfaces; the windows close after it.
    Status shutDown();

  private:
    void highlightOnly(int hotArea);
    void makeActive(int hotArea);
    Status resetToDefault(Kind k);

    StudioState& s_;
    ShellState shell_;
    CanvasTools tools_;
    TellOnce told_;  // the hair tools' problems from the canvas, each told once
};

}  // namespace ms
