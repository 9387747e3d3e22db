#include "shell/Frmzjm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSlider>
#include <QStandardPaths>
#include <QTimer>

#include "compositor/Composition.h"
#include "hair/Frmyanse.h"
#include "hair/frmfx.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/SuitabilityLink.h"
#include "persistence/FrmDKWJ.h"
#include "photo/Frmbj.h"
#include "photo/Frmpaizhao.h"
#include "platform/Desktop.h"
#include "platform/FaceFinder.h"
#include "platform/TrayIcon.h"
#include "platform/VideoArea.h"
#include "platform/WindowPlacement.h"
#include "print/Frmdy.h"
#include "retouch/ColourPicture.h"
#include "retouch/Frmsebiao1.h"
#include "retouch/Frmsebiao2.h"
#include "shell/Artwork.h"
#include "shell/CanvasView.h"
#include "shell/FrmzjmControls.h"
#include "shell/GuideLines.h"
#include "shell/HotLabel.h"
#include "shell/TwinButton.h"
#include "shell/ZjmLayout.h"
#include "shell/frmguanbi.h"
#include "shell/frmkaishi.h"

namespace ms {

namespace {
const QColor kBlack(0, 0, 0);
const QColor kRed(200, 0, 0);
}  // namespace

Frmzjm::Frmzjm(StudioState& studio, const QString& programFolder, QWidget* parent)
    : QWidget(parent), studio_(studio), cursors_(programFolder) {
    setObjectName(QStringLiteral("Frmzjm"));
    setWindowTitle(QStringLiteral("美发美容设计室"));
    setFixedSize(zjm::kWindowSize);
    setMouseTracking(true);
    const Status loaded = initialiseStudio(studio_, programFolder);
    c_ = std::make_unique<FrmzjmControls>(this, studio_, programFolder);
    connectToolStrip();
    connectButtons();
    connectPanel();
    connectLibraries();
    connectCanvasTools();
    connectClientFace();
    refreshControls();
    if (!loaded) QTimer::singleShot(0, this, [this, loaded] { report(loaded); });
}

Frmzjm::~Frmzjm() = default;

void Frmzjm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!started_) {
        started_ = true;
        startUp();
    }
}

void Frmzjm::startUp() {
    const Status st = ws_.startUp();
    c_->showSlotPictures(ws_.shell());
    refreshViews();
    showWelcome();
    if (!st) report(st);
}

void Frmzjm::showWelcome() {
    welcome_ = new frmkaishi(this);
    // Centred over the canvas: the panel on the right stays in view.
    welcome_->adjustSize();
    QRect at(QPoint(), welcome_->frameGeometry().size());
    at.moveCenter(mapToGlobal(zjm::kPichuaban.center()));
    welcome_->move(at.topLeft());
    connect(welcome_, &frmkaishi::makeupChosen, this, [this] {
        ws_.beginMakeup();
        welcome_->close();
        openMakeupTools();
        refreshControls();
    });
    connect(welcome_, &frmkaishi::autoDesignChosen, this, [this] {
        welcome_->close();
        ws_.beginAutoDesign();
        refreshControls();
    });
    connect(welcome_, &frmkaishi::libraryChosen, this, [this] {
        ws_.beginHairLibrary();
        welcome_->close();
        lib_->openHairstyles();
        refreshControls();
    });
    welcome_->show();
}

void Frmzjm::connectToolStrip() {
    for (int i = 0; i < kHotAreaCount; ++i) {
        connect(c_->wuguan[i], &HotLabel::entered, this, [this, i] {
            ws_.pointAtHotArea(i);
            refreshControls();
        });
        if (!c_->toolImage[i]) continue;
        const auto e = static_cast<ToolEntry>(i);
        connect(c_->toolImage[i], &HotLabel::released, this,
                [this, e](Qt::MouseButton b) { onToolReleased(e, b); });
    }
}

void Frmzjm::onToolReleased(ToolEntry e, Qt::MouseButton b) {
    if (b == Qt::LeftButton) {
        ws_.clickTool(e);
        openLibraryFor(e);
    }
    const Status st = b == Qt::RightButton ? ws_.rightClickTool(e) : Status::success();
    if (b == Qt::RightButton && e == ToolEntry::ImgFx &&
        studio_.doc.design.faxingname.endsWith(QLatin1String("/000.tta"))) {
        // The hairstyle is off: its card and suitability go with it.
        c_->showInfoPicture(QImage());
        lib_->forgetHairstyleRecord();
        showRecord(false, {});
    }
    refreshViews();
    report(st);
}

