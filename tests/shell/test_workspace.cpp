#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ShellFixture.h"
#include "compositor/Composition.h"
#include "persistence/History.h"
#include "shell/Workspace.h"

using namespace ms;

namespace {

struct ShellStudio {
    test::ShellFolder folder;
    StudioState s;
    Workspace ws{s};
    explicit ShellStudio(std::initializer_list<int> withPicture = {1, 2, 3, 4, 5, 6, 7, 8})
        : folder(withPicture) {
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
    }
    QRgb canvasAt(int x, int y) const { return s.session.views.Pichuaban.pixel(x, y) & 0xFFFFFFu; }
    QRgb magnifiedAt(int x, int y) const { return s.session.views.Picfangda.pixel(x, y) & 0xFFFFFFu; }
};

constexpr QRgb kTopLeft = 0xC82828, kTopRight = 0x28C828, kBottomLeft = 0x2828C8, kBottomRight = 0xDCDC3C;

}  // namespace

TEST(AutomaticDesign, StartedFromWelcomeAndStoppedByOneClick) {
    ShellStudio t;
    EXPECT_FALSE(t.ws.shell().autoDesignRunning);
    EXPECT_EQ(t.ws.shell().Label2, "自动设计");
    t.ws.beginAutoDesign();
    EXPECT_TRUE(t.ws.shell().autoDesignRunning);
    EXPECT_TRUE(t.ws.shell().timersEnabled);
    EXPECT_EQ(t.ws.shell().Label2, "停止设计");
    t.ws.toggleAutoDesign();
    EXPECT_FALSE(t.ws.shell().autoDesignRunning);
    EXPECT_FALSE(t.ws.shell().timersEnabled);
    EXPECT_EQ(t.ws.shell().Label2, "自动设计");
    t.ws.toggleAutoDesign();
    EXPECT_TRUE(t.ws.shell().timersEnabled);
    EXPECT_EQ(t.ws.shell().Label2, "停止设计");
}

TEST(AutomaticDesign, ExitStopsTheTimersButKeepsCaptionAndFlag) {
    ShellStudio t;
    t.ws.beginAutoDesign();
    t.ws.stopTimersForExit();
    EXPECT_FALSE(t.ws.shell().timersEnabled);
    EXPECT_TRUE(t.ws.shell().autoDesignRunning);
    EXPECT_EQ(t.ws.shell().Label2, "停止设计");
    // Using Label2 now stops it for good; twice starts it again.
    t.ws.toggleAutoDesign();
    EXPECT_FALSE(t.ws.shell().autoDesignRunning);
    EXPECT_FALSE(t.ws.shell().timersEnabled);
}

TEST(AutomaticDesign, IntervalItemsAndBlinking) {
    ShellStudio t;
    EXPECT_EQ(t.ws.shell().timer1Interval, 1000);
    EXPECT_EQ(t.ws.shell().checkedInterval, 1);
    t.ws.beginAutoDesign();
    const int expected[] = {500, 1000, 2000, 3000, 4000, 5000};
    for (int k = 0; k < 6; ++k) {
        t.ws.chooseInterval(k);
        EXPECT_EQ(t.ws.shell().timer1Interval, expected[k]);
        EXPECT_EQ(t.ws.shell().checkedInterval, k);
    }
    t.ws.chooseInterval(6);
    EXPECT_EQ(t.ws.shell().timer1Interval, 5000);
    EXPECT_TRUE(t.ws.shell().autoDesignRunning);

    EXPECT_FALSE(t.ws.shell().Label2Red);
    t.ws.blinkTick();
    EXPECT_TRUE(t.ws.shell().Label2Red);
    t.ws.blinkTick();
    EXPECT_FALSE(t.ws.shell().Label2Red);
    t.ws.pointAtLabel2();
    EXPECT_TRUE(t.ws.shell().Label2Red);
    t.ws.pressLabel2();
    EXPECT_FALSE(t.ws.shell().Label2Red);
    t.ws.pointAtLabel2();
    t.ws.pointAtBackground();
    EXPECT_FALSE(t.ws.shell().Label2Red);
}

