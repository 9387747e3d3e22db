#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "base/Status.h"
#include "compositor/StudioState.h"
#include "retouch/ToolCursors.h"
#include "shell/ShellState.h"
#include "shell/Workspace.h"

class QMessageBox;

namespace ms {

class FaceFinder;
class FrmDKWJ;
class Frmbj;
class Frmsebiao1;
class Frmdy;
class Frmpaizhao;
class Frmsebiao2;
class Frmyanse;
class frmfx;
class FrmzjmControls;
class LibraryWindows;
struct LibraryApplied;
struct HairstyleRecord;
class TrayIcon;
class frmguanbi;
class frmkaishi;

// The main window: shows the canvas, the tool strip, the slots and the panel of the studio state it
// is given (which outlives it), and turns their events into calls on the workspace.
class Frmzjm : public QWidget {
    Q_OBJECT
  public:
    Frmzjm(StudioState& studio, const QString& programFolder, QWidget* parent = nullptr);
    ~Frmzjm() override;
    StudioState& studio() { return studio_; }
    Workspace& workspace() { return ws_; }

    // "摄像头输入": the camera window, reading `source` when one is set (tests give a test picture)
    // and the system's first camera otherwise.
    void openCamera();
    void setCameraSource(const QString& source) { cameraSource_ = source; }
    Frmpaizhao* cameraWindow() const;

    // The face finder of the photo window's automatic fit; it outlives the window, which starts it
    // reading its model after the first frame. Without one the photo is fitted by hand.
    void setFaceFinder(const FaceFinder* faces) { faces_ = faces; }
    Frmbj* adjustmentWindow() const;
    // A photo file chosen in the open-picture dialog or dropped on the canvas: the photo adjustment
    // with it, or a message when it cannot be read.
    void takeInPhoto(const QString& path);
    // The client's face shape line after a photo is accepted or the stylist chose one.
    void showClientFace();

    // "打印设计图": the modal print window. Tests prepare it (its dialogs' answers) before it runs.
    void openPrint();
    void setPrintSetUp(std::function<void(Frmdy&)> setUp) { printSetUp_ = std::move(setUp); }

    // Where "保存设计图" saves; by default the save dialog asks (tests give the name instead).
    void setSavePathSource(std::function<QString()> ask) { askSavePath_ = std::move(ask); }

    // Shows the studio and shell state after a change; refreshViews also repaints the pictures.
    void refreshViews();
    void refreshControls();
    // The canvas views only, for changes that leave every control as it is (drags of sliders and tools).
    void repaintViews();

    // The makeup tools window (from the tool strip or the welcome window), and the palette window
    // for the hair highlight and lip colour windows.
    void openMakeupTools();
    Frmsebiao2* makeupTools() const;
    Frmsebiao1* openPalette();
    void openLipPalette();
    // The hair colour and hair tools windows, opened from the tool strip.
    void openHairColour();
    void openHairTools();
    Frmyanse* hairColour() const;
    frmfx* hairTools() const;
    LibraryWindows& libraries() { return *lib_; }

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

  private:
    void startUp();
    void showWelcome();
    void connectToolStrip();
    void connectButtons();
    void connectPanel();
    void onToolReleased(ToolEntry e, Qt::MouseButton b);
    void connectLibraries();
    void openLibraryFor(ToolEntry e);
    void onLibraryApplied(const LibraryApplied& result);
    void showRecord(bool bound, const HairstyleRecord& record);
    void onAutoDesignTick();
    void onExitReleased();
    bool confirmExit();
    void shutDown(frmguanbi& asking);
    void minimiseToTray();
    void restoreFromTray();
    void openPhotoDialog();
    void openAdjustment(const QImage& workingCopy, const Status& st);
    void connectClientFace();
    void saveDesignPicture();
    void connectCanvasTools();
    void onCanvasMouse(View view, const CanvasEvent& e);
    void openPaletteWithPickCursor();
    void placeBesideCaller(QWidget* palette);
    void onEyedropperMouse(const CanvasEvent& e);
    void setToolCursor(toolfiles::CursorId id);
    void report(const Status& st);
    void showMessage(const QString& message, QWidget* over = nullptr);

    StudioState& studio_;
    Workspace ws_{studio_};
    std::unique_ptr<FrmzjmControls> c_;
    QPointer<frmkaishi> welcome_;
    QPointer<FrmDKWJ> open_;
    QPointer<Frmbj> adjust_;
    QPointer<Frmsebiao2> makeup_;
    QPointer<Frmsebiao1> palette_;
    QPointer<Frmyanse> yanse_;
    QPointer<frmfx> fx_;
    QPointer<Frmpaizhao> camera_;
    QString cameraSource_;
    const FaceFinder* faces_ = nullptr;
    bool facesStarted_ = false;
    ToolCursors cursors_;
    std::function<QString()> askSavePath_;
    std::function<void(Frmdy&)> printSetUp_;
    TrayIcon* tray_ = nullptr;
    LibraryWindows* lib_ = nullptr;
    std::vector<QPointer<QWidget>> parked_;  // tool windows hidden while the studio sits in the tray
    QPointer<QMessageBox> message_;          // created on first use; goes with the window it was shown over
    bool started_ = false;
    bool shuttingDown_ = false;
};

}  // namespace ms
