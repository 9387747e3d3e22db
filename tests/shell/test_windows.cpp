// The windows driven with QTest under the offscreen platform: what the user clicks reaches the
// workspace, and the timers, dialogs and views follow.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

#include "MainWindowFixture.h"
#include "compositor/Composition.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/SuitabilityLink.h"
#include "persistence/FrmDKWJ.h"
#include "photo/Frmbj.h"
#include "photo/PhotoSession.h"
#include "platform/HairstyleDatabase.h"
#include "platform/Theme.h"
#include "platform/TrayIcon.h"
#include "shell/Frmzjm.h"
#include "shell/HotLabel.h"
#include "shell/ZjmLayout.h"
#include "shell/frmguanbi.h"
#include "shell/frmkaishi.h"
#include "support/AppEnvironment.h"

using namespace ms;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_shell_ui");

// Answers the next exit confirmation with `button` from inside its modal loop, looking for it
// every few milliseconds; `before` and `after` see the window around the click.
class Answer {
  public:
    using Look = std::function<void(frmguanbi&)>;
    explicit Answer(const char* button, Look before = {}, Look after = {}) {
        QObject::connect(&poll_, &QTimer::timeout, [this, button, before, after] {
            auto* asking = qobject_cast<frmguanbi*>(QApplication::activeModalWidget());
            if (!asking) return;
            poll_.stop();
            answered = true;
            if (before) before(*asking);
            QTest::mouseClick(asking->findChild<QWidget*>(QString::fromLatin1(button)), Qt::LeftButton, {},
                              QPoint(10, 10));
            if (after) after(*asking);
        });
        poll_.start(5);
    }
    bool answered = false;

  private:
    QTimer poll_;
};

}  // namespace

TEST(MainWindow, StartUpShowsTheWelcomeWindowAndTheControls) {
    MainWindow m({1, 3, 4, 5, 6, 7, 8});
    ASSERT_NE(m.welcome(), nullptr);
    EXPECT_TRUE(m.welcome()->isVisible());
    EXPECT_EQ(m.welcome()->parentWidget(), m.w.get());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(m.text("LabSM"), "发型样式选择");
    EXPECT_EQ(m.text("Label2"), "自动设计");
    EXPECT_EQ(m.text("Label1"), "0");
    const char* captions[] = {"调出新照片", "摄像头输入", "保存设计图", "保存设计图", "打印设计图"};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(m.text(QString("Label9_%1").arg(k).toLatin1()), captions[k]);
    EXPECT_FALSE(m.get("Label9_2")->isVisible());
    EXPECT_EQ(m.timer("Timer1")->interval(), 1000);
    EXPECT_EQ(m.timer("Timer2")->interval(), 100);
    EXPECT_FALSE(m.timer("Timer1")->isActive() || m.timer("Timer2")->isActive());
    EXPECT_FALSE(m.get<QLabel>("bckelm_1")->pixmap().isNull());
    EXPECT_TRUE(m.get<QLabel>("bckelm_2")->pixmap().isNull());
    EXPECT_FALSE(m.get("Imgchexiao1")->isEnabled());
    EXPECT_FALSE(m.get("Picfangda")->isVisible());
    auto* box = m.get<QCheckBox>("Check2_1");
    EXPECT_EQ(box->text(), "椭圆");
    EXPECT_FALSE(box->isEnabled());
    // The missing slot picture is reported without blocking the window.
    auto* message = m.get<QMessageBox>("message");
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().contains("kelmx2.bmp"));
}

