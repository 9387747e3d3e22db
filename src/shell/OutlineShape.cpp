#include "shell/OutlineShape.h"

#include <QPainter>

namespace ms {

OutlineShape::OutlineShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void OutlineShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Light over dark, so the outline shows on any part of the portrait.
    p.setPen(QPen(QColor(0, 0, 0, 140), 3));
    p.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    p.setPen(QPen(Qt::white, 1));
    p.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

}  // namespace ms
