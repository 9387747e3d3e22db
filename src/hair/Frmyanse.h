#pragma once
#include <QWidget>
#include <array>

#include "base/Status.h"
#include "compositor/StudioState.h"
#include "compositor/ToolFiles.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace ms {

class DragSlider;

// The hair colour window "彩色漂染": twelve preset dyes and three custom sliders that dye on
// release, the highlight colour and its clearing, and the highlight patterns for the magnified view.
class Frmyanse : public QWidget {
    Q_OBJECT
  public:
    Frmyanse(StudioState& s, QWidget* owner);

    // Something the stylist should know; the same problem is told once until a step works again.
    void tell(const Status& st);

    // The highlight colour picked in the palette, shown beside "挑染颜色".
    void showHighlightColour(int32_t colour);

    std::array<QRadioButton*, 12> optqita{};
    DragSlider* Slider1 = nullptr;  // hue A
    DragSlider* Slider2 = nullptr;  // saturation shift B
    DragSlider* Slider3 = nullptr;  // darkening C
    QProgressBar* Bar1 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Command1 = nullptr;  // "挑染颜色选择"
    QPushButton* Command2 = nullptr;  // "清除挑染"
    std::array<QToolButton*, 12> patterns{};

  signals:
    void canvasChanged();
    void problem(const QString& message);
    // "挑染颜色选择": the palette opens for the highlight colour.
    void highlightColourRequested();
    void canvasCursor(toolfiles::CursorId id);

  private:
    QWidget* buildPresets();
    QWidget* buildCustom();
    QWidget* buildHighlights();
    void dye();

    StudioState& s_;
    TellOnce told_;
};

}  // namespace ms