TEST(MainWindow, AutomaticDesignFromTheWelcomeWindowStopsWithOneClick) {
    MainWindow m;
    QPointer<frmkaishi> welcome = m.welcome();
    QTest::mouseClick(welcome->findChild<QWidget*>("Command2"), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::qWait(0);
    EXPECT_TRUE(welcome.isNull() || !welcome->isVisible());
    EXPECT_TRUE(m.timer("Timer1")->isActive());
    EXPECT_TRUE(m.timer("Timer2")->isActive());
    EXPECT_EQ(m.text("Label2"), "停止设计");
    m.click("Label2");
    EXPECT_FALSE(m.timer("Timer1")->isActive());
    EXPECT_FALSE(m.timer("Timer2")->isActive());
    EXPECT_EQ(m.text("Label2"), "自动设计");
}

TEST(MainWindow, AnIntervalChangeReachesTimer1WithoutRestartingTheDesign) {
    MainWindow m;
    m.click("Label2");
    ASSERT_TRUE(m.timer("Timer1")->isActive());
    m.get<QAction>("shijian_3")->trigger();
    EXPECT_EQ(m.timer("Timer1")->interval(), 3000);
    EXPECT_TRUE(m.timer("Timer1")->isActive());
    EXPECT_TRUE(m.timer("Timer2")->isActive());
    EXPECT_EQ(m.text("Label2"), "停止设计");
    EXPECT_TRUE(m.get<QAction>("shijian_3")->isChecked());
    EXPECT_FALSE(m.get<QAction>("shijian_1")->isChecked());
}

TEST(MainWindow, RightClickOnTheHairstyleEntryRecordsOneSnapshotAndUndoGoesBack) {
    MainWindow m;
    m.pointAt("wuguan_0");
    ASSERT_TRUE(m.get("ImgFx")->isVisible());
    m.click("ImgFx", Qt::LeftButton);
    EXPECT_EQ(m.w->studio().session.history.position, 0);
    m.click("ImgFx", Qt::RightButton);
    EXPECT_EQ(m.w->studio().session.history.position, 1);
    EXPECT_EQ(m.text("Label1"), "1");
    EXPECT_EQ(m.w->studio().doc.design.faxingname, m.folder.file("faxing/000.tta"));
    EXPECT_TRUE(m.get("Imgchexiao1")->isEnabled());
    m.click("Imgchexiao1");
    EXPECT_EQ(m.w->studio().session.history.position, 0);
    EXPECT_FALSE(m.get("Imgchexiao1")->isEnabled());
    EXPECT_TRUE(m.get("Imghuifu1")->isEnabled());
}

TEST(MainWindow, AMissingDefaultIsReportedAndTheHairstyleStays) {
    MainWindow m;
    const QString current = m.folder.file("faxing/dz002.tta");
    m.w->studio().doc.design.faxingname = current;
    QFile::remove(m.folder.file("faxing/000.tta"));
    m.pointAt("wuguan_0");
    m.click("ImgFx", Qt::RightButton);
    EXPECT_EQ(m.w->studio().doc.design.faxingname, current);
    auto* message = m.get<QMessageBox>("message");
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().contains("000")) << message->text().toStdString();
}

TEST(MainWindow, ConfirmingTheExitEmptiesTheTemporaryFolderAndKeepsTheSlots) {
    MainWindow m;
    m.folder.touch("temp/huifu1.ini");
    m.folder.touch("temp/3.bmp");
    m.folder.touch("kelm/kelm2.bmp");
    m.click("Label2");
    bool timersStoppedWhileAsking = false;
    QString caption;
    Qt::CursorShape pointer = Qt::ArrowCursor;
    Answer answer(
        "Command1",
        [&](frmguanbi&) {
            timersStoppedWhileAsking = !m.timer("Timer1")->isActive() && !m.timer("Timer2")->isActive();
        },
        [&](frmguanbi& asking) {
            caption = asking.findChild<QLabel*>("Label1")->text();
            pointer = asking.cursor().shape();
        });
    m.click("Imgtuichu1");
    ASSERT_TRUE(answer.answered);
    EXPECT_TRUE(timersStoppedWhileAsking);
    EXPECT_EQ(caption, "正在删除临时文件，请稍侯。。。。。");
    EXPECT_EQ(pointer, Qt::WaitCursor);
    EXPECT_TRUE(QDir(m.folder.file("temp")).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFile::exists(m.folder.file("kelm/kelm2.bmp")));
    EXPECT_TRUE(QFile::exists(m.folder.file("kelm/kelmx2.bmp")));
    EXPECT_FALSE(m.w->isVisible());
    EXPECT_TRUE(m.welcome() == nullptr || !m.welcome()->isVisible());
}

