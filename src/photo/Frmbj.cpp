#include "photo/Frmbj.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <functional>

#include "photo/PhotoSession.h"
#include "platform/FaceFinder.h"

namespace ms {

namespace {

constexpr QSize kImage1Size{120, 150};  // the source picture, shown small
const QString kAutoAlignTip = QStringLiteral("找到照片中的脸，让眼睛、眉毛、嘴和耳朵对准发型和饰品的位置");

QLabel* caption(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

// A slider's change counts when the user lets it go, or at once when it moves without being held
// (keyboard, a click on its track): colour steps build on each other, so a drag must apply once.
void onSettled(QSlider* s, QObject* context, const std::function<void()>& apply) {
    QObject::connect(s, &QSlider::sliderReleased, context, apply);
    QObject::connect(s, &QSlider::valueChanged, context, [s, apply] {
        if (!s->isSliderDown()) apply();
    });
}

}  // namespace

Frmbj::Frmbj(StudioState& s, QWidget* owner, const FaceFinder* faces)
    : QWidget(owner, Qt::Window), faces_(faces) {
    setObjectName(QStringLiteral("Frmbj"));
    setWindowTitle(QStringLiteral("照片调整"));
    setAttribute(Qt::WA_DeleteOnClose);
    session_ = std::make_unique<PhotoSession>(s);
    session_->setProgress([this](int column) { emit progress(column); });
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildFit());
    column->addWidget(buildColours());
    column->addWidget(buildButtons());
}

Frmbj::~Frmbj() = default;

QSlider* Frmbj::slider(const QString& name, int lo, int hi, int start, Qt::Orientation o) {
    auto* s = new QSlider(o, this);
    s->setObjectName(name);
    s->setRange(lo, hi);
    s->setValue(start);
    if (o == Qt::Vertical) s->setInvertedAppearance(true);
    return s;
}

QWidget* Frmbj::buildFit() {
    auto* box = new QGroupBox(QStringLiteral("图像大小与位置"), this);
    auto* grid = new QGridLayout(box);
    Image1_ = new QLabel(box);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setFixedSize(kImage1Size);
    Image1_->setAlignment(Qt::AlignCenter);
    Image1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    grid->addWidget(Image1_, 0, 0, 1, 2, Qt::AlignHCenter);
    Check1_ = new QCheckBox(QStringLiteral("图像大小位置参考线"), box);
    Check1_->setObjectName(QStringLiteral("Check1"));
    Check1_->setChecked(true);
    grid->addWidget(Check1_, 1, 0, 1, 2);
    Slider2_ = slider(QStringLiteral("Slider2"), 0, 100, 50);
    Slider3_ = slider(QStringLiteral("Slider3"), -100, 100, 0);
    Slider4_ = slider(QStringLiteral("Slider4"), -100, 100, 0);
    int row = 2;
    for (const auto& [text, s] : {std::pair{QStringLiteral("图象大小调节"), Slider2_},
                                  std::pair{QStringLiteral("图象左右调节"), Slider3_},
                                  std::pair{QStringLiteral("图象高低调节"), Slider4_}}) {
        grid->addWidget(caption(text, box), row, 0);
        grid->addWidget(s, row++, 1);
        connect(s, &QSlider::valueChanged, this, &Frmbj::fit);
    }
    Option1_ = new QRadioButton(QStringLiteral("图象需要旋转调节"), box);
    Option1_->setObjectName(QStringLiteral("Option1"));
    grid->addWidget(Option1_, row++, 0, 1, 2);
    Slider1_ = slider(QStringLiteral("Slider1"), -15, 15, 0);
    Slider1_->hide();  // until the rotation is prepared
    grid->addWidget(Slider1_, row++, 0, 1, 2);
    connect(Check1_, &QCheckBox::clicked, this, [this] {
        session_->toggleGuides();
        emit guidesShown(session_->guidesShown());
    });
    connect(Option1_, &QRadioButton::clicked, this, &Frmbj::prepareRotation);
    onSettled(Slider1_, this, [this] { rotate(); });
    return box;
}

QWidget* Frmbj::buildColours() {
    auto* box = new QGroupBox(QStringLiteral("图象颜色调节"), this);
    auto* grid = new QGridLayout(box);
    const std::array<QString, 4> captions{QStringLiteral("亮度调节"), QStringLiteral("红色调节"),
                                          QStringLiteral("绿色调节"), QStringLiteral("对比度调节")};
    for (int k = 0; k < 4; ++k) {
        cpvyanse_[k] = k == 3 ? slider(QStringLiteral("cpvyanse_3"), 1, 39, 20)
                              : slider(QStringLiteral("cpvyanse_%1").arg(k), -20, 20, 0);
        grid->addWidget(caption(captions[k], box), k, 0);
        grid->addWidget(cpvyanse_[k], k, 1);
        onSettled(cpvyanse_[k], this, [this] { adjustColours(); });
    }
    return box;
}

QWidget* Frmbj::buildButtons() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* background = new QGroupBox(QStringLiteral("去除背景"), box);
    auto* inner = new QVBoxLayout(background);
    auto button = [](const char* name, const QString& text, QWidget* parent) {
        auto* b = new QPushButton(text, parent);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    QPushButton* Command4 = button("Command4", QStringLiteral("去背景"), background);
    inner->addWidget(Command4);
    QPushButton* Command14 = button("Command14", QStringLiteral("自动调肤色"), box);
    QPushButton* Command3 = button("Command3", QStringLiteral("复原"), box);
    QPushButton* AutoAlign = AutoAlign_ = button("AutoAlign", QStringLiteral("自动对齐"), box);
    AutoAlign->setToolTip(kAutoAlignTip);
    AutoAlign->setEnabled(faces_ != nullptr);
    QPushButton* Command2 = button("Command2", QStringLiteral("确定"), box);
    grid->addWidget(Command14, 0, 0);
    grid->addWidget(background, 0, 1, 2, 1);
    grid->addWidget(Command3, 1, 0);
    grid->addWidget(AutoAlign, 2, 0, 1, 2);
    grid->addWidget(Command2, 3, 0, 1, 2);
    connect(AutoAlign, &QPushButton::clicked, this, &Frmbj::autoAlign);
    connect(Command14, &QPushButton::clicked, this, [this] {
        const Status st = session_->correctSkinTone();
        report(st.ok(), st.message);
    });
    connect(Command4, &QPushButton::clicked, this, [this] {
        const Status st = session_->replaceBackground();
        report(st.ok(), st.message);
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        session_->restore();
        emit canvasChanged();
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        session_->accept();
        emit guidesShown(false);
        emit canvasChanged();
        emit accepted();
        close();
    });
    return box;
}

void Frmbj::takeIn(QImage workingCopy) {
    session_->takeIn(std::move(workingCopy));
    showFitSliders(session_->fitSliders());
    showSource();
    emit guidesShown(session_->guidesShown());
    emit canvasChanged();
    if (faces_) autoAlign();
}

void Frmbj::autoAlign() {
    if (!faces_) return;
    AlignResult fitted;
    Status st;
    {
        // The search takes a moment, longer while the landmark model is still being read.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        st = session_->autoAlign(*faces_, fitted);
        QApplication::restoreOverrideCursor();
    }
    emit progress(-1);
    // Without the landmark model the fit goes by the face box alone; the button says why.
    const QString modelProblem = faces_->modelProblem();
    AutoAlign_->setToolTip(modelProblem.isEmpty() ? kAutoAlignTip : kAutoAlignTip + u'\n' + modelProblem);
    if (!st) return emit problem(st.message);
    showFitSliders(fitted.sliders);
    if (fitted.rotation != 0) {
        Option1_->setChecked(true);
        Slider1_->show();
    }
    {
        const QSignalBlocker quiet(Slider1_);
        Slider1_->setValue(fitted.rotation);
    }
    showSource();
    emit guidesShown(session_->guidesShown());
    emit canvasChanged();
}

void Frmbj::showFitSliders(FitSliders shown) {
    for (const auto& [s, v] : {std::pair{Slider2_, shown.size}, std::pair{Slider3_, shown.across},
                               std::pair{Slider4_, shown.up}}) {
        const QSignalBlocker quiet(s);
        s->setValue(v);
    }
}

void Frmbj::showSource() {
    const QImage& source = session_->source();
    Image1_->setPixmap(source.isNull() ? QPixmap()
                                       : QPixmap::fromImage(source.scaled(kImage1Size, Qt::KeepAspectRatio,
                                                                          Qt::SmoothTransformation)));
}

void Frmbj::fit() {
    session_->fit({Slider2_->value(), Slider3_->value(), Slider4_->value()});
    emit canvasChanged();
}

void Frmbj::prepareRotation() {
    // The sliders show the values the rotation starts from; they do not fit the picture again.
    showFitSliders(session_->prepareRotation());
    Slider1_->show();
    emit progress(-1);
}

void Frmbj::rotate() {
    session_->rotate(Slider1_->value());
    showSource();
    emit canvasChanged();
}

void Frmbj::adjustColours() {
    const Status st = session_->adjustColours(
        {cpvyanse_[0]->value(), cpvyanse_[1]->value(), cpvyanse_[2]->value(), cpvyanse_[3]->value()});
    report(st.ok(), st.message);
}

void Frmbj::report(bool ok, const QString& message) {
    emit progress(-1);
    emit canvasChanged();
    if (!ok) emit problem(message);
}

}  // namespace ms
