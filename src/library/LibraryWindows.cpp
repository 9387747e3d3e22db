#include "library/LibraryWindows.h"

#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/SuitabilityLink.h"

namespace ms {

LibraryWindows::LibraryWindows(StudioState& s, QWidget* owner)
    : QObject(owner),
      s_(s),
      owner_(owner),
      link_(std::make_unique<SuitabilityLink>(s.path(QStringLiteral("dova.mdb")))) {}

LibraryWindows::~LibraryWindows() { closeAll(); }

template <typename W>
void LibraryWindows::wire(W* window) {
    connect(window, &LibraryWindow::applied, this, [this](const LibraryApplied& result) {
        emit applied(result);
        if (!result.problems.isEmpty()) emit problem(result.problems.join(QLatin1Char('\n')));
    });
    connect(window, &LibraryWindow::closedByDoubleClick, this, &LibraryWindows::closedByDoubleClick);
}

void LibraryWindows::openHairstyles() {
    s_.library.currentKind = kLibraryHairstyles;
    if (hairstyles_) {
        hairstyles_->show();
        hairstyles_->raise();
        hairstyles_->activateWindow();
        return;
    }
    hairstyles_ = new FrmTK1(s_, link_.get(), owner_);
    wire(hairstyles_.data());
    hairstyles_->openLibrary();
    hairstyles_->show();
}

void LibraryWindows::openComponent(int libraryKind) {
    closeComponentWindow();
    component_ = new FrmTK(s_, libraryKind, owner_);
    wire(component_.data());
    component_->openLibrary();
    component_->show();
}

void LibraryWindows::openEyebrows() { openComponent(kLibraryEyebrows); }
void LibraryWindows::openLips() { openComponent(kLibraryLips); }
void LibraryWindows::openAccessories() { openComponent(kLibraryAccessories); }

void LibraryWindows::closeComponentWindow() { delete component_.data(); }

void LibraryWindows::closeAll() {
    closeComponentWindow();
    delete hairstyles_.data();
}

void LibraryWindows::redrawComponentPage() {
    if (component_) component_->redrawPage();
}

void LibraryWindows::suitabilityBoxClicked(int group, int index, bool checked) {
    // A failed save is not reported: the box keeps its new state on screen.
    link_->boxClicked(group, index, checked);
}

}  // namespace ms
