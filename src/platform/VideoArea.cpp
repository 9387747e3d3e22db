#include "platform/VideoArea.h"

#include <QPainter>

namespace ms {

VideoArea::VideoArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picshipin"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoArea::setFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void VideoArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (frame_.isNull()) return;
    QSize fitted = frame_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, frame_);
}

}  // namespace ms