TEST(MainWindow, DecliningTheExitLeavesAutomaticDesignStopped) {
    MainWindow m;
    m.folder.touch("temp/huifu1.ini");
    m.click("Label2");
    Answer answer("Command2");
    m.click("Imgtuichu1");
    ASSERT_TRUE(answer.answered);
    EXPECT_TRUE(m.w->isVisible());
    EXPECT_FALSE(m.timer("Timer1")->isActive());
    EXPECT_FALSE(m.timer("Timer2")->isActive());
    EXPECT_EQ(m.text("Label2"), "停止设计");
    EXPECT_TRUE(QFile::exists(m.folder.file("temp/huifu1.ini")));
    // The next click on Label2 stops the design for good, the second starts it again.
    m.click("Label2");
    EXPECT_FALSE(m.timer("Timer1")->isActive());
    m.click("Label2");
    EXPECT_TRUE(m.timer("Timer1")->isActive());
}

TEST(MainWindow, ClosingFromTheWindowManagerAsksTheSameQuestion) {
    MainWindow m;
    m.folder.touch("temp/huifu1.ini");
    {
        Answer answer("Command2");
        EXPECT_FALSE(m.w->close());
        ASSERT_TRUE(answer.answered);
    }
    EXPECT_TRUE(m.w->isVisible());
    EXPECT_TRUE(QFile::exists(m.folder.file("temp/huifu1.ini")));
    Answer answer("Command1");
    EXPECT_TRUE(m.w->close());
    ASSERT_TRUE(answer.answered);
    EXPECT_FALSE(QFile::exists(m.folder.file("temp/huifu1.ini")));
}

TEST(MainWindow, ZoomInAndOutThroughTheZoomImages) {
    MainWindow m;
    m.pointAt("Image3");
    ASSERT_TRUE(m.get("Imgda")->isVisible());
    EXPECT_FALSE(m.get("Image3")->isVisible());
    m.click("Imgda");
    EXPECT_TRUE(m.get("Picfangda")->isVisible());
    EXPECT_FALSE(m.get("Imgda")->isVisible());
    QTest::mouseMove(m.w.get(), QPoint(900, 700));
    EXPECT_TRUE(m.get("Image3")->isVisible());
    m.pointAt("Image3");
    ASSERT_TRUE(m.get("Imgxiao")->isVisible());
    m.click("Imgxiao");
    EXPECT_FALSE(m.get("Picfangda")->isVisible());
}

TEST(MainWindow, Slider1SizesBothBrushOutlines) {
    MainWindow m;
    EXPECT_EQ(m.get("Shape5")->size(), QSize(35, 35));
    m.get<QSlider>("Slider1")->setValue(9);
    EXPECT_EQ(m.get("Shape5")->size(), QSize(45, 45));
    EXPECT_EQ(m.get("Shape6")->size(), QSize(60, 60));  // 45 points of the magnified view
}

TEST(MainWindow, HoverShowsToolImagesAndTheBareWindowHidesThem) {
    MainWindow m;
    m.pointAt("wuguan_6");
    EXPECT_TRUE(m.get("Imgzx")->isVisible());
    m.pointAt("bckelm_4");
    EXPECT_TRUE(m.get("bckelmdt_4")->isVisible());
    QTest::mouseMove(m.w.get(), QPoint(200, 40));
    EXPECT_FALSE(m.get("Imgzx")->isVisible());
    EXPECT_FALSE(m.get("bckelmdt_4")->isVisible());
    m.pointAt("Label9_0");
    EXPECT_EQ(m.get<HotLabel>("Label9_0")->textColour(), QColor(200, 0, 0));
    QTest::mouseMove(m.w.get(), QPoint(200, 40));
    EXPECT_EQ(m.get<HotLabel>("Label9_0")->textColour(), QColor(0, 0, 0));
}

