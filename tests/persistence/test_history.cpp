#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "../support/Fixtures.h"
#include "compositor/Composition.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"

using namespace ms;

namespace {

struct HistoryStudio {
    test::ProgramFolder folder;
    StudioState s;
    HistoryStudio() {
        savePictureBmp(folder.file("ziyuan/huaban.bmp"), test::solidPicture(380, 480, QColor(50, 60, 70)));
        initialiseStudio(s, folder.path());
        for (int i = 1; i <= 3; ++i)
            folder.component(QString("maozi/h%1.tta").arg(i), 380, 250, 0xFF000000u | i);
    }
    // "Applies" hat i and records it, as the library window does.
    void applyHat(int i) {
        s.design.maoziname = folder.file(QString("maozi/h%1.tta").arg(i));
        ASSERT_TRUE(huaban_hecheng2(s));
        ASSERT_TRUE(huifu_baochun(s));
    }
    uint32_t shownHat() const { return test::raw(s.views.Pichuaban, 100, 100) & 0xFFFFFFu; }
};

}  // namespace

TEST(History, UndoDownToTheStartAndRedoAgain) {
    HistoryStudio h;
    EXPECT_FALSE(h.s.history.undoEnabled);
    EXPECT_FALSE(h.s.history.redoEnabled);
    h.applyHat(1);
    EXPECT_TRUE(h.s.history.undoEnabled);
    h.applyHat(2);
    h.applyHat(3);
    EXPECT_EQ(h.s.history.position, 3);
    EXPECT_EQ(h.s.history.label, "3");
    ASSERT_TRUE(undo(h.s));
    EXPECT_EQ(h.shownHat(), 2u);
    EXPECT_TRUE(h.s.history.undoEnabled);
    EXPECT_TRUE(h.s.history.redoEnabled);
    ASSERT_TRUE(undo(h.s));
    EXPECT_EQ(h.s.history.position, 1);
    EXPECT_EQ(h.shownHat(), 1u);
    EXPECT_FALSE(h.s.history.undoEnabled);
    EXPECT_EQ(h.s.history.label, "1");
    ASSERT_TRUE(undo(h.s));  // to 0: nothing restored, the label keeps its caption
    EXPECT_EQ(h.s.history.position, 0);
    EXPECT_EQ(h.shownHat(), 1u);
    EXPECT_EQ(h.s.history.label, "1");
    ASSERT_TRUE(redo(h.s));
    EXPECT_EQ(h.s.history.position, 1);
    EXPECT_EQ(h.shownHat(), 1u);
    EXPECT_TRUE(h.s.history.undoEnabled);
    ASSERT_TRUE(redo(h.s));
    ASSERT_TRUE(redo(h.s));
    EXPECT_EQ(h.shownHat(), 3u);
    EXPECT_TRUE(h.s.history.redoEnabled);
    ASSERT_TRUE(redo(h.s));  // at the top: only disables redo
    EXPECT_EQ(h.s.history.position, 3);
    EXPECT_FALSE(h.s.history.redoEnabled);
}

TEST(History, RecordingAfterUndoCutsTheRedoBranch) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    h.applyHat(3);
    undo(h.s);
    undo(h.s);
    h.applyHat(3);
    EXPECT_EQ(h.s.history.position, 2);
    EXPECT_EQ(h.s.history.top, 2);
    EXPECT_EQ(ProfileFile::readString(snapshotPath(h.s, 2), "kelm2", "maoziname", 0),
              h.folder.file("maozi/h3.tta"));
    EXPECT_TRUE(h.s.history.redoEnabled);  // recording keeps redo's state; the next redo disables it
    ASSERT_TRUE(redo(h.s));
    EXPECT_FALSE(h.s.history.redoEnabled);
    EXPECT_EQ(h.s.history.position, 2);
}

TEST(History, MovesAreNotRecordedAndUndoUsesTheRecordedPaths) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    h.s.design.geometry.maozitop = 40;  // a move records nothing
    ASSERT_TRUE(undo(h.s));
    EXPECT_EQ(h.s.design.geometry.maozitop, 0);
    EXPECT_EQ(h.s.design.maoziname, h.folder.file("maozi/h1.tta"));
}

TEST(History, UnreadableSnapshotLeavesDesignAndPositionAlone) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    h.applyHat(3);
    QFile::remove(snapshotPath(h.s, 2));
    const HistoryState before = h.s.history;
    const QString hat = h.s.design.maoziname;
    const Status st = undo(h.s);
    EXPECT_FALSE(st);
    EXPECT_FALSE(st.message.isEmpty());
    EXPECT_EQ(h.s.history.position, before.position);
    EXPECT_EQ(h.s.history.redoEnabled, before.redoEnabled);
    EXPECT_EQ(h.s.design.maoziname, hat);
    EXPECT_EQ(h.shownHat(), 3u);
    // A snapshot with a value that cannot be converted is refused the same way.
    ProfileFile::writeString(snapshotPath(h.s, 3), "kelm3", "maoziWidth", "x");
    h.s.history.position = 2;
    EXPECT_FALSE(redo(h.s));
    EXPECT_EQ(h.s.history.position, 2);
}

TEST(History, SnapshotThatCannotBeWrittenIsReported) {
    HistoryStudio h;
    h.applyHat(1);
    QDir(h.folder.file("temp")).removeRecursively();
    const Status st = huifu_baochun(h.s);
    EXPECT_FALSE(st);
    EXPECT_EQ(h.s.history.position, 1);
    EXPECT_EQ(h.s.history.top, 1);
}
