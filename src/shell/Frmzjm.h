#pragma once
#include <QWidget>

#include "compositor/StudioState.h"
#include "platform/Status.h"

namespace ms {

class CanvasView;

// The main window: owns the studio state for the whole run and shows the canvas.
class Frmzjm : public QWidget {
    Q_OBJECT
public:
    explicit Frmzjm(const QString& programFolder, QWidget* parent = nullptr);
    StudioState& studio() { return studio_; }

    // Repaints every view from the studio state after a composition.
    void refreshViews();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void startUp();
    void report(const Status& st);

    StudioState studio_;
    CanvasView* Pichuaban_ = nullptr;
    bool started_ = false;
};

}  // namespace ms