TEST(MainWindow, MinimisingClosesTheWelcomeWindowAndTheWindowCanComeBack) {
    MainWindow m;
    QPointer<frmkaishi> welcome = m.welcome();
    m.click("Imgmin1");
    QTest::qWait(0);
    EXPECT_TRUE(welcome.isNull() || !welcome->isVisible());
    if (TrayIcon::available())
        EXPECT_FALSE(m.w->isVisible());
    else
        EXPECT_TRUE(m.w->isMinimized());
}

TEST(ExitWindow, LayoutFromTwipsAndOneLitButtonAtATime) {
    test::ShellFolder folder;
    frmguanbi asking(folder.path());
    asking.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&asking));
    EXPECT_EQ(asking.size(), QSize(264, 560));
    auto* yes = asking.findChild<HotLabel*>("Command1");
    auto* no = asking.findChild<HotLabel*>("Command2");
    EXPECT_EQ(yes->geometry(), QRect(46, 376, 132, 25));
    EXPECT_EQ(no->geometry(), QRect(73, 419, 134, 25));
    EXPECT_EQ(yes->text(), "是的，以后再设计");
    EXPECT_EQ(asking.findChild<QLabel*>("Label1")->text(), "您确定要结束本次设计吗？");
    const QColor rest(224, 224, 224), lit(180, 255, 245);
    EXPECT_EQ(yes->background(), rest);
    QTest::mouseMove(yes, QPoint(30, 10));
    EXPECT_EQ(yes->background(), lit);
    // From one button to the other over the empty label behind them.
    QTest::mouseMove(&asking, QPoint(60, 410));
    EXPECT_EQ(yes->background(), rest);
    QTest::mouseMove(no, QPoint(30, 10));
    EXPECT_EQ(no->background(), lit);
    EXPECT_EQ(yes->background(), rest);
}

TEST(WelcomeWindow, ButtonsLightUnderThePointerAndGoBackOverTheBackground) {
    QWidget owner;
    frmkaishi welcome(&owner);
    welcome.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
    auto* first = welcome.findChild<HotLabel*>("Command1");
    QTest::mouseMove(first, QPoint(30, 10));
    EXPECT_EQ(first->background(), theme::kAccentLight);
    QTest::mouseMove(&welcome, QPoint(8, frmkaishi::kSize.height() - 8));
    EXPECT_EQ(first->background(), theme::kPaper);
}

TEST(MainWindow, HairstyleLibraryFromTheStripAppliesAStyleWithItsCardAndRecord) {
    MainWindow m;
    ASSERT_TRUE(
        savePictureBmp(m.folder.file("faxing1/dz001.BMP"), test::solidPicture(200, 150, QColor(1, 2, 3))));
    HairstyleRecord record;
    record.name = "dz001.tta";
    record[SuitabilityField::SquareFace] = true;
    record[SuitabilityField::AmountThick] = true;
    ASSERT_TRUE(createHairstyleDatabase(m.folder.file("dova.mdb"), {record}));
    EXPECT_FALSE(m.get<QCheckBox>("Check2_2")->isEnabled());  // unbound until a hairstyle is applied
    m.pointAt("wuguan_0");
    m.click("ImgFx");
    auto* library = m.w->findChild<QWidget*>("FrmTK1");
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(library->isVisible());
    EXPECT_EQ(m.w->studio().session.library.currentKind, LibraryKind::Hairstyles);
    QWidget* first = library->findChild<QWidget*>("ImgTK0");
    ASSERT_NE(first, nullptr);
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(m.w->studio().doc.design.faxingname, m.folder.file("faxing/dz001.tta"));
    EXPECT_EQ(m.w->studio().session.history.position, 1);
    EXPECT_FALSE(m.get<QLabel>("Image1")->pixmap().isNull());
    auto* square = m.get<QCheckBox>("Check2_2");
    EXPECT_TRUE(square->isEnabled());
    EXPECT_TRUE(square->isChecked());
    EXPECT_FALSE(m.get<QCheckBox>("Check2_0")->isChecked());
    EXPECT_TRUE(m.get<QCheckBox>("Check4_2")->isChecked());
    // A click on a box saves it to the record of the hairstyle applied.
    QTest::mouseClick(m.get<QCheckBox>("Check3_0"), Qt::LeftButton, {}, QPoint(8, 12));
    EXPECT_TRUE(m.get<QCheckBox>("Check3_0")->isChecked());
    HairstyleDatabase db(m.folder.file("dova.mdb"));
    ASSERT_TRUE(db.open());
    std::optional<HairstyleRecord> saved;
    ASSERT_TRUE(db.select("dz001.tta", saved));
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE((*saved)[SuitabilityField::HairSoft]);

    // The makeup tools open where the library stood: the library steps aside.
    m.click("Imgbz");
    EXPECT_FALSE(library->isVisible());
    // Taking the hairstyle off takes its card and its record off the panel.
    m.click("ImgFx", Qt::RightButton);
    EXPECT_TRUE(m.w->studio().doc.design.faxingname.endsWith("/000.tta"));
    EXPECT_TRUE(m.get<QLabel>("Image1")->pixmap().isNull());
    for (const char* box : {"Check2_2", "Check3_0", "Check4_2"}) {
        EXPECT_FALSE(m.get<QCheckBox>(box)->isChecked()) << box;
        EXPECT_FALSE(m.get<QCheckBox>(box)->isEnabled()) << box;
    }
    EXPECT_FALSE(m.w->libraries().suitability().isBound());
}

