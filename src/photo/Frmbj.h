#pragma once
#include <QImage>
#include <QWidget>
#include <array>
#include <memory>

#include "compositor/StudioState.h"
#include "photo/PhotoAdjust.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace ms {

class FaceFinder;
class PhotoSession;

// The photo adjustment window: a new client photo is fitted to the canvas with guide lines,
// moved, scaled, turned, its colours and skin tone corrected and its background replaced, each
// step seen in place on the main window's canvas; "确定" makes it the working and reference photo.
// The window only turns its controls into calls on the photo session and says what changed.
class Frmbj : public QWidget {
    Q_OBJECT
  public:
    // `faces` finds the face for the automatic fit; without it the window fits by hand only.
    Frmbj(StudioState& s, QWidget* owner, const FaceFinder* faces = nullptr);
    ~Frmbj() override;

    // Image1 takes the working copy of a new photo, which is fitted with the start values and then,
    // with a face finder, fitted to the face.
    void takeIn(QImage workingCopy);
    // "自动对齐".
    void autoAlign();
    PhotoSession& session() { return *session_; }

  signals:
    // The canvas view changed: the main window shows it again.
    void canvasChanged();
    // The guide lines (Shape1) on the canvas view are to be shown or hidden.
    void guidesShown(bool shown);
    // Progress of a long step (Bar1), by canvas column 0 .. 380; -1 hides the bar.
    void progress(int column);
    void problem(const QString& message);
    // "确定": the photo is the design's now; the window closes.
    void accepted();

  private:
    QWidget* buildFit();
    QWidget* buildColours();
    QWidget* buildButtons();
    QSlider* slider(const QString& name, int lo, int hi, int start, Qt::Orientation o = Qt::Horizontal);
    void fit();
    void prepareRotation();
    void rotate();
    void adjustColours();
    void report(bool ok, const QString& message);
    void showSource();
    void showFitSliders(FitSliders shown);

    std::unique_ptr<PhotoSession> session_;
    const FaceFinder* faces_;
    QLabel* Image1_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QSlider* Slider1_ = nullptr;
    QSlider* Slider2_ = nullptr;
    QSlider* Slider3_ = nullptr;
    QSlider* Slider4_ = nullptr;
    QRadioButton* Option1_ = nullptr;
    QPushButton* AutoAlign_ = nullptr;
    std::array<QSlider*, 4> cpvyanse_{};
};

}  // namespace ms
