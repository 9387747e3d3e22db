#pragma once
#include <QString>

namespace ms {

// A face shape, as the client's and as the hairstyle records name them.
enum class FaceShape { Unknown, Round, Oval, Square, Long, Pointed };

// The client's face shape: measured on the photo when it is accepted, or chosen by the stylist,
// whose choice stands until the next photo.
struct ClientFace {
    FaceShape measured = FaceShape::Unknown;
    FaceShape nearest = FaceShape::Unknown;  // the next shape when the measure lies near a boundary
    QString measures;                        // the measured ratios and angles, for the tooltip
    FaceShape chosen = FaceShape::Unknown;   // the stylist's override; Unknown: none
    FaceShape shape() const { return chosen != FaceShape::Unknown ? chosen : measured; }
};

// "圆脸", "椭圆", "方脸", "长脸", "尖脸"; "" for Unknown.
inline QString faceShapeName(FaceShape shape) {
    static const char16_t* const kNames[] = {u"", u"圆脸", u"椭圆", u"方脸", u"长脸", u"尖脸"};
    return QString::fromUtf16(kNames[static_cast<int>(shape)]);
}

// The main window's face-shape line: "脸型：椭圆", with the near shape or the stylist's choice.
inline QString clientFaceCaption(const ClientFace& f) {
    if (f.chosen != FaceShape::Unknown)
        return QStringLiteral("脸型：%1\n（手选）").arg(faceShapeName(f.chosen));
    if (f.measured == FaceShape::Unknown) return QStringLiteral("脸型：未测出");
    if (f.nearest == FaceShape::Unknown) return QStringLiteral("脸型：%1").arg(faceShapeName(f.measured));
    return QStringLiteral("脸型：%1\n（近%2）").arg(faceShapeName(f.measured), faceShapeName(f.nearest));
}

inline QString clientFaceTooltip(const ClientFace& f) {
    QString measured = QStringLiteral("照片上没有测出脸型。");
    if (f.measured != FaceShape::Unknown) {
        measured = QStringLiteral("按照片测得：%1").arg(faceShapeName(f.measured));
        if (f.nearest != FaceShape::Unknown)
            measured +=
                QStringLiteral("（介于%1和%2之间）").arg(faceShapeName(f.measured), faceShapeName(f.nearest));
        measured += QStringLiteral("\n") + f.measures;
    }
    return measured + QStringLiteral("\n点击可改选客户的脸型。");
}

}  // namespace ms