// The welcome window stands over the middle of the canvas, clear of the panel on the right.
TEST(MainWindow, TheWelcomeWindowOpensCentredOverTheCanvas) {
    MainWindow m;
    auto* welcome = m.w->findChild<QWidget*>("frmkaishi");
    ASSERT_NE(welcome, nullptr);
    const QRect canvas(m.w->mapToGlobal(zjm::kPichuaban.topLeft()), zjm::kPichuaban.size());
    EXPECT_LE((welcome->frameGeometry().center() - canvas.center()).manhattanLength(), 2);
    const QRect panel(m.w->mapToGlobal(QPoint(zjm::kPichuaban.right() + 100, 0)), QSize(200, 800));
    EXPECT_FALSE(welcome->frameGeometry().intersects(panel));
}

// A save of a suitability box that fails is reported and the box shows the record as it is; a
// problem of the hairstyle library is shown over the library window, not under it.
TEST(MainWindow, DatabaseProblemsAreReportedOverTheLibraryWindow) {
    MainWindow m;
    HairstyleRecord record;
    record.name = "dz001.tta";
    ASSERT_TRUE(createHairstyleDatabase(m.folder.file("dova.mdb"), {record}));
    m.pointAt("wuguan_0");
    m.click("ImgFx");
    auto* library = m.w->findChild<QWidget*>("FrmTK1");
    ASSERT_NE(library, nullptr);
    QTest::mouseClick(library->findChild<QWidget*>("ImgTK0"), Qt::LeftButton, {}, QPoint(50, 50));
    auto* box = m.get<QCheckBox>("Check3_0");
    ASSERT_TRUE(box->isEnabled());
    ASSERT_FALSE(box->isChecked());
    // Another program holds the database: the tick cannot be saved.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "locker");
        other.setDatabaseName(m.folder.file("dova.mdb"));
        ASSERT_TRUE(other.open());
        QSqlQuery q(other);
        ASSERT_TRUE(q.exec("BEGIN EXCLUSIVE"));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 12));
        q.exec("ROLLBACK");
    }
    QSqlDatabase::removeDatabase("locker");
    auto* message = m.w->findChild<QMessageBox*>("message");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().contains("占用")) << message->text().toStdString();
    EXPECT_FALSE(box->isChecked());  // the record was not changed
    message->hide();
    // A damaged database found while applying is shown over the hairstyle window.
    QFile f(m.folder.file("dova.mdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QTest::mouseClick(library->findChild<QWidget*>("ImgTK1"), Qt::LeftButton, {}, QPoint(50, 50));
    message = m.w->findChild<QMessageBox*>("message");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->parentWidget(), library);
}

