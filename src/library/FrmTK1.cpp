#include "library/FrmTK1.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "library/LibraryCatalogue.h"
#include "library/ThumbnailButton.h"

namespace ms {

FrmTK1::FrmTK1(StudioState& s, SuitabilityLink* link, QWidget* owner)
    : LibraryWindow(s, LibraryKind::Hairstyles, link, owner), s_(s) {
    setObjectName(QStringLiteral("FrmTK1"));
    setWindowTitle(QStringLiteral("发型库"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(tabStrip());
    auto* Frame2 = new QWidget(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    thumbnails_ = makeThumbnails(Frame2, {100, 100}, 2);
    column->addWidget(Frame2, 0, Qt::AlignHCenter);
    column->addWidget(pagingBar());
    suitingOnly_ = new QCheckBox(QStringLiteral("只看适合脸型"), this);
    suitingOnly_->setObjectName(QStringLiteral("CheckSuitingOnly"));
    column->addWidget(suitingOnly_);
    connect(suitingOnly_, &QCheckBox::toggled, this, [this](bool on) {
        s_.session.library.onlySuitingFace = on;
        browser().relist();
        showState();
    });
    showSuitingToggle();
}

void FrmTK1::showSuitingToggle() {
    // An oval face suits every style, and an unknown one none in particular: nothing to filter by.
    const FaceShape shape = s_.session.clientFace.shape();
    const bool filters = suitabilityFieldOf(shape).has_value();
    suitingOnly_->setEnabled(filters);
    suitingOnly_->setToolTip(
        filters ? QStringLiteral("适合%1的发型排在前面；勾选后只列出它们").arg(faceShapeName(shape))
                : QStringLiteral("客户脸型为椭圆或尚未测出时，所有发型都列出"));
    const QSignalBlocker quiet(suitingOnly_);
    suitingOnly_->setChecked(s_.session.library.onlySuitingFace);
}

void FrmTK1::clientFaceChanged() {
    showSuitingToggle();
    browser().relist();
    showState();
}

void FrmTK1::showThumbnails() { showPicturesIn(thumbnails_); }

}  // namespace ms
