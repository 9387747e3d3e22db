#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "photo/Frmbj.h"
#include "photo/PhotoSession.h"
#include "platform/FaceFinder.h"
#include "shell/MainWindowFixture.h"

using namespace ms;

namespace {

QString testPhoto(const char* name) {
    return QStringLiteral(MS_TESTDATA_DIR "/") + QString::fromLatin1(name);
}

}  // namespace

// A photo taken in is fitted to its face at once: the window's sliders show the fit, the rotation
// slider its turn; "确定" shows the client's face shape, which one click on it replaces, and the open
// hairstyle library follows it.
TEST(FaceFitWindows, ThePhotoIsFittedAndTheFaceShapeShownAndChosen) {
    const FaceFinder faces;
    MainWindow m;
    m.w->setFaceFinder(&faces);
    auto* shape = m.get<QPushButton>("ClientFace");
    EXPECT_FALSE(shape->isVisible());
    m.w->takeInPhoto(testPhoto("portrait.jpg"));
    Frmbj* adjust = m.w->adjustmentWindow();
    ASSERT_NE(adjust, nullptr);
    // The portrait leans by two to three degrees: the fit turns it, and the sliders show where the turn
    // starts from.
    auto* rotation = adjust->findChild<QSlider*>(QStringLiteral("Slider1"));
    EXPECT_TRUE(rotation->isVisible());
    EXPECT_NE(rotation->value(), 0);
    EXPECT_TRUE(adjust->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    EXPECT_EQ(adjust->session().fitSliders(), (FitSliders{50, 0, 0}));
    const QImage fitted = m.studio.session.views.Pichuaban.copy();
    // "复原" and "自动对齐" bring the same fit back.
    adjust->findChild<QSlider*>(QStringLiteral("Slider2"))->setValue(30);
    EXPECT_NE(m.studio.session.views.Pichuaban, fitted);
    adjust->findChild<QPushButton*>(QStringLiteral("AutoAlign"))->click();
    EXPECT_EQ(m.studio.session.views.Pichuaban, fitted);

    m.w->libraries().openHairstyles();
    FrmTK1* hair = m.w->libraries().hairstyleWindow();
    ASSERT_NE(hair, nullptr);
    auto* onlySuiting = hair->findChild<QCheckBox*>(QStringLiteral("CheckSuitingOnly"));
    adjust->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_TRUE(shape->isVisible());
    EXPECT_TRUE(shape->text().startsWith(QStringLiteral("脸型：")));
    EXPECT_NE(m.studio.session.clientFace.measured, FaceShape::Unknown);
    EXPECT_TRUE(shape->toolTip().contains(QStringLiteral("脸长/颧宽")));

    // One click opens the shapes; choosing 椭圆 is the stylist's word, and an oval face suits every style.
    QMenu* menu = shape->menu();
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions())
        if (a->text() == QStringLiteral("椭圆")) a->trigger();
    EXPECT_EQ(m.studio.session.clientFace.shape(), FaceShape::Oval);
    EXPECT_TRUE(shape->text().contains(QStringLiteral("椭圆")));
    EXPECT_TRUE(shape->text().contains(QStringLiteral("手选")));
    EXPECT_FALSE(onlySuiting->isEnabled());
    for (QAction* a : menu->actions())
        if (a->text() == QStringLiteral("长脸")) a->trigger();
    EXPECT_TRUE(onlySuiting->isEnabled());
    // The suitability boxes belong to the hairstyle's record and stay as they were.
    EXPECT_FALSE(m.get<QCheckBox>("Check2_3")->isEnabled());
    // The next client's photo drops this client's face shape until it is accepted.
    m.w->takeInPhoto(testPhoto("imageio-astronaut.png"));
    EXPECT_FALSE(shape->isVisible());
    EXPECT_EQ(m.studio.session.clientFace.shape(), FaceShape::Unknown);
    EXPECT_FALSE(onlySuiting->isEnabled());
}

// A picture with no face keeps the plain fit and says why.
TEST(FaceFitWindows, NoFaceIsSaid) {
    const FaceFinder faces;
    MainWindow m;
    m.w->setFaceFinder(&faces);
    m.w->takeInPhoto(testPhoto("cat.png"));
    Frmbj* adjust = m.w->adjustmentWindow();
    ASSERT_NE(adjust, nullptr);
    EXPECT_EQ(adjust->session().fitSliders(), FitSliders{});
    auto* box = m.w->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("没有找到人脸")));
}

// Without the landmark model the photo is fitted by the face box, and the button says why.
TEST(FaceFitWindows, WithoutTheModelTheButtonSaysWhy) {
    const FaceFinder boxOnly(QStringLiteral(MS_TESTDATA_DIR "/no-such-model.dat"));
    MainWindow m;
    m.w->setFaceFinder(&boxOnly);
    m.w->takeInPhoto(testPhoto("portrait.jpg"));
    Frmbj* adjust = m.w->adjustmentWindow();
    ASSERT_NE(adjust, nullptr);
    EXPECT_NE(adjust->session().fitSliders(), FitSliders{});
    EXPECT_TRUE(adjust->findChild<QPushButton*>(QStringLiteral("AutoAlign"))
                    ->toolTip()
                    .contains(QStringLiteral("只按脸框")));
    adjust->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(m.studio.session.clientFace.measured, FaceShape::Unknown);
    EXPECT_TRUE(m.get<QPushButton>("ClientFace")->text().contains(QStringLiteral("未测出")));
}