namespace {

QString astronaut() { return QStringLiteral(MS_TESTDATA_DIR "/astronaut.png"); }

// Takes a picture in as the stylist does: "调出新照片", the file in the dialog, "调入".
Frmbj* takeIn(MainWindow& m, const QString& path) {
    m.click("Label9_0");
    auto* dialog = m.w->findChild<FrmDKWJ*>();
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return nullptr;
    emit dialog->photoChosen(path);
    dialog->close();
    QApplication::processEvents();
    return m.w->findChild<Frmbj*>("Frmbj");
}

}  // namespace

// A real, frontal photo of a person goes through the dialog and the adjustment, and every
// component then sits on it.
TEST(PhotoFlow, ARealPhotoBecomesTheWorkingAndReferencePhoto) {
    MainWindow m;
    ASSERT_TRUE(QFile::exists(astronaut())) << "the test photo was not copied into the build";
    StudioState& s = m.w->studio();
    s.doc.design.geometry.maozitop = 12;  // the design is reset by the take-in
    Frmbj* adjust = takeIn(m, astronaut());
    ASSERT_NE(adjust, nullptr);
    EXPECT_TRUE(adjust->isVisible());
    EXPECT_TRUE(m.get("Shape1")->isVisible());  // the guide lines are on
    EXPECT_EQ(s.doc.design.geometry.maozitop, 0);
    // 512 x 512 is taken in as it is and fitted at the start values: centred, covering the canvas.
    EXPECT_EQ(adjust->session().source().size(), QSize(512, 512));
    ASSERT_EQ(s.session.views.Pichuaban.size(), QSize(380, 480));
    EXPECT_NE(s.session.views.Pichuaban.pixel(2, 2) & 0xFFFFFFu, 0xFFFFFFu);
    // Half the size: 256 x 256 centred at (62, 112), white around it.
    adjust->findChild<QSlider*>("Slider2")->setValue(25);
    for (const QPoint white : {QPoint(30, 240), QPoint(190, 50), QPoint(190, 400)})
        EXPECT_EQ(s.session.views.Pichuaban.pixel(white) & 0xFFFFFFu, 0xFFFFFFu)
            << white.x() << "," << white.y();
    EXPECT_NE(s.session.views.Pichuaban.pixel(190, 240) & 0xFFFFFFu, 0xFFFFFFu);
    adjust->findChild<QSlider*>("Slider2")->setValue(70);
    QTest::mouseClick(adjust->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(m.get("Shape1")->isVisible());
    EXPECT_EQ(s.doc.design.PicMT0, s.doc.design.PicMT);
    EXPECT_EQ(s.doc.design.Picbeijing.pixel(190, 240), s.doc.design.PicMT.pixel(190, 240));
    // A hairstyle now lands on the client's photo.
    s.doc.design.faxingname = m.folder.file("faxing/dz001.tta");
    ASSERT_TRUE(huaban_hecheng2(s));
    EXPECT_EQ(s.session.views.Pichuaban.pixel(100, 100) & 0xFFFFFFu,
              test::ShellFolder::hairColour(1) & 0xFFFFFFu);
}

// Files that are no photo: a clear message, and the design, the canvas and the slots as they were.
TEST(PhotoFlow, APictureThatCannotBeReadChangesNothing) {
    MainWindow m;
    StudioState& s = m.w->studio();
    s.doc.design.geometry.maozitop = 12;
    const QImage before = s.session.views.Pichuaban.copy();
    const QString broken = m.folder.file("broken.jpg");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    QByteArray huge = test::bytesOf(astronaut()).left(64);  // a PNG header claiming 40000 x 40000
    for (int i = 0; i < 4; ++i) huge[16 + i] = huge[20 + i] = "\x00\x00\x9c\x40"[i];
    const QString claims = m.folder.file("huge.png");
    QFile h(claims);
    ASSERT_TRUE(h.open(QIODevice::WriteOnly));
    h.write(huge);
    h.close();
    const QString empty = m.folder.file("empty.jpg");
    QFile e(empty);
    ASSERT_TRUE(e.open(QIODevice::WriteOnly));
    e.close();
    const QString truncated = m.folder.file("truncated.png");
    QFile t(truncated);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(test::bytesOf(astronaut()).left(40000));
    t.close();
    for (const QString& path : {broken, claims, empty, truncated, m.folder.file("missing.jpg")}) {
        takeIn(m, path);
        EXPECT_EQ(m.w->findChild<Frmbj*>("Frmbj"), nullptr) << path.toStdString();
        auto* message = m.w->findChild<QMessageBox*>("message");
        ASSERT_NE(message, nullptr);
        EXPECT_TRUE(message->isVisible());
        EXPECT_TRUE(message->text().contains("照片")) << message->text().toStdString();
        EXPECT_EQ(s.doc.design.geometry.maozitop, 12);
        EXPECT_EQ(s.session.views.Pichuaban, before);
        message->hide();
    }
}

// A photo dropped on the canvas from the file manager goes through the same adjustment.
TEST(PhotoFlow, APhotoDroppedOnTheCanvasIsTakenIn) {
    MainWindow m;
    auto* canvas = m.get("Pichuaban");
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(astronaut())});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &drop);
    QApplication::processEvents();
    auto* adjust = m.w->findChild<Frmbj*>("Frmbj");
    ASSERT_NE(adjust, nullptr);
    EXPECT_EQ(adjust->session().source().size(), QSize(512, 512));
    delete data;
}

