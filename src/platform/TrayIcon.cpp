#include "platform/TrayIcon.h"

#include <QSystemTrayIcon>

namespace ms {

TrayIcon::TrayIcon(const QIcon& icon, const QString& toolTip, QObject* parent)
    : QObject(parent), icon_(new QSystemTrayIcon(icon, this)) {
    icon_->setToolTip(toolTip);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A context-menu request is not a wish to bring the window back.
        if (reason != QSystemTrayIcon::Context) emit activated();
    });
}

bool TrayIcon::available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::show() { icon_->show(); }

void TrayIcon::hide() { icon_->hide(); }

bool TrayIcon::isVisible() const { return icon_->isVisible(); }

}  // namespace ms
