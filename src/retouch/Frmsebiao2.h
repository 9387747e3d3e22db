#pragma once
#include <QWidget>
#include <array>
#include <optional>

#include "compositor/StudioState.h"
#include "retouch/MakeupTools.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace ms {

class ColourPicture;
class ToolCursors;

// The makeup tools window: the tool, the brush size and the colour of the canvas tools. It paints
// nothing itself; the canvas views run the tools it chooses.
class Frmsebiao2 : public QWidget {
    Q_OBJECT
  public:
    Frmsebiao2(StudioState& s, ToolCursors& cursors, QWidget* owner);

    bool eyedropperChosen() const;
    // The eyedropper over the portrait (Pichuaban1): the colour under the pointer, and the pick.
    void showHoverColour(int32_t colour);
    void pickColour(int32_t colour);

    std::array<QRadioButton*, 7> Option{};  // Option1 .. Option7 at 0 .. 6
    QSlider* Slider1 = nullptr;
    ColourPicture* Picture1 = nullptr;
    ColourPicture* Picture2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

  signals:
    void canvasCursor(toolfiles::CursorId id);
    void outlinesChanged();
    void eyedropperStarted();  // the canvas view gives way to Pichuaban1
    void eyedropperEnded();    // the canvas view is back
    void canvasChanged();
    void problem(const QString& message);

  private:
    void build();
    void onOption(MakeupOption option);
    void onPictureRelease(Qt::MouseButton b, std::optional<int32_t> colour);
    void clearEyedropper();

    StudioState& s_;
    ToolCursors& cursors_;
    QButtonGroup* options_ = nullptr;
};

}  // namespace ms