// The slots on the main window: the right button stores the design and the slot shows the canvas;
// another button brings it back.
TEST(Slots, StoreByRightClickAndBringBackByLeftClick) {
    MainWindow m;
    StudioState& s = m.w->studio();
    s.doc.design.faxingname = m.folder.file("faxing/dz002.tta");
    ASSERT_TRUE(huaban_hecheng2(s));
    m.w->refreshViews();
    m.pointAt("bckelm_3");
    auto* preview = m.get<HotLabel>("bckelmdt_3");
    ASSERT_TRUE(preview->isVisible());
    QTest::mouseClick(preview, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_TRUE(QFile::exists(m.folder.file("kelm/kelmx3.bmp")));
    EXPECT_TRUE(QFile::exists(m.folder.file("kelm/kelm3.bmp")));
    EXPECT_EQ(m.w->workspace().shell().slotPictures[2].pixel(100, 100),
              s.session.views.Pichuaban.pixel(100, 100));
    // Another design, then the slot back.
    s.doc.design.faxingname = m.folder.file("faxing/dz003.tta");
    ASSERT_TRUE(huaban_hecheng2(s));
    const int position = s.session.history.position;
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(s.session.views.Pichuaban.pixel(100, 100) & 0xFFFFFFu,
              test::ShellFolder::hairColour(2) & 0xFFFFFFu);
    EXPECT_EQ(s.session.history.position, position + 1);
    EXPECT_EQ(m.text("Label1"), QString::number(position + 1));
}

// "保存设计图": the type follows the extension, a bitmap when there is none; a save that cannot be
// written is reported and leaves nothing half-written.
TEST(SaveDesignPicture, WritesTheCanvasInTheChosenFormat) {
    MainWindow m;
    QString answer;
    m.w->setSavePathSource([&answer] { return answer; });
    for (const auto& [name, format] :
         {std::pair{"design.png", "png"}, std::pair{"design.JPG", "jpeg"}, std::pair{"design", "bmp"}}) {
        answer = m.folder.file(name);
        m.click("Label9_3");
        const QString written = QFileInfo(answer).suffix().isEmpty() ? answer + ".bmp" : answer;
        QImageReader reader(written);
        EXPECT_EQ(reader.format(), QByteArray(format)) << name;
        const QImage back = reader.read();
        EXPECT_EQ(back.size(), QSize(380, 480)) << name;
    }
    answer.clear();  // cancelled: nothing
    m.click("Label9_3");
    answer = m.folder.file("no-such-folder/design.bmp");
    m.click("Label9_3");
    auto* message = m.w->findChild<QMessageBox*>("message");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_FALSE(QFile::exists(answer));
}
