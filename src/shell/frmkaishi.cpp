#include "shell/frmkaishi.h"

#include <QMouseEvent>
#include <QPainter>

#include "shell/Artwork.h"
#include "shell/HotLabel.h"

namespace ms {

namespace {
const QColor& kRest = theme::kPaper;
const QColor& kLit = theme::kAccentLight;
}  // namespace

frmkaishi::frmkaishi(QWidget* owner) : QWidget(owner, Qt::Dialog) {
    setObjectName(QStringLiteral("frmkaishi"));
    setWindowTitle(QStringLiteral("欢迎"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kSize);
    setMouseTracking(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, looks::kWindow);
    setPalette(pal);
    setAutoFillBackground(true);

    auto* question = new QLabel(QStringLiteral("你希望如何开始你的工作？"), this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setGeometry(0, 0, kSize.width(), kHeaderHeight);
    question->setAlignment(Qt::AlignCenter);
    question->setFont(captionFont(18, true));
    const char16_t* captions[] = {u"进行美容化妆", u"自动设计发型", u"打开发型库"};
    for (int k = 0; k < 3; ++k) {
        auto* b = new HotLabel(QString::fromUtf16(captions[k]), this);
        b->setObjectName(QStringLiteral("Command%1").arg(k + 1));
        b->setGeometry(50, kHeaderHeight + 20 + 62 * k, 260, 48);
        b->setAlignment(Qt::AlignCenter);
        b->setFont(captionFont(17));
        b->setBackground(kRest);
        connect(b, &HotLabel::entered, this, [this, b] { lightOnly(b); });
        buttons_[k] = b;
    }
    connect(buttons_[0], &HotLabel::released, this, [this](Qt::MouseButton m) {
        if (m == Qt::LeftButton) emit makeupChosen();
    });
    connect(buttons_[1], &HotLabel::released, this, [this](Qt::MouseButton m) {
        if (m == Qt::LeftButton) emit autoDesignChosen();
    });
    connect(buttons_[2], &HotLabel::released, this, [this](Qt::MouseButton m) {
        if (m == Qt::LeftButton) emit libraryChosen();
    });
}

void frmkaishi::lightOnly(HotLabel* lit) {
    for (HotLabel* b : buttons_) b->setBackground(b == lit ? kLit : kRest);
}

void frmkaishi::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(0, 0, width(), kHeaderHeight, looks::kAccentLight);
    p.setPen(QColor(205, 193, 184));
    p.drawLine(0, kHeaderHeight, width(), kHeaderHeight);
    // Its own edge, for desktops that draw no window frame.
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // A thin edge just outside each button, which fills its own face.
    p.setPen(theme::kLine);
    for (const HotLabel* b : buttons_) p.drawRect(b->geometry().adjusted(-1, -1, 0, 0));
}

void frmkaishi::mouseMoveEvent(QMouseEvent* e) {
    lightOnly(nullptr);
    QWidget::mouseMoveEvent(e);
}

}  // namespace ms
