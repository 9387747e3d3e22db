#include "shell/HotLabel.h"

#include <QMouseEvent>

namespace ms {

HotLabel::HotLabel(QWidget* parent) : HotLabel(QString(), parent) {}

HotLabel::HotLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAttribute(Qt::WA_NoMousePropagation);
}

void HotLabel::setBackground(const QColor& colour) {
    background_ = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    setAutoFillBackground(true);
}

void HotLabel::setTextColour(const QColor& colour) {
    if (colour == textColour_) return;
    textColour_ = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}

void HotLabel::enterEvent(QEnterEvent* e) {
    QLabel::enterEvent(e);
    emit entered();
}

void HotLabel::mouseMoveEvent(QMouseEvent* e) { e->accept(); }

void HotLabel::mousePressEvent(QMouseEvent* e) {
    e->accept();
    emit pressed(e->button());
}

void HotLabel::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    emit released(e->button());
}

}  // namespace ms
