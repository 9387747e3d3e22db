#include "shell/CanvasView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace ms {

CanvasView::CanvasView(const QImage* picture, QSize size, QWidget* parent)
    : QWidget(parent), picture_(picture), size_(size) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // the tool outlines follow the pointer without a button
}

namespace {

CanvasEvent canvasEvent(MouseAction action, const QMouseEvent* e) {
    return {action, e->button(), e->buttons(), e->modifiers().testFlag(Qt::AltModifier), e->position()};
}

}  // namespace

void CanvasView::mousePressEvent(QMouseEvent* e) { emit mouse(canvasEvent(MouseAction::Down, e)); }
void CanvasView::mouseMoveEvent(QMouseEvent* e) { emit mouse(canvasEvent(MouseAction::Move, e)); }
void CanvasView::mouseReleaseEvent(QMouseEvent* e) { emit mouse(canvasEvent(MouseAction::Up, e)); }

void CanvasView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_->isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawImage(QRect(QPoint(0, 0), size_), *picture_);
}

namespace {

// The one local file a drag carries, or "".
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void CanvasView::dragEnterEvent(QDragEnterEvent* e) {
    if (!droppedFile(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void CanvasView::dropEvent(QDropEvent* e) {
    const QString path = droppedFile(e->mimeData());
    if (path.isEmpty()) return;
    e->acceptProposedAction();
    emit fileDropped(path);
}

}  // namespace ms
