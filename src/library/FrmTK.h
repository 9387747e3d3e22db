#pragma once
#include <array>

#include "adjust/LayerMoves.h"
#include "library/LibraryWindow.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;

namespace ms {

class DragSlider;

// The component library window for eyebrows, lips or accessories: six thumbnails a page in the
// square area (Frame2) or the strip area (Frame1), and the adjustment controls of its kind: the
// move and stretch sliders, the colour strength slider, the warp tool with its size, the reset
// button, the brow sides and the lip colour button. The controls act on the kind the window was
// opened for, whatever library opens later.
class FrmTK : public LibraryWindow {
    Q_OBJECT
  public:
    FrmTK(StudioState& s, LibraryKind libraryKind, QWidget* owner);

    // The eyebrow side frame Framm; the eyebrow button shows it, the lip and accessory ones hide it.
    void setEyebrowSidesShown(bool shown);
    // The lip colour button Command8, shown by the lip button.
    void setLipColourButtonShown(bool shown);

    DragSlider* slider(MoveSlider which) const { return moveSliders_[static_cast<size_t>(which)]; }

  signals:
    // The canvas was recomposed: the main window shows it.
    void canvasChanged();
    // The warp size changed the tool outlines.
    void outlinesChanged();
    // "变形工具" was chosen: the canvas takes the mouse with the warp cursor.
    void warpToolChosen();
    // "选取唇色": the palette opens for the lips.
    void lipColourRequested();
    void problem(const QString& message);

  protected:
    void showThumbnails() override;

  private:
    QWidget* buildAreas();
    QWidget* buildAdjustments();
    QWidget* buildSides(QWidget* parent);
    DragSlider* addSlider(QGridLayout* grid, int row, int column, const QString& caption, Qt::Orientation o,
                          int lo, int hi, QLabel*& label);
    void connectAdjustments();
    void onMoveSlider(MoveSlider which, int v);
    void onReset();

    StudioState& s_;
    QStackedWidget* areas_ = nullptr;
    QWidget* Frame1_ = nullptr;
    QWidget* Frame2_ = nullptr;
    std::vector<ThumbnailButton*> square_, strip_;
    std::array<DragSlider*, kMoveSliderCount> moveSliders_{};  // Slider3 .. Slider6
    std::array<QLabel*, kMoveSliderCount> moveCaptions_{};
    QLabel* Label2_ = nullptr;
    DragSlider* Slider2_ = nullptr;
    QRadioButton* check1_ = nullptr;
    QLabel* Label1_ = nullptr;
    DragSlider* Slider1_ = nullptr;
    QPushButton* Cmdfuwei_ = nullptr;
    QPushButton* Command8_ = nullptr;
    QGroupBox* Framm_ = nullptr;
    std::array<QRadioButton*, 3> sides_{};  // Option6 "双眉", Option5 "左眉", Option4 "右眉"
};

}  // namespace ms
