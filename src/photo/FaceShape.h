#pragma once
#include <QPointF>
#include <QString>
#include <vector>

#include "compositor/Session.h"

namespace ms {

// What the face shape is read from, measured on the 68 landmarks turned so that the eyes are level.
struct FaceMeasures {
    double facialIndex = 0;  // face length (brow line to chin) over cheek width
    double jawToCheek = 0;   // jaw width over cheek width
    double browToJaw = 0;    // brow width (outer brow ends) over jaw width
    double jawAngle = 0;     // degrees, at the jaw's corner: 180 is a straight jaw line
    double chinAngle = 0;    // degrees, at the chin: small is pointed
};

struct FaceShapeReading {
    FaceShape shape = FaceShape::Unknown;
    FaceShape nearest = FaceShape::Unknown;  // set when the face lies near the boundary to this shape
    FaceMeasures measures;
};

// Needs the 68 landmarks; fewer give Unknown.
FaceMeasures measureFace(const std::vector<QPointF>& landmarks);
FaceShapeReading readFaceShape(const std::vector<QPointF>& landmarks);

// The measures in words, for a tooltip.
QString describeMeasures(const FaceMeasures& m);

}  // namespace ms
