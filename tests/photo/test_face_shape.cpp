#include <gtest/gtest.h>

#include <QTransform>
#include <cmath>

#include "photo/FaceShape.h"

using namespace ms;

namespace {

// A face built by hand in the 68-point layout, in eye distances (the eyes at (-0.5, 0) and (0.5, 0)):
// the jaw runs from the cheeks (`cheek` wide, level with the eyes) through the jaw's corner (`jaw` wide,
// half-way down) to the chin, `length` below the brows; `roundness` shapes it from the corner to the
// chin (1 a straight line, 2 an ellipse, large a square corner).
std::vector<QPointF> handBuiltFace(double cheek, double jaw, double length, double roundness) {
    std::vector<QPointF> p(68);
    const double browY = -0.3, top = 0.05, chinY = browY + length;
    for (int i = 0; i <= 8; ++i) {
        const double t = i / 8.0, y = top + (chinY - top) * t;
        double half;
        if (t <= 0.125)
            half = cheek / 2;
        else if (t <= 0.5)
            half = cheek / 2 + (jaw - cheek) / 2 * (t - 0.125) / 0.375;
        else
            half = jaw / 2 * std::pow(1 - std::pow((t - 0.5) / 0.5, roundness), 1 / roundness);
        p[size_t(i)] = {-half, y};
        p[size_t(16 - i)] = {half, y};
    }
    for (int i = 0; i < 5; ++i) {
        p[size_t(17 + i)] = {-1.05 + 0.2 * i, browY - 0.05 * std::sin(i * M_PI / 4)};
        p[size_t(26 - i)] = {1.05 - 0.2 * i, browY - 0.05 * std::sin(i * M_PI / 4)};
    }
    for (int i = 0; i < 9; ++i)
        p[size_t(27 + i)] = {i < 4 ? 0.0 : (i - 6) * 0.1, 0.1 + std::min(i, 4) * 0.15};
    for (int e = 0; e < 2; ++e)
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3;
            p[size_t(36 + 6 * e + i)] = {(e ? 0.5 : -0.5) - 0.2 * std::cos(a), -0.08 * std::sin(a)};
        }
    for (int i = 0; i < 20; ++i) {
        const double a = i * 2 * M_PI / (i < 12 ? 12 : 8);
        p[size_t(48 + i)] = {-(i < 12 ? 0.45 : 0.3) * std::cos(a),
                             1.1 + (i < 12 ? 0.15 : 0.05) * std::sin(a)};
    }
    return p;
}

std::vector<QPointF> placed(std::vector<QPointF> face, double scale, double degrees, QPointF at) {
    const QTransform t = QTransform().translate(at.x(), at.y()).rotate(degrees).scale(scale, scale);
    for (QPointF& q : face) q = t.map(q);
    return face;
}

struct Archetype {
    FaceShape shape;
    double cheek, jaw, length, roundness;
};
const Archetype kArchetypes[] = {
    {FaceShape::Oval, 2.2, 1.75, 2.1, 2.0},    {FaceShape::Round, 2.35, 2.0, 1.9, 2.2},
    {FaceShape::Square, 2.2, 2.05, 2.0, 5.0},  {FaceShape::Long, 2.0, 1.6, 2.45, 2.0},
    {FaceShape::Pointed, 2.2, 1.45, 2.1, 1.1},
};

}  // namespace

// Each shape built by hand reads as itself, whatever its size, place, tilt and side.
TEST(FaceShapes, HandBuiltFacesReadAsTheirShape) {
    for (const Archetype& a : kArchetypes) {
        SCOPED_TRACE(faceShapeName(a.shape).toStdString());
        const std::vector<QPointF> face = handBuiltFace(a.cheek, a.jaw, a.length, a.roundness);
        for (const auto& [scale, degrees] :
             {std::pair{80.0, 0.0}, std::pair{33.0, 12.0}, std::pair{150.0, -20.0}}) {
            const FaceShapeReading r = readFaceShape(placed(face, scale, degrees, {300, 200}));
            EXPECT_EQ(r.shape, a.shape) << describeMeasures(r.measures).toStdString();
            EXPECT_EQ(r.nearest, FaceShape::Unknown) << describeMeasures(r.measures).toStdString();
        }
    }
}

// Half-way between two shapes the reading names both; fewer than 68 points read nothing.
TEST(FaceShapes, BetweenTwoShapesBothAreNamed) {
    const Archetype& oval = kArchetypes[0];
    const Archetype& lng = kArchetypes[3];
    const FaceShapeReading r =
        readFaceShape(placed(handBuiltFace((oval.cheek + lng.cheek) / 2, (oval.jaw + lng.jaw) / 2,
                                           (oval.length + lng.length) / 2, 2.0),
                             80, 0, {200, 200}));
    EXPECT_TRUE((r.shape == FaceShape::Oval && r.nearest == FaceShape::Long) ||
                (r.shape == FaceShape::Long && r.nearest == FaceShape::Oval))
        << faceShapeName(r.shape).toStdString() << " / " << faceShapeName(r.nearest).toStdString();
    ClientFace f{r.shape, r.nearest, describeMeasures(r.measures), FaceShape::Unknown};
    EXPECT_TRUE(clientFaceCaption(f).contains(faceShapeName(r.nearest)));
    EXPECT_TRUE(clientFaceTooltip(f).contains(QStringLiteral("之间")));
    // The stylist's choice stands over the measure.
    f.chosen = FaceShape::Square;
    EXPECT_EQ(f.shape(), FaceShape::Square);
    EXPECT_TRUE(clientFaceCaption(f).contains(QStringLiteral("方脸")));

    EXPECT_EQ(readFaceShape(std::vector<QPointF>(67, QPointF(1, 1))).shape, FaceShape::Unknown);
    EXPECT_EQ(readFaceShape(std::vector<QPointF>(68, QPointF(1, 1))).shape, FaceShape::Unknown);
}