void Frmzjm::openLibraryFor(ToolEntry e) {
    switch (e) {
        case ToolEntry::ImgFx:
            return lib_->openHairstyles();
        case ToolEntry::Imgmm:
            lib_->openEyebrows();
            if (lib_->componentWindow()) lib_->componentWindow()->setEyebrowSidesShown(true);
            return;
        case ToolEntry::Imgzx:
            return lib_->openLips();
        case ToolEntry::Imgmz:
            return lib_->openAccessories();
        case ToolEntry::Imgbz:
            // Tool windows open where the library windows stand: those step aside.
            lib_->putAway();
            return openMakeupTools();
        case ToolEntry::Imgfx1:
        case ToolEntry::Imgfx2:
            lib_->putAway();
            if (makeup_) makeup_->close();
            c_->Pichuaban->unsetCursor();
            return e == ToolEntry::Imgfx1 ? openHairTools() : openHairColour();
        default:
            return;
    }
}

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

void Frmzjm::connectCanvasTools() {
    connect(c_->Pichuaban, &CanvasView::mouse, this,
            [this](const CanvasEvent& e) { onCanvasMouse(View::Canvas, e); });
    connect(c_->Picfangda, &CanvasView::mouse, this,
            [this](const CanvasEvent& e) { onCanvasMouse(View::Magnified, e); });
    connect(c_->Pichuaban1, &CanvasView::mouse, this, &Frmzjm::onEyedropperMouse);
}

void Frmzjm::onCanvasMouse(View view, const CanvasEvent& e) {
    const ToolResult r = ws_.canvasMouse(view, e);
    if (r.cursor) setToolCursor(*r.cursor);
    if (r.magnifiedCursor) {
        Status told;
        c_->Picfangda->setCursor(cursors_.cursor(*r.magnifiedCursor, told));
        report(told);
    }
    // Runs on every mouse move: only the outlines and the pictures, not the whole window.
    if (r.changed || r.recompose != Recompose::None) {
        c_->showOutlines(studio_.session.tools);
        repaintViews();
    }
    report(r.problem);
}

// The eyedropper over the portrait: the colour under the pointer while it moves, the pick on a
// left release.
void Frmzjm::onEyedropperMouse(const CanvasEvent& e) {
    const auto colour = colourAt(studio_.session.views.Pichuaban1Kept, e.pos.toPoint());
    if (!makeup_) return;
    if (e.action == MouseAction::Move && colour) makeup_->showHoverColour(*colour);
    if (e.action != MouseAction::Up || e.button != Qt::LeftButton) return;
    if (colour) makeup_->pickColour(*colour);  // released off the portrait: nothing picked
    ws_.endEyedropper(colour);
    refreshViews();
}

// The canvas views show the tool's own cursor; the magnified view stands over the canvas view.
void Frmzjm::setToolCursor(toolfiles::CursorId id) {
    Status told;
    const QCursor c = cursors_.cursor(id, told);
    c_->Pichuaban->setCursor(c);
    c_->Picfangda->setCursor(c);
    report(told);
}

void Frmzjm::connectLibraries() {
    lib_ = new LibraryWindows(studio_, this);
    connect(lib_, &LibraryWindows::applied, this, &Frmzjm::onLibraryApplied);
    connect(lib_, &LibraryWindows::problem, this, &Frmzjm::showMessage);
    connect(lib_, &LibraryWindows::closedByDoubleClick, this, [this] {
        ws_.clearActiveTools();
        refreshControls();
    });
    // Slider drags recompose on every pointer move: only the pictures are shown again.
    connect(lib_, &LibraryWindows::canvasChanged, this, &Frmzjm::repaintViews);
    connect(lib_, &LibraryWindows::outlinesChanged, this, &Frmzjm::refreshControls);
    connect(lib_, &LibraryWindows::warpToolChosen, this, [this] {
        ws_.chooseWarpTool();
        setToolCursor(toolfiles::CursorId::Concealer);
        refreshControls();
    });
    connect(lib_, &LibraryWindows::lipColourRequested, this, &Frmzjm::openLipPalette);
    int group = 2;
    for (auto boxes : {std::vector<QCheckBox*>(c_->Check2.begin(), c_->Check2.end()),
                       std::vector<QCheckBox*>(c_->Check3.begin(), c_->Check3.end()),
                       std::vector<QCheckBox*>(c_->Check4.begin(), c_->Check4.end())}) {
        for (int i = 0; i < int(boxes.size()); ++i)
            connect(boxes[i], &QCheckBox::clicked, this, [this, group, i](bool on) {
                // A save that failed is reported and the box shows the record as it is.
                lib_->suitabilityBoxClicked(group, i, on);
                showRecord(lib_->suitability().isBound(), lib_->suitability().record());
            });
        ++group;
    }
}

void Frmzjm::onLibraryApplied(const LibraryApplied& result) {
    refreshViews();
    if (result.libraryKind != LibraryKind::Hairstyles) return;
    c_->showInfoPicture(result.infoPicture);
    showRecord(result.recordBound, result.record);
}

