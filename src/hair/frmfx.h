#pragma once
#include <QWidget>
#include <array>

#include "adjust/LayerMoves.h"
#include "compositor/StudioState.h"
#include "compositor/ToolFiles.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace ms {

class DragSlider;

// The hair tools window "美发工具": six scissor shapes, the shaping warp with its size, the move
// and stretch sliders of the hairstyle and "恢复初始状态".
class frmfx : public QWidget {
    Q_OBJECT
  public:
    frmfx(StudioState& s, QWidget* owner);

    // Opening from the tool strip: the shaping option is cleared; the tool stays as it was.
    void reopen();
    DragSlider* slider(MoveSlider m) const { return moves_[static_cast<size_t>(m)]; }

    std::array<QToolButton*, 6> scissors{};  // Option1(0 .. 5)
    QRadioButton* shaping = nullptr;         // Option1(6) "造形工具"
    DragSlider* Slider1 = nullptr;           // the warp size
    QPushButton* Cmdfuwei = nullptr;

  signals:
    void canvasChanged();
    void outlinesChanged();
    // An option was chosen: the canvas takes the mouse with this cursor.
    void toolChosen(toolfiles::CursorId cursor);
    void problem(const QString& message);

  private:
    QWidget* buildTrim();
    QWidget* buildShaping();
    QWidget* buildMoves();
    void clearShaping();

    StudioState& s_;
    std::array<DragSlider*, kMoveSliderCount> moves_{};
    QButtonGroup* scissorGroup_ = nullptr;
};

}  // namespace ms
