#pragma once
#include <QWidget>

namespace ms {

// A brush outline drawn over a view (Shape5 on the canvas view, Shape6 on the magnified view).
// It lets the mouse through to the view below.
class OutlineShape : public QWidget {
    Q_OBJECT
  public:
    explicit OutlineShape(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace ms
