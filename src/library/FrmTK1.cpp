#include "library/FrmTK1.h"

#include <QVBoxLayout>

#include "library/ThumbnailButton.h"

namespace ms {

FrmTK1::FrmTK1(StudioState& s, SuitabilityLink* link, QWidget* owner)
    : LibraryWindow(s, LibraryKind::Hairstyles, link, owner) {
    setObjectName(QStringLiteral("FrmTK1"));
    setWindowTitle(QStringLiteral("发型库"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(tabStrip());
    auto* Frame2 = new QWidget(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    thumbnails_ = makeThumbnails(Frame2, {100, 100}, 2);
    column->addWidget(Frame2, 0, Qt::AlignHCenter);
    column->addWidget(pagingBar());
}

void FrmTK1::showThumbnails() { showPicturesIn(thumbnails_); }

}  // namespace ms
