#include "shell/frmguanbi.h"

#include <QLabel>
#include <QPainter>

#include "shell/Artwork.h"
#include "shell/HotLabel.h"
#include "shell/ZjmLayout.h"

namespace ms {

namespace {

const QColor kRest(224, 224, 224);
const QColor kLit(180, 255, 245);

// Control positions in twips: left, top, width, height.
struct Twips {
    int left, top, width, height;
    QRect pixels() const { return {left / 15, top / 15, width / 15, height / 15}; }
};
constexpr Twips kImage1{1710, 825, 1605, 1185};
constexpr Twips kLabel2[] = {
    {540, 2445, 2865, 240}, {540, 2835, 2865, 240}, {525, 3615, 2865, 240}, {540, 3240, 2865, 240}};
constexpr Twips kLabel1{555, 4950, 2670, 525};
constexpr Twips kCommand1{690, 5640, 1980, 375};
constexpr Twips kCommand2{1095, 6285, 2010, 375};
constexpr Twips kLabel3{345, 450, 3240, 7140};

}  // namespace

frmguanbi::frmguanbi(const QString& programFolder) : QDialog(nullptr) {
    setObjectName(QStringLiteral("frmguanbi"));
    setWindowTitle(QStringLiteral("结束设计"));
    setFixedSize(kClientSize);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, looks::kWindow);
    setPalette(pal);

    // Behind all the others: the pointer reaching it has left both buttons.
    auto* Label3 = new HotLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(kLabel3.pixels());
    connect(Label3, &HotLabel::entered, this, [this] { lightOnly(nullptr); });

    auto* Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(kImage1.pixels());
    Image1->setPixmap(artPicture(programFolder, QLatin1String(zjm::kExitPicture), zjm::kExitPictureSize,
                                 QString(), looks::kHover));
    const char16_t* lines[] = {u"感谢您使用美发美容设计室", u"您有任何问题和建议", u"可以随时和我们联系",
                               u"或者经验交流"};
    for (int k = 0; k < 4; ++k) {
        auto* l = new QLabel(QString::fromUtf16(lines[k]), this);
        l->setObjectName(QStringLiteral("Label2_%1").arg(k));
        l->setGeometry(kLabel2[k].pixels());
        l->setAlignment(Qt::AlignCenter);
        l->setFont(captionFont(12));
    }
    Label1_ = new QLabel(QStringLiteral("您确定要结束本次设计吗？"), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setGeometry(kLabel1.pixels());
    Label1_->setAlignment(Qt::AlignCenter);
    Label1_->setWordWrap(true);
    Label1_->setFont(captionFont(12, true));

    Command1_ = new HotLabel(QStringLiteral("是的，以后再设计"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setGeometry(kCommand1.pixels());
    Command2_ = new HotLabel(QStringLiteral("不，现在继续设计"), this);
    Command2_->setObjectName(QStringLiteral("Command2"));
    Command2_->setGeometry(kCommand2.pixels());
    for (HotLabel* b : {Command1_, Command2_}) {
        b->setAlignment(Qt::AlignCenter);
        b->setFont(captionFont(13));
        b->setFrameStyle(QFrame::Panel | QFrame::Raised);
        b->setBackground(kRest);
        connect(b, &HotLabel::entered, this, [this, b] { lightOnly(b); });
    }
    connect(Command1_, &HotLabel::released, this, [this](Qt::MouseButton m) {
        if (m == Qt::LeftButton) confirm();
    });
    connect(Command2_, &HotLabel::released, this, [this](Qt::MouseButton m) {
        if (m == Qt::LeftButton) reject();
    });
}

void frmguanbi::lightOnly(HotLabel* lit) {
    for (HotLabel* b : {Command1_, Command2_}) b->setBackground(b == lit ? kLit : kRest);
}

void frmguanbi::confirm() {
    setCursor(Qt::WaitCursor);
    Label1_->setText(QStringLiteral("正在删除临时文件，请稍侯。。。。。"));
    emit confirmed();
}

void frmguanbi::paintEvent(QPaintEvent* e) {
    QDialog::paintEvent(e);
    // The etched separator Line1(0) and its white twin Line1(1).
    QPainter p(this);
    p.setPen(QColor(160, 160, 160));
    p.drawLine(34, 284, 216, 284);
    p.setPen(Qt::white);
    p.drawLine(36, 285, 218, 285);
}

}  // namespace ms
