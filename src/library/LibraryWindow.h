#pragma once
#include <QWidget>
#include <vector>

#include "library/LibraryBrowser.h"

class QLabel;
class QPushButton;

namespace ms {

class CategoryTabs;
class SuitabilityLink;
class ThumbnailButton;

// What both library windows share: the tab strip, the page controls and the thumbnail clicks.
// The window forwards every event to its LibraryBrowser and shows the browser's state.
class LibraryWindow : public QWidget {
    Q_OBJECT
  public:
    LibraryWindow(StudioState& s, LibraryKind libraryKind, SuitabilityLink* link, QWidget* owner);

    // Runs the opener of the window's kind and shows the first page.
    void openLibrary();
    // Redraws the shown page from the files (lip thumbnails after a lip colour change).
    void redrawPage();
    LibraryBrowser& browser() { return browser_; }

  signals:
    void applied(const ms::LibraryApplied& result);
    // Closed by a double click on the background: the main window turns its tool highlights off.
    void closedByDoubleClick();

  protected:
    // The window's thumbnail areas take the browser's pictures and enabled states.
    virtual void showThumbnails() = 0;
    void showState();
    QWidget* pagingBar();
    QWidget* tabStrip() const;
    std::vector<ThumbnailButton*> makeThumbnails(QWidget* area, QSize pictureSize, int perRow,
                                                 QSize cellSize = {});
    void showPicturesIn(const std::vector<ThumbnailButton*>& buttons);

    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    void onTab(int tab);
    void onThumbnail(int index);

    LibraryBrowser browser_;
    CategoryTabs* SSTab1_;
    QPushButton* Command2_ = nullptr;
    QPushButton* Command3_ = nullptr;
    QLabel* Label4_ = nullptr;
    QLabel* Label3_ = nullptr;
};

}  // namespace ms
