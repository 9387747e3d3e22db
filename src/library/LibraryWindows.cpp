#include "library/LibraryWindows.h"

#include <QScreen>
#include <algorithm>

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
    connect(window, &LibraryWindow::applied, this, [this, window](const LibraryApplied& result) {
        emit applied(result);
        if (!result.problems.isEmpty()) emit problem(result.problems.join(QLatin1Char('\n')), window);
    });
    connect(window, &LibraryWindow::closedByDoubleClick, this, &LibraryWindows::closedByDoubleClick);
}

// Beside the main window where the screen has room for it, otherwise against its right edge, so
// the canvas and the tool strip stay in view.
void LibraryWindows::placeBesideOwner(QWidget* window) const {
    window->adjustSize();
    const QRect owner = owner_->frameGeometry();
    const QScreen* screen = owner_->screen();
    const QRect room = screen ? screen->availableGeometry() : owner;
    int x = owner.right() + 1;
    if (x + window->width() > room.right() + 1)
        x = std::max(room.left(), owner.right() + 1 - window->width());
    window->move(x, std::max(room.top(), owner.top() + 76));
}

void LibraryWindows::openHairstyles() {
    s_.session.library.currentKind = LibraryKind::Hairstyles;
    if (hairstyles_) {
        hairstyles_->show();
        hairstyles_->raise();
        hairstyles_->activateWindow();
        return;
    }
    hairstyles_ = new FrmTK1(s_, link_.get(), owner_);
    wire(hairstyles_.data());
    hairstyles_->openLibrary();
    placeBesideOwner(hairstyles_);
    hairstyles_->show();
}

void LibraryWindows::openComponent(LibraryKind libraryKind) {
    closeComponentWindow();
    component_ = new FrmTK(s_, libraryKind, owner_);
    wire(component_.data());
    FrmTK* w = component_.data();
    connect(w, &FrmTK::canvasChanged, this, &LibraryWindows::canvasChanged);
    connect(w, &FrmTK::outlinesChanged, this, &LibraryWindows::outlinesChanged);
    connect(w, &FrmTK::warpToolChosen, this, &LibraryWindows::warpToolChosen);
    connect(w, &FrmTK::lipColourRequested, this, &LibraryWindows::lipColourRequested);
    connect(w, &FrmTK::problem, this, [this, w](const QString& m) { emit problem(m, w); });
    component_->openLibrary();
    placeBesideOwner(component_);
    component_->show();
}

void LibraryWindows::openEyebrows() { openComponent(LibraryKind::Eyebrows); }
void LibraryWindows::openLips() { openComponent(LibraryKind::Lips); }
void LibraryWindows::openAccessories() { openComponent(LibraryKind::Accessories); }

void LibraryWindows::closeComponentWindow() { delete component_.data(); }

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
