#pragma once
#include <QImage>
#include <QPointF>
#include <QRect>
#include <vector>

#include "photo/PhotoAdjust.h"
#include "platform/FaceFinder.h"

namespace ms {

// A similarity on canvas pixels: p -> scale * R(radians) * p + shift, where R turns clockwise on the
// screen (rows grow downwards) for positive angles.
struct Similarity {
    double scale = 1, radians = 0;
    QPointF shift;
    QPointF map(QPointF p) const;
};

// Point pairs a fit is solved from: face points in the photo, their canvas targets, their weights.
struct FeaturePairs {
    std::vector<QPointF> from, to;
    std::vector<double> weights;
};

// The canvas points the face is fitted onto, derived from the components' default placements: the
// eyebrows drawn over (100 .. 280, 160 .. 200), the eyes just below them, the lips within
// (140 .. 240, 265 .. 315), the earlobes near x 105 and 275.
struct FaceTarget {
    int firstLandmark, lastLandmark;  // the landmarks averaged into the feature
    QPointF target;
    double weight;
};
const std::vector<FaceTarget>& faceTargets();

// The feature pairs of a found face: from its landmarks, or, without them, from its box alone (eyes
// and mouth where they lie in the detector's box on average, tilted as the search found it).
FeaturePairs featurePairs(const FoundFace& face);

// The least-squares similarity taking `from` onto `to` with the weights; scale > 0, no mirroring.
Similarity solveSimilarity(const FeaturePairs& pairs);

// How the photo window's own steps produce a fit: the working copy turned beyond the rotation
// slider's range (white corners), scaled beyond what the size slider's steps express, and cut to a
// window when the position sliders' range cannot reach (white outside the picture); then fitted with
// the sliders and turned by the rotation slider.
struct FacePlan {
    int preTurn = 0;  // clockwise degrees, about the working copy's centre
    QSize scaledSize;
    QRect window;  // in the scaled picture
    FitSliders sliders;
    int rotation = 0;  // Slider1, -15 .. 15
};
// `anchor` is the photo point the fit is exact at (the weighted centre of the face's features).
FacePlan planFaceFit(QSize workingCopy, const Similarity& fit, QPointF anchor);
// The weighted centre of the pairs' photo points.
QPointF anchorOf(const FeaturePairs& pairs);
// The source the plan's sliders are applied to.
QImage planSource(const QImage& workingCopy, const FacePlan& plan);

// The working copy turned clockwise by `degrees` about its centre, same size, white where it uncovers.
QImage turnedPhoto(const QImage& picture, int degrees);

}  // namespace ms
