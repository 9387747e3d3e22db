#pragma once
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

// The component library window for eyebrows, lips or accessories: six thumbnails a page in the
// square area (Frame2) or the strip area (Frame1), and the adjustment controls of its kind.
// The adjustment controls carry their captions and visibility but are not active yet.
class FrmTK : public LibraryWindow {
    Q_OBJECT
  public:
    FrmTK(StudioState& s, LibraryKind libraryKind, QWidget* owner);

    // The eyebrow side frame Framm; the eyebrow button shows it, the lip and accessory ones hide it.
    void setEyebrowSidesShown(bool shown);
    // The lip colour button Command8, shown by the lip button.
    void setLipColourButtonShown(bool shown);

  protected:
    void showThumbnails() override;

  private:
    QWidget* buildAreas();
    QWidget* buildAdjustments();
    QSlider* addSlider(QGridLayout* grid, int row, const QString& caption, Qt::Orientation o, int lo, int hi);

    QStackedWidget* areas_ = nullptr;
    QWidget* Frame1_ = nullptr;
    QWidget* Frame2_ = nullptr;
    std::vector<ThumbnailButton*> square_, strip_;
    QLabel* Label2_ = nullptr;
    QSlider* Slider2_ = nullptr;
    QSlider* Slider5_ = nullptr;
    QSlider* Slider6_ = nullptr;
    QLabel* Label5_ = nullptr;
    QLabel* Label6_ = nullptr;
    QRadioButton* check1_ = nullptr;
    QLabel* Label1_ = nullptr;
    QSlider* Slider1_ = nullptr;
    QPushButton* Cmdfuwei_ = nullptr;
    QPushButton* Command8_ = nullptr;
    QGroupBox* Framm_ = nullptr;
};

}  // namespace ms
