#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <memory>

#include "compositor/StudioState.h"
#include "photo/FaceFit.h"
#include "photo/FaceShape.h"
#include "photo/PhotoSession.h"
#include "platform/FaceFinder.h"

using namespace ms;

namespace {

QString testPhoto(const char* name) {
    return QStringLiteral(MS_TESTDATA_DIR "/") + QString::fromLatin1(name);
}

// The canvas points the fit aims the eyes and the mouth at.
QPointF target(int feature) { return faceTargets()[size_t(feature)].target; }

// One finder for the whole program: the model takes a second to read.
class FaceFit : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { finder_ = std::make_unique<FaceFinder>(); }
    static void TearDownTestSuite() { finder_.reset(); }
    static const FaceFinder& finder() { return *finder_; }
    static std::unique_ptr<FaceFinder> finder_;
};
std::unique_ptr<FaceFinder> FaceFit::finder_;

// A variant of a portrait as the tests make them: scaled, turned, mirrored or moved within a larger
// white picture.
struct Variant {
    const char* name;
    double scale = 1;
    int degrees = 0;
    bool mirrored = false;
    QPoint shift;  // the picture placed at this offset in a picture twice its size
};

QImage makeVariant(const QImage& photo, const Variant& v) {
    QImage out = photo.convertToFormat(QImage::Format_RGB32);
    if (v.mirrored) out = out.mirrored(true, false);
    if (v.scale != 1)
        out = out.scaled((QSizeF(out.size()) * v.scale).toSize(), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
    if (v.degrees != 0) out = turnedPhoto(out, v.degrees);
    if (!v.shift.isNull()) {
        QImage wide(out.size() * 2, QImage::Format_RGB32);
        wide.fill(Qt::white);
        QPainter(&wide).drawImage(v.shift, out);
        out = wide;
    }
    return out;
}

const Variant kVariants[] = {
    {"as it is"},
    {"a third", 0.3},
    {"three times", 3.0},
    {"moved to the top left", 1, 0, false, {0, 0}},
    {"moved to the bottom right", 1, 0, false, {400, 420}},
    {"turned 12 degrees clockwise", 1, 12},
    {"turned 12 degrees anticlockwise", 1, -12},
    {"mirrored", 1, 0, true},
    {"mirrored, smaller and turned", 0.75, -9, true},
    {"mirrored, half and turned", 0.5, -9, true},
};

}  // namespace

// Each portrait and each variant: after the automatic fit, the face found again on the canvas has its
// eyes within 5 pixels and its mouth within 8 of where the components expect them.
TEST_F(FaceFit, RealPortraitsLandOnTheDefaultPlacements) {
    ASSERT_EQ(finder().waitForModel(), FaceFinder::Model::Ready) << finder().modelProblem().toStdString();
    for (const char* file : {"imageio-astronaut.png", "portrait.jpg"}) {
        const QImage photo(testPhoto(file));
        ASSERT_FALSE(photo.isNull()) << file;
        for (const Variant& v : kVariants) {
            SCOPED_TRACE(std::string(file) + ", " + v.name);
            StudioState s;
            PhotoSession session(s);
            session.takeIn(makeVariant(photo, v));
            AlignResult fitted;
            ASSERT_TRUE(session.autoAlign(finder(), fitted));
            EXPECT_TRUE(fitted.byLandmarks);
            const QImage& canvas = s.session.views.Pichuaban;
            ASSERT_EQ(canvas.size(), QSize(380, 480));
            const std::optional<FoundFace> again = finder().find(canvas);
            ASSERT_TRUE(again.has_value());
            const QPointF eyes[] = {landmarkCentre(again->landmarks, 36, 41),
                                    landmarkCentre(again->landmarks, 42, 47)};
            const QPointF mouth = landmarkCentre(again->landmarks, 48, 67);
            EXPECT_LE(QLineF(eyes[0], target(0)).length(), 5.0) << eyes[0].x() << "," << eyes[0].y();
            EXPECT_LE(QLineF(eyes[1], target(1)).length(), 5.0) << eyes[1].x() << "," << eyes[1].y();
            EXPECT_LE(QLineF(mouth, target(4)).length(), 8.0) << mouth.x() << "," << mouth.y();
            // The window's own sliders express it: in range, and the source is what they scale.
            EXPECT_GE(fitted.sliders.size, 1);
            EXPECT_LE(fitted.sliders.size, 100);
            EXPECT_LE(std::abs(fitted.sliders.across), 100);
            EXPECT_LE(std::abs(fitted.sliders.up), 100);
            EXPECT_LE(std::abs(fitted.rotation), 15);
            EXPECT_EQ(session.fitSliders(), fitted.sliders);
            EXPECT_NE(readFaceShape(again->landmarks).shape, FaceShape::Unknown);
        }
    }
}