void Frmzjm::showRecord(bool bound, const HairstyleRecord& record) {
    std::array<bool, 11> states{};
    int k = 0;
    for (const SuitabilityBox& box : suitabilityBoxes())
        states[k++] = bound && box.field && record[*box.field];
    c_->showSuitability(bound, states);
}

void Frmzjm::connectButtons() {
    connect(c_->Imgshijian1, &TwinButton::activated, this, [this] {
        c_->shijiansheding->popup(c_->Imgshijian1->mapToGlobal(QPoint(0, c_->Imgshijian1->height())));
    });
    connect(c_->shijiansheding, &QMenu::triggered, this, [this](QAction* a) {
        ws_.chooseInterval(a->data().toInt());
        refreshControls();
    });
    connect(c_->Imgchexiao1, &TwinButton::activated, this, [this] {
        const Status st = ws_.undo();
        refreshViews();
        report(st);
    });
    connect(c_->Imghuifu1, &TwinButton::activated, this, [this] {
        const Status st = ws_.redo();
        refreshViews();
        report(st);
    });
    connect(c_->Imgbangzhu1, &TwinButton::activated, this,
            [this] { openDocument(studio_.path(QLatin1String(zjm::kHelpFile))); });
    connect(c_->Imgmin1, &TwinButton::activated, this, &Frmzjm::minimiseToTray);
    connect(c_->Imgtuichu1, &TwinButton::activated, this, &Frmzjm::onExitReleased);
    connect(c_->Timer1, &QTimer::timeout, this, &Frmzjm::onAutoDesignTick);
    connect(c_->Timer2, &QTimer::timeout, this, [this] {
        ws_.blinkTick();
        refreshControls();
    });
}

