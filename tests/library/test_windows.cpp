#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "LibraryStudio.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/SuitabilityLink.h"
#include "library/ThumbnailButton.h"
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
