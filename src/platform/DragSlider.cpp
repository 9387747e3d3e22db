#include "platform/DragSlider.h"

#include <QMouseEvent>

namespace ms {

DragSlider::DragSlider(Qt::Orientation o, int lo, int hi, QWidget* parent) : QSlider(o, parent) {
    setRange(lo, hi);
    setPageStep(1);
    // The vertical sliders have their lowest value at the top.
    setInvertedAppearance(o == Qt::Vertical);
    setInvertedControls(o == Qt::Vertical);
}

void DragSlider::mouseMoveEvent(QMouseEvent* e) {
    QSlider::mouseMoveEvent(e);
    if (e->buttons() == Qt::LeftButton) emit dragged(value());
}

void DragSlider::mouseReleaseEvent(QMouseEvent* e) {
    QSlider::mouseReleaseEvent(e);
    emit released(value(), e->button());
}

}  // namespace ms
