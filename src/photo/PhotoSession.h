#pragma once
#include <QImage>
#include <memory>

#include "base/Status.h"
#include "compositor/StudioState.h"
#include "photo/FaceShape.h"
#include "photo/PhotoAdjust.h"

namespace ms {

class FaceFinder;
struct FoundFace;

// What the automatic fit set: the values the fit sliders show and the rotation slider's value.
struct AlignResult {
    FitSliders sliders;
    int rotation = 0;
    bool byLandmarks = false;  // false: fitted by the face box alone
};

// The photo adjustment on the studio state, without widgets: a client's photo fitted to the canvas,
// turned, its colours and skin tone corrected, its background replaced, and taken as the design's photo.
// The window owns one while it is open, shows the canvas view and forwards its sliders and buttons here.
class PhotoSession {
  public:
    explicit PhotoSession(StudioState& s) : s_(s) {}

    // A decoded photo becomes the source (as its working copy) and is fitted with the start values.
    void takeIn(const QImage& decoded);
    // The size and position sliders moved: the source fitted anew becomes the canvas view, the
    // background and the working photo.
    void fit(FitSliders sliders);
    // "自动对齐": finds the face on the photo as it was taken in and fits it so that eyes, brows, mouth
    // and ears land on the components' default placements, through the window's own steps: a fit with
    // the size and position sliders, then a turn with the rotation slider. With no face found it says
    // so and nothing changes. The face's shape is kept for "确定".
    Status autoAlign(const FaceFinder& finder, AlignResult& out);
    // The same fit for a face already found on the photo as taken in.
    void alignTo(const FoundFace& face, AlignResult& out);
    // "复原": the plain fit again with the current slider values; colour and skin changes are dropped.
    void restore();
    FitSliders fitSliders() const { return sliders_; }

    // "图象需要旋转调节": the canvas view is captured for rotation. Returns the values the size and
    // position sliders must show from now on (the start values); nothing is fitted again.
    FitSliders prepareRotation();
    // The rotation slider released: the captured picture turned by `degrees` (about the canvas centre,
    // clockwise for positive degrees) becomes the canvas view, the background and the source, so that a
    // later fit starts from the turned picture at scale 1. Captures first when nothing was captured.
    void rotate(int degrees);

    // A colour slider moved: the background with the sliders' change becomes the background and the
    // working photo, and the design is composed again (changes add up until "复原").
    Status adjustColours(ColourSliders sliders);
    // "自动调肤色": the same with the skin tone correction measured on the canvas view. Refused when the
    // canvas view does not hold the skin patch.
    Status correctSkinTone();
    // "去背景": the studio backdrop (baheng/00.jpg, masked by baheng/00p.jpg) over the background, the
    // photo as the cut-out layer; the result becomes the working and the reference photo. When either
    // file cannot be read it reports which and nothing changes.
    Status replaceBackground();
    // "确定": the working photo becomes the background and the reference photo; the guide lines go. The
    // client's face shape becomes the one measured by the last automatic fit (unknown without one), and
    // an earlier stylist's choice is dropped: this is a new photo.
    void accept();

    // The guide lines on the canvas: shown when the window opens.
    bool guidesShown() const { return guides_; }
    void toggleGuides() { guides_ = !guides_; }

    // The source picture the fit scales: the working copy of the photo, or the turned picture.
    const QImage& source() const { return source_; }

    // Called once per column during the rotation capture and the skin tone, for the progress bar.
    void setProgress(ColumnProgress progress) { progress_ = std::move(progress); }

  private:
    void showOnCanvas(const QImage& picture);

    StudioState& s_;
    QImage photo_;  // the working copy as taken in: what the automatic fit starts from
    QImage source_;
    FaceShapeReading shape_;
    FitSliders sliders_;
    std::unique_ptr<RotationGrid> grid_;  // about 1 MB, only between a capture and the end of the session
    bool guides_ = true;
    ColumnProgress progress_;
};

}  // namespace ms
