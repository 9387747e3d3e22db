#include "shell/TwinButton.h"

#include <QEvent>
#include <QPainter>

namespace ms {

namespace {

QPixmap faded(const QPixmap& p) {
    QPixmap out(p.size());
    out.setDevicePixelRatio(p.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setOpacity(0.35);
    painter.drawPixmap(0, 0, p);
    return out;
}

}  // namespace

TwinButton::TwinButton(const QPixmap& rest, const QPixmap& hover, QWidget* parent)
    : HotLabel(parent), rest_(rest), hover_(hover), disabled_(faded(rest)) {
    setFixedSize(rest.size());
    connect(this, &HotLabel::entered, this, [this] { showTwin(true); });
    connect(this, &HotLabel::pressed, this, [this] { showTwin(false); });
    connect(this, &HotLabel::released, this, [this](Qt::MouseButton b) {
        showTwin(true);
        emit activated(b);
    });
    showLook();
}

void TwinButton::showTwin(bool shown) {
    twinShown_ = shown;
    showLook();
}

void TwinButton::changeEvent(QEvent* e) {
    HotLabel::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) showLook();
}

void TwinButton::showLook() { setPixmap(!isEnabled() ? disabled_ : twinShown_ ? hover_ : rest_); }

}  // namespace ms