TEST(AutomaticDesign, EachTickChoosesAHairstyleOfTheWholeLibraryAndRecordsIt) {
    ShellStudio t;
    ASSERT_TRUE(CHUSHI_MOBAN(t.s));
    // Codes that match no file: the tick must clear them to find any hairstyle.
    t.s.session.library.hairFirstCode = "qq";
    t.s.session.library.hairSecondCode = "zz";
    for (int tick = 1; tick <= 3; ++tick) {
        ASSERT_TRUE(t.ws.autoDesignTick()) << "tick " << tick;
        EXPECT_TRUE(t.s.session.library.hairFirstCode.isEmpty());
        EXPECT_TRUE(t.s.session.library.hairSecondCode.isEmpty());
        const QString name = QFileInfo(t.s.doc.design.faxingname).fileName();
        ASSERT_TRUE(name.startsWith("dz00")) << name.toStdString();
        const int i = name.mid(4, 1).toInt();
        EXPECT_EQ(t.canvasAt(100, 100), test::ShellFolder::hairColour(i) & 0xFFFFFFu);
        EXPECT_EQ(t.s.session.history.position, tick);
        EXPECT_TRUE(QFile::exists(snapshotPath(t.s, tick)));
    }
}

TEST(AutomaticDesign, ATickWithoutHairstylesReportsIt) {
    ShellStudio t;
    for (int i = 1; i <= 3; ++i) QFile::remove(t.folder.file(QString("faxing/dz00%1.tta").arg(i)));
    ASSERT_TRUE(CHUSHI_MOBAN(t.s));
    const Status st = t.ws.autoDesignTick();
    EXPECT_FALSE(st);
    EXPECT_FALSE(st.message.isEmpty());
}

TEST(Zoom, BeforeAnyCompositionShowsTheSamplePortraitMagnified) {
    ShellStudio t;
    t.ws.pointAtZoom();
    EXPECT_EQ(t.ws.shell().zoomImage, ZoomImage::Imgda);
    t.ws.zoomIn();
    EXPECT_TRUE(t.s.session.views.PicfangdaVisible);
    EXPECT_EQ(t.ws.shell().zoomImage, ZoomImage::Image3);
    ASSERT_EQ(t.s.session.views.Picfangda.size(), QSize(608, 768));
    // Quadrant centres of the canvas, at 1.6 x.
    EXPECT_EQ(t.magnifiedAt(152, 192), kTopLeft);
    EXPECT_EQ(t.magnifiedAt(456, 192), kTopRight);
    EXPECT_EQ(t.magnifiedAt(152, 576), kBottomLeft);
    EXPECT_EQ(t.magnifiedAt(456, 576), kBottomRight);
}

TEST(Zoom, ZoomingOutAndInAgainRedrawsFromTheCanvasView) {
    ShellStudio t;
    ASSERT_TRUE(t.ws.startUp());
    t.ws.zoomIn();
    // While visible every composition redraws it.
    t.s.doc.design.faxingname = t.folder.file("faxing/dz001.tta");
    ASSERT_TRUE(huaban_hecheng2(t.s));
    EXPECT_EQ(t.magnifiedAt(160, 160), test::ShellFolder::hairColour(1) & 0xFFFFFFu);

    t.ws.pointAtZoom();
    EXPECT_EQ(t.ws.shell().zoomImage, ZoomImage::Imgxiao);
    t.ws.pressZoomOut();
    EXPECT_EQ(t.ws.shell().zoomImage, ZoomImage::Image3);
    t.ws.zoomOut();
    EXPECT_FALSE(t.s.session.views.PicfangdaVisible);
    t.s.doc.design.faxingname = t.folder.file("faxing/dz002.tta");
    ASSERT_TRUE(huaban_hecheng2(t.s));
    t.ws.zoomIn();
    EXPECT_EQ(t.magnifiedAt(160, 160), test::ShellFolder::hairColour(2) & 0xFFFFFFu);
}

namespace {

struct ResetCase {
    ToolEntry entry;
    const char* folder;
    int w, h;
    QString DesignState::*name;
};

const ResetCase kResetCases[] = {
    {ToolEntry::ImgFx, "faxing", 380, 480, &DesignState::faxingname},
    {ToolEntry::Imgmm, "meimao", 180, 40, &DesignState::meimaoxingname},
    {ToolEntry::Imgzx, "zuixing", 100, 50, &DesignState::zuixingname},
    {ToolEntry::Imgmz, "maozi", 380, 250, &DesignState::maoziname},
};

}  // namespace

