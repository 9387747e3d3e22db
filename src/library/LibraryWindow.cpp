#include "library/LibraryWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "library/CategoryTabs.h"
#include "library/ThumbnailButton.h"

namespace ms {

LibraryWindow::LibraryWindow(StudioState& s, LibraryKind libraryKind, SuitabilityLink* link, QWidget* owner)
    : QWidget(owner, Qt::Tool), browser_(s, libraryKind, link), SSTab1_(new CategoryTabs(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    QStringList captions;
    for (const Category& c : browser_.categories()) captions << c.caption;
    SSTab1_->setTabs(captions, tabsPerRow(libraryKind));
    connect(SSTab1_, &CategoryTabs::tabClicked, this, &LibraryWindow::onTab);
}

QWidget* LibraryWindow::tabStrip() const { return SSTab1_; }

QWidget* LibraryWindow::pagingBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    Command2_ = new QPushButton(QStringLiteral("上一页"), bar);
    Command3_ = new QPushButton(QStringLiteral("下一页"), bar);
    Label4_ = new QLabel(QStringLiteral("第1页"), bar);
    Label3_ = new QLabel(QStringLiteral("共00页"), bar);
    Command2_->setObjectName(QStringLiteral("Command2"));
    Command3_->setObjectName(QStringLiteral("Command3"));
    Label4_->setObjectName(QStringLiteral("Label4"));
    Label3_->setObjectName(QStringLiteral("Label3"));
    Command2_->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{Command2_, Label4_, Label3_, Command3_})
        row->addWidget(w);
    connect(Command2_, &QPushButton::clicked, this, [this] {
        browser_.previousPage();
        showState();
    });
    connect(Command3_, &QPushButton::clicked, this, [this] {
        browser_.nextPage();
        showState();
    });
    return bar;
}

std::vector<ThumbnailButton*> LibraryWindow::makeThumbnails(QWidget* area, QSize pictureSize, int perRow,
                                                            QSize cellSize) {
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);
    grid->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    std::vector<ThumbnailButton*> buttons;
    for (int i = 0; i < browser_.thumbnailCount(); ++i) {
        auto* b = new ThumbnailButton(i, pictureSize, area, cellSize);
        grid->addWidget(b, i / perRow, i % perRow);
        connect(b, &ThumbnailButton::clicked, this, &LibraryWindow::onThumbnail);
        buttons.push_back(b);
    }
    return buttons;
}

void LibraryWindow::showPicturesIn(const std::vector<ThumbnailButton*>& buttons) {
    for (ThumbnailButton* b : buttons) {
        b->setPicture(browser_.thumbnail(b->index()));
        b->setEnabled(browser_.thumbnailEnabled(b->index()));
        b->setCaption(browser_.thumbnailIsNone(b->index()) ? QStringLiteral("无") : QString());
        // A component that cannot be shown says why under the pointer.
        b->setToolTip(browser_.thumbnailProblem(b->index()));
    }
}

void LibraryWindow::openLibrary() {
    browser_.open();
    SSTab1_->setCurrent(0);
    showState();
}

void LibraryWindow::redrawPage() {
    browser_.redrawPage();
    showState();
}

void LibraryWindow::showState() {
    const LibraryPages& pages = browser_.pages();
    if (Command2_) {
        Command2_->setEnabled(pages.previousEnabled());
        Command3_->setEnabled(pages.nextEnabled());
        Label4_->setText(pages.pageText());
        Label3_->setText(pages.countText());
    }
    showThumbnails();
}

void LibraryWindow::onTab(int tab) {
    browser_.selectCategory(tab);
    showState();
}

void LibraryWindow::onThumbnail(int index) {
    const LibraryApplied result = browser_.apply(index);
    showState();
    if (result.done) emit applied(result);
}

void LibraryWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
    emit closedByDoubleClick();
    close();
}

}  // namespace ms
