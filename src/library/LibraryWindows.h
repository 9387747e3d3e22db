#pragma once
#include <QObject>
#include <QPointer>
#include <memory>

#include "library/LibraryBrowser.h"

class QWidget;

namespace ms {

class FrmTK;
class FrmTK1;
class SuitabilityLink;

// The main window's access to the two library windows and to the hairstyle record shown in its
// check boxes. Windows are modeless, owned by `owner`, and each stays tied to the kind it was
// opened for.
class LibraryWindows : public QObject {
    Q_OBJECT
  public:
    LibraryWindows(StudioState& s, QWidget* owner);
    ~LibraryWindows() override;

    // "打开发型库" (tool strip left click, welcome window): current kind 1; an open hairstyle window
    // comes to the front as the user left it, otherwise it opens on its first category.
    void openHairstyles();
    // The eyebrow, lip and accessory buttons: the component library window opens afresh.
    void openEyebrows();
    void openLips();
    void openAccessories();
    // Closes the component library window, or both (exit); `putAway` also hides the hairstyle
    // window, as it was left, for a tool window that opens in the same place.
    void closeComponentWindow();
    void putAway();
    void closeAll();
    // Draws the component window's page again, e.g. after the lip colour changed.
    void redrawComponentPage();

    // A click on Check2, Check3 or Check4 (group 2, 3, 4; index within the group).
    void suitabilityBoxClicked(int group, int index, bool checked);
    const SuitabilityLink& suitability() const { return *link_; }
    // The hairstyle is gone from the design: the check boxes no longer belong to a record.
    void forgetHairstyleRecord();

    FrmTK* componentWindow() const { return component_; }
    FrmTK1* hairstyleWindow() const { return hairstyles_; }

  signals:
    // A thumbnail was applied: refresh the views; for hairstyles show result.infoPicture in Image1
    // (null: clear it) and result.record in the check boxes (unbound when !result.recordBound).
    void applied(const ms::LibraryApplied& result);
    // A library window was closed by double click: tool highlights and lip design mode off.
    void closedByDoubleClick();
    // The component window's adjustments: the canvas was recomposed, the tool outlines resized,
    // the warp tool chosen, the palette asked for the lips.
    void canvasChanged();
    void outlinesChanged();
    void warpToolChosen();
    void lipColourRequested();
    // Something the user should read (a failed recomposition or snapshot, the hairstyle database),
    // with the library window it concerns (nullptr: none) so that it can be shown over that window.
    void problem(const QString& message, QWidget* window);

  private:
    void openComponent(LibraryKind libraryKind);
    template <typename W>
    void wire(W* window);

    StudioState& s_;
    QWidget* owner_;
    std::unique_ptr<SuitabilityLink> link_;
    QPointer<FrmTK> component_;
    QPointer<FrmTK1> hairstyles_;
};

}  // namespace ms
