#include "photo/Frmpaizhao.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Camera.h"
#include "platform/PictureFile.h"

namespace ms {

QString Frmpaizhao::noticeText() {
    return QStringLiteral(
        "摄像头输入时需注意\n"
        "1、在给顾客照相时由于考虑到系统发型需覆盖顾客的先有发型。所以应该尽量把她的头发向后梳拢，露出额头、"
        "面部及耳朵。\n\n"
        "2、照相时尽量照垂直面向镜头的正脸像，且大小适度，以免在设计时发型与头型不匹配，从而在修改上增加工作"
        "量，并且在一定程度上影响效果。\n\n"
        "3、要求光线来自正面，不可太强或太暗。头部在人像的比例不可太小，最好不拍肩部以下，背景尽可能为白色或"
        "浅色，焦距需对实，使五官比较清晰。\n\n"
        "4、强烈建议不要使用低像素摄像头，因为像素太低会影响设计发型效果。");
}

Frmpaizhao::Frmpaizhao(const QString& source, QWidget* owner)
    : QWidget(owner, Qt::Tool), camera_(std::make_unique<Camera>()) {
    setObjectName(QStringLiteral("Frmpaizhao"));
    setWindowTitle(QStringLiteral("摄像头输入"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    notice = new QLabel(noticeText(), this);
    notice->setObjectName(QStringLiteral("Label1"));
    notice->setWordWrap(true);
    notice->setMinimumWidth(320);
    column->addWidget(notice);
    chooser = new QComboBox(this);
    chooser->setObjectName(QStringLiteral("chooser"));
    column->addWidget(chooser);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("status"));
    status->setWordWrap(true);
    status->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    column->addWidget(status);
    auto* buttons = new QGridLayout;
    const char16_t* captions[] = {u"拍照", u"保存", u"确定", u"取消"};
    QPushButton** places[] = {&Command1, &Command2, &Command3, &Command4};
    for (int i = 0; i < 4; ++i) {
        *places[i] = new QPushButton(QString::fromUtf16(captions[i]), this);
        (*places[i])->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        buttons->addWidget(*places[i], 0, i);
    }
    column->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &Frmpaizhao::take);
    connect(Command2, &QPushButton::clicked, this, &Frmpaizhao::save);
    connect(Command3, &QPushButton::clicked, this, &Frmpaizhao::accept);
    connect(Command4, &QPushButton::clicked, this, &Frmpaizhao::end);
    connect(camera_.get(), &Camera::frameArrived, this, [this] {
        emit videoFrame(camera_->currentFrame());
        showState();
    });
    connect(camera_.get(), &Camera::failed, this, [this](const QString& why) {
        problem_ = why;
        showState();
    });
    askName_ = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("请输入一个要保存位图的名字"), QString(),
                                            QStringLiteral("位图文件(*.bmp)"));
    };

    // With several cameras the stylist chooses; the first is taken at the start.
    QString first = source;
    if (source.isEmpty()) {
        for (const CameraDevice& d : Camera::devices()) chooser->addItem(d.name, d.source);
        if (chooser->count() > 0) first = chooser->itemData(0).toString();
    }
    chooser->setVisible(chooser->count() > 1);
    connect(chooser, &QComboBox::activated, this,
            [this](int i) { startCamera(chooser->itemData(i).toString()); });
    if (first.isEmpty())
        problem_ = QStringLiteral("未找到摄像头：请连接摄像头后再试。");
    else
        startCamera(first);
    showState();
}

Frmpaizhao::~Frmpaizhao() = default;

void Frmpaizhao::startCamera(const QString& source) {
    frozen_ = false;
    const Status st = camera_->start(source);
    problem_ = st ? QString() : st.message;
    showState();
}

void Frmpaizhao::showState() {
    const bool frame = !camera_->currentFrame().isNull();
    Command1->setText(frozen_ ? QStringLiteral("重拍") : QStringLiteral("拍照"));
    Command1->setEnabled(camera_->running() || frozen_);
    Command2->setEnabled(frame);
    Command3->setEnabled(frame);
    status->setText(problem_);
    status->setVisible(!problem_.isEmpty());
}

void Frmpaizhao::take() {
    emit videoFrame(camera_->currentFrame());
    frozen_ = !frozen_;
    // Frozen, the last frame stays in the video area and is the one "保存" and "确定" take.
    camera_->setPreview(!frozen_);
    showState();
}

void Frmpaizhao::save() {
    const QImage frame = camera_->currentFrame();
    if (frame.isNull()) return;
    const QString name = askName_();
    if (name.isEmpty()) return;
    if (const Status st = savePictureBmp(name, frame); !st) {
        problem_ = st.message;
        showState();
    }
}

void Frmpaizhao::accept() {
    const QImage frame = camera_->currentFrame();
    // Without a frame the design is not reset for nothing.
    if (frame.isNull()) {
        problem_ = QStringLiteral("还没有摄像头画面，当前设计保持不变。");
        return showState();
    }
    camera_->stop();
    emit videoHidden();
    emit accepted(frame);
    showState();
}

void Frmpaizhao::end() {
    camera_->stop();
    emit videoHidden();
    close();
}

void Frmpaizhao::closeEvent(QCloseEvent* e) {
    camera_->stop();
    emit videoHidden();
    QWidget::closeEvent(e);
}

}  // namespace ms
