// The one file that includes dlib. It is built optimised and without sanitizers in every build:
// dlib's detector is unusably slow unoptimised.
#include "platform/FaceFinder.h"

#include <dlib/image_processing.h>
#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/image_transforms.h>

#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace ms {

namespace {

using GreyImage = dlib::array2d<unsigned char>;

// The detector looks at the picture reduced to this longest side first: large enough for a portrait's
// face to be well above the detector's 80-pixel window, small enough to be quick.
constexpr double kDetectSide = 480;
// Small pictures are enlarged (by halves) until their longest side would pass this.
constexpr double kEnlargeUpTo = 1000;
// The turns tried, clockwise degrees, when no face is found upright with a clear score. The detector
// itself sees faces tilted by up to about 45 degrees, with scores that fall as the tilt grows.
constexpr int kSearchTurns[] = {-25, 25, -45, 45};
// A face whose eye line is tilted more than this (degrees) in its landmark window is read again upright.
constexpr double kUprightEnough = 8;
// A detection scoring this much at the detection size is taken without looking further.
constexpr double kClearScore = 0.8;
// A face box narrower than this (pixels, at the detection size) is near the detector's 80-pixel window,
// where its boxes are least exact: such a face is looked at enlarged as well.
constexpr double kLargeEnough = 100;
// Faces smaller than this (box width, pixels) are enlarged to it before their landmarks are read, and
// faces larger than kLargestFace reduced to that, which keeps the reading's window small.
constexpr double kLandmarkFace = 240, kLargestFace = 600;

// `greyPicture` (Grayscale8) at `size`, as dlib takes it.
GreyImage toGrey(const QImage& greyPicture, QSize size) {
    const QImage grey = greyPicture.size() == size
                            ? greyPicture
                            : greyPicture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    GreyImage out;
    out.set_size(grey.height(), grey.width());
    for (int y = 0; y < grey.height(); ++y)
        std::memcpy(&out[y][0], grey.constScanLine(y), size_t(grey.width()));
    return out;
}

double radians(int degrees) { return degrees * M_PI / 180.0; }

// The map from a turned picture's pixels back to the original: the picture turned clockwise by
// `degrees` about its centre, kept at its size.
dlib::point_transform_affine turnedToOriginal(const GreyImage& img, int degrees) {
    const double a = -radians(degrees), c = std::cos(a), s = std::sin(a);
    dlib::matrix<double, 2, 2> m;
    m = c, -s, s, c;
    const dlib::vector<double, 2> centre((img.nc() - 1) / 2.0, (img.nr() - 1) / 2.0);
    return dlib::point_transform_affine(m, centre - m * centre);
}

GreyImage turned(const GreyImage& img, int degrees) {
    GreyImage out;
    out.set_size(img.nr(), img.nc());
    dlib::transform_image(img, out, dlib::interpolate_bilinear(), turnedToOriginal(img, degrees));
    return out;
}

// The detector's box of a face with these landmarks: as wide as from jaw end to jaw end (points 0 and
// 16), its top a seventh of that above the brows, square.
dlib::drectangle boxFromLandmarks(const dlib::full_object_detection& shape) {
    const dlib::dpoint left(shape.part(0)), right(shape.part(16));
    double brows = 0;
    for (unsigned long i = 17; i <= 26; ++i) brows += shape.part(i).y();
    brows /= 10;
    const double w = std::max(8.0, right.x() - left.x());
    const double top = brows - 0.145 * w, cx = (left.x() + right.x()) / 2;
    return dlib::drectangle(cx - w / 2, top, cx + w / 2, top + w);
}

// Intersection over union of two boxes.
double overlap(const dlib::drectangle& a, const dlib::drectangle& b) {
    const dlib::drectangle both = a.intersect(b);
    if (both.is_empty()) return 0;
    return both.area() / (a.area() + b.area() - both.area());
}

// Point by point, the median of several readings of the same landmarks.
std::vector<QPointF> medianOf(const std::vector<std::vector<QPointF>>& readings) {
    std::vector<QPointF> out(readings.front().size());
    std::vector<double> xs(readings.size()), ys(readings.size());
    const size_t mid = readings.size() / 2;
    for (size_t i = 0; i < out.size(); ++i) {
        for (size_t r = 0; r < readings.size(); ++r) {
            xs[r] = readings[r][i].x();
            ys[r] = readings[r][i].y();
        }
        std::nth_element(xs.begin(), xs.begin() + long(mid), xs.end());
        std::nth_element(ys.begin(), ys.begin() + long(mid), ys.end());
        out[i] = QPointF(xs[mid], ys[mid]);
    }
    return out;
}

}  // namespace

struct FaceFinder::Impl {
    QString path;
    mutable std::mutex stateLock;
    mutable std::condition_variable loaded;
    Model state = Model::Loading;
    QString problem;
    double loadMs = 0;
    // Used by one search at a time.
    mutable std::mutex useLock;
    mutable dlib::frontal_face_detector detector;
    mutable dlib::shape_predictor predictor;
    std::thread loader;
    mutable std::once_flag started;

