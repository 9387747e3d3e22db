#include "library/ThumbnailButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace ms {

namespace {
constexpr int kBorder = 2;
const QColor kHighlight(200, 0, 0);
}  // namespace

ThumbnailButton::ThumbnailButton(int index, QSize pictureSize, QWidget* parent)
    : QFrame(parent), index_(index) {
    setFrameStyle(QFrame::Panel | QFrame::Plain);
    setLineWidth(kBorder);
    setFixedSize(pictureSize + QSize(2 * kBorder, 2 * kBorder));
    setObjectName(QStringLiteral("ImgTK%1").arg(index));
}

void ThumbnailButton::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void ThumbnailButton::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect inner = contentsRect();
    if (picture_.isNull())
        p.fillRect(inner, palette().window());
    else
        p.drawImage(inner.topLeft(), picture_);
    p.end();
    QFrame::paintEvent(e);
    if (hovered_ && isEnabled()) {
        QPainter outline(this);
        outline.setPen(kHighlight);
        outline.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ThumbnailButton::enterEvent(QEnterEvent* e) {
    hovered_ = true;
    update();
    QFrame::enterEvent(e);
}

void ThumbnailButton::leaveEvent(QEvent* e) {
    hovered_ = false;
    update();
    QFrame::leaveEvent(e);
}

void ThumbnailButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QFrame::mousePressEvent(e);
    setFrameShadow(QFrame::Sunken);
    e->accept();
}

void ThumbnailButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QFrame::mouseReleaseEvent(e);
    setFrameShadow(QFrame::Plain);
    e->accept();
    if (rect().contains(e->position().toPoint())) emit clicked(index_);
}

void ThumbnailButton::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange && !isEnabled()) setFrameShadow(QFrame::Plain);
    QFrame::changeEvent(e);
}

}  // namespace ms
