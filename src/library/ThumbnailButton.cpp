#include "library/ThumbnailButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/Theme.h"

namespace ms {

namespace {
constexpr int kBorder = 2;
}  // namespace

ThumbnailButton::ThumbnailButton(int index, QSize pictureSize, QWidget* parent, QSize cellSize)
    : QFrame(parent), index_(index) {
    setFrameStyle(QFrame::NoFrame);
    setFixedSize(pictureSize.expandedTo(cellSize) + QSize(2 * kBorder, 2 * kBorder));
    setObjectName(QStringLiteral("ImgTK%1").arg(index));
}

void ThumbnailButton::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void ThumbnailButton::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

// A white card with the picture in its middle and a thin border: the accent under the pointer,
// a heavier one while pressed.
void ThumbnailButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect inner = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    p.fillRect(inner, isEnabled() ? theme::kPaper : theme::kWindow);
    if (!picture_.isNull()) {
        QRect at(QPoint(), picture_.size());
        at.moveCenter(inner.center());
        p.drawImage(at.topLeft(), picture_);
    }
    if (!caption_.isEmpty()) {
        p.setPen(theme::kMuted);
        QFont f = font();
        f.setPixelSize(std::max(12, std::min(inner.height() / 2, 20)));
        p.setFont(f);
        p.drawText(inner, Qt::AlignCenter, caption_);
    }
    const bool lit = hovered_ && isEnabled();
    const int width = pressed_ ? 2 : 1;
    p.setPen(QPen(lit || pressed_ ? theme::kAccent : theme::kLine, width));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
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
    pressed_ = true;
    update();
    e->accept();
}

void ThumbnailButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QFrame::mouseReleaseEvent(e);
    pressed_ = false;
    update();
    e->accept();
    if (rect().contains(e->position().toPoint())) emit clicked(index_);
}

void ThumbnailButton::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange && !isEnabled()) pressed_ = false;
    QFrame::changeEvent(e);
}

}  // namespace ms
