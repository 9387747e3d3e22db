#pragma once
#include <QImage>
#include <QWidget>

#include "retouch/ToolDispatch.h"

namespace ms {

// Shows one picture of the studio state at its own size (the canvas view or the magnified view).
class CanvasView : public QWidget {
    Q_OBJECT
  public:
    CanvasView(const QImage* picture, QSize size, QWidget* parent = nullptr);
    QSize sizeHint() const override { return size_; }

  signals:
    // A picture file dragged from the desktop's file manager and dropped on the view.
    void fileDropped(const QString& path);
    // A mouse press, move or release, at its position in the view's own pixels.
    void mouse(const CanvasEvent& e);

  protected:
    void paintEvent(QPaintEvent*) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    const QImage* picture_;
    QSize size_;
};

}  // namespace ms