TEST(ToolStrip, RightClickResetsToTheDefaultAndRecordsExactlyOneSnapshot) {
    for (const ResetCase& c : kResetCases) {
        SCOPED_TRACE(c.folder);
        ShellStudio t;
        ASSERT_TRUE(t.ws.startUp());
        t.s.doc.design.*c.name =
            t.folder.component(QString("%1/x1.tta").arg(c.folder), c.w, c.h, 0xFF102030u);
        ASSERT_TRUE(huaban_hecheng2(t.s));
        ASSERT_TRUE(huifu_baochun(t.s));
        const int before = t.s.session.history.position;

        t.ws.clickTool(c.entry);  // the left button records none
        EXPECT_EQ(t.s.session.history.position, before);

        ASSERT_TRUE(t.ws.rightClickTool(c.entry));
        EXPECT_EQ(t.s.doc.design.*c.name, t.folder.file(QString("%1/000.tta").arg(c.folder)));
        EXPECT_EQ(t.s.session.history.position, before + 1);
        EXPECT_EQ(t.s.session.history.top, before + 1);
        EXPECT_TRUE(QFile::exists(snapshotPath(t.s, before + 1)));
        EXPECT_FALSE(QFile::exists(snapshotPath(t.s, before + 2)));
    }
}

TEST(ToolStrip, RightClickRemovesTheHairstyleFromTheCanvas) {
    ShellStudio t;
    ASSERT_TRUE(t.ws.startUp());
    t.s.doc.design.faxingname = t.folder.file("faxing/dz003.tta");
    ASSERT_TRUE(huaban_hecheng2(t.s));
    ASSERT_NE(t.canvasAt(100, 100), kTopLeft);
    ASSERT_TRUE(t.ws.rightClickTool(ToolEntry::ImgFx));
    EXPECT_EQ(t.canvasAt(100, 100), kTopLeft);
}

TEST(ToolStrip, AMissingDefaultLeavesTheComponentAndTheHistoryUnchanged) {
    ShellStudio t;
    ASSERT_TRUE(t.ws.startUp());
    const QString current = t.folder.file("faxing/dz001.tta");
    t.s.doc.design.faxingname = current;
    ASSERT_TRUE(huaban_hecheng2(t.s));
    QFile::remove(t.folder.file("faxing/000.tta"));
    const Status st = t.ws.rightClickTool(ToolEntry::ImgFx);
    EXPECT_FALSE(st);
    EXPECT_TRUE(st.message.contains("发型")) << st.message.toStdString();
    EXPECT_TRUE(st.message.contains("000")) << st.message.toStdString();
    EXPECT_EQ(t.s.doc.design.faxingname, current);
    EXPECT_EQ(t.s.session.history.position, 0);
    EXPECT_EQ(t.canvasAt(100, 100), test::ShellFolder::hairColour(1) & 0xFFFFFFu);
}

TEST(ToolStrip, EntriesWithoutAResetDoNothingOnTheRightButton) {
    ShellStudio t;
    for (ToolEntry e : {ToolEntry::Imgfx2, ToolEntry::Imgfx1}) {
        EXPECT_TRUE(t.ws.rightClickTool(e));
        EXPECT_EQ(t.s.session.history.position, 0);
        EXPECT_EQ(t.ws.shell().LabSM, "发型样式选择");
    }
}

