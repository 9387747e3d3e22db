#include "library/LibraryWindows.h"

#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/SuitabilityLink.h"
#include "platform/WindowPlacement.h"

namespace ms {

LibraryWindows::LibraryWindows(StudioState& s, QWidget* owner)
    : QObject(owner),
      s_(s),
      owner_(owner),
      link_(std::make_unique<SuitabilityLink>(s.path(QStringLiteral("dova.mdb")))) {}

LibraryWindows::~LibraryWindows() { closeAll(); }

template <typename W>
void LibraryWindows::wire(W* window) {
    connect(window, &LibraryWindow::applied, this, [this, window](const LibraryApplied& result) {
        emit applied(result);
        if (!result.problems.isEmpty()) emit problem(result.problems.join(QLatin1Char('\n')), window);
    });
    connect(window, &LibraryWindow::closedByDoubleClick, this, &LibraryWindows::closedByDoubleClick);
}

void LibraryWindows::openHairstyles() {
    s_.session.library.currentKind = LibraryKind::Hairstyles;
    // One library window at a time, in the same place.
    closeComponentWindow();
    if (hairstyles_) {
        hairstyles_->show();
        hairstyles_->raise();
        hairstyles_->activateWindow();
        return;
    }
    hairstyles_ = new FrmTK1(s_, link_.get(), owner_);
    wire(hairstyles_.data());
    hairstyles_->openLibrary();
    placeBesideMainWindow(owner_, hairstyles_);
    hairstyles_->show();
}

void LibraryWindows::openComponent(LibraryKind libraryKind) {
    closeComponentWindow();
    // The hairstyle window steps aside as the stylist left it, and comes back so.
    if (hairstyles_) hairstyles_->hide();
    component_ = new FrmTK(s_, libraryKind, owner_);
    wire(component_.data());
    FrmTK* w = component_.data();
    connect(w, &FrmTK::canvasChanged, this, &LibraryWindows::canvasChanged);
    connect(w, &FrmTK::outlinesChanged, this, &LibraryWindows::outlinesChanged);
    connect(w, &FrmTK::warpToolChosen, this, &LibraryWindows::warpToolChosen);
    connect(w, &FrmTK::lipColourRequested, this, &LibraryWindows::lipColourRequested);
    connect(w, &FrmTK::problem, this, [this, w](const QString& m) { emit problem(m, w); });
    component_->openLibrary();
    placeBesideMainWindow(owner_, component_);
    component_->show();
}

void LibraryWindows::openEyebrows() { openComponent(LibraryKind::Eyebrows); }
void LibraryWindows::openLips() { openComponent(LibraryKind::Lips); }
void LibraryWindows::openAccessories() { openComponent(LibraryKind::Accessories); }

void LibraryWindows::closeComponentWindow() { delete component_.data(); }

void LibraryWindows::putAway() {
    closeComponentWindow();
    if (hairstyles_) hairstyles_->hide();
}

void LibraryWindows::forgetHairstyleRecord() { link_->unbind(); }

void LibraryWindows::closeAll() {
    closeComponentWindow();
    delete hairstyles_.data();
}

void LibraryWindows::redrawComponentPage() {
    if (component_) component_->redrawPage();
}

void LibraryWindows::suitabilityBoxClicked(int group, int index, bool checked) {
    if (Status st = link_->boxClicked(group, index, checked); !st) emit problem(st.message, nullptr);
}

}  // namespace ms
