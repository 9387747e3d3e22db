#include "library/LibraryBrowser.h"

#include <QFileInfo>
#include <algorithm>

#include "compositor/Composition.h"
#include "library/SuitabilityLink.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"

namespace ms {

namespace {

constexpr int32_t kOpeningLipColour = 0x5000FF;  // RGB(255, 0, 80), red in the low byte

int perPageOf(int kind) { return kind == kLibraryHairstyles ? 8 : 6; }

}  // namespace

LibraryBrowser::LibraryBrowser(StudioState& s, int libraryKind, SuitabilityLink* link)
    : s_(s),
      kind_(libraryKind),
      link_(link),
      pages_(perPageOf(libraryKind)),
      thumbnails_(static_cast<size_t>(perPageOf(libraryKind))),
      enabled_(static_cast<size_t>(perPageOf(libraryKind)), true) {}

void LibraryBrowser::open() {
    LibraryState& lib = s_.library;
    pages_ = LibraryPages(pages_.perPage());
    std::fill(enabled_.begin(), enabled_.end(), true);
    tab_ = 0;
    openPanel();
    lib.folder = libraryFolder(s_.P, libraryFolderName(kind_, kAccessoryHat));
    switch (kind_) {
        case kLibraryHairstyles:
            lib.hairFirstCode = QStringLiteral("d");
            lib.hairSecondCode = QStringLiteral("z");
            lib.pattern = hairstylePattern(lib.folder, lib.hairFirstCode, lib.hairSecondCode);
            break;
        case kLibraryEyebrows:
            s_.design.woman = true;
            lib.eyebrowCode = QStringLiteral("k");
            lib.pattern = codePattern(lib.folder, lib.eyebrowCode);
            break;
        case kLibraryLips:
            s_.design.lipColour = kOpeningLipColour;
            lib.lipCode = QStringLiteral("k");
            lib.pattern = codePattern(lib.folder, lib.lipCode);
            s_.design.zuixingnd = static_cast<int16_t>(5 * panel_.colourSlider);
            break;
        default:
            subKind_ = kAccessoryHat;
            lib.pattern = everythingPattern(lib.folder);
            break;
    }
    makeCurrent();
    listAndDraw();
}

void LibraryBrowser::openPanel() {
    panel_ = AdjustmentPanel();
    switch (kind_) {
        case kLibraryEyebrows:
            panel_.resetCaption = QStringLiteral("眉毛复原");
            panel_.colourCaption = QStringLiteral("眉毛颜色浓淡");
            panel_.warpSize = 7;
            break;
        case kLibraryLips:
            panel_.resetCaption = QStringLiteral("嘴型复原");
            panel_.colourCaption = QStringLiteral("嘴型颜色浓淡");
            panel_.warpSize = 8;
            break;
        case kLibraryAccessories:
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
    LibraryState& lib = s_.library;
    tab_ = tab;
    std::fill(enabled_.begin(), enabled_.end(), true);
    pages_.restart();
    lib.folder = libraryFolder(s_.P, c.folder);
    switch (kind_) {
        case kLibraryHairstyles:
            lib.hairFirstCode = c.firstCode;
            lib.hairSecondCode = c.secondCode;
            lib.pattern = hairstylePattern(lib.folder, c.firstCode, c.secondCode);
            break;
        case kLibraryEyebrows:
            lib.eyebrowCode = c.firstCode;
            s_.design.woman = c.woman;
            lib.pattern = codePattern(lib.folder, c.firstCode);
            break;
        case kLibraryLips:
            lib.lipCode = c.firstCode;
            lib.pattern = codePattern(lib.folder, c.firstCode);
            break;
        default:
            subKind_ = c.subKind;
            lib.pattern = everythingPattern(lib.folder);
            panel_.moveAcrossShown =
                subKind_ == kAccessoryHat || subKind_ == kAccessoryGlasses || subKind_ == kAccessoryEarrings;
            panel_.stretchUpDownShown = subKind_ != kAccessoryEarrings && subKind_ != kAccessoryNecklace;
            panel_.warpShown = subKind_ == kAccessoryClothing;
            if (panel_.warpShown) panel_.warpSize = 7;
            break;
    }
    makeCurrent();
    listAndDraw();
}

void LibraryBrowser::makeCurrent() {
    s_.library.currentKind = kind_;
    if (kind_ == kLibraryAccessories) s_.library.accessorySubKind = subKind_;
}

void LibraryBrowser::listAndDraw() {
    pages_.setListing(LibraryPages::buildListing(s_.library.pattern));
    drawPage();
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
        const QString entry = pages_.entry(i);
        // An unreadable file leaves its thumbnail blank and disabled; the page goes on.
        enabled_[k] =
            !entry.isEmpty() && renderThumbnail(entry, kind, s_.design.lipColour, thumbnails_[k]).ok;
    }
}

void LibraryBrowser::applyToDesign(const QString& entry) {
    DesignState& d = s_.design;
    auto& flags = s_.flags.Check1;
    switch (kind_) {
        case kLibraryHairstyles:
            flags[LayerFlags::kHairstyle] = false;
            d.faxingname = entry;
            return;
        case kLibraryEyebrows:
            panel_.colourSlider = 0;
            flags[LayerFlags::kEyebrows] = false;
            d.meimaoxingname = entry;
            return;
        case kLibraryLips:
            flags[LayerFlags::kLips] = false;
            d.zuixingname = entry;
            return;
        default:
            break;
    }
    switch (subKind_) {
        case kAccessoryGlasses:
            panel_.colourSlider = 0;
            d.yanjingname = entry;
            return;
        case kAccessoryEarrings:
            d.erhuanname = entry;
            return;
        case kAccessoryNecklace:
            d.xianglianname = entry;
            return;
        case kAccessoryClothing:
            flags[LayerFlags::kClothing] = false;
            d.fuzhuangname = entry;
            return;
        default:
            d.maoziname = entry;
            return;
    }
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
    if (kind_ == kLibraryHairstyles) showHairstyleRecord(out);
    return out;
}

void LibraryBrowser::showHairstyleRecord(LibraryApplied& out) {
    const QString info = hairstyleInfoPicture(s_.P, out.file);
    if (!info.isEmpty()) loadPicture(info, out.infoPicture);  // an unreadable picture clears Image1
    if (!link_) return;
    const QString reported = link_->lastProblem();
    const Status st = link_->bind(QFileInfo(out.file).fileName());
    if (!st && st.message != reported) out.problems << st.message;
    out.recordBound = link_->isBound();
    out.record = link_->record();
}

}  // namespace ms