void Frmzjm::connectPanel() {
    connect(c_->Label2, &HotLabel::entered, this, [this] {
        ws_.pointAtLabel2();
        refreshControls();
    });
    connect(c_->Label2, &HotLabel::pressed, this, [this] {
        ws_.pressLabel2();
        refreshControls();
    });
    connect(c_->Label2, &HotLabel::released, this, [this] {
        ws_.toggleAutoDesign();
        refreshControls();
    });
    for (HotLabel* l : c_->Label9) {
        connect(l, &HotLabel::entered, l, [l] { l->setTextColour(kRed); });
        connect(l, &HotLabel::pressed, l, [l] { l->setTextColour(kBlack); });
    }
    // Opening a photo and printing start with the default pointer on the canvas. Printing waits
    // for its window.
    for (int k : {0, 4})
        connect(c_->Label9[k], &HotLabel::released, this, [this] { c_->Pichuaban->unsetCursor(); });
    connect(c_->Label9[0], &HotLabel::released, this, &Frmzjm::openPhotoDialog);
    connect(c_->Label9[1], &HotLabel::released, this, &Frmzjm::openCamera);
    connect(c_->Label9[3], &HotLabel::released, this, &Frmzjm::saveDesignPicture);
    connect(c_->Label9[4], &HotLabel::released, this, &Frmzjm::openPrint);
    connect(c_->Pichuaban, &CanvasView::fileDropped, this, &Frmzjm::takeInPhoto);
    connect(c_->Image3, &HotLabel::entered, this, [this] {
        ws_.pointAtZoom();
        refreshControls();
    });
    connect(c_->Imgda, &HotLabel::released, this, [this] {
        ws_.zoomIn();
        refreshViews();
    });
    connect(c_->Imgxiao, &HotLabel::pressed, this, [this] {
        ws_.pressZoomOut();
        refreshControls();
    });
    connect(c_->Imgxiao, &HotLabel::released, this, [this] {
        ws_.zoomOut();
        refreshControls();
    });
    connect(c_->Slider1, &QSlider::valueChanged, this, [this](int v) {
        ws_.setSlider1(v);
        refreshControls();
    });
    for (int i = 1; i <= kSlotCount; ++i) {
        connect(c_->bckelm[i - 1], &HotLabel::entered, this, [this, i] {
            ws_.pointAtSlot(i);
            refreshControls();
        });
        connect(c_->bckelmdt[i - 1], &HotLabel::released, this, [this, i](Qt::MouseButton b) {
            const Status st = b == Qt::RightButton ? ws_.storeSlot(i) : ws_.restoreSlot(i);
            c_->showSlotPictures(ws_.shell());
            refreshViews();
            report(st);
        });
    }
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

// One click on the face-shape line opens the five shapes; the choice stands until the next photo.
void Frmzjm::connectClientFace() {
    auto* menu = new QMenu(c_->ClientFace);
    menu->setObjectName(QStringLiteral("ClientFaceMenu"));
    for (FaceShape shape :
         {FaceShape::Oval, FaceShape::Round, FaceShape::Square, FaceShape::Long, FaceShape::Pointed})
        menu->addAction(faceShapeName(shape), this, [this, shape] {
            studio_.session.clientFace.chosen = shape;
            showClientFace();
        });
    menu->addSeparator();
    QAction* measured = menu->addAction(QStringLiteral("按照片测得的脸型"), this, [this] {
        studio_.session.clientFace.chosen = FaceShape::Unknown;
        showClientFace();
    });
    connect(menu, &QMenu::aboutToShow, this, [this, measured] {
        measured->setEnabled(studio_.session.clientFace.chosen != FaceShape::Unknown);
    });
    c_->ClientFace->setMenu(menu);
}

void Frmzjm::showClientFace() {
    const ClientFace& face = studio_.session.clientFace;
    c_->ClientFace->setText(clientFaceCaption(face));
    c_->ClientFace->setToolTip(clientFaceTooltip(face));
    c_->ClientFace->show();
    if (FrmTK1* hair = lib_->hairstyleWindow()) hair->clientFaceChanged();
}

void Frmzjm::saveDesignPicture() {
    QString filter;
    const QString path =
        askSavePath_
            ? askSavePath_()
            : QFileDialog::getSaveFileName(
                  this, QStringLiteral("请输入一个要保存位图的名字"), QString(),
                  QStringLiteral("位图文件(*.bmp);;PNG 图片(*.png);;JPEG 图片(*.jpg *.jpeg)"), &filter);
    if (path.isEmpty()) return;  // cancelled
    // Without an extension the chosen type decides, a bitmap by default.
    QString named = path;
    if (QFileInfo(path).suffix().isEmpty())
        named += filter.startsWith(QLatin1String("PNG"))    ? QStringLiteral(".png")
                 : filter.startsWith(QLatin1String("JPEG")) ? QStringLiteral(".jpg")
                                                            : QStringLiteral(".bmp");
    report(ws_.saveDesignPicture(named));
}

void Frmzjm::mouseMoveEvent(QMouseEvent* e) {
    ws_.pointAtBackground();
    for (HotLabel* l : c_->Label9) l->setTextColour(kBlack);
    for (TwinButton* b :
         {c_->Imgshijian1, c_->Imgchexiao1, c_->Imghuifu1, c_->Imgbangzhu1, c_->Imgmin1, c_->Imgtuichu1})
        b->showTwin(false);
    refreshControls();
    QWidget::mouseMoveEvent(e);
}

void Frmzjm::onAutoDesignTick() {
    const Status st = ws_.autoDesignTick();
    if (!st && ws_.shell().autoDesignRunning) ws_.toggleAutoDesign();
    refreshViews();
    report(st);
}

void Frmzjm::refreshViews() {
    refreshControls();
    repaintViews();
}

void Frmzjm::repaintViews() {
    c_->Pichuaban->update();
    if (studio_.session.views.PicfangdaVisible) c_->Picfangda->update();
}

void Frmzjm::refreshControls() {
    ws_.followHistory();
    const ShellState& sh = ws_.shell();
    c_->show(studio_, sh);
    if (c_->Timer1->interval() != sh.timer1Interval) c_->Timer1->setInterval(sh.timer1Interval);
    for (QTimer* t : {c_->Timer1, c_->Timer2}) {
        if (sh.timersEnabled && !t->isActive()) t->start();
        if (!sh.timersEnabled && t->isActive()) t->stop();
    }
}

void Frmzjm::paintEvent(QPaintEvent*) {
    // The face model is read once the first frame is on the screen.
    if (faces_ && !facesStarted_) {
        facesStarted_ = true;
        QTimer::singleShot(0, this, [faces = faces_] { faces->startLoading(); });
    }
    QPainter p(this);
    if (c_->background.isNull())
        p.fillRect(rect(), looks::kWindow);
    else
        p.drawImage(0, 0, c_->background);
}

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

void Frmzjm::report(const Status& st) {
    if (!st) showMessage(st.message);
}

void Frmzjm::showMessage(const QString& message, QWidget* over) {
    // Over the window the message concerns, else over the studio window the user is in, so that
    // it never sits under a library window.
    QWidget* parent = over ? over : this;
    if (!over)
        for (QWidget* w = QApplication::activeWindow(); w; w = w->parentWidget())
            if (w == this) {
                parent = QApplication::activeWindow();
                break;
            }
    if (!message_) {
        message_ =
            new QMessageBox(QMessageBox::Warning, QStringLiteral("提示"), QString(), QMessageBox::Ok, parent);
        message_->setObjectName(QStringLiteral("message"));
        message_->setWindowModality(Qt::NonModal);
    } else if (message_->parentWidget() != parent) {
        message_->setParent(parent, message_->windowFlags());
    }
    message_->setText(message);
    message_->show();
    message_->raise();
}

}  // namespace ms
