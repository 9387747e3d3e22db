#include "photo/FaceFit.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <complex>

#include "compositor/Document.h"
#include "imaging/PixelHelpers.h"
#include "imaging/Rounding.h"

namespace ms {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr QPointF kTurnCentre{190, 240};  // the rotation slider turns the canvas about this pixel
// A scaled source larger than this is cut to a window of this size around the face.
constexpr int kMaxSourceWidth = 2 * kPhotoMaxWidth, kMaxSourceHeight = 2 * kPhotoMaxHeight;

QPointF turn(QPointF p, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c * p.x() - s * p.y(), s * p.x() + c * p.y()};
}

QPointF centreOf(QSize size) { return {(size.width() - 1) / 2.0, (size.height() - 1) / 2.0}; }

}  // namespace

QPointF Similarity::map(QPointF p) const { return turn(p, radians) * scale + shift; }

const std::vector<FaceTarget>& faceTargets() {
    // Eyes 80 pixels apart: the brows' outer ends then span the eyebrow placement's 180 pixels, and the
    // eye-to-mouth distance (84) is that of an average face. The jaw's top ends lie in front of the
    // ears, level with the eyes, above the earlobes of the earring placement. Eyes weigh most: the
    // brows, glasses and lips are placed by them.
    static const std::vector<FaceTarget> targets{
        {36, 41, {150, 206}, 4}, {42, 47, {230, 206}, 4},  // eyes
        {17, 21, {146, 182}, 1}, {22, 26, {234, 182}, 1},  // brows
        {48, 67, {190, 290}, 3},                           // mouth
        {0, 0, {104, 214}, 1},   {16, 16, {276, 214}, 1},  // jaw before the ears
    };
    return targets;
}

FeaturePairs featurePairs(const FoundFace& face) {
    FeaturePairs out;
    if (face.landmarks.size() == 68) {
        for (const FaceTarget& t : faceTargets()) {
            out.from.push_back(landmarkCentre(face.landmarks, t.firstLandmark, t.lastLandmark));
            out.to.push_back(t.target);
            out.weights.push_back(t.weight);
        }
        return out;
    }
    // Where the eyes and the mouth lie in the detector's box, on average over upright portraits.
    struct BoxPoint {
        double x, y;
        int target;
    };
    static constexpr BoxPoint kInBox[] = {{0.275, 0.27, 0}, {0.725, 0.27, 1}, {0.5, 0.74, 4}};
    const QPointF centre = face.box.center();
    const double tilt = -face.searchRotation * kPi / 180;
    for (const BoxPoint& b : kInBox) {
        const QPointF p(face.box.left() + b.x * face.box.width(), face.box.top() + b.y * face.box.height());
        out.from.push_back(turn(p - centre, tilt) + centre);
        out.to.push_back(faceTargets()[size_t(b.target)].target);
        out.weights.push_back(faceTargets()[size_t(b.target)].weight);
    }
    return out;
}

QPointF anchorOf(const FeaturePairs& pairs) {
    double wsum = 0;
    QPointF sum;
    for (size_t i = 0; i < pairs.from.size(); ++i) {
        wsum += pairs.weights[i];
        sum += pairs.from[i] * pairs.weights[i];
    }
    return wsum > 0 ? sum / wsum : QPointF();
}

Similarity solveSimilarity(const FeaturePairs& pairs) {
    double wsum = 0;
    QPointF pm, qm;
    for (size_t i = 0; i < pairs.from.size(); ++i) {
        wsum += pairs.weights[i];
        pm += pairs.from[i] * pairs.weights[i];
        qm += pairs.to[i] * pairs.weights[i];
    }
    Similarity fit;
    if (wsum <= 0) return fit;
    pm /= wsum;
    qm /= wsum;
    // As complex numbers, the best z in q = z p (centred) is sum(w conj(p) q) / sum(w |p|^2).
    std::complex<double> num = 0;
    double den = 0;
    for (size_t i = 0; i < pairs.from.size(); ++i) {
        const std::complex<double> p(pairs.from[i].x() - pm.x(), pairs.from[i].y() - pm.y());
        const std::complex<double> q(pairs.to[i].x() - qm.x(), pairs.to[i].y() - qm.y());
        num += pairs.weights[i] * std::conj(p) * q;
        den += pairs.weights[i] * std::norm(p);
    }
    if (den <= 0 || std::abs(num) <= 0) return fit;
    const std::complex<double> z = num / den;
    fit.scale = std::abs(z);
    fit.radians = std::arg(z);
    fit.shift = qm - fit.map(pm) + fit.shift;
    return fit;
}

