#include "shell/CanvasView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

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
