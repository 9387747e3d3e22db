#pragma once
#include <QWidget>

namespace ms {

// Shape1: the guide lines over the canvas view while a photo is fitted. They mark where the
// studio's components expect the face: the middle, the eyes, the mouth, the chin and the outline
// of the face, in canvas pixels. They let the mouse through to the view below.
class GuideLines : public QWidget {
    Q_OBJECT
  public:
    explicit GuideLines(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace ms
