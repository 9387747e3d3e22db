#pragma once
#include <QPixmap>

#include "shell/HotLabel.h"

namespace ms {

// A small image button and its twin: the at-rest picture, and the hover picture that shows
// while the pointer is over it and hides while a button is held. One widget carries both looks,
// so the press and the release reach the same control. Named after the twin (e.g. "Imgmin1").
class TwinButton : public HotLabel {
    Q_OBJECT
  public:
    TwinButton(const QPixmap& rest, const QPixmap& hover, QWidget* parent = nullptr);
    bool twinShown() const { return twinShown_; }
    void showTwin(bool shown);

  signals:
    void activated(Qt::MouseButton button);  // released on it

  protected:
    void changeEvent(QEvent* e) override;

  private:
    void showLook();

    QPixmap rest_, hover_, disabled_;
    bool twinShown_ = false;
};

}  // namespace ms
