#pragma once
#include <QPainterPath>
#include <QPointF>
#include <vector>

// Canvas geometry of the sample portrait (x right, y down). Every component is drawn to fit it, and
// the tests of the installation data read it too, so it is header-only and needs only QtGui.
namespace installdata::face {

constexpr int kCanvasW = 380, kCanvasH = 480;
constexpr double kMidX = 190.0;
constexpr double kEyeY = 206.0, kEyeLeftX = 155.0, kEyeRightX = 225.0;
constexpr double kBrowY = 184.0;
constexpr double kMouthY = 290.0;
constexpr double kChinY = 333.0;
// Where an earring hangs from the left lobe; the right one mirrors it about kMidX.
constexpr double kLobeX = 105.0, kLobeY = 257.0;
// The neck: its sides run at these x from below the ears to where it meets the shoulders.
constexpr double kNeckLeftX = 162.0, kNeckRightX = 218.0, kNeckBaseY = 330.0;

// Left half of the face outline, from the top of the forehead (on the middle) round the cheek to the
// chin (back on the middle); the portrait's skin is drawn to it and the hairstyles keep it clear.
inline std::vector<QPointF> faceHalfOutline() {
    return {{190, 86},  {160, 90},  {132, 108}, {118, 140},   {114, 180},   {114, 218},
            {118, 251}, {126, 283}, {145, 307}, {164, 325.5}, {177, 330.5}, {190, 331.5}};
}

// Left half of the neck and shoulders outline, from below the ear down past the canvas bottom;
// the right half mirrors it about kMidX. Clothing covers this body below its neckline.
inline std::vector<QPointF> bodyHalfOutline() {
    return {{163, 250}, {162, 300}, {159, 328}, {138, 343}, {100, 358},
            {60, 374},  {34, 396},  {22, 430},  {16, 470},  {14, 500}};
}

// Left half of the portrait's own close-cropped hair, crown (on the middle) round to the hairline
// (back on the middle). The portrait keeps its hair inside this outline, and every hairstyle covers
// all of it, so that a hairstyle never lets the portrait's own hair show.
inline std::vector<QPointF> ownHairHalfOutline() {
    return {{190, 77},  {158, 80},  {131, 92},  {114, 114}, {107, 145}, {106, 180}, {108, 208},
            {113, 214}, {116, 196}, {119, 166}, {126, 142}, {140, 127}, {162, 120}, {190, 117}};
}

// A closed region from the left half of its outline: straight segments through the points and their
// mirror images about kMidX.
inline QPainterPath symmetricRegion(const std::vector<QPointF>& half) {
    QPainterPath path(half.front());
    for (size_t i = 1; i < half.size(); ++i) path.lineTo(half[i]);
    for (size_t i = half.size(); i-- > 0;) path.lineTo(QPointF(2 * kMidX - half[i].x(), half[i].y()));
    path.closeSubpath();
    return path;
}

// The portrait's own hair, the whole outline closed.
inline QPainterPath ownHairRegion() { return symmetricRegion(ownHairHalfOutline()); }

}  // namespace installdata::face
