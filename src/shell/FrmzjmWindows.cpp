#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardPaths>

#include "hair/Frmyanse.h"
#include "hair/frmfx.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "persistence/FrmDKWJ.h"
#include "photo/Frmbj.h"
#include "photo/Frmpaizhao.h"
#include "platform/TrayIcon.h"
#include "platform/VideoArea.h"
#include "platform/WindowPlacement.h"
#include "print/Frmdy.h"
#include "retouch/ColourPicture.h"
#include "retouch/Frmsebiao1.h"
#include "retouch/Frmsebiao2.h"
#include "shell/Artwork.h"
#include "shell/Frmzjm.h"
#include "shell/FrmzjmControls.h"
#include "shell/GuideLines.h"
#include "shell/ZjmLayout.h"
#include "shell/frmguanbi.h"
#include "shell/frmkaishi.h"

// The main window's side windows: the tool windows and the palette beside them, the photo,
// adjustment and camera windows, and leaving the studio (the exit question and the tray).
namespace ms {

// "打印设计图": the print window with the current design; the main window waits for it.
void Frmzjm::openPrint() {
    Frmdy print(studio_.session.views.Pichuaban, this);
    if (printSetUp_) printSetUp_(print);
    print.exec();
}

// "彩色漂染": the hair picture is drawn from the hairstyle when the window opens.
void Frmzjm::openHairColour() {
    if (!yanse_) {
        yanse_ = new Frmyanse(studio_, this);
        connect(yanse_, &Frmyanse::canvasChanged, this, &Frmzjm::refreshViews);
        connect(yanse_, &Frmyanse::problem, this, [this](const QString& m) { showMessage(m, yanse_); });
        connect(yanse_, &Frmyanse::canvasCursor, this, &Frmzjm::setToolCursor);
        connect(yanse_, &Frmyanse::highlightColourRequested, this, [this] {
            refreshControls();
            openPaletteWithPickCursor();
        });
        placeBesideMainWindow(this, yanse_);
    }
    yanse_->tell(ws_.openHairColour());
    yanse_->show();
    yanse_->raise();
}

// "美发工具": the tool stays what it was until an option is chosen.
void Frmzjm::openHairTools() {
    if (!fx_) {
        fx_ = new frmfx(studio_, this);
        connect(fx_, &frmfx::canvasChanged, this, &Frmzjm::repaintViews);
        connect(fx_, &frmfx::outlinesChanged, this, &Frmzjm::refreshControls);
        connect(fx_, &frmfx::problem, this, [this](const QString& m) { showMessage(m, fx_); });
        connect(fx_, &frmfx::toolChosen, this, [this](toolfiles::CursorId cursor) {
            ws_.enableCanvas();
            setToolCursor(cursor);
            refreshControls();
        });
        placeBesideMainWindow(this, fx_);
    }
    fx_->reopen();
    fx_->show();
    fx_->raise();
}

Frmyanse* Frmzjm::hairColour() const { return yanse_; }
frmfx* Frmzjm::hairTools() const { return fx_; }

void Frmzjm::openMakeupTools() {
    if (const auto c = cursorOfMode(studio_.session.tools.mode)) setToolCursor(*c);
    if (makeup_) {
        makeup_->raise();
        makeup_->activateWindow();
        return;
    }
    makeup_ = new Frmsebiao2(studio_, cursors_, this);
    // Choosing a tool gives the canvas the mouse back (a library window may have taken it).
    connect(makeup_, &Frmsebiao2::canvasCursor, this, [this](toolfiles::CursorId id) {
        setToolCursor(id);
        ws_.enableCanvas();
        refreshControls();
    });
    connect(makeup_, &Frmsebiao2::outlinesChanged, this, &Frmzjm::refreshControls);
    connect(makeup_, &Frmsebiao2::canvasChanged, this, &Frmzjm::refreshViews);
    connect(makeup_, &Frmsebiao2::problem, this, [this](const QString& m) { showMessage(m, makeup_); });
    connect(makeup_, &Frmsebiao2::eyedropperStarted, this, [this] {
        ws_.beginEyedropper();
        refreshViews();
    });
    connect(makeup_, &Frmsebiao2::eyedropperEnded, this, [this] {
        ws_.endEyedropper(std::nullopt);
        refreshViews();
    });
    placeBesideMainWindow(this, makeup_);
    makeup_->show();
}

Frmsebiao2* Frmzjm::makeupTools() const { return makeup_; }

Frmsebiao1* Frmzjm::openPalette() {
    if (!palette_) {
        palette_ = new Frmsebiao1(studio_, this);
        connect(palette_, &Frmsebiao1::highlightPicked, this,
                [this](int32_t colour, toolfiles::CursorId cursor) {
                    if (yanse_) yanse_->showHighlightColour(colour);
                    ws_.enableCanvas();
                    setToolCursor(cursor);
                    refreshControls();
                });
        connect(palette_, &Frmsebiao1::lipColourPicked, this, [this](int32_t) {
            Status st;
            if (ws_.lipColourPicked(st) != LipColourFollow::Nothing) {
                lib_->redrawComponentPage();
                refreshViews();
            }
            report(st);
        });
    }
    placeBesideCaller(palette_);
    palette_->show();
    palette_->raise();
    return palette_;
}

// The palette opens below the window that asked for it (the hair colour or the library window),
// so that both stay in view; where the screen has no room there, beside the main window.
void Frmzjm::placeBesideCaller(QWidget* palette) {
    palette->adjustSize();
    QWidget* caller = nullptr;
    for (QWidget* w : {static_cast<QWidget*>(yanse_), static_cast<QWidget*>(lib_->componentWindow())})
        if (w && w->isVisible()) caller = w;
    const QRect room = screen() ? screen()->availableGeometry() : QRect();
    QPoint at = frameGeometry().topRight() + QPoint(1, 76);
    if (caller) {
        const QPoint below = caller->frameGeometry().bottomLeft() + QPoint(0, 4);
        if (room.isNull() || below.y() + palette->frameGeometry().height() <= room.bottom())
            at = below;
        else
            at = QPoint(
                std::max(room.left(), caller->frameGeometry().left() - palette->frameGeometry().width() - 4),
                caller->frameGeometry().top());
    }
    palette->move(at);
}

// "选取唇色": the palette serves the lips, with the pick cursor over its colour pictures.
void Frmzjm::openLipPalette() {
    studio_.session.tools.highlightBrush = false;
    openPaletteWithPickCursor();
}

void Frmzjm::openPaletteWithPickCursor() {
    Frmsebiao1* palette = openPalette();
    Status told;
    const QCursor pick = cursors_.cursor(toolfiles::CursorId::Eyedropper, told);
    for (QWidget* picture :
         {static_cast<QWidget*>(palette->Picture1), static_cast<QWidget*>(palette->Picture2)})
        picture->setCursor(pick);
    report(told);
}

void Frmzjm::openPhotoDialog() {
    if (open_) {
        open_->raise();
        open_->activateWindow();
        return;
    }
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    open_ = new FrmDKWJ(QDir(pictures).exists() ? pictures : QDir::homePath(), this);
    connect(open_, &FrmDKWJ::photoChosen, this, &Frmzjm::takeInPhoto);
    open_->show();
}

void Frmzjm::takeInPhoto(const QString& path) {
    QImage workingCopy;
    const Status st = ws_.takeInPhoto(path, workingCopy);
    if (workingCopy.isNull()) return report(st);  // not a usable picture: the design stays
    openAdjustment(workingCopy, st);
}

// The photo adjustment with a new client photo; the design has been reset for it.
void Frmzjm::openAdjustment(const QImage& workingCopy, const Status& st) {
    if (adjust_) adjust_->close();
    // A new client: the last one's face shape goes until this photo is accepted.
    studio_.session.clientFace = {};
    c_->ClientFace->hide();
    if (FrmTK1* hair = lib_->hairstyleWindow()) hair->clientFaceChanged();
    adjust_ = new Frmbj(studio_, this, faces_);
    connect(adjust_, &Frmbj::accepted, this, &Frmzjm::showClientFace);
    connect(adjust_, &Frmbj::canvasChanged, this, &Frmzjm::refreshViews);
    connect(adjust_, &Frmbj::guidesShown, c_->Shape1, &QWidget::setVisible);
    connect(adjust_, &Frmbj::progress, this, [this](int column) {
        c_->Bar1->setVisible(column >= 0);
        if (column < 0) return;
        c_->Bar1->setValue(column);
        c_->Bar1->repaint();  // the loop runs on; paint now
    });
    connect(adjust_, &Frmbj::problem, this, [this](const QString& m) { showMessage(m, adjust_); });
    placeBesideMainWindow(this, adjust_);
    adjust_->show();
    adjust_->takeIn(workingCopy);
    refreshViews();
    report(st);
}

// "摄像头输入": the camera window; its picture runs in the video area over the canvas.
void Frmzjm::openCamera() {
    if (camera_) {
        camera_->raise();
        return;
    }
    camera_ = new Frmpaizhao(cameraSource_, this);
    connect(camera_, &Frmpaizhao::videoFrame, this, [this](const QImage& frame) {
        c_->Picshipin->setFrame(frame);
        c_->Picshipin->show();
        c_->Picshipin->raise();
    });
    connect(camera_, &Frmpaizhao::videoHidden, c_->Picshipin, &QWidget::hide);
    connect(camera_, &Frmpaizhao::accepted, this, [this](const QImage& frame) {
        QImage workingCopy;
        const Status st = ws_.takeInPicture(frame, workingCopy);
        if (workingCopy.isNull()) return report(st);
        openAdjustment(workingCopy, st);
    });
    placeBesideMainWindow(this, camera_);
    camera_->show();
}

Frmpaizhao* Frmzjm::cameraWindow() const { return camera_; }

Frmbj* Frmzjm::adjustmentWindow() const { return adjust_; }

void Frmzjm::onExitReleased() {
    ws_.stopTimersForExit();
    refreshControls();
    if (confirmExit()) close();
}

void Frmzjm::closeEvent(QCloseEvent* e) {
    if (!shuttingDown_) {
        // Closed by the window manager: the same question, the same shutdown.
        ws_.stopTimersForExit();
        refreshControls();
        if (!confirmExit()) return e->ignore();
    }
    if (tray_) tray_->hide();
    e->accept();
}

bool Frmzjm::confirmExit() {
    frmguanbi asking(studio_.P);
    connect(&asking, &frmguanbi::confirmed, this, [this, &asking] { shutDown(asking); });
    asking.exec();
    return shuttingDown_;
}

void Frmzjm::shutDown(frmguanbi& asking) {
    // Let the wait caption and the busy pointer be painted before any file is deleted.
    QCoreApplication::processEvents();
    lib_->closeAll();
    const Status st = ws_.shutDown();
    if (!st) QMessageBox::warning(&asking, QStringLiteral("提示"), st.message);
    shuttingDown_ = true;
    asking.accept();
    if (welcome_) welcome_->close();
}

void Frmzjm::minimiseToTray() {
    if (welcome_) welcome_->close();
    if (!TrayIcon::available()) return showMinimized();
    if (!tray_) {
        const QPixmap icon = artPicture(studio_.P, QLatin1String(zjm::kTrayIcon), QSize(64, 64),
                                        QStringLiteral("美"), looks::kActive);
        tray_ = new TrayIcon(QIcon(icon), windowTitle(), this);
        connect(tray_, &TrayIcon::activated, this, &Frmzjm::restoreFromTray);
    }
    // The open tool windows go with the main window and come back with it.
    for (QWidget* w :
         {static_cast<QWidget*>(lib_->componentWindow()), static_cast<QWidget*>(lib_->hairstyleWindow()),
          static_cast<QWidget*>(makeup_), static_cast<QWidget*>(palette_), static_cast<QWidget*>(yanse_),
          static_cast<QWidget*>(fx_), static_cast<QWidget*>(camera_)})
        if (w && w->isVisible()) parked_.emplace_back(w), w->hide();
    tray_->show();
    hide();
}

void Frmzjm::restoreFromTray() {
    showNormal();
    activateWindow();
    for (const QPointer<QWidget>& w : parked_)
        if (w) w->show();
    parked_.clear();
    tray_->hide();
}

}  // namespace ms
