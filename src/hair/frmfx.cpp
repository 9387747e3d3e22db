#include "hair/frmfx.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "hair/HairTrim.h"
#include "platform/DragSlider.h"

namespace ms {

frmfx::frmfx(StudioState& s, QWidget* owner) : QWidget(owner, Qt::Tool), s_(s) {
    setObjectName(QStringLiteral("frmfx"));
    setWindowTitle(QStringLiteral("美发工具"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildTrim());
    column->addWidget(buildShaping());
    column->addWidget(buildMoves());
    Cmdfuwei = new QPushButton(QStringLiteral("恢复初始状态"), this);
    Cmdfuwei->setObjectName(QStringLiteral("Cmdfuwei"));
    column->addWidget(Cmdfuwei);
    connect(Cmdfuwei, &QPushButton::clicked, this, [this] {
        // Each slider's return to 0 counts as its change.
        for (DragSlider* m : moves_) m->setValue(0);
        const Status st = resetHairstyle(s_);
        emit canvasChanged();
        if (!st) emit problem(st.message);
    });
}

QWidget* frmfx::buildTrim() {
    auto* frame = new QGroupBox(QStringLiteral(" 修剪 "), this);
    auto* grid = new QGridLayout(frame);
    scissorGroup_ = new QButtonGroup(frame);
    for (int i = 0; i < 6; ++i) {
        auto* b = new QToolButton(frame);
        b->setObjectName(QStringLiteral("Option1_%1").arg(i));
        b->setCheckable(true);
        b->setIconSize(QSize(40, 40));
        b->setIcon(QIcon(s_.path(toolfiles::scissorButton(i))));
        scissorGroup_->addButton(b, i);
        grid->addWidget(b, 0, i);
        scissors[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] {
            clearShaping();
            chooseScissors(s_, i);
            emit toolChosen(toolfiles::CursorId::Scissors);
        });
    }
    auto* hint = new QLabel(QStringLiteral("请先选择剪刀形状，然后在发型上点击"), frame);
    grid->addWidget(hint, 1, 0, 1, 6);
    return frame;
}

QWidget* frmfx::buildShaping() {
    auto* frame = new QGroupBox(QStringLiteral(" 造形 "), this);
    auto* grid = new QGridLayout(frame);
    shaping = new QRadioButton(QStringLiteral("造形工具"), frame);
    shaping->setObjectName(QStringLiteral("Option1_6"));
    Slider1 = new DragSlider(Qt::Horizontal, 1, 20, frame);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setValue(10);
    grid->addWidget(shaping, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("变形区域大小"), frame), 1, 0);
    grid->addWidget(Slider1, 1, 1);
    connect(shaping, &QRadioButton::clicked, this, [this] {
        // One option at a time: the scissors give way to shaping.
        scissorGroup_->setExclusive(false);
        for (QToolButton* b : scissors) b->setChecked(false);
        scissorGroup_->setExclusive(true);
        chooseShaping(s_);
        emit toolChosen(toolfiles::CursorId::Concealer);
    });
    connect(Slider1, &QSlider::valueChanged, this, [this](int v) {
        setHairWarpSize(s_, v);
        emit outlinesChanged();
    });
    return frame;
}

QWidget* frmfx::buildMoves() {
    auto* frame = new QGroupBox(QStringLiteral(" 移动和伸缩 "), this);
    auto* grid = new QGridLayout(frame);
    const struct {
        MoveSlider which;
        const char* name;
        const char16_t* caption;
        Qt::Orientation o;
        int range, row, column;
    } moves[] = {{MoveSlider::Slider3, "Slider3", u"水平伸缩", Qt::Horizontal, 20, 0, 0},
                 {MoveSlider::Slider5, "Slider5", u"水平移动", Qt::Horizontal, 20, 1, 0},
                 {MoveSlider::Slider4, "Slider4", u"垂直移动", Qt::Vertical, 30, 0, 2},
                 {MoveSlider::Slider6, "Slider6", u"垂直伸缩", Qt::Vertical, 30, 0, 3}};
    for (const auto& m : moves) {
        auto* slider = new DragSlider(m.o, -m.range, m.range, frame);
        slider->setObjectName(QLatin1String(m.name));
        auto* label = new QLabel(QString::fromUtf16(m.caption), frame);
        if (m.o == Qt::Horizontal) {
            grid->addWidget(label, m.row, m.column);
            grid->addWidget(slider, m.row, m.column + 1);
        } else {
            slider->setMinimumHeight(96);
            grid->addWidget(label, m.row, m.column, Qt::AlignHCenter);
            grid->addWidget(slider, m.row + 1, m.column, 3, 1, Qt::AlignHCenter);
        }
        moves_[static_cast<size_t>(m.which)] = slider;
        const MoveSlider which = m.which;
        // Every change moves the hairstyle, also from the keyboard.
        connect(slider, &QSlider::valueChanged, this, [this, which](int v) {
            dragMoveSlider(s_, MoveTarget::Hairstyle, which, v);
            emit canvasChanged();
        });
    }
    return frame;
}

void frmfx::reopen() { clearShaping(); }

void frmfx::clearShaping() {
    shaping->setAutoExclusive(false);
    shaping->setChecked(false);
    shaping->setAutoExclusive(true);
}

}  // namespace ms
