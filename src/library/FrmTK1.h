#pragma once
#include "library/LibraryWindow.h"

namespace ms {

// The hairstyle library window: twelve category tabs and eight 100 x 100 thumbnails a page.
class FrmTK1 : public LibraryWindow {
    Q_OBJECT
  public:
    FrmTK1(StudioState& s, SuitabilityLink* link, QWidget* owner);

  protected:
    void showThumbnails() override;

  private:
    std::vector<ThumbnailButton*> thumbnails_;
};

}  // namespace ms
