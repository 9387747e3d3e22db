#include "library/LibraryBrowser.h"

#include <QFileInfo>
#include <algorithm>

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "library/SuitabilityLink.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

int perPageOf(LibraryKind kind) { return kind == LibraryKind::Hairstyles ? 8 : 6; }

}  // namespace

LibraryBrowser::LibraryBrowser(StudioState& s, LibraryKind libraryKind, SuitabilityLink* link)
    : s_(s),
      kind_(libraryKind),
      link_(link),
      pages_(perPageOf(libraryKind)),
      thumbnails_(static_cast<size_t>(perPageOf(libraryKind))),
      enabled_(static_cast<size_t>(perPageOf(libraryKind)), true),
      problems_(static_cast<size_t>(perPageOf(libraryKind))) {}

void LibraryBrowser::open() {
    LibraryState& lib = s_.session.library;
    pages_ = LibraryPages(pages_.perPage());
    std::fill(enabled_.begin(), enabled_.end(), true);
    tab_ = 0;
    openPanel();
    lib.folder = libraryFolder(s_.P, libraryFolderName(kind_, AccessorySubKind::Hat));
    switch (kind_) {
        case LibraryKind::Hairstyles:
            lib.hairFirstCode = QStringLiteral("d");
            lib.hairSecondCode = QStringLiteral("z");
            lib.pattern = hairstylePattern(lib.folder, lib.hairFirstCode, lib.hairSecondCode);
            break;
        case LibraryKind::Eyebrows:
            s_.doc.design.woman = true;
            lib.eyebrowCode = QStringLiteral("k");
            lib.pattern = codePattern(lib.folder, lib.eyebrowCode);
            break;
        case LibraryKind::Lips:
            s_.doc.design.lipColour = kDefaultLipColour;
            lib.lipCode = QStringLiteral("k");
            lib.pattern = codePattern(lib.folder, lib.lipCode);
            s_.doc.design.zuixingnd = static_cast<int16_t>(5 * panel_.colourSlider);
            break;
        default:
            subKind_ = AccessorySubKind::Hat;
            lib.pattern = everythingPattern(lib.folder);
            break;
    }
    makeCurrent();
    listAndDraw();
}

void LibraryBrowser::openPanel() {
    panel_ = AdjustmentPanel();
    switch (kind_) {
        case LibraryKind::Eyebrows:
            panel_.resetCaption = QStringLiteral("眉毛复原");
            panel_.colourCaption = QStringLiteral("眉毛颜色浓淡");
            panel_.warpSize = 7;
            break;
        case LibraryKind::Lips:
            panel_.resetCaption = QStringLiteral("唇型复原");
            panel_.colourCaption = QStringLiteral("唇型颜色浓淡");
            panel_.warpSize = 8;
            break;
        case LibraryKind::Accessories:
            panel_.resetCaption = QStringLiteral("饰品复位");
            panel_.colourSliderShown = false;
            panel_.warpShown = false;
            break;
        default:
            break;
    }
}

void LibraryBrowser::selectCategory(int tab) {
    const std::vector<Category>& tabs = categories();
    if (tab < 0 || tab >= static_cast<int>(tabs.size())) return;
    const Category& c = tabs[static_cast<size_t>(tab)];
    LibraryState& lib = s_.session.library;
    tab_ = tab;
    std::fill(enabled_.begin(), enabled_.end(), true);
    pages_.restart();
    lib.folder = libraryFolder(s_.P, c.folder);
    switch (kind_) {
        case LibraryKind::Hairstyles:
            lib.hairFirstCode = c.firstCode;
            lib.hairSecondCode = c.secondCode;
            lib.pattern = hairstylePattern(lib.folder, c.firstCode, c.secondCode);
            break;
        case LibraryKind::Eyebrows:
            lib.eyebrowCode = c.firstCode;
            s_.doc.design.woman = c.woman;
            lib.pattern = codePattern(lib.folder, c.firstCode);
            break;
        case LibraryKind::Lips:
            lib.lipCode = c.firstCode;
            lib.pattern = codePattern(lib.folder, c.firstCode);
            break;
        default: {
            subKind_ = c.subKind;
            lib.pattern = everythingPattern(lib.folder);
            // A tab shows the sliders of the fields its kind has, and the warp tool if it warps.
            const KindInfo& info = kindInfo(kindOfLibrary(kind_, subKind_));
            panel_.moveAcrossShown = info.members()[0].left != nullptr;
            panel_.stretchUpDownShown = info.members()[0].height != nullptr;
            panel_.warpShown = info.warpable;
            if (panel_.warpShown) panel_.warpSize = 7;
            break;
        }
    }
    makeCurrent();
    listAndDraw();
}

