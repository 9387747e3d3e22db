#pragma once
#include "library/LibraryWindow.h"

class QCheckBox;

namespace ms {

// The hairstyle library window: twelve category tabs and eight 100 x 100 thumbnails a page.
class FrmTK1 : public LibraryWindow {
    Q_OBJECT
  public:
    FrmTK1(StudioState& s, SuitabilityLink* link, QWidget* owner);

    // The client's face shape changed: the toggle follows it and the tab is listed again.
    void clientFaceChanged();

  protected:
    void showThumbnails() override;

  private:
    void showSuitingToggle();

    StudioState& s_;
    std::vector<ThumbnailButton*> thumbnails_;
    QCheckBox* suitingOnly_ = nullptr;
};

}  // namespace ms
