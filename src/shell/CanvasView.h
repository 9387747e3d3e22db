#pragma once
#include <QImage>
#include <QWidget>

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

  protected:
    void paintEvent(QPaintEvent*) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    const QImage* picture_;
    QSize size_;
};

}  // namespace ms
