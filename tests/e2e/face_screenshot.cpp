// face-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb) takes a
// client photo in through the open-picture dialog; the photo adjustment fits the face by itself; the
// photo is accepted and dressed with a hairstyle, glasses and earrings, and a screenshot is saved.
// Exit 0 when the fitted face has its eyes and mouth on the placements and the face shape is shown.
#include <QPushButton>
#include <cstdio>

#include "E2eSteps.h"
#include "library/CategoryTabs.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/ThumbnailButton.h"
#include "photo/FaceFit.h"
#include "platform/FaceFinder.h"

using namespace ms;
using namespace ms::e2e;

namespace {

int fitAndDress(Run& run) {
    const FaceFinder faces;
    run.window.setFaceFinder(&faces);
    if (QWidget* welcome = run.window.findChild<QWidget*>(QStringLiteral("frmkaishi"))) welcome->close();
    click(run.window.findChild<HotLabel*>(QStringLiteral("Label9_0")));
    settle();
    auto* dialog = run.window.findChild<FrmDKWJ*>();
    if (!dialog) return std::printf("the open-picture dialog did not open\n"), 1;
    emit dialog->photoChosen(run.photo);  // as "调入" does; the adjustment fits the face by itself
    dialog->close();
    settle(600);
    auto* adjust = run.window.findChild<Frmbj*>(QStringLiteral("Frmbj"));
    if (!adjust) return std::printf("the photo adjustment did not open\n"), 1;
    const QImage fitted = run.studio.session.views.Pichuaban.copy();
    run.keep(fitted, "fitted");
    run.keep(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), "adjusting");
    const std::optional<FoundFace> face = faces.find(fitted);
    if (!face) return std::printf("no face on the fitted canvas\n"), 1;
    const double eyeMiss =
        std::max(QLineF(landmarkCentre(face->landmarks, 36, 41), faceTargets()[0].target).length(),
                 QLineF(landmarkCentre(face->landmarks, 42, 47), faceTargets()[1].target).length());
    const double mouthMiss =
        QLineF(landmarkCentre(face->landmarks, 48, 67), faceTargets()[4].target).length();
    std::printf("after the automatic fit: eyes within %.1f px, mouth within %.1f px\n", eyeMiss, mouthMiss);
    click(adjust->findChild<QPushButton*>(QStringLiteral("Command2")));
    settle();

    click(run.window.findChild<HotLabel*>(QStringLiteral("ImgFx")));
    settle(600);
    QWidget* hair = run.window.findChild<QWidget*>(QStringLiteral("FrmTK1"));
    if (!hair || !applyThumbnail(hair, 1)) return std::printf("no hairstyle to apply\n"), 1;
    click(run.window.findChild<HotLabel*>(QStringLiteral("Imgmz")));
    settle();
    FrmTK* library = run.window.libraries().componentWindow();
    if (!library) return std::printf("the accessory library did not open\n"), 1;
    auto* tabs = library->findChild<CategoryTabs*>();
    for (int tab : {1, 2}) {  // glasses, earrings
        clickTab(tabs, tab);
        settle();
        if (!applyThumbnail(library, 1)) return std::printf("no accessory on tab %d\n", tab), 1;
    }
    library->close();
    settle(400);
    run.screenshot();
    run.keep(run.studio.session.views.Pichuaban, "dressed");
    const auto* shape = run.window.findChild<QPushButton*>(QStringLiteral("ClientFace"));
    const bool shown = shape && shape->isVisible() && shape->text().startsWith(QStringLiteral("脸型："));
    std::printf("face shape line: %s\n", shape ? qPrintable(shape->text().replace(u'\n', u' ')) : "none");
    const DesignState& d = run.studio.doc.design;
    const bool dressed = !d.faxingname.isEmpty() && !d.yanjingname.isEmpty() && !d.erhuanname.isEmpty();
    return eyeMiss <= 5 && mouthMiss <= 8 && shown && dressed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return runMainWindow(argc, argv, "face-screenshot", fitAndDress); }
