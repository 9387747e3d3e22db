#include "photo/PhotoSession.h"

#include "compositor/Composition.h"
#include "compositor/Preparation.h"
#include "imaging/Surface.h"
#include "photo/FaceFit.h"
#include "platform/FaceFinder.h"
#include "platform/PictureFile.h"

namespace ms {

void PhotoSession::showOnCanvas(const QImage& picture) {
    Views& v = s_.session.views;
    v.Pichuaban = picture;
    if (v.PicfangdaVisible) magnifyView(v);
}

void PhotoSession::takeIn(const QImage& decoded) {
    source_ = photo_ = workingCopy(decoded);
    shape_ = {};
    grid_.reset();
    fit(FitSliders{});
}

void PhotoSession::fit(FitSliders sliders) {
    sliders_ = sliders;
    const QImage fitted = fitPhoto(source_, sliders);
    showOnCanvas(fitted);
    s_.doc.design.Picbeijing = fitted;
    s_.doc.design.PicMT = fitted;
}

Status PhotoSession::autoAlign(const FaceFinder& finder, AlignResult& out) {
    const std::optional<FoundFace> face = finder.find(photo_);
    if (!face) return Status::notFound(QStringLiteral("照片中没有找到人脸，请用滑块手动调整大小和位置。"));
    alignTo(*face, out);
    return Status::success();
}

void PhotoSession::alignTo(const FoundFace& face, AlignResult& out) {
    const FeaturePairs pairs = featurePairs(face);
    const FacePlan plan = planFaceFit(photo_.size(), solveSimilarity(pairs), anchorOf(pairs));
    source_ = planSource(photo_, plan);
    grid_.reset();
    fit(plan.sliders);
    if (plan.rotation != 0) {
        prepareRotation();
        rotate(plan.rotation);
    }
    shape_ = readFaceShape(face.landmarks);
    out = {sliders_, plan.rotation, !face.landmarks.empty()};
}

void PhotoSession::restore() { fit(sliders_); }

FitSliders PhotoSession::prepareRotation() {
    if (!grid_) grid_ = std::make_unique<RotationGrid>();
    captureRotation(s_.session.views.Pichuaban, *grid_, progress_);
    sliders_ = FitSliders{};
    return sliders_;
}

void PhotoSession::rotate(int degrees) {
    if (!grid_) prepareRotation();
    const QImage turned = rotatePhoto(*grid_, degrees);
    showOnCanvas(turned);
    // The working photo takes the turn too, or "确定" would give back the unturned photo.
    s_.doc.design.Picbeijing = s_.doc.design.PicMT = turned;
    source_ = turned;
}

Status PhotoSession::adjustColours(ColourSliders sliders) {
    DesignState& d = s_.doc.design;
    d.Picbeijing = ms::adjustColours(d.Picbeijing, sliders);
    d.PicMT = d.Picbeijing;
    return huaban_hecheng2(s_);
}

Status PhotoSession::correctSkinTone() {
    if (!coversSkinPatch(s_.session.views.Pichuaban))
        return Status::refused(QStringLiteral("画板图片不完整，无法自动调肤色。"));
    DesignState& d = s_.doc.design;
    d.Picbeijing = ms::correctSkinTone(s_.session.views.Pichuaban, d.Picbeijing, progress_);
    d.PicMT = d.Picbeijing;
    return huaban_hecheng2(s_);
}

Status PhotoSession::replaceBackground() {
    // Both files are read before anything changes.
    QImage colour, mask;
    const QString context = QStringLiteral("无法去背景：");
    if (Status st = loadPicture(s_.path(QStringLiteral("baheng/00.jpg")), PicturePurpose::Canvas, colour);
        !st)
        return st.prefixed(context);
    if (Status st = loadPicture(s_.path(QStringLiteral("baheng/00p.jpg")), PicturePurpose::Canvas, mask); !st)
        return st.prefixed(context);
    DesignState& d = s_.doc.design;
    d.PicRGB = colour;
    d.PicA = mask;
    // The canvas is shared with the views after an output step: a fresh buffer instead of a copy of pixels
    // about to be covered.
    QImage& canvas = s_.doc.surfaces.canvas;
    if (canvas.isNull() || !canvas.isDetached() || canvas.size() != QSize(kCanvasWidth, kCanvasHeight))
        canvas = QImage(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
    if (d.Picbeijing.width() < kCanvasWidth || d.Picbeijing.height() < kCanvasHeight) canvas.fill(Qt::white);
    copyOpaque(canvas, d.Picbeijing);
    if (Status st = xiushi_hecheng(s_); !st) return st.prefixed(context);
    outputStep(s_);
    d.PicMT = s_.session.views.Pichuaban.convertToFormat(QImage::Format_RGB32);
    d.PicMT0 = d.PicMT;
    return Status::success();
}

void PhotoSession::accept() {
    DesignState& d = s_.doc.design;
    d.Picbeijing = d.PicMT;
    d.PicMT0 = d.PicMT;
    guides_ = false;
    grid_.reset();
    s_.session.clientFace = {
        shape_.shape, shape_.nearest,
        shape_.shape == FaceShape::Unknown ? QString() : describeMeasures(shape_.measures),
        FaceShape::Unknown};
}

}  // namespace ms
