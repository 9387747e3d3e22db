#pragma once
#include <QImage>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "base/Status.h"

namespace ms {

// A video camera the system sees, for the chooser.
struct CameraDevice {
    QString name;    // what the system calls it
    QString source;  // the pipeline source that reads it
};

// Live pictures from a camera, on GStreamer: a source (a camera's v4l2src, or any source a test
// gives, such as videotestsrc) converted to 32-bit pixels into an application sink. Frames arrive
// on the pipeline's threads; the newest one is kept and the user-interface thread is told once per
// frame it has not yet seen, so a slow window never queues frames up.
class Camera : public QObject {
    Q_OBJECT
  public:
    explicit Camera(QObject* parent = nullptr);
    ~Camera() override;  // releases the camera

    // The cameras the system has now.
    static std::vector<CameraDevice> devices();

    // Starts the pipeline from `source` (a GStreamer source description). A camera that is
    // missing, busy or gives pictures that cannot be converted is reported in Chinese and nothing
    // keeps running.
    Status start(const QString& source);
    // Stops the pipeline and releases the camera and its threads.
    void stop();
    bool running() const;

    // While the preview is off the current frame stays as it was (a frozen picture).
    void setPreview(bool on);
    bool preview() const;
    // The last frame received while the preview was on; null before the first.
    QImage currentFrame() const;

  signals:
    // A new current frame (on the user-interface thread).
    void frameArrived();
    // The camera stopped by itself (unplugged, an error of the pipeline); it has been released.
    void failed(const QString& message);

  private:
    struct Pipeline;
    void deliver();
    void pollBus();
    std::unique_ptr<Pipeline> p_;
};

}  // namespace ms
