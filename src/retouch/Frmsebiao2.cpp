#include "retouch/Frmsebiao2.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <tuple>

#include "retouch/ColourPicture.h"
#include "retouch/ToolCursors.h"

namespace ms {

Frmsebiao2::Frmsebiao2(StudioState& s, ToolCursors& cursors, QWidget* owner)
    : QWidget(owner, Qt::Tool), s_(s), cursors_(cursors) {
    setObjectName(QStringLiteral("Frmsebiao2"));
    setWindowTitle(QStringLiteral("化妆工具"));
    setAttribute(Qt::WA_DeleteOnClose);
    openMakeupTools(s_);
    build();
}

void Frmsebiao2::build() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请先选择工具和颜色后再操作"), this));
    auto* grid = new QGridLayout;
    const char16_t* captions[] = {u"化妆笔",   u"化妆刷",   u"遮暇膏", u"吸色管",
                                  u"柔化工具", u"复制工具", u"橡 皮"};
    options_ = new QButtonGroup(this);
    for (int i = 0; i < 7; ++i) {
        Option[i] = new QRadioButton(QString::fromUtf16(captions[i]), this);
        Option[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        options_->addButton(Option[i], i + 1);
        grid->addWidget(Option[i], i / 4, i % 4);
        connect(Option[i], &QRadioButton::clicked, this,
                [this, i] { onOption(static_cast<MakeupOption>(i + 1)); });
    }
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("化妆刷大小"), this));
    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(1, toolfiles::kBrushSizes);
    Slider1->setValue(1);
    connect(Slider1, &QSlider::valueChanged, this, [this](int v) {
        setBrushSize(s_, v);
        emit outlinesChanged();
    });
    layout->addWidget(Slider1);

    std::tie(Picture1, Picture2) = addColourPictures(layout, s_.P, this);
    for (ColourPicture* p : {Picture1, Picture2}) {
        connect(p, &ColourPicture::hovered, this, [this, p](int32_t c) {
            Status told;
            if (eyedropperChosen()) {
                p->setCursor(cursors_.cursor(toolfiles::CursorId::Eyedropper, told));
                showHoverColour(c);
            } else {
                p->unsetCursor();
            }
            if (!told) emit problem(told.message);
        });
        connect(p, &ColourPicture::released, this,
                [this](Qt::MouseButton b, std::optional<int32_t> c) { onPictureRelease(b, c); });
    }

    auto* colours = new QGridLayout;
    Label1 = swatch(this, "Label1");
    Label2 = swatch(this, "Label2");
    showColour(Label2, s_.session.tools.colour);
    colours->addWidget(new QLabel(QStringLiteral("当前颜色"), this), 0, 0);
    colours->addWidget(new QLabel(QStringLiteral("选定颜色"), this), 0, 1);
    colours->addWidget(Label1, 1, 0);
    colours->addWidget(Label2, 1, 1);
    layout->addLayout(colours);

    auto* buttons = new QGridLayout;
    Command2 = new QPushButton(QStringLiteral("撤消化妆"), this);
    Command1 = new QPushButton(QStringLiteral("清除全部化妆"), this);
    Command3 = new QPushButton(QStringLiteral("关闭"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3->setObjectName(QStringLiteral("Command3"));
    buttons->addWidget(Command2, 0, 0);
    buttons->addWidget(Command1, 0, 1);
    buttons->addWidget(Command3, 1, 0, 1, 2);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, [this] {
        const Status st = clearAllMakeup(s_);
        emit canvasChanged();
        if (!st) emit problem(st.message);
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        undoMakeup(s_);
        emit canvasChanged();
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        clearEyedropper();
        emit eyedropperEnded();
        close();
    });
}

bool Frmsebiao2::eyedropperChosen() const { return Option[3]->isChecked(); }

void Frmsebiao2::onOption(MakeupOption option) {
    const auto cursor = chooseMakeupOption(s_, option);
    if (option == MakeupOption::Eyedropper) return emit eyedropperStarted();
    if (cursor) emit canvasCursor(*cursor);
}

void Frmsebiao2::showHoverColour(int32_t colour) { showColour(Label1, colour); }

void Frmsebiao2::pickColour(int32_t colour) {
    pickMakeupColour(s_, colour);
    showColour(Label2, colour);
    clearEyedropper();
}

// Clears the eyedropper option; the tool option chosen before it stays unchecked, as the tool
// mode stays what it was.
void Frmsebiao2::clearEyedropper() {
    options_->setExclusive(false);
    Option[3]->setChecked(false);
    options_->setExclusive(true);
}

void Frmsebiao2::onPictureRelease(Qt::MouseButton b, std::optional<int32_t> colour) {
    if (b == Qt::LeftButton && eyedropperChosen() && colour) pickColour(*colour);
    emit eyedropperEnded();
    Picture1->unsetCursor();
    Picture2->unsetCursor();
}

}  // namespace ms
