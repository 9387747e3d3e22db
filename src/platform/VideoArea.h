#pragma once
#include <QImage>
#include <QWidget>

namespace ms {

// The main window's video area (Picshipin): the camera's picture over the canvas, scaled to fit
// with its proportions kept, on black.
class VideoArea : public QWidget {
  public:
    explicit VideoArea(QWidget* parent);
    void setFrame(const QImage& frame);
    const QImage& frame() const { return frame_; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QImage frame_;
};

}  // namespace ms