    void load() {
        const auto start = std::chrono::steady_clock::now();
        detector = dlib::get_frontal_face_detector();
        Model result = Model::Missing;
        QString why;
        if (!QFileInfo(path).isFile()) {
            why = QStringLiteral("没有找到脸部特征点模型文件 %1，自动对齐只按脸框进行。").arg(path);
        } else {
            try {
                dlib::deserialize(path.toStdString()) >> predictor;
                if (predictor.num_parts() == 68)
                    result = Model::Ready;
                else
                    why = QStringLiteral("脸部特征点模型文件 %1 不是68点模型，自动对齐只按脸框进行。")
                              .arg(path);
            } catch (const std::exception&) {
                why = QStringLiteral("脸部特征点模型文件 %1 已损坏，自动对齐只按脸框进行。").arg(path);
            }
        }
        if (result != Model::Ready) predictor = dlib::shape_predictor();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        {
            const std::lock_guard lock(stateLock);
            state = result;
            problem = why;
            loadMs = ms;
        }
        loaded.notify_all();
    }

    // The 68 landmarks of the face centred at `centre` (box width w, tilted clockwise by `tilt` degrees),
    // in the picture's coordinates. They are read in a window twice the box's size, turned so that the
    // face stands upright and enlarged to at least kLandmarkFace pixels: small faces give coarse
    // landmarks at their own size, and the model knows faces tilted by a few degrees only. The
    // detector's box is coarse too (its window sizes step by a fifth), and a box much larger or smaller
    // than the face spoils the landmarks, so the box is made again from the landmarks, as the detector
    // draws it, and the landmarks read again; a face still tilted in its window is read once more
    // turned by its eye line.
    std::vector<QPointF> landmarks(const GreyImage& grey, dlib::dpoint centre, double w, double tilt) const {
        std::vector<QPointF> out;
        for (int round = 0; round < 2; ++round) {
            const double k = w < kLandmarkFace ? kLandmarkFace / w : std::min(1.0, kLargestFace / w);
            const double a = tilt * M_PI / 180;
            dlib::matrix<double, 2, 2> m;
            m = std::cos(a) / k, -std::sin(a) / k, std::sin(a) / k, std::cos(a) / k;
            const dlib::vector<double, 2> half(w * k, w * k);
            const dlib::point_transform_affine toOriginal(m, centre - m * half);
            GreyImage window;
            window.set_size(std::lround(2 * w * k), std::lround(2 * w * k));
            dlib::transform_image(grey, window, dlib::interpolate_bilinear(), toOriginal);
            dlib::full_object_detection shape =
                predictor(window, dlib::drectangle(w * k / 2, w * k / 2, w * k * 1.5, w * k * 1.5));
            for (int pass = 0; pass < 2; ++pass) shape = predictor(window, boxFromLandmarks(shape));
            out.clear();
            for (unsigned long i = 0; i < shape.num_parts(); ++i) {
                const dlib::dpoint p = toOriginal(dlib::dpoint(shape.part(i)));
                out.emplace_back(p.x(), p.y());
            }
            dlib::dpoint eyes[2];
            for (int e = 0; e < 2; ++e) {
                for (unsigned long i = 36 + 6ul * e; i < 42 + 6ul * e; ++i)
                    eyes[e] += dlib::dpoint(shape.part(i));
                eyes[e] /= 6;
            }
            const double still =
                std::atan2(eyes[1].y() - eyes[0].y(), eyes[1].x() - eyes[0].x()) * 180 / M_PI;
            if (std::abs(still) < kUprightEnough) break;
            const dlib::drectangle again = boxFromLandmarks(shape);
            tilt += still;
            centre = toOriginal(dlib::center(again));
            w = again.width() / k;
        }
        return out;
    }

    // Detections at one scale and turn, mapped to the original picture's coordinates.
    struct Candidate {
        double confidence;
        dlib::drectangle box;  // in the turned picture at full size
        int turn;
    };
    std::optional<Candidate> bestAt(const GreyImage& small, double scale, int turn) const {
        // The detection picture enlarged and turned only where it has to be.
        const GreyImage* view = &small;
        GreyImage enlarged, turnedView;
        if (scale != 1.0) {
            enlarged.set_size(std::lround(small.nr() * scale), std::lround(small.nc() * scale));
            dlib::resize_image(small, enlarged, dlib::interpolate_bilinear());
            view = &enlarged;
        }
        if (turn != 0) {
            turnedView = turned(*view, turn);
            view = &turnedView;
        }
        std::vector<dlib::rect_detection> found;
        detector(*view, found, 0.0);
        std::optional<Candidate> best;
        for (const auto& d : found)
            if (!best || d.detection_confidence > best->confidence)
                best = Candidate{d.detection_confidence, dlib::drectangle(d.rect), turn};
        if (best) best->box = dlib::scale_rect(best->box, 1.0 / scale);
        return best;
    }
};

QString FaceFinder::defaultModelPath() {
    return QStringLiteral("/usr/share/dlib/shape_predictor_68_face_landmarks.dat");
}