TEST(ToolStrip, HighlightingHoverAndActiveEntries) {
    ShellStudio t;
    const auto& sh = t.ws.shell();
    t.ws.pointAtHotArea(2);
    EXPECT_TRUE(sh.toolImageShown[2]);
    t.ws.pointAtBackground();
    EXPECT_FALSE(sh.toolImageShown[2]);
    t.ws.pointAtHotArea(5);  // the hot area without a tool
    EXPECT_EQ(std::count(sh.toolImageShown.begin(), sh.toolImageShown.end(), true), 0);

    t.ws.clickTool(ToolEntry::Imgmm);
    EXPECT_EQ(sh.LabSM, "眉型设计调整");
    EXPECT_TRUE(t.s.doc.design.woman);
    EXPECT_EQ(t.s.session.library.currentKind, LibraryKind::Eyebrows);
    t.ws.pointAtHotArea(6);
    EXPECT_TRUE(sh.toolImageShown[2] && sh.toolImageShown[6]);
    t.ws.pointAtBackground();  // the active entry keeps its image
    EXPECT_TRUE(sh.toolImageShown[2]);
    EXPECT_FALSE(sh.toolImageShown[6]);

    t.s.doc.design.lipColour = 0;
    t.ws.clickTool(ToolEntry::Imgzx);
    EXPECT_EQ(t.s.doc.design.lipColour, 255 + 65536 * 80);
    EXPECT_FALSE(sh.toolImageShown[2]);
    EXPECT_TRUE(sh.activeTool[6]);
    EXPECT_FALSE(sh.activeTool[2]);
    EXPECT_TRUE(t.s.session.lipDesignMode);
    EXPECT_FALSE(sh.canvasEnabled);  // until a canvas tool is chosen
    t.ws.chooseWarpTool();
    EXPECT_TRUE(sh.canvasEnabled);
    t.ws.clearActiveTools();  // the library window closed by double click
    EXPECT_FALSE(t.s.session.lipDesignMode);

    t.ws.clickTool(ToolEntry::ImgFx);
    EXPECT_EQ(t.s.session.library.currentKind, LibraryKind::Hairstyles);
    EXPECT_FALSE(sh.canvasEnabled);
    t.ws.clickTool(ToolEntry::Imgbz);
    EXPECT_TRUE(sh.canvasEnabled);
    EXPECT_EQ(sh.LabSM, "化妆工具选择");
    t.ws.clickTool(ToolEntry::Imgmz);
    EXPECT_EQ(t.s.session.library.currentKind, LibraryKind::Accessories);
    EXPECT_EQ(t.s.session.library.accessorySubKind, AccessorySubKind::Hat);
    // Hair colouring opens no persistent panel: nothing stays active.
    t.ws.clickTool(ToolEntry::Imgfx2);
    EXPECT_EQ(sh.LabSM, "发型彩色漂染");
    EXPECT_EQ(std::count(sh.activeTool.begin(), sh.activeTool.end(), true), 0);
    t.ws.pointAtBackground();
    EXPECT_FALSE(sh.toolImageShown[1]);
}

TEST(Slots, MissingPicturesLeaveEmptySlotsAndAreNamed) {
    ShellStudio t({1, 3, 4, 5, 6, 7, 8});
    const Status st = t.ws.startUp();
    EXPECT_FALSE(st);
    EXPECT_TRUE(st.message.contains("kelmx2.bmp")) << st.message.toStdString();
    EXPECT_FALSE(st.message.contains("kelmx1.bmp"));
    EXPECT_TRUE(t.ws.shell().slotPictures[1].isNull());
    ASSERT_FALSE(t.ws.shell().slotPictures[0].isNull());
    EXPECT_EQ(t.ws.shell().slotPictures[0].pixel(5, 5) & 0xFFFFFFu, 0x0A5A5Au);
    // The reset to defaults still ran: the canvas shows the portrait.
    EXPECT_EQ(t.canvasAt(100, 100), kTopLeft);
}

