#pragma once
#include <QFrame>
#include <QImage>

namespace ms {

// One thumbnail image (ImgTK(i)): shows its picture, outlines itself while the pointer is over it,
// looks sunken while pressed and reports a click when the button comes up over it.
class ThumbnailButton : public QFrame {
    Q_OBJECT
  public:
    ThumbnailButton(int index, QSize pictureSize, QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    int index() const { return index_; }

  signals:
    void clicked(int index);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    int index_;
    QImage picture_;
    bool hovered_ = false;
};

}  // namespace ms
