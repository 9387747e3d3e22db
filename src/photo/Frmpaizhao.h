#pragma once
#include <QWidget>

#include "base/Status.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace ms {

class Camera;

// The camera window "摄像头输入": the live picture runs in the main window's video area; "拍照"
// freezes it ("重拍" goes live again), "保存" saves the frame as a bitmap, "确定" hands it to the
// photo adjustment, "取消" ends the capture. The camera is released when the window goes.
class Frmpaizhao : public QWidget {
    Q_OBJECT
  public:
    // `source` is the pipeline source to read; "" takes the first camera the system has.
    Frmpaizhao(const QString& source, QWidget* owner);
    ~Frmpaizhao() override;

    // Asks for the bitmap's name: "" when cancelled (tests give their answer).
    void setSaveName(std::function<QString()> ask) { askName_ = std::move(ask); }
    Camera& camera() { return *camera_; }
    bool frozen() const { return frozen_; }

    QLabel* notice = nullptr;
    QLabel* status = nullptr;
    QComboBox* chooser = nullptr;     // shown when the system has several cameras
    QPushButton* Command1 = nullptr;  // "拍照" / "重拍"
    QPushButton* Command2 = nullptr;  // "保存"
    QPushButton* Command3 = nullptr;  // "确定"
    QPushButton* Command4 = nullptr;  // "取消"

    static QString noticeText();

  signals:
    // The video area shows this picture; it hides when the capture ends.
    void videoFrame(const QImage& frame);
    void videoHidden();
    // "确定": the frame for the photo adjustment.
    void accepted(const QImage& frame);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void startCamera(const QString& source);
    void showState();
    void take();
    void save();
    void accept();
    void end();

    std::unique_ptr<Camera> camera_;
    std::function<QString()> askName_;
    bool frozen_ = false;
    QString problem_;
};

}  // namespace ms
