#pragma once
#include <QSlider>

namespace ms {

// A slider that tells when the stylist drags it with the mouse: `dragged` on every pointer movement
// while the left button alone is held (after the slider has followed the pointer), `released` when
// a mouse button comes up over it. Keyboard steps and programmatic changes tell neither.
class DragSlider : public QSlider {
    Q_OBJECT
  public:
    DragSlider(Qt::Orientation o, int lo, int hi, QWidget* parent);

  signals:
    void dragged(int value);
    void released(int value, Qt::MouseButton button);

  protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

}  // namespace ms
