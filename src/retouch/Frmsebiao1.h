#pragma once
#include <QWidget>

#include "compositor/StudioState.h"
#include "retouch/MakeupTools.h"

class QLabel;

namespace ms {

class ColourPicture;

// The palette window "调色板": a colour for the hair highlight brush (while the highlight brush
// flag is set) or for the lips. A click on its background closes it.
class Frmsebiao1 : public QWidget {
    Q_OBJECT
  public:
    Frmsebiao1(StudioState& s, QWidget* owner);

    ColourPicture* Picture1 = nullptr;
    ColourPicture* Picture2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

  signals:
    // The highlight brush took colour c: the canvas view is enabled again with the brush cursor.
    void highlightPicked(int32_t colour, toolfiles::CursorId cursor);
    // The lip colour became c.
    void lipColourPicked(int32_t colour);

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    void onRelease(PalettePicture which, Qt::MouseButton b, std::optional<int32_t> colour);

    StudioState& s_;
};

}  // namespace ms
