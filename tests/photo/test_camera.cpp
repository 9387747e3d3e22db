// The camera on GStreamer's test picture: the capture layer itself, and the camera window driven
// from the real main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "photo/Frmbj.h"
#include "photo/Frmpaizhao.h"
#include "platform/Camera.h"
#include "platform/VideoArea.h"
#include "shell/MainWindowFixture.h"
#include "support/AppEnvironment.h"

using namespace ms;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_camera_ui");

// A moving picture, so that frames taken at different times differ.
const QString kTestPicture =
    QStringLiteral("videotestsrc is-live=true pattern=ball ! video/x-raw,width=320,height=240");
const QString kNoCamera = QStringLiteral("v4l2src device=/dev/no-such-camera");

int threads() {
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// The process's threads settle back after a pipeline is released (GLib's pool lets idle threads go).
bool threadsBackTo(int count) {
    for (int i = 0; i < 50 && threads() > count; ++i) QTest::qWait(100);
    return threads() <= count;
}

bool waitForFrame(Camera& camera) {
    QSignalSpy arrived(&camera, &Camera::frameArrived);
    return arrived.wait(5000) && !camera.currentFrame().isNull();
}

}  // namespace

TEST(Camera, FramesFreezeAndTheCameraIsReleased) {
    Camera camera;
    // GStreamer keeps a thread of its own once it has run: count from there.
    ASSERT_TRUE(camera.start(kTestPicture));
    camera.stop();
    QTest::qWait(500);
    const int before = threads();
    ASSERT_TRUE(camera.start(kTestPicture));
    ASSERT_TRUE(waitForFrame(camera));
    EXPECT_EQ(camera.currentFrame().size(), QSize(320, 240));
    camera.setPreview(false);
    const QImage frozen = camera.currentFrame();
    QTest::qWait(300);
    EXPECT_EQ(camera.currentFrame(), frozen);
    camera.setPreview(true);
    ASSERT_TRUE(waitForFrame(camera));
    EXPECT_NE(camera.currentFrame(), frozen);
    camera.stop();
    EXPECT_FALSE(camera.running());
    EXPECT_TRUE(threadsBackTo(before)) << threads() << " threads, " << before << " before";
}

TEST(Camera, MissingCamerasUnconvertiblePicturesAndAnEndAreReported) {
    Camera camera;
    Status st = camera.start(kNoCamera);
    EXPECT_FALSE(st);
    EXPECT_TRUE(st.message.startsWith(QStringLiteral("未找到摄像头"))) << st.message.toStdString();
    EXPECT_FALSE(camera.running());
    // Compressed pictures cannot become pixels here.
    st = camera.start(QStringLiteral("videotestsrc ! video/x-raw,format=I420 ! jpegenc"));
    EXPECT_FALSE(st);
    EXPECT_FALSE(camera.running());
    // A camera that stops by itself is released and said so.
    ASSERT_TRUE(camera.start(QStringLiteral("videotestsrc num-buffers=5")));
    QSignalSpy failed(&camera, &Camera::failed);
    ASSERT_TRUE(failed.wait(5000));
    EXPECT_FALSE(camera.running());
    EXPECT_FALSE(failed.at(0).at(0).toString().isEmpty());
}

TEST(CameraWindow, TakeRetakeSaveAndAcceptTheFrozenFrame) {
    MainWindow t;
    if (t.welcome()) t.welcome()->close();
    t.w->setCameraSource(kTestPicture);
    t.click("Label9_1");
    Frmpaizhao* w = t.w->cameraWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->notice->text(), Frmpaizhao::noticeText());
    EXPECT_TRUE(w->notice->text().startsWith(QStringLiteral("摄像头输入时需注意\n1、在给顾客照相时")));
    EXPECT_EQ(w->notice->text().count(QStringLiteral("\n\n")), 3);
    ASSERT_TRUE(waitForFrame(w->camera()));
    QTest::qWait(50);
    auto* video = t.get<VideoArea>("Picshipin");
    EXPECT_TRUE(video->isVisible());

    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(w->Command1->text(), QStringLiteral("重拍"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(w->Command1->text(), QStringLiteral("拍照"));
    EXPECT_FALSE(w->frozen());

    QTemporaryDir dir;
    QString name;
    w->setSaveName([&name] { return name; });
    QTest::mouseClick(w->Command2, Qt::LeftButton);  // cancelled
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    name = dir.filePath(QStringLiteral("client.bmp"));
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_EQ(QImage(name).size(), QSize(320, 240));

    QTest::mouseClick(w->Command1, Qt::LeftButton);
    const QImage frozen = w->camera().currentFrame();
    QTest::qWait(300);
    QSignalSpy accepted(w, &Frmpaizhao::accepted);
    QTest::mouseClick(w->Command3, Qt::LeftButton);
    ASSERT_EQ(accepted.count(), 1);
    EXPECT_EQ(accepted.at(0).at(0).value<QImage>(), frozen);
    EXPECT_FALSE(w->camera().running());
    EXPECT_FALSE(video->isVisible());
    EXPECT_NE(t.w->findChild<Frmbj*>(QStringLiteral("Frmbj")), nullptr);

    QTest::mouseClick(w->Command4, Qt::LeftButton);
    QTest::qWait(0);
    EXPECT_EQ(t.w->cameraWindow(), nullptr);
}

TEST(CameraWindow, WithoutACameraTheDesignStays) {
    MainWindow t;
    if (t.welcome()) t.welcome()->close();
    t.w->setCameraSource(kNoCamera);
    const QImage canvas = t.studio.session.views.Pichuaban.copy();
    const QString hair = t.studio.doc.design.faxingname;
    t.click("Label9_1");
    Frmpaizhao* w = t.w->cameraWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->status->isVisibleTo(w));
    EXPECT_TRUE(w->status->text().startsWith(QStringLiteral("未找到摄像头")));
    EXPECT_FALSE(w->Command2->isEnabled());
    EXPECT_FALSE(w->Command3->isEnabled());
    w->Command3->click();  // even if it were reached, nothing is reset
    EXPECT_EQ(t.studio.session.views.Pichuaban, canvas);
    EXPECT_EQ(t.studio.doc.design.faxingname, hair);
    EXPECT_EQ(t.w->findChild<Frmbj*>(QStringLiteral("Frmbj")), nullptr);
}
