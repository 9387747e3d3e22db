#include "shell/CanvasView.h"

#include <QPainter>

namespace ms {

CanvasView::CanvasView(const QImage* picture, QSize size, QWidget* parent)
    : QWidget(parent), picture_(picture), size_(size) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_->isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawImage(QRect(QPoint(0, 0), size_), *picture_);
}

}  // namespace ms
