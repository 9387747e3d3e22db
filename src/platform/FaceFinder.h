#pragma once
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace ms {

// A face found in a picture, in that picture's pixel coordinates (top-down, (0, 0) the top-left).
struct FoundFace {
    QRectF box;                      // the detector's face box
    double confidence = 0;           // the detector's score; the best-scoring face is the one found
    std::vector<QPointF> landmarks;  // the 68 points of the common face layout; empty without the model
    int searchRotation = 0;          // degrees the picture was turned (clockwise) for the face to be found
};

// The centre of landmarks first .. last (36 .. 41 the left eye, 42 .. 47 the right, 48 .. 67 the mouth).
inline QPointF landmarkCentre(const std::vector<QPointF>& landmarks, int first, int last) {
    QPointF sum;
    for (int i = first; i <= last; ++i) sum += landmarks[static_cast<size_t>(i)];
    return sum / (last - first + 1);
}

// Finds the most confident face in a picture and its 68 landmarks. The landmark model is large (about
// 100 MB) and takes a second or two to read, so it is read once on a thread of its own, from
// construction on or from startLoading(); a search asked for before then waits for it. Without a
// readable model the finder still finds face boxes, which need no file.
class FaceFinder {
  public:
    enum class Model { Loading, Ready, Missing };

    // Where Debian's libdlib-data installs the 68-landmark model.
    static QString defaultModelPath();

    // AtOnce starts reading the model now; WhenAsked waits for startLoading() or the first search, so
    // that a program can show its first frame before the reading competes with it.
    enum class Start { AtOnce, WhenAsked };
    explicit FaceFinder(QString modelPath = defaultModelPath(), Start start = Start::AtOnce);
    ~FaceFinder();
    FaceFinder(const FaceFinder&) = delete;
    FaceFinder& operator=(const FaceFinder&) = delete;

    // Starts reading the model on its thread, once; later calls do nothing.
    void startLoading() const;
    // The model's state now, without waiting (Loading also before the reading has started).
    Model model() const;
    // Waits until the model has been read or found unusable.
    Model waitForModel() const;
    // Why the model is missing, for the user ("" while loading or ready).
    QString modelProblem() const;
    // How long reading the model took, in milliseconds (0 until it is done).
    double modelLoadMs() const;

    // The most confident face: upright first (small faces looked at enlarged), then the picture turned
    // a few steps either way. nullopt when there is none. Waits for the model.
    std::optional<FoundFace> find(const QImage& picture) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace ms