// The undo and redo buttons and Label1 through the whole state table of the history.
TEST(HistoryControls, FollowRecordsUndoAndRedo) {
    ShellStudio t;
    const HistoryControls& c = t.ws.shell().history;
    auto record = [&](int hair) {
        t.s.doc.design.faxingname = t.folder.file(QString("faxing/dz00%1.tta").arg(hair));
        ASSERT_TRUE(huaban_hecheng2(t.s));
        ASSERT_TRUE(huifu_baochun(t.s));
        t.ws.followHistory();
    };
    EXPECT_FALSE(c.undoEnabled);
    EXPECT_FALSE(c.redoEnabled);
    EXPECT_EQ(c.label, "0");
    record(1);
    EXPECT_TRUE(c.undoEnabled);
    EXPECT_FALSE(c.redoEnabled);
    EXPECT_EQ(c.label, "1");
    record(2);
    record(3);
    EXPECT_EQ(c.label, "3");
    ASSERT_TRUE(t.ws.undo());
    EXPECT_TRUE(c.undoEnabled);
    EXPECT_TRUE(c.redoEnabled);
    EXPECT_EQ(c.label, "2");
    ASSERT_TRUE(t.ws.undo());
    EXPECT_FALSE(c.undoEnabled);  // at snapshot 1
    EXPECT_EQ(c.label, "1");
    ASSERT_TRUE(t.ws.undo());  // to 0: nothing restored, the label keeps its caption
    EXPECT_FALSE(c.undoEnabled);
    EXPECT_EQ(c.label, "1");
    EXPECT_EQ(t.s.session.history.position, 0);
    ASSERT_TRUE(t.ws.redo());
    EXPECT_TRUE(c.undoEnabled);
    EXPECT_EQ(c.label, "1");
    ASSERT_TRUE(t.ws.redo());
    ASSERT_TRUE(t.ws.redo());
    EXPECT_TRUE(c.redoEnabled);  // reaching the top keeps redo enabled
    EXPECT_EQ(c.label, "3");
    ASSERT_TRUE(t.ws.redo());  // the next redo only disables it
    EXPECT_FALSE(c.redoEnabled);
    EXPECT_EQ(c.label, "3");

    // Recording after undo keeps redo's state until the next redo finds nothing to do.
    ASSERT_TRUE(t.ws.undo());
    ASSERT_TRUE(t.ws.undo());
    record(3);
    EXPECT_EQ(c.label, "2");
    EXPECT_TRUE(c.redoEnabled);
    ASSERT_TRUE(t.ws.redo());
    EXPECT_FALSE(c.redoEnabled);

    // A snapshot that cannot be read leaves the controls as they were.
    QFile::remove(snapshotPath(t.s, 1));
    const HistoryControls before = c;
    EXPECT_FALSE(t.ws.undo());
    EXPECT_EQ(c.label, before.label);
    EXPECT_EQ(c.undoEnabled, before.undoEnabled);
    EXPECT_EQ(c.redoEnabled, before.redoEnabled);
}

TEST(Slots, PointingShowsOnePreviewAndHidesItsNeighbours) {
    ShellStudio t;
    const auto& shown = t.ws.shell().slotPreviewShown;
    t.ws.pointAtSlot(3);
    t.ws.pointAtSlot(4);
    EXPECT_FALSE(shown[2]);
    EXPECT_TRUE(shown[3]);
    t.ws.pointAtSlot(3);
    t.ws.pointAtSlot(6);  // hides 5 and 7 only
    EXPECT_TRUE(shown[2]);
    EXPECT_TRUE(shown[5]);
    t.ws.pointAtBackground();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), true), 0);
}

TEST(Shell, BrushOutlinesFollowSlider1) {
    ShellStudio t;
    const ToolState& tools = t.s.session.tools;
    EXPECT_EQ(tools.Shape5.rect.size(), QSize(35, 35));
    t.ws.setSlider1(12);
    EXPECT_EQ(tools.Shape5.rect.size(), QSize(60, 60));
    EXPECT_EQ(tools.Shape6.rect.size(), QSize(80, 80));  // 60 points of the magnified view
    t.ws.setSlider1(40);
    EXPECT_EQ(tools.warpAreaSize, 20);
}

TEST(Shell, ShutdownEmptiesTheTemporaryFolderAndKeepsTheSlots) {
    ShellStudio t;
    ASSERT_TRUE(t.ws.startUp());
    ASSERT_TRUE(t.ws.rightClickTool(ToolEntry::ImgFx));
    t.folder.touch("temp/1.bmp");
    t.folder.touch("temp/1p.bmp");
    t.folder.touch("kelm/kelm1.bmp");
    ASSERT_TRUE(t.ws.shutDown());
    EXPECT_TRUE(QDir(t.folder.file("temp")).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFile::exists(t.folder.file("kelm/kelm1.bmp")));
    EXPECT_TRUE(QFile::exists(t.folder.file("kelm/kelmx1.bmp")));
}
