#pragma once
#include <QLabel>

namespace ms {

// A label that acts as a control: it reports the pointer entering it and the button pressed and
// released on it, and keeps its mouse moves from reaching the window behind it (whose own mouse
// move means "pointer over the bare window").
class HotLabel : public QLabel {
    Q_OBJECT
  public:
    explicit HotLabel(QWidget* parent = nullptr);
    HotLabel(const QString& text, QWidget* parent = nullptr);

    // Fills the label with a plain colour (the graphical buttons of the small windows).
    void setBackground(const QColor& colour);
    QColor background() const { return background_; }
    void setTextColour(const QColor& colour);
    QColor textColour() const { return textColour_; }

  signals:
    void entered();
    void pressed(Qt::MouseButton button);
    void released(Qt::MouseButton button);

  protected:
    void enterEvent(QEnterEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QColor background_;
    QColor textColour_ = Qt::black;
};

}  // namespace ms
