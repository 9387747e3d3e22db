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

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    const QImage* picture_;
    QSize size_;
};

}  // namespace ms
