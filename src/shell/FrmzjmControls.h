#pragma once
#include <QImage>
#include <QPixmap>
#include <array>

#include "compositor/StudioState.h"
#include "shell/ShellState.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QMenu;
class QProgressBar;
class QSlider;
class QTimer;
class QWidget;

namespace ms {

class VideoArea;

class CanvasView;
class GuideLines;
class HotLabel;
class OutlineShape;
class TwinButton;

// The controls of the main window, created on it at their places with their pictures. Every
// control's object name is its name in the design ("LabSM", "Label9_3", "bckelm_1" ...).
class FrmzjmControls {
  public:
    FrmzjmControls(QWidget* window, StudioState& s, const QString& programFolder);

    // Shows the studio and shell state: captions, colours, visibility, enabled states.
    void show(const StudioState& s, const ShellState& shell);
    // The slot pictures and previews; an empty slot shows a blank card.
    void showSlotPictures(const ShellState& shell);
    // The tool outlines alone: what a mouse move over a view changes besides its pictures.
    void showOutlines(const ToolState& t);
    // The info picture (null: cleared) and the suitability boxes, bound to a record or not.
    void showInfoPicture(const QImage& picture);
    void showSuitability(bool bound, const std::array<bool, 11>& states);

    QImage background;
    CanvasView* Pichuaban = nullptr;
    CanvasView* Picfangda = nullptr;
    CanvasView* Pichuaban1 = nullptr;
    VideoArea* Picshipin =
        nullptr;  // the camera's picture  // stands in for the canvas view while the eyedropper picks
    OutlineShape* Shape5 = nullptr;
    OutlineShape* Shape6 = nullptr;
    GuideLines* Shape1 = nullptr;  // guide lines of the photo fit
    QProgressBar* Bar1 = nullptr;  // progress of the long loops of the photo adjustment
    QLabel* LabSM = nullptr;
    QLabel* Label1 = nullptr;
    HotLabel* Label2 = nullptr;
    std::array<HotLabel*, 5> Label9{};
    std::array<HotLabel*, kHotAreaCount> wuguan{};
    std::array<HotLabel*, kHotAreaCount> toolImage{};  // nullptr at hot area 5
    TwinButton* Imgshijian1 = nullptr;
    TwinButton* Imgchexiao1 = nullptr;
    TwinButton* Imghuifu1 = nullptr;
    TwinButton* Imgbangzhu1 = nullptr;
    TwinButton* Imgmin1 = nullptr;
    TwinButton* Imgtuichu1 = nullptr;
    QMenu* shijiansheding = nullptr;
    HotLabel* Imgda = nullptr;
    HotLabel* Imgxiao = nullptr;
    HotLabel* Image3 = nullptr;
    QSlider* Slider1 = nullptr;
    QFrame* Fragjbz = nullptr;  // the retouch panel: Slider1 and the usage texts of the tools
    std::array<HotLabel*, kSlotCount> bckelm{};
    std::array<HotLabel*, kSlotCount> bckelmdt{};
    QLabel* Image1 = nullptr;  // info picture of the hairstyle applied last
    // The client's face shape, under the info picture; shown once a photo has been accepted. Not
    // the "适合脸型" boxes, which belong to the hairstyle's record.
    QPushButton* ClientFace = nullptr;
    std::array<QCheckBox*, 5> Check2{};
    std::array<QCheckBox*, 3> Check3{};
    std::array<QCheckBox*, 3> Check4{};
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

  private:
    void buildWorkArea(QWidget* w, StudioState& s);
    void buildToolStrip(QWidget* w, const QString& P);
    void buildButtons(QWidget* w, const QString& P);
    void buildPanel(QWidget* w, const QString& P);
    void buildSlots(QWidget* w);
    void buildChecks(QWidget* w);
    void buildRetouchPanel(QWidget* w);
    void showToolStrip(const ShellState& shell);

    std::array<QPixmap, kHotAreaCount> hoverLook_, activeLook_;
};

}  // namespace ms
