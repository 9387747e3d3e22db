#include "shell/Frmzjm.h"

#include <QLabel>
#include <QMessageBox>
#include <QShowEvent>
#include <QTimer>

#include "compositor/Composition.h"
#include "shell/CanvasView.h"

namespace ms {

Frmzjm::Frmzjm(const QString& programFolder, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Frmzjm"));
    setWindowTitle(QStringLiteral("美发美容设计室"));
    setFixedSize(1024, 768);
    const Status loaded = initialiseStudio(studio_, programFolder);
    Pichuaban_ = new CanvasView(&studio_.views.Pichuaban, QSize(kCanvasWidth, kCanvasHeight), this);
    Pichuaban_->setObjectName(QStringLiteral("Pichuaban"));
    Pichuaban_->move(322, 144);
    if (!loaded) QTimer::singleShot(0, this, [this, loaded] { report(loaded); });
}

void Frmzjm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!started_) {
        started_ = true;
        startUp();
    }
}

void Frmzjm::startUp() {
    const Status st = CHUSHI_MOBAN(studio_);
    // The canvas surface is refreshed from the canvas view.
    studio_.surfaces.canvas = studio_.views.Pichuaban;
    refreshViews();
    if (!st) report(st);
}

void Frmzjm::refreshViews() { Pichuaban_->update(); }

void Frmzjm::report(const Status& st) {
    QMessageBox::warning(this, QStringLiteral("提示"), st.message);
}

}  // namespace ms