void LibraryBrowser::makeCurrent() {
    s_.session.library.currentKind = kind_;
    if (kind_ == LibraryKind::Accessories) s_.session.library.accessorySubKind = subKind_;
}

void LibraryBrowser::listAndDraw() {
    QStringList listing = LibraryPages::buildListing(s_.session.library.pattern);
    if (kind_ == LibraryKind::Hairstyles) listing = forClientFace(listing);
    pages_.setListing(listing);
    drawPage();
}

QStringList LibraryBrowser::forClientFace(const QStringList& listing) {
    const std::optional<SuitabilityField> field = suitabilityFieldOf(s_.session.clientFace.shape());
    if (!field || !link_) return listing;
    QStringList suiting;
    // Without the records the listing stays as it is; the database problem shows when a style is applied.
    if (!link_->namesWith(*field, suiting)) return listing;
    return suitingFirst(listing, suiting, s_.session.library.onlySuitingFace);
}

void LibraryBrowser::relist() {
    pages_.restart();
    listAndDraw();
}

void LibraryBrowser::nextPage() {
    if (!pages_.nextEnabled()) return;
    pages_.next();
    drawPage();
}

void LibraryBrowser::previousPage() {
    if (!pages_.previousEnabled()) return;
    pages_.previous();
    drawPage();
}

void LibraryBrowser::redrawPage() { drawPage(); }

void LibraryBrowser::drawPage() {
    const ThumbnailKind kind = thumbnailKind();
    const ThumbnailArea area = areaOf(kind);
    if (kind != ThumbnailKind::Eyebrows) stripShown_ = area == ThumbnailArea::Strip;
    for (int i = 0; i < thumbnailCount(); ++i) {
        const size_t k = static_cast<size_t>(i);
        thumbnails_[k] = QImage();
        problems_[k].clear();
        const QString entry = pages_.entry(i);
        // An unreadable file leaves its thumbnail blank and disabled; the page goes on.
        if (entry.isEmpty()) {
            enabled_[k] = false;
            continue;
        }
        const Status st = renderThumbnail(entry, kind, s_.doc.design.lipColour, thumbnails_[k]);
        enabled_[k] = st.ok();
        if (!st) problems_[k] = QStringLiteral("这个部件无法使用：%1").arg(st.message);
    }
}

bool LibraryBrowser::thumbnailIsNone(int i) const {
    const QString entry = pages_.entry(i);
    return !entry.isEmpty() && QFileInfo(entry).fileName().startsWith(QLatin1String("000"));
}

void LibraryBrowser::applyToDesign(const QString& entry) {
    const Kind k = kindOfLibrary(kind_, subKind_);
    const KindInfo& info = kindInfo(k);
    if (info.resetsColourSlider) panel_.colourSlider = 0;
    // New eyebrows come at full strength, matching the slider.
    if (info.step == SurfaceStep::EyebrowStrength) s_.session.eyebrowStrength = 0;
    // A new component replaces a warped one.
    if (info.warpable) s_.doc.flags.modified(k) = false;
    s_.doc.design.*info.file = entry;
}

LibraryApplied LibraryBrowser::apply(int index) {
    LibraryApplied out;
    if (index < 0 || index >= thumbnailCount() || !thumbnailEnabled(index)) return out;
    const QString entry = pages_.entry(index);
    makeCurrent();
    applyToDesign(entry);
    out.done = true;
    out.libraryKind = kind_;
    out.accessorySubKind = subKind_;
    out.file = entry;
    if (Status st = huaban_hecheng2(s_); !st) out.problems << st.message;
    if (Status st = huifu_baochun(s_); !st) out.problems << st.message;
    if (kind_ == LibraryKind::Hairstyles) showHairstyleRecord(out);
    return out;
}

void LibraryBrowser::showHairstyleRecord(LibraryApplied& out) {
    const QString info = hairstyleInfoPicture(s_.P, out.file);
    // An unreadable picture clears Image1.
    if (!info.isEmpty() && !loadPicture(info, PicturePurpose::Card, out.infoPicture))
        out.infoPicture = QImage();
    if (!link_) return;
    const QString reported = link_->lastProblem();
    const Status st = link_->bind(QFileInfo(out.file).fileName());
    if (!st && st.message != reported) out.problems << st.message;
    out.recordBound = link_->isBound();
    out.record = link_->record();
}

}  // namespace ms