TEST_F(FaceFit, APictureWithoutAFaceIsSaidAndKeepsTheManualFit) {
    StudioState s;
    PhotoSession session(s);
    session.takeIn(QImage(testPhoto("cat.png")));
    session.fit({40, 12, -7});
    const QImage before = s.session.views.Pichuaban;
    AlignResult fitted;
    const Status st = session.autoAlign(finder(), fitted);
    EXPECT_FALSE(st);
    EXPECT_TRUE(st.message.contains(QStringLiteral("没有找到人脸")));
    EXPECT_EQ(session.fitSliders(), (FitSliders{40, 12, -7}));
    EXPECT_EQ(s.session.views.Pichuaban, before);
    EXPECT_EQ(s.doc.design.PicMT, before);
}

// Without the landmark model the detector still finds the face box, and the fit by the box alone puts
// the eyes and the mouth near their places.
TEST_F(FaceFit, WithoutTheModelTheBoxAloneFits) {
    const FaceFinder boxOnly(QStringLiteral(MS_TESTDATA_DIR "/no-such-model.dat"));
    EXPECT_EQ(boxOnly.waitForModel(), FaceFinder::Model::Missing);
    EXPECT_TRUE(boxOnly.modelProblem().contains(QStringLiteral("模型")));
    for (const char* file : {"imageio-astronaut.png", "portrait.jpg"}) {
        SCOPED_TRACE(file);
        StudioState s;
        PhotoSession session(s);
        session.takeIn(QImage(testPhoto(file)));
        AlignResult fitted;
        ASSERT_TRUE(session.autoAlign(boxOnly, fitted));
        EXPECT_FALSE(fitted.byLandmarks);
        const std::optional<FoundFace> again = finder().find(s.session.views.Pichuaban);
        ASSERT_TRUE(again.has_value());
        const QPointF eyes =
            (landmarkCentre(again->landmarks, 36, 41) + landmarkCentre(again->landmarks, 42, 47)) / 2;
        EXPECT_LE(QLineF(eyes, (target(0) + target(1)) / 2).length(), 15.0);
        EXPECT_LE(QLineF(landmarkCentre(again->landmarks, 48, 67), target(4)).length(), 20.0);
    }
    // A file that is not a model is refused the same way.
    const QString bad = QStringLiteral(MS_TESTDATA_DIR "/not-a-model.dat");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_EQ(FaceFinder(bad).waitForModel(), FaceFinder::Model::Missing);
}

// A face turned further than the detector sees upright is found by turning the picture, and a fit
// beyond the rotation slider's 15 degrees turns the photo itself first.
TEST_F(FaceFit, AFaceTurnedFarIsFoundAndFitted) {
    const QImage turned =
        turnedPhoto(QImage(testPhoto("portrait.jpg")).convertToFormat(QImage::Format_RGB32), 50);
    const std::optional<FoundFace> face = finder().find(turned);
    ASSERT_TRUE(face.has_value());
    EXPECT_NE(face->searchRotation, 0);
    StudioState s;
    PhotoSession session(s);
    session.takeIn(turned);
    AlignResult fitted;
    ASSERT_TRUE(session.autoAlign(finder(), fitted));
    EXPECT_EQ(fitted.rotation, -15);
    const std::optional<FoundFace> again = finder().find(s.session.views.Pichuaban);
    ASSERT_TRUE(again.has_value());
    EXPECT_LE(QLineF(landmarkCentre(again->landmarks, 36, 41), target(0)).length(), 5.0);
    EXPECT_LE(QLineF(landmarkCentre(again->landmarks, 42, 47), target(1)).length(), 5.0);
    EXPECT_LE(QLineF(landmarkCentre(again->landmarks, 48, 67), target(4)).length(), 8.0);
}

