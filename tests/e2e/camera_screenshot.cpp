// camera-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb)
// opens "摄像头输入" on GStreamer's test picture: a screenshot of the live picture in the video
// area (OUT.png), then "拍照" and "确定", and a screenshot of the frame fitted in the photo
// adjustment (OUT-fitted.png). Exit 0 when the video area showed the picture and the canvas took it.
#include <QPushButton>
#include <cstdio>

#include "E2eSteps.h"
#include "photo/Frmpaizhao.h"
#include "platform/VideoArea.h"

using namespace ms;
using namespace ms::e2e;

int capture(Run& run) {
    Frmzjm& window = run.window;
    if (QWidget* welcome = window.findChild<QWidget*>(QStringLiteral("frmkaishi"))) welcome->close();
    window.setCameraSource(
        QStringLiteral("videotestsrc is-live=true pattern=smpte ! video/x-raw,width=1280,height=720"));
    const QImage before = run.studio.session.views.Pichuaban.copy();
    click(window.findChild<HotLabel*>(QStringLiteral("Label9_1")));
    settle(1500);
    Frmpaizhao* camera = window.cameraWindow();
    auto* video = window.findChild<VideoArea*>(QStringLiteral("Picshipin"));
    if (!camera || !video) return std::printf("the camera window did not open\n"), 1;
    const bool live = video->isVisible() && !video->frame().isNull();
    run.screenshot();
    camera->Command1->click();
    settle(300);
    camera->Command3->click();
    settle(1500);
    QGuiApplication::primaryScreen()->grabWindow(0).save(
        QString(run.out).replace(QLatin1String(".png"), QLatin1String("-fitted.png")));
    const double taken = changed(run.studio.session.views.Pichuaban, before);
    std::printf("live %d, the canvas changed %.0f%%\n", live, 100 * taken);
    return live && taken > 0.3 ? 0 : 1;
}

int main(int argc, char** argv) { return runMainWindow(argc, argv, "camera-screenshot", capture); }
