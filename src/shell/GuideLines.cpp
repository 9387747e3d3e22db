#include "shell/GuideLines.h"

#include <QPainter>

namespace ms {

namespace {

// Where the default placements of the components expect the face on the 380 x 480 canvas.
constexpr int kMiddle = 190;
constexpr int kEyes = 206;
constexpr int kMouth = 290;
constexpr int kChin = 333;
constexpr QRectF kFace{113, 86, 154, 247};

}  // namespace

GuideLines::GuideLines(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void GuideLines::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Light and dark dashes together stay visible on any photo.
    for (const auto& [colour, offset] :
         {std::pair{QColor(255, 255, 255, 200), 0.0}, std::pair{QColor(200, 0, 0, 220), 4.0}}) {
        QPen pen(colour, 1, Qt::DashLine);
        pen.setDashPattern({4, 4});
        pen.setDashOffset(offset);
        p.setPen(pen);
        p.drawLine(QPointF(kMiddle + 0.5, 0), QPointF(kMiddle + 0.5, height()));
        for (int y : {kEyes, kMouth, kChin}) p.drawLine(QPointF(60, y + 0.5), QPointF(width() - 60, y + 0.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(kFace);
    }
}

}  // namespace ms