namespace {

// A face whose features sit exactly where `fit` takes them to their targets: every landmark of a
// feature at the feature's point.
FoundFace syntheticFace(const Similarity& fit) {
    FoundFace face;
    face.landmarks.assign(68, QPointF());
    const double c = std::cos(-fit.radians), s = std::sin(-fit.radians);
    for (const FaceTarget& t : faceTargets()) {
        const QPointF d = (t.target - fit.shift) / fit.scale;
        for (int i = t.firstLandmark; i <= t.lastLandmark; ++i)
            face.landmarks[size_t(i)] = QPointF(c * d.x() - s * d.y(), s * d.x() + c * d.y());
    }
    return face;
}

QPointF centroidOf(const QImage& img, QRgb colour) {
    QPointF sum;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                    std::abs(qBlue(p) - qBlue(colour)) <
                120) {
                sum += QPointF(x, y);
                ++n;
            }
        }
    return n ? sum / n : QPointF(-1000, -1000);
}

}  // namespace

// The plan reproduces any similarity through the window's own steps: scales between the size slider's
// steps, faces at the photo's edge (beyond the position sliders' reach), small photos scaled past the
// slider's 2x, and turns beyond 15 degrees. Two marks on the photo land where the similarity takes them.
TEST(FacePlan, TheSlidersAndTheRotationReproduceTheFit) {
    struct Case {
        const char* name;
        QSize photo;
        Similarity fit;
    };
    const Case cases[] = {
        {"between steps", {700, 900}, {0.437, 0.0, {-20, 30}}},
        {"face in a corner", {760, 960}, {0.9, 0.0, {-440, -520}}},
        {"small photo", {150, 180}, {3.7, 0.0, {-90, -60}}},
        {"turned 7 degrees", {600, 800}, {0.6, 7 * M_PI / 180, {10, 20}}},
        {"turned 28 degrees", {600, 800}, {0.5, -28 * M_PI / 180, {60, 120}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FoundFace face = syntheticFace(c.fit);
        // Marks at the face's centre and at its mouth, in the photo.
        const QPointF marks[] = {(face.landmarks[36] + face.landmarks[45]) / 2, face.landmarks[60]};
        QImage photo(c.photo, QImage::Format_RGB32);
        photo.fill(Qt::white);
        QPainter p(&photo);
        const double r = 2.5 / c.fit.scale + 0.5;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(marks[0] + QPointF(0.5, 0.5), r, r);
        p.setBrush(QColor(0, 0, 255));
        p.drawEllipse(marks[1] + QPointF(0.5, 0.5), r, r);
        p.end();
        StudioState s;
        PhotoSession session(s);
        session.takeIn(photo);
        AlignResult fitted;
        session.alignTo(face, fitted);
        const QImage& canvas = s.session.views.Pichuaban;
        EXPECT_LE(QLineF(centroidOf(canvas, qRgb(255, 0, 0)), c.fit.map(marks[0])).length(), 1.5);
        EXPECT_LE(QLineF(centroidOf(canvas, qRgb(0, 0, 255)), c.fit.map(marks[1])).length(), 2.0);
        EXPECT_LE(std::abs(fitted.rotation), 15);
        EXPECT_LE(std::abs(session.fitSliders().across), 100);
        EXPECT_LE(std::abs(session.fitSliders().up), 100);
    }
}
