#include "hair/Frmyanse.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "hair/HairColour.h"
#include "hair/HairFiles.h"
#include "imaging/GridImage.h"
#include "platform/ComponentFile.h"
#include "platform/DragSlider.h"

namespace ms {

namespace {

// A highlight pattern's button: the pattern over a swatch of brown hair.
QIcon patternIcon(const QString& path) {
    QImage swatch(40, 40, QImage::Format_ARGB32_Premultiplied);
    swatch.fill(QColor(92, 62, 42));
    ComponentImage img;
    if (readComponentFile(path, GridSizing::fromHeader(), img)) {
        QPainter p(&swatch);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(swatch.rect(), imageFromGrid(img.grid));
    }
    return QIcon(QPixmap::fromImage(swatch));
}

}  // namespace

Frmyanse::Frmyanse(StudioState& s, QWidget* owner) : QWidget(owner, Qt::Tool), s_(s) {
    setObjectName(QStringLiteral("Frmyanse"));
    setWindowTitle(QStringLiteral("彩色漂染"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildPresets());
    column->addWidget(buildCustom());
    Bar1 = new QProgressBar(this);
    Bar1->setObjectName(QStringLiteral("Bar1"));
    Bar1->setRange(0, 380);
    Bar1->setValue(0);
    Bar1->setTextVisible(false);
    column->addWidget(Bar1);
    column->addWidget(buildHighlights());
}

QWidget* Frmyanse::buildPresets() {
    auto* frame = new QGroupBox(QStringLiteral("常用色标"), this);
    auto* grid = new QGridLayout(frame);
    auto* group = new QButtonGroup(frame);
    const auto& presets = dyePresets();
    for (int i = 0; i < static_cast<int>(presets.size()); ++i) {
        optqita[i] = new QRadioButton(QString::fromUtf16(presets[i].caption), frame);
        optqita[i]->setObjectName(QStringLiteral("optqita%1").arg(i));
        group->addButton(optqita[i], i);
        grid->addWidget(optqita[i], i / 3, i % 3);
        connect(optqita[i], &QRadioButton::clicked, this, [this, i] {
            const Dye& d = dyePresets()[i].dye;
            // The sliders show the preset; only their release dyes.
            Slider1->setValue(d.A);
            Slider2->setValue(d.B);
            Slider3->setValue(d.C);
            s_.session.hair.dyeHue = d.A, s_.session.hair.dyeSaturation = d.B,
            s_.session.hair.dyeDarkening = d.C;
            dye();
        });
    }
    return frame;
}

QWidget* Frmyanse::buildCustom() {
    auto* frame = new QGroupBox(QStringLiteral("自定义颜色"), this);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("颜色变化 "), frame), 0, 0, 1, 2);
    const struct {
        DragSlider** slider;
        const char* name;
        const char16_t* caption;
        int lo, hi;
        int HairToolState::*value;
    } sliders[] = {{&Slider1, "Slider1", u"色相", -180, 180, &HairToolState::dyeHue},
                   {&Slider2, "Slider2", u"饱和度", -50, 50, &HairToolState::dyeSaturation},
                   {&Slider3, "Slider3", u"明暗", -2000, 500, &HairToolState::dyeDarkening}};
    int row = 1;
    for (const auto& d : sliders) {
        *d.slider = new DragSlider(Qt::Horizontal, d.lo, d.hi, frame);
        (*d.slider)->setObjectName(QLatin1String(d.name));
        (*d.slider)->setValue(s_.session.hair.*d.value);
        grid->addWidget(new QLabel(QString::fromUtf16(d.caption), frame), row, 0);
        grid->addWidget(*d.slider, row++, 1);
        const auto value = d.value;
        // Dragging shows the value; the left button's release dyes.
        connect(*d.slider, &DragSlider::released, this, [this, value](int v, Qt::MouseButton b) {
            if (b != Qt::LeftButton) return;
            s_.session.hair.*value = v;
            dye();
        });
    }
    return frame;
}

QWidget* Frmyanse::buildHighlights() {
    auto* frame = new QGroupBox(QStringLiteral("挑染"), this);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("挑染颜色"), frame), 0, 0);
    Label4 = new QLabel(frame);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFixedSize(40, 18);
    Label4->setAutoFillBackground(true);
    grid->addWidget(Label4, 0, 1);
    Command1 = new QPushButton(QStringLiteral("挑染颜色选择"), frame);
    Command2 = new QPushButton(QStringLiteral("清除挑染"), frame);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    grid->addWidget(Command1, 1, 0);
    grid->addWidget(Command2, 1, 1);
    connect(Command1, &QPushButton::clicked, this, [this] {
        tell(beginHighlights(s_));
        emit canvasChanged();
        emit highlightColourRequested();
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        tell(clearHighlights(s_));
        emit canvasChanged();
    });
    auto* hint = new QLabel(QStringLiteral("挑染图案：选好后在放大的画像上单击，印在照片的头发上"), frame);
    hint->setWordWrap(true);
    grid->addWidget(hint, 2, 0, 1, 2);
    auto* row = new QGridLayout;
    for (int i = 0; i < hairfiles::kHighlightPatternCount; ++i) {
        auto* b = new QToolButton(frame);
        b->setObjectName(QStringLiteral("pattern%1").arg(i));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setIconSize(QSize(40, 40));
        b->setIcon(patternIcon(s_.path(hairfiles::highlightPattern(i))));
        row->addWidget(b, i / 6, i % 6);
        patterns[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] {
            selectHighlightPattern(s_, i);
            emit canvasCursor(toolfiles::CursorId::Clone);
        });
    }
    grid->addLayout(row, 3, 0, 1, 2);
    return frame;
}

void Frmyanse::dye() {
    Bar1->setValue(0);
    tell(faxing_bianse(s_, [this](int column) { Bar1->setValue(column); }));
    emit canvasChanged();
}

void Frmyanse::showHighlightColour(int32_t colour) {
    QPalette p = Label4->palette();
    p.setColor(QPalette::Window, QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF));
    Label4->setPalette(p);
}

// The same problem is told once, until something works again.
void Frmyanse::tell(const Status& st) {
    if (const Status once = told_.pass(st); !once) emit problem(once.message);
}

}  // namespace ms
