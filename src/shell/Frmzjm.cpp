#include "shell/Frmzjm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QTimer>

#include "compositor/Composition.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/SuitabilityLink.h"
#include "platform/Desktop.h"
#include "platform/FaceFinder.h"
#include "retouch/Frmsebiao2.h"
#include "shell/Artwork.h"
#include "shell/CanvasView.h"
#include "shell/FrmzjmControls.h"
#include "shell/HotLabel.h"
#include "shell/TwinButton.h"
#include "shell/ZjmLayout.h"
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
