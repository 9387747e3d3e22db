#include "library/FrmTK.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "library/ThumbnailButton.h"

namespace ms {

FrmTK::FrmTK(StudioState& s, LibraryKind libraryKind, QWidget* owner)
    : LibraryWindow(s, libraryKind, nullptr, owner) {
    setObjectName(QStringLiteral("FrmTK"));
    setWindowTitle(QStringLiteral("部件库"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(tabStrip());
    column->addWidget(buildAreas(), 0, Qt::AlignHCenter);
    column->addWidget(pagingBar());
    column->addWidget(buildAdjustments());
    setEyebrowSidesShown(libraryKind == LibraryKind::Eyebrows);
    setLipColourButtonShown(libraryKind == LibraryKind::Lips);
}

QWidget* FrmTK::buildAreas() {
    areas_ = new QStackedWidget(this);
    Frame2_ = new QWidget(areas_);
    Frame2_->setObjectName(QStringLiteral("Frame2"));
    square_ = makeThumbnails(Frame2_, {67, 67}, 3);
    Frame1_ = new QWidget(areas_);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    strip_ = makeThumbnails(Frame1_, {100, 33}, 2);
    for (ThumbnailButton* b : square_) b->setObjectName(QStringLiteral("ImgTK%1").arg(b->index()));
    for (ThumbnailButton* b : strip_) b->setObjectName(QStringLiteral("ImgTK1_%1").arg(b->index()));
    areas_->addWidget(Frame2_);
    areas_->addWidget(Frame1_);
    areas_->setCurrentWidget(Frame1_);  // the strip area is shown in the window design
    return areas_;
}

QSlider* FrmTK::addSlider(QGridLayout* grid, int row, const QString& caption, Qt::Orientation o, int lo,
                          int hi) {
    auto* label = new QLabel(caption, this);
    auto* slider = new QSlider(o, this);
    slider->setRange(lo, hi);
    slider->setEnabled(false);
    grid->addWidget(label, row, 0);
    grid->addWidget(slider, row, 1);
    return slider;
}

// Captions and visibility follow the opener and the tabs; the controls themselves do nothing yet.
QWidget* FrmTK::buildAdjustments() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    addSlider(grid, 0, QStringLiteral("水平伸缩："), Qt::Horizontal, -10, 10)
        ->setObjectName(QStringLiteral("Slider3"));
    addSlider(grid, 1, QStringLiteral("垂直移动："), Qt::Horizontal, -10, 10)
        ->setObjectName(QStringLiteral("Slider4"));
    Slider5_ = addSlider(grid, 2, QStringLiteral("水平移动："), Qt::Horizontal, -10, 10);
    Slider6_ = addSlider(grid, 3, QStringLiteral("垂直伸缩："), Qt::Horizontal, -10, 10);
    Label5_ = qobject_cast<QLabel*>(grid->itemAtPosition(2, 0)->widget());
    Label6_ = qobject_cast<QLabel*>(grid->itemAtPosition(3, 0)->widget());
    Slider2_ = addSlider(grid, 4, QString(), Qt::Horizontal, -20, 0);
    Label2_ = qobject_cast<QLabel*>(grid->itemAtPosition(4, 0)->widget());
    Slider1_ = addSlider(grid, 5, QStringLiteral("变形区域大小："), Qt::Horizontal, 1, 20);
    Label1_ = qobject_cast<QLabel*>(grid->itemAtPosition(5, 0)->widget());
    Slider5_->setObjectName(QStringLiteral("Slider5"));
    Slider6_->setObjectName(QStringLiteral("Slider6"));
    Slider2_->setObjectName(QStringLiteral("Slider2"));
    Slider1_->setObjectName(QStringLiteral("Slider1"));
    check1_ = new QRadioButton(QStringLiteral("变形工具"), box);
    Cmdfuwei_ = new QPushButton(box);
    Command8_ = new QPushButton(QStringLiteral("选取唇色"), box);
    Framm_ = new QGroupBox(box);
    auto* sides = new QHBoxLayout(Framm_);
    for (const char* caption : {"双眉", "左眉", "右眉"})
        sides->addWidget(new QRadioButton(QString::fromUtf8(caption), Framm_));
    check1_->setObjectName(QStringLiteral("check1"));
    Cmdfuwei_->setObjectName(QStringLiteral("Cmdfuwei"));
    Command8_->setObjectName(QStringLiteral("Command8"));
    Framm_->setObjectName(QStringLiteral("Framm"));
    for (QWidget* w : std::initializer_list<QWidget*>{check1_, Cmdfuwei_, Command8_, Framm_})
        w->setEnabled(false);
    grid->addWidget(check1_, 6, 0);
    grid->addWidget(Cmdfuwei_, 6, 1);
    grid->addWidget(Command8_, 7, 0);
    grid->addWidget(Framm_, 8, 0, 1, 2);
    return box;
}

void FrmTK::setEyebrowSidesShown(bool shown) { Framm_->setVisible(shown); }

void FrmTK::setLipColourButtonShown(bool shown) { Command8_->setVisible(shown); }

void FrmTK::showThumbnails() {
    LibraryBrowser& b = browser();
    areas_->setCurrentWidget(b.stripAreaShown() ? Frame1_ : Frame2_);
    showPicturesIn(areaOf(b.thumbnailKind()) == ThumbnailArea::Strip ? strip_ : square_);
    // The other area keeps its pictures, but its enabled states follow the page.
    for (ThumbnailButton* t : areaOf(b.thumbnailKind()) == ThumbnailArea::Strip ? square_ : strip_)
        t->setEnabled(b.thumbnailEnabled(t->index()));
    const AdjustmentPanel& p = b.panel();
    Cmdfuwei_->setText(p.resetCaption);
    Label2_->setText(p.colourCaption);
    Slider2_->setValue(p.colourSlider);
    Slider2_->setVisible(p.colourSliderShown);
    Label2_->setVisible(p.colourSliderShown);
    Slider1_->setValue(p.warpSize);
    for (QWidget* w : std::initializer_list<QWidget*>{Slider1_, Label1_, check1_}) w->setVisible(p.warpShown);
    Slider5_->setVisible(p.moveAcrossShown);
    Label5_->setVisible(p.moveAcrossShown);
    Slider6_->setVisible(p.stretchUpDownShown);
    Label6_->setVisible(p.stretchUpDownShown);
}

}  // namespace ms