FaceFinder::FaceFinder(QString modelPath, Start start) : d_(std::make_unique<Impl>()) {
    d_->path = std::move(modelPath);
    if (start == Start::AtOnce) startLoading();
}

void FaceFinder::startLoading() const {
    std::call_once(d_->started, [impl = d_.get()] { impl->loader = std::thread([impl] { impl->load(); }); });
}

FaceFinder::~FaceFinder() {
    if (d_->loader.joinable()) d_->loader.join();
}

FaceFinder::Model FaceFinder::model() const {
    const std::lock_guard lock(d_->stateLock);
    return d_->state;
}

FaceFinder::Model FaceFinder::waitForModel() const {
    startLoading();
    std::unique_lock lock(d_->stateLock);
    d_->loaded.wait(lock, [this] { return d_->state != Model::Loading; });
    return d_->state;
}

QString FaceFinder::modelProblem() const {
    const std::lock_guard lock(d_->stateLock);
    return d_->problem;
}

double FaceFinder::modelLoadMs() const {
    const std::lock_guard lock(d_->stateLock);
    return d_->loadMs;
}

std::optional<FoundFace> FaceFinder::find(const QImage& picture) const {
    if (picture.isNull()) return std::nullopt;
    const Model model = waitForModel();
    const std::lock_guard use(d_->useLock);
    const double longest = std::max(picture.width(), picture.height());
    const double reduce = std::min(1.0, kDetectSide / longest);
    const QSize smallSize(std::max(1, int(std::lround(picture.width() * reduce))),
                          std::max(1, int(std::lround(picture.height() * reduce))));
    const QImage greyPicture = picture.convertToFormat(QImage::Format_Grayscale8);
    const GreyImage small = toGrey(greyPicture, smallSize);
    // Upright at the detection size, then enlarged for small faces; then turned.
    std::vector<double> scales{1.0};
    for (double s = 1.5; longest * reduce * s <= kEnlargeUpTo; s *= 1.5) scales.push_back(s);
    using Candidates = std::vector<Impl::Candidate>;
    const auto top = [](const Candidates& c) {
        return std::max_element(c.begin(), c.end(),
                                [](const auto& a, const auto& b) { return a.confidence < b.confidence; });
    };
    const auto clear = [&](const Candidates& c) { return !c.empty() && top(c)->confidence >= kClearScore; };
    // A face found at the detection size with a clear score and well above the detector's smallest
    // window is taken. Otherwise faces are looked for at every enlargement too: a small face is only
    // seen enlarged (or seen at its own size in a box too large), and something face-like at the
    // detection size (a badge, a pattern) scores lower than it. Each scale gives its best.
    auto search = [&](int turn) {
        Candidates found;
        for (size_t i = 0; i < scales.size(); ++i) {
            if (std::optional<Impl::Candidate> c = d_->bestAt(small, scales[i], turn)) found.push_back(*c);
            if (i == 0 && clear(found) && found[0].box.width() >= kLargeEnough) break;
        }
        return found;
    };
    // Turned: only when nothing clear is found upright, and then the most confident face of all.
    Candidates chosen = search(0);
    if (!clear(chosen)) {
        for (int turn : kSearchTurns) {
            Candidates turned = search(turn);
            if (!turned.empty() && (chosen.empty() || top(turned)->confidence > top(chosen)->confidence))
                chosen = std::move(turned);
            if (clear(chosen)) break;
        }
    }
    if (chosen.empty()) return std::nullopt;
    const Impl::Candidate best = *top(chosen);

    const double up = 1.0 / reduce;
    const auto full = [up](const dlib::drectangle& r) {
        return dlib::drectangle(r.left() * up, r.top() * up, r.right() * up, r.bottom() * up);
    };
    const GreyImage grey = toGrey(greyPicture, picture.size());
    const dlib::point_transform_affine back = turnedToOriginal(grey, best.turn);
    const dlib::drectangle box = full(best.box);
    FoundFace face;
    face.confidence = best.confidence;
    face.searchRotation = best.turn;
    const dlib::dpoint centre = back(dlib::center(box));
    face.box = QRectF(centre.x() - box.width() / 2, centre.y() - box.height() / 2, box.width(), box.height());
    if (model != Model::Ready) return face;
    // A small face seen at several enlargements gets boxes that differ by up to a third, and a box
    // that far off misleads the landmarks: each scale's box of the same face is read and every point
    // is taken as the median of the readings.
    std::vector<const Impl::Candidate*> same;
    for (const Impl::Candidate& c : chosen)
        if (c.turn == best.turn && overlap(c.box, best.box) >= 0.3) same.push_back(&c);
    if (same.size() < 3) {
        face.landmarks = d_->landmarks(grey, centre, box.width(), -best.turn);
        return face;
    }
    std::vector<std::vector<QPointF>> readings;
    for (const Impl::Candidate* c : same) {
        const dlib::drectangle b = full(c->box);
        readings.push_back(d_->landmarks(grey, back(dlib::center(b)), b.width(), -best.turn));
    }
    face.landmarks = medianOf(readings);
    return face;
}

}  // namespace ms