FacePlan planFaceFit(QSize work, const Similarity& solved, QPointF anchor) {
    FacePlan plan;
    Similarity fit = solved;
    const int degrees = roundHalfEven(fit.radians * 180 / kPi);
    plan.rotation = std::clamp(degrees, -15, 15);
    plan.preTurn = degrees - plan.rotation;
    if (plan.preTurn != 0) {
        // Photo points move with the turned copy: p' = R(e)(p - m) + m; the fit of p' is the fit of p.
        const double e = plan.preTurn * kPi / 180;
        const QPointF m = centreOf(work);
        const QPointF before = fit.map(m);
        fit.radians -= e;
        fit.shift += before - fit.map(m);
        anchor = turn(anchor - m, e) + m;
    }
    const int size = std::clamp(roundHalfEven(50 * fit.scale), 1, 100);
    const double f = size / 50.0, g = fit.scale / f;
    plan.scaledSize =
        QSize(std::max(1, roundHalfEven(work.width() * g)), std::max(1, roundHalfEven(work.height() * g)));
    const double gx = double(plan.scaledSize.width()) / work.width(),
                 gy = double(plan.scaledSize.height()) / work.height();
    // The anchor's canvas point before the slider's turn; what is left of the angle after rounding
    // turns about the anchor, so the face itself lands where it should.
    const QPointF target = fit.map(anchor);
    const QPointF before = turn(target - kTurnCentre, -plan.rotation * kPi / 180) + kTurnCentre;
    // Pixel u of a picture placed at x0 with scale f covers canvas x0 + u f .. x0 + (u + 1) f.
    const QPointF scaled((anchor.x() + 0.5) * gx, (anchor.y() + 0.5) * gy);
    double x0 = before.x() + 0.5 - scaled.x() * f, y0 = before.y() + 0.5 - scaled.y() * f;
    plan.window = QRect(QPoint(0, 0), plan.scaledSize);
    auto across = [&] { return x0 - (kCanvasWidth - plan.window.width() * f) / 2; };
    auto up = [&] { return (kCanvasHeight - plan.window.height() * f) / 2 - y0; };
    const bool large =
        plan.scaledSize.width() > kMaxSourceWidth || plan.scaledSize.height() > kMaxSourceHeight;
    if (large || std::abs(across()) > 100 || std::abs(up()) > 100) {
        const QSize w(std::min(plan.scaledSize.width(), kMaxSourceWidth),
                      std::min(plan.scaledSize.height(), kMaxSourceHeight));
        const int kx = roundHalfEven(((kCanvasWidth - w.width() * f) / 2 - x0) / f);
        const int ky = roundHalfEven(((kCanvasHeight - w.height() * f) / 2 - y0) / f);
        plan.window = QRect(QPoint(kx, ky), w);
        x0 += kx * f;
        y0 += ky * f;
    }
    plan.sliders = {size, std::clamp(roundHalfEven(across()), -100, 100),
                    std::clamp(roundHalfEven(up()), -100, 100)};
    return plan;
}

QImage turnedPhoto(const QImage& picture, int degrees) {
    QImage out(picture.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
    p.translate(centre);
    p.rotate(degrees);
    p.translate(-centre);
    p.drawImage(0, 0, picture);
    return out;
}

QImage planSource(const QImage& workingCopy, const FacePlan& plan) {
    const QImage base = plan.preTurn != 0 ? turnedPhoto(workingCopy, plan.preTurn) : workingCopy;
    const QRect whole(QPoint(0, 0), plan.scaledSize);
    if (plan.window == whole) return resampled(base, plan.scaledSize, whole);
    QImage out(plan.window.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    const QRect visible = plan.window & whole;
    if (visible.isEmpty()) return out;
    const QImage part = resampled(base, plan.scaledSize, visible);
    QPainter p(&out);
    p.drawImage(visible.topLeft() - plan.window.topLeft(), part);
    return out;
}

}  // namespace ms
