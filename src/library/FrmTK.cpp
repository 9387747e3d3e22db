#include "library/FrmTK.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "adjust/FeatureColour.h"
#include "adjust/LayerWarp.h"
#include "library/ThumbnailButton.h"
#include "platform/DragSlider.h"

namespace ms {

FrmTK::FrmTK(StudioState& s, LibraryKind libraryKind, QWidget* owner)
    : LibraryWindow(s, libraryKind, nullptr, owner), s_(s) {
    setObjectName(QStringLiteral("FrmTK"));
    setWindowTitle(QStringLiteral("部件库"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(tabStrip());
    column->addWidget(buildAreas(), 0, Qt::AlignHCenter);
    column->addWidget(pagingBar());
    column->addWidget(buildAdjustments());
    column->addStretch();  // room left by hidden adjustments stays below them
    // As wide as with every adjustment shown, so that tabs that hide some keep the layout in place.
    setFixedWidth(sizeHint().width());
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
    // The strip's cells are as tall as a third of the square area, so both areas fill the same
    // block and the page buttons below never move between tabs.
    strip_ = makeThumbnails(Frame1_, {100, 33}, 2, {104, 43});
    for (ThumbnailButton* b : square_) b->setObjectName(QStringLiteral("ImgTK%1").arg(b->index()));
    for (ThumbnailButton* b : strip_) b->setObjectName(QStringLiteral("ImgTK1_%1").arg(b->index()));
    areas_->addWidget(Frame2_);
    areas_->addWidget(Frame1_);
    areas_->setCurrentWidget(Frame1_);  // the strip area is shown in the window design
    areas_->setFixedSize(Frame2_->sizeHint().expandedTo(Frame1_->sizeHint()));
    return areas_;
}

DragSlider* FrmTK::addSlider(QGridLayout* grid, int row, int column, const QString& caption,
                             Qt::Orientation o, int lo, int hi, QLabel*& label) {
    label = new QLabel(caption, this);
    auto* slider = new DragSlider(o, lo, hi, this);
    if (o == Qt::Horizontal) {
        grid->addWidget(label, row, column);
        grid->addWidget(slider, row, column + 1);
    } else {
        slider->setMinimumHeight(96);
        grid->addWidget(label, row, column, Qt::AlignHCenter);
        grid->addWidget(slider, row + 1, column, 4, 1, Qt::AlignHCenter);
    }
    return slider;
}

// Captions and visibility follow the opener and the tabs.
QWidget* FrmTK::buildAdjustments() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const struct {
        MoveSlider which;
        const char* name;
        const char* caption;
        Qt::Orientation o;
        int row, column;
    } moves[] = {
        {MoveSlider::Slider3, "Slider3", "水平伸缩：", Qt::Horizontal, 0, 0},
        {MoveSlider::Slider4, "Slider4", "垂直移动：", Qt::Vertical, 0, 2},
        {MoveSlider::Slider5, "Slider5", "水平移动：", Qt::Horizontal, 1, 0},
        {MoveSlider::Slider6, "Slider6", "垂直伸缩：", Qt::Vertical, 0, 3},
    };
    for (const auto& m : moves) {
        const auto i = static_cast<size_t>(m.which);
        moveSliders_[i] =
            addSlider(grid, m.row, m.column, QString::fromUtf8(m.caption), m.o, -10, 10, moveCaptions_[i]);
        moveSliders_[i]->setObjectName(QLatin1String(m.name));
    }
    Slider2_ = addSlider(grid, 2, 0, QString(), Qt::Horizontal, -20, 0, Label2_);
    Slider1_ = addSlider(grid, 3, 0, QStringLiteral("变形区域大小："), Qt::Horizontal, 1, 20, Label1_);
    Slider2_->setObjectName(QStringLiteral("Slider2"));
    Slider1_->setObjectName(QStringLiteral("Slider1"));
    Slider2_->setValue(-10);
    check1_ = new QRadioButton(QStringLiteral("变形工具"), box);
    Cmdfuwei_ = new QPushButton(box);
    Command8_ = new QPushButton(QStringLiteral("选取唇色"), box);
    check1_->setObjectName(QStringLiteral("check1"));
    Cmdfuwei_->setObjectName(QStringLiteral("Cmdfuwei"));
    Command8_->setObjectName(QStringLiteral("Command8"));
    grid->addWidget(check1_, 4, 0);
    grid->addWidget(Cmdfuwei_, 4, 1);
    grid->addWidget(Command8_, 5, 0);
    grid->addWidget(buildSides(box), 6, 0, 1, 4);
    connectAdjustments();
    return box;
}

QWidget* FrmTK::buildSides(QWidget* parent) {
    Framm_ = new QGroupBox(parent);
    Framm_->setObjectName(QStringLiteral("Framm"));
    auto* row = new QHBoxLayout(Framm_);
    const struct {
        const char* name;
        const char* caption;
        EyebrowSides sides;
    } options[] = {{"Option6", "双眉", EyebrowSides::Both},
                   {"Option5", "左眉", EyebrowSides::Left},
                   {"Option4", "右眉", EyebrowSides::Right}};
    for (size_t i = 0; i < sides_.size(); ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(options[i].caption), Framm_);
        option->setObjectName(QLatin1String(options[i].name));
        // The buttons show the side the sliders act on, which outlives the window.
        option->setChecked(s_.session.eyebrowSides == options[i].sides);
        const EyebrowSides sides = options[i].sides;
        connect(option, &QRadioButton::clicked, this, [this, sides] {
            chooseEyebrowSides(s_, sides);
            if (sides == EyebrowSides::Both) emit canvasChanged();
        });
        row->addWidget(option);
        sides_[i] = option;
    }
    return Framm_;
}

void FrmTK::connectAdjustments() {
    for (size_t i = 0; i < moveSliders_.size(); ++i) {
        const auto which = static_cast<MoveSlider>(i);
        connect(moveSliders_[i], &DragSlider::dragged, this,
                [this, which](int v) { onMoveSlider(which, v); });
    }
    connect(Slider2_, &DragSlider::released, this, [this](int v) {
        browser().setColourSlider(v);
        releaseColourSlider(s_, browser().libraryKind(), v);
        emit canvasChanged();
    });
    connect(Slider1_, &QSlider::valueChanged, this, [this](int v) {
        browser().setWarpSize(v);
        setLibraryWarpSize(s_, v);
        emit outlinesChanged();
    });
    connect(check1_, &QRadioButton::clicked, this, [this] {
        chooseWarpTool(s_);
        emit warpToolChosen();
    });
    connect(Cmdfuwei_, &QPushButton::clicked, this, &FrmTK::onReset);
    connect(Command8_, &QPushButton::clicked, this, &FrmTK::lipColourRequested);
}

void FrmTK::onMoveSlider(MoveSlider which, int v) {
    const LibraryBrowser& b = browser();
    const auto target = moveTargetOf(b.libraryKind(), b.accessorySubKind(), s_.session.eyebrowSides);
    if (!target) return;
    dragMoveSlider(s_, *target, which, v);
    emit canvasChanged();
}

void FrmTK::onReset() {
    for (DragSlider* slider : moveSliders_) slider->setValue(0);
    const Status st = resetLayer(s_, browser().libraryKind(), browser().accessorySubKind());
    emit canvasChanged();
    if (!st) emit problem(st.message);
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
    for (MoveSlider m : {MoveSlider::Slider5, MoveSlider::Slider6}) {
        const bool shown = m == MoveSlider::Slider5 ? p.moveAcrossShown : p.stretchUpDownShown;
        moveSliders_[static_cast<size_t>(m)]->setVisible(shown);
        moveCaptions_[static_cast<size_t>(m)]->setVisible(shown);
    }
}

}  // namespace ms
