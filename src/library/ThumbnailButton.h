#pragma once
#include <QFrame>
#include <QImage>

namespace ms {

// One thumbnail image (ImgTK(i)): shows its picture in the middle of its cell, outlines itself
// while the pointer is over it and while pressed, and reports a click when the button comes up
// over it. The cell is at least the picture's size, so that areas of different pictures line up.
class ThumbnailButton : public QFrame {
    Q_OBJECT
  public:
    ThumbnailButton(int index, QSize pictureSize, QWidget* parent = nullptr, QSize cellSize = {});
    void setPicture(const QImage& picture);
    // Text shown over the middle of the picture, e.g. "无" for the item that takes a component off.
    void setCaption(const QString& caption);
    const QImage& picture() const { return picture_; }
    const QString& caption() const { return caption_; }
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
    QString caption_;
    bool hovered_ = false;
    bool pressed_ = false;
};

}  // namespace ms
