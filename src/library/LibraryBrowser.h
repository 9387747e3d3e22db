#pragma once
#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

#include "compositor/StudioState.h"
#include "library/LibraryCatalogue.h"
#include "library/LibraryPages.h"
#include "library/Thumbnails.h"
#include "platform/HairstyleDatabase.h"

namespace ms {

class SuitabilityLink;

// What the opener and the tabs set on the component library window's adjustment controls.
struct AdjustmentPanel {
    QString resetCaption;            // Cmdfuwei
    QString colourCaption;           // Label2 beside the colour slider
    bool colourSliderShown = true;   // Slider2
    int colourSlider = -10;          // Slider2, -20 .. 0
    bool warpShown = true;           // check1 "变形工具", Slider1 and its caption
    int warpSize = 1;                // Slider1, 1 .. 20
    bool moveAcrossShown = true;     // Slider5
    bool stretchUpDownShown = true;  // Slider6
};

// The result of applying a thumbnail, for the main window.
struct LibraryApplied {
    bool done = false;  // false: no usable thumbnail at that index, nothing changed
    LibraryKind libraryKind = LibraryKind::None;
    AccessorySubKind accessorySubKind = AccessorySubKind::Hat;
    QString file;          // the component file applied, full path
    QStringList problems;  // messages for the user; the change itself stays applied
    // Hairstyles only: the info picture for Image1 (null: clear it) and the record for the check boxes.
    QImage infoPicture;
    bool recordBound = false;
    HairstyleRecord record;
};

// The work of one library window, without the window: opened for one library kind and tied to
// it, whatever other window opens later. It keeps its own listing, page and thumbnails.
class LibraryBrowser {
  public:
    // `link` is used by the hairstyle library only and may be null (no database look-up).
    LibraryBrowser(StudioState& s, LibraryKind libraryKind, SuitabilityLink* link = nullptr);

    // The opener of the kind (dkfxkk, dkmmkk, dkzxkk, dkmzkk): kind, folder, codes, pattern, the
    // panel captions, and the first page.
    void open();
    // Tab click: category codes or accessory folder, pattern, listing from page 1.
    void selectCategory(int tab);
    void nextPage();
    void previousPage();
    // Draws the shown page again (after a lip colour change).
    void redrawPage();
    // Lists the tab again from page 1: the hairstyles suiting the client's face come first, or alone
    // while the library's "只看适合脸型" is on.
    void relist();
    // Thumbnail click: the kind's component file, recomposition, one undo snapshot.
    LibraryApplied apply(int index);

    LibraryKind libraryKind() const { return kind_; }
    AccessorySubKind accessorySubKind() const { return subKind_; }
    int currentTab() const { return tab_; }
    const std::vector<Category>& categories() const { return categoriesOf(kind_); }
    const LibraryPages& pages() const { return pages_; }
    const AdjustmentPanel& panel() const { return panel_; }
    // The stylist's own values of the colour and warp-size sliders, kept while the window shows
    // other pages and tabs.
    void setColourSlider(int v) { panel_.colourSlider = v; }
    void setWarpSize(int v) { panel_.warpSize = v; }
    ThumbnailKind thumbnailKind() const { return thumbnailKindOf(kind_, subKind_); }
    // The component window's strip area (Frame1) lies over the square one while shown.
    bool stripAreaShown() const { return stripShown_; }
    int thumbnailCount() const { return static_cast<int>(thumbnails_.size()); }
    const QImage& thumbnail(int i) const { return thumbnails_[static_cast<size_t>(i)]; }
    bool thumbnailEnabled(int i) const { return enabled_[static_cast<size_t>(i)]; }
    // Why a listed component could not be drawn; "" for a good or an empty thumbnail.
    const QString& thumbnailProblem(int i) const { return problems_[static_cast<size_t>(i)]; }
    // The library's "000" item, which takes the component off: its picture is empty, so the window
    // says what it is.
    bool thumbnailIsNone(int i) const;

  private:
    void openPanel();
    void listAndDraw();
    QStringList forClientFace(const QStringList& listing);
    void drawPage();
    void makeCurrent();
    void applyToDesign(const QString& entry);
    void showHairstyleRecord(LibraryApplied& out);

    StudioState& s_;
    LibraryKind kind_;
    AccessorySubKind subKind_ = AccessorySubKind::Hat;
    int tab_ = 0;
    SuitabilityLink* link_;
    LibraryPages pages_;
    AdjustmentPanel panel_;
    bool stripShown_ = true;
    std::vector<QImage> thumbnails_;
    std::vector<bool> enabled_;
    std::vector<QString> problems_;
};

}  // namespace ms
