#include "photo/FaceShape.h"

#include <QLineF>
#include <array>
#include <cmath>

#include "platform/FaceFinder.h"

namespace ms {

namespace {

// The studio's own rule set: no published thresholds are validated, so each shape is a typical set of
// measures and a face takes the nearest, each measure counted in its own spread. Within kNearMargin of
// the second nearest the face is said to lie between the two.
struct ShapePrototype {
    FaceShape shape;
    FaceMeasures typical;
};
constexpr std::array<ShapePrototype, 5> kPrototypes{{
    {FaceShape::Oval, {0.98, 0.80, 1.20, 160, 120}},
    {FaceShape::Round, {0.83, 0.85, 1.05, 160, 133}},
    {FaceShape::Square, {0.93, 0.93, 1.02, 150, 136}},
    {FaceShape::Long, {1.25, 0.80, 1.31, 160, 106}},
    {FaceShape::Pointed, {0.98, 0.66, 1.45, 160, 86}},
}};
// How far each measure may stray within one shape; the jaw's corner says least (only the square one
// is sharper), as the landmarks along the jaw line are the least exact.
constexpr FaceMeasures kSpread{0.06, 0.05, 0.10, 12, 10};
constexpr double kNearMargin = 0.35;

double distance(const FaceMeasures& a, const FaceMeasures& b) {
    const auto sq = [](double d, double spread) { return (d / spread) * (d / spread); };
    return std::sqrt(sq(a.facialIndex - b.facialIndex, kSpread.facialIndex) +
                     sq(a.jawToCheek - b.jawToCheek, kSpread.jawToCheek) +
                     sq(a.browToJaw - b.browToJaw, kSpread.browToJaw) +
                     sq(a.jawAngle - b.jawAngle, kSpread.jawAngle) +
                     sq(a.chinAngle - b.chinAngle, kSpread.chinAngle));
}

// Interior angle at b, in degrees.
double angleAt(QPointF a, QPointF b, QPointF c) {
    const double d = std::abs(QLineF(b, a).angleTo(QLineF(b, c)));
    return d > 180 ? 360 - d : d;
}

}  // namespace

FaceMeasures measureFace(const std::vector<QPointF>& landmarks) {
    if (landmarks.size() != 68) return {};
    // Level the eyes: turn every point about the left eye by minus the eye line's angle.
    const QPointF left = landmarkCentre(landmarks, 36, 41), right = landmarkCentre(landmarks, 42, 47);
    const double a = -std::atan2(right.y() - left.y(), right.x() - left.x());
    const double c = std::cos(a), s = std::sin(a);
    std::vector<QPointF> p;
    p.reserve(68);
    for (const QPointF& q : landmarks) {
        const QPointF d = q - left;
        p.emplace_back(c * d.x() - s * d.y(), s * d.x() + c * d.y());
    }
    const auto width = [&](int i, int j) { return std::abs(p[size_t(j)].x() - p[size_t(i)].x()); };
    FaceMeasures m;
    const double cheek = width(1, 15), jaw = width(4, 12);
    const double browLine = (p[19].y() + p[24].y()) / 2;
    if (cheek <= 0 || jaw <= 0) return {};
    m.facialIndex = (p[8].y() - browLine) / cheek;
    m.jawToCheek = jaw / cheek;
    m.browToJaw = width(17, 26) / jaw;
    m.jawAngle = (angleAt(p[2], p[4], p[6]) + angleAt(p[14], p[12], p[10])) / 2;
    m.chinAngle = angleAt(p[6], p[8], p[10]);
    return m;
}

FaceShapeReading readFaceShape(const std::vector<QPointF>& landmarks) {
    FaceShapeReading r;
    if (landmarks.size() != 68) return r;
    r.measures = measureFace(landmarks);
    if (r.measures.facialIndex <= 0) return r;
    double best = 1e300, second = 1e300;
    for (const ShapePrototype& proto : kPrototypes) {
        const double d = distance(r.measures, proto.typical);
        if (d < best) {
            second = best;
            r.nearest = r.shape;
            best = d;
            r.shape = proto.shape;
        } else if (d < second) {
            second = d;
            r.nearest = proto.shape;
        }
    }
    if (second - best > kNearMargin) r.nearest = FaceShape::Unknown;
    return r;
}

QString describeMeasures(const FaceMeasures& m) {
    return QStringLiteral("脸长/颧宽 %1，下颌/颧宽 %2，眉宽/下颌 %3，下颌角 %4°，下巴角 %5°")
        .arg(m.facialIndex, 0, 'f', 2)
        .arg(m.jawToCheek, 0, 'f', 2)
        .arg(m.browToJaw, 0, 'f', 2)
        .arg(m.jawAngle, 0, 'f', 0)
        .arg(m.chinAngle, 0, 'f', 0);
}

}  // namespace ms
