#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <optional>

#include "LibraryStudio.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/SuitabilityLink.h"
#include "library/ThumbnailButton.h"
#include "platform/Theme.h"
#include "platform/WindowPlacement.h"
#include "support/AppEnvironment.h"

using namespace ms;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_library_ui");

template <typename T>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QString text(QWidget* w, const char* label) { return child<QLabel>(w, label)->text(); }

struct WindowStudio : test::LibraryStudio {
    QWidget owner;
    LibraryWindows windows{s, &owner};
};

}  // namespace

TEST(FrmTK1Window, PagesByButtonsAndAppliesAHairstyleByClick) {
    WindowStudio w;
    QStringList names;
    for (int i = 1; i <= 9; ++i) names << QString("dz%1.tta").arg(i);
    w.components("faxing", names, 380, 480);
    ASSERT_TRUE(createHairstyleDatabase(w.dbPath(), {}));
    QSignalSpy applied(&w.windows, &LibraryWindows::applied);
    w.windows.openHairstyles();
    FrmTK1* win = w.windows.hairstyleWindow();
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(w.s.session.library.currentKind, LibraryKind::Hairstyles);
    EXPECT_EQ(text(win, "Label3"), "共2页");
    const auto thumbs = win->findChildren<ThumbnailButton*>();
    ASSERT_EQ(thumbs.size(), 8);
    for (ThumbnailButton* t : thumbs) EXPECT_TRUE(t->isEnabled());
    auto* next = child<QPushButton>(win, "Command3");
    auto* previous = child<QPushButton>(win, "Command2");
    EXPECT_FALSE(previous->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(text(win, "Label4"), "第2页");
    EXPECT_FALSE(next->isEnabled());
    EXPECT_TRUE(previous->isEnabled());
    ThumbnailButton* first = child<ThumbnailButton>(win, "ImgTK0");
    EXPECT_TRUE(first->isEnabled());
    EXPECT_FALSE(child<ThumbnailButton>(win, "ImgTK1")->isEnabled());
    EXPECT_FALSE(child<ThumbnailButton>(win, "ImgTK7")->isEnabled());

    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(w.s.doc.design.faxingname, w.folder.file("faxing/dz9.tta"));
    EXPECT_EQ(w.s.session.history.position, 1);
    ASSERT_EQ(applied.count(), 1);
    const auto result = applied.at(0).at(0).value<LibraryApplied>();
    EXPECT_TRUE(result.recordBound);
    EXPECT_EQ(result.record.name, "dz9.tta");
    EXPECT_TRUE(w.windows.suitability().isBound());

    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(text(win, "Label4"), "第1页");
    EXPECT_FALSE(previous->isEnabled());
    QTest::mouseClick(child<ThumbnailButton>(win, "ImgTK7"), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(w.s.doc.design.faxingname, w.folder.file("faxing/dz8.tta"));
    EXPECT_EQ(w.s.session.history.position, 2);

    // Reopening brings the same window back on the page the user left.
    QTest::mouseClick(next, Qt::LeftButton);
    w.s.session.library.currentKind = LibraryKind::Eyebrows;
    w.windows.openHairstyles();
    EXPECT_EQ(w.windows.hairstyleWindow(), win);
    EXPECT_EQ(text(win, "Label4"), "第2页");
    EXPECT_EQ(w.s.session.library.currentKind, LibraryKind::Hairstyles);
}

TEST(FrmTKWindow, TabsThumbnailClicksAndDoubleClickClose) {
    WindowStudio w;
    w.components("meimao", {"k1.tta", "k2.tta", "m1.tta"}, 180, 40);
    w.components("zuixing", {"k1.tta"}, 100, 50);
    w.windows.openEyebrows();
    FrmTK* win = w.windows.componentWindow();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(w.s.doc.design.woman);
    EXPECT_EQ(text(win, "Label3"), "共1页");
    EXPECT_FALSE(child<QPushButton>(win, "Command3")->isEnabled());
    EXPECT_TRUE(child<QWidget>(win, "Frame1")->isVisible());
    EXPECT_EQ(child<QPushButton>(win, "Cmdfuwei")->text(), "眉毛复原");

    const auto tabs = child<QWidget>(win, "SSTab1")->findChildren<QToolButton*>();
    ASSERT_EQ(tabs.size(), 8);
    QToolButton* men = nullptr;
    for (QToolButton* t : tabs)
        if (t->text() == " 男士眉 ") men = t;
    ASSERT_NE(men, nullptr);
    QTest::mouseClick(men, Qt::LeftButton);
    EXPECT_FALSE(w.s.doc.design.woman);
    ThumbnailButton* strip0 = child<ThumbnailButton>(win, "ImgTK1_0");
    EXPECT_TRUE(strip0->isEnabled());
    EXPECT_FALSE(child<ThumbnailButton>(win, "ImgTK1_1")->isEnabled());
    QTest::mouseClick(strip0, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(w.s.doc.design.meimaoxingname, w.folder.file("meimao/m1.tta"));
    EXPECT_EQ(w.s.session.history.position, 1);

    // The lip library replaces the window (the old one is gone; its address may be reused); the
    // square area shows.
    const QPointer<FrmTK> eyebrowWindow(win);
    w.windows.openLips();
    QApplication::processEvents();
    FrmTK* lips = w.windows.componentWindow();
    ASSERT_NE(lips, nullptr);
    EXPECT_TRUE(eyebrowWindow.isNull());
    EXPECT_EQ(w.s.doc.design.lipColour, colourValue(255, 0, 80));
    EXPECT_TRUE(child<QWidget>(lips, "Frame2")->isVisible());
    EXPECT_TRUE(child<QPushButton>(lips, "Command8")->isVisibleTo(lips));

    QSignalSpy closed(&w.windows, &LibraryWindows::closedByDoubleClick);
    QTest::mouseDClick(lips, Qt::LeftButton, {}, QPoint(2, lips->height() - 2));
    QApplication::processEvents();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(w.windows.componentWindow(), nullptr);
}

// A component in the listing that cannot be drawn says why under the pointer.
TEST(FrmTKWindow, ABrokenThumbnailExplainsItselfInItsTooltip) {
    WindowStudio w;
    w.components("zuixing", {"k1.tta", "k2.tta"}, 100, 50);
    QFile::resize(w.folder.file("zuixing/k2.tta"), 30);
    w.windows.openLips();
    FrmTK* win = w.windows.componentWindow();
    ASSERT_NE(win, nullptr);
    ThumbnailButton* good = child<ThumbnailButton>(win, "ImgTK0");
    ThumbnailButton* broken = child<ThumbnailButton>(win, "ImgTK1");
    EXPECT_TRUE(good->toolTip().isEmpty());
    EXPECT_FALSE(broken->isEnabled());
    EXPECT_TRUE(broken->toolTip().contains("k2.tta")) << broken->toolTip().toStdString();
}

// One library window at a time, in one place: the hairstyle window steps aside for a component
// library and comes back as it was left; the component window goes when the hairstyles come back.
TEST(LibraryWindows, OneLibraryWindowShowsAtATimeInOnePlace) {
    WindowStudio w;
    QStringList styles;
    for (int i = 1; i <= 9; ++i) styles << QString("dz%1.tta").arg(i);
    w.components("faxing", styles, 380, 480);
    w.components("maozi", {"000.tta", "001.tta"}, 380, 250);
    ASSERT_TRUE(createHairstyleDatabase(w.dbPath(), {}));
    w.owner.setGeometry(0, 0, 300, 200);
    w.owner.show();
    w.windows.openHairstyles();
    FrmTK1* hair = w.windows.hairstyleWindow();
    ASSERT_NE(hair, nullptr);
    QTest::mouseClick(child<QPushButton>(hair, "Command3"), Qt::LeftButton);
    const QPoint hairAt = hair->pos();

    w.windows.openAccessories();
    QApplication::processEvents();
    FrmTK* accessories = w.windows.componentWindow();
    ASSERT_NE(accessories, nullptr);
    EXPECT_FALSE(hair->isVisible());
    EXPECT_TRUE(accessories->isVisible());
    EXPECT_EQ(accessories->pos(), hairAt);

    const QPointer<FrmTK> gone(accessories);
    w.windows.openHairstyles();
    QApplication::processEvents();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(w.windows.hairstyleWindow(), hair);
    EXPECT_TRUE(hair->isVisible());
    EXPECT_EQ(text(hair, "Label4"), "第2页");

    w.windows.openEyebrows();
    w.windows.putAway();
    QApplication::processEvents();
    EXPECT_EQ(w.windows.componentWindow(), nullptr);
    EXPECT_FALSE(hair->isVisible());
}

// Every accessory tab keeps the window's width and its page buttons where they were, and the item
// that takes the accessory off says so.
TEST(FrmTKWindow, AccessoryTabsKeepOneLayoutAndNameTheEmptyItem) {
    WindowStudio w;
    w.components("maozi", {"000.tta", "001.tta"}, 380, 250);
    w.components("yanjing", {"000.tta", "001.tta"}, 180, 70);
    w.components("erhuan", {"000.tta", "001.tta"}, 80, 65);
    w.components("xianglian", {"000.tta", "001.tta"}, 200, 140);
    w.components("fuzhuang", {"000.tta", "001.tta"}, 400, 190);
    w.windows.openAccessories();
    FrmTK* win = w.windows.componentWindow();
    ASSERT_NE(win, nullptr);
    win->show();
    const auto tabs = child<QWidget>(win, "SSTab1")->findChildren<QToolButton*>();
    ASSERT_EQ(tabs.size(), 5);
    std::optional<QPoint> pageButton;
    std::optional<int> width;
    for (QToolButton* tab : tabs) {
        QTest::mouseClick(tab, Qt::LeftButton);
        QApplication::processEvents();
        auto* next = child<QPushButton>(win, "Command3");
        const QPoint at = next->mapTo(win, QPoint(0, 0));
        if (!pageButton) pageButton = at, width = win->width();
        EXPECT_EQ(at, *pageButton) << tab->text().toStdString();
        EXPECT_EQ(win->width(), *width) << tab->text().toStdString();
        std::vector<ThumbnailButton*> shown;
        for (ThumbnailButton* t : win->findChildren<ThumbnailButton*>())
            if (t->isVisible() && t->index() < 2) shown.push_back(t);
        ASSERT_EQ(shown.size(), 2u) << tab->text().toStdString();
        for (ThumbnailButton* t : shown)
            EXPECT_EQ(t->caption(), t->index() == 0 ? QString("无") : QString()) << tab->text().toStdString();
    }
}

// Where tool and library windows open: beside the main window, never over its canvas or panel
// while the screen has room, and always on the screen.
TEST(WindowPlacement, BesideTheMainWindowWhereTheScreenHasRoom) {
    const QSize window(240, 500);
    const QRect owner(0, 0, 1024, 768);
    EXPECT_EQ(besideMainWindow(owner, QRect(0, 0, 1400, 1024), window), QPoint(1024, 76));
    // No room on the right: on the left of a main window that stands away from the screen's edge.
    EXPECT_EQ(besideMainWindow(owner.translated(300, 0), QRect(0, 0, 1400, 1024), window), QPoint(60, 76));
    // No room either side: over the main window's left edge, the tool strip.
    EXPECT_EQ(besideMainWindow(owner, QRect(0, 0, 1100, 800), window), QPoint(0, 76));
    // Low on a short screen: lifted to stay whole.
    EXPECT_EQ(besideMainWindow(owner.translated(0, 600), QRect(0, 0, 1400, 1024), window), QPoint(1024, 524));
    // A window larger than the screen keeps its top-left corner on it.
    EXPECT_EQ(besideMainWindow(owner, QRect(0, 0, 200, 300), window), QPoint(0, 0));
}

// The studio's look on every control: cream and rose, no trace of the platform's blue. Last in this
// file, as it changes the look of the whole application.
TEST(StudioTheme, ButtonsAndSlidersShowNoBlueAccent) {
    theme::applyStudioTheme(*qApp);
    QWidget box;
    auto* button = new QPushButton(QStringLiteral("饰品复位"), &box);
    auto* slider = new QSlider(Qt::Horizontal, &box);
    auto* check = new QCheckBox(QStringLiteral("只看适合脸型"), &box);
    button->setGeometry(0, 0, 120, 30);
    slider->setGeometry(0, 40, 120, 24);
    check->setGeometry(0, 70, 120, 24);
    slider->setRange(0, 10);
    slider->setValue(5);
    check->setChecked(true);
    box.resize(130, 100);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QImage shot = box.grab().toImage();
    int blue = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            blue += c.blue() > c.red() + 30;
        }
    EXPECT_EQ(blue, 0);
    EXPECT_EQ(shot.pixelColor(6, 15), theme::kPaper);
}
