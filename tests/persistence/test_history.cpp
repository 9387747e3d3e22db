#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "compositor/Composition.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"
#include "support/Fixtures.h"

using namespace ms;

namespace {

struct HistoryStudio {
    test::ProgramFolder folder;
    StudioState s;
    HistoryStudio() {
        EXPECT_TRUE(savePictureBmp(folder.file("ziyuan/huaban.bmp"),
                                   test::solidPicture(380, 480, QColor(50, 60, 70))));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
        for (int i = 1; i <= 3; ++i)
            folder.component(QString("maozi/h%1.tta").arg(i), 380, 250, 0xFF000000u | i);
    }
    // "Applies" hat i and records it, as the library window does.
    void applyHat(int i) {
        s.doc.design.maoziname = folder.file(QString("maozi/h%1.tta").arg(i));
        ASSERT_TRUE(huaban_hecheng2(s));
        ASSERT_TRUE(huifu_baochun(s));
    }
    uint32_t shownHat() const { return test::raw(s.session.views.Pichuaban, 100, 100) & 0xFFFFFFu; }
};

}  // namespace

TEST(History, UndoDownToTheStartAndRedoAgain) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    h.applyHat(3);
    EXPECT_EQ(h.s.session.history.position, 3);
    EXPECT_EQ(h.s.session.history.recorded, 3u);
    HistoryStep step = undo(h.s);
    ASSERT_TRUE(step.status);
    EXPECT_EQ(step.move, HistoryMove::Back);
    EXPECT_EQ(h.shownHat(), 2u);
    ASSERT_EQ(undo(h.s).move, HistoryMove::Back);
    EXPECT_EQ(h.s.session.history.position, 1);
    EXPECT_EQ(h.shownHat(), 1u);
    step = undo(h.s);  // to 0: nothing restored
    ASSERT_TRUE(step.status);
    EXPECT_EQ(step.move, HistoryMove::ToStart);
    EXPECT_EQ(h.s.session.history.position, 0);
    EXPECT_EQ(h.shownHat(), 1u);
    EXPECT_EQ(undo(h.s).move, HistoryMove::ToStart);  // staying at 0
    EXPECT_EQ(h.s.session.history.position, 0);
    step = redo(h.s);
    ASSERT_TRUE(step.status);
    EXPECT_EQ(step.move, HistoryMove::Forward);
    EXPECT_EQ(h.s.session.history.position, 1);
    EXPECT_EQ(h.shownHat(), 1u);
    ASSERT_EQ(redo(h.s).move, HistoryMove::Forward);
    ASSERT_EQ(redo(h.s).move, HistoryMove::Forward);
    EXPECT_EQ(h.shownHat(), 3u);
    EXPECT_EQ(redo(h.s).move, HistoryMove::AtTop);  // at the top: nothing restored
    EXPECT_EQ(h.s.session.history.position, 3);
    EXPECT_EQ(h.s.session.history.recorded, 3u);  // moving records nothing
}

TEST(History, RecordingAfterUndoCutsTheRedoBranch) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    h.applyHat(3);
    ASSERT_TRUE(undo(h.s).status);
    ASSERT_TRUE(undo(h.s).status);
    h.applyHat(3);
    EXPECT_EQ(h.s.session.history.position, 2);
    EXPECT_EQ(h.s.session.history.top, 2);
    EXPECT_EQ(ProfileFile::readString(snapshotPath(h.s, 2), "kelm2", "maoziname", 0),
              h.folder.file("maozi/h3.tta"));
    EXPECT_EQ(redo(h.s).move, HistoryMove::AtTop);
    EXPECT_EQ(h.s.session.history.position, 2);
}

TEST(History, MovesAreNotRecordedAndUndoUsesTheRecordedPaths) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    h.s.doc.design.geometry.maozitop = 40;  // a move records nothing
    ASSERT_TRUE(undo(h.s).status);
    EXPECT_EQ(h.s.doc.design.geometry.maozitop, 0);
    EXPECT_EQ(h.s.doc.design.maoziname, h.folder.file("maozi/h1.tta"));
}

TEST(History, UnreadableSnapshotLeavesDesignAndPositionAlone) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    h.applyHat(3);
    QFile::remove(snapshotPath(h.s, 2));
    const HistoryCounters before = h.s.session.history;
    const QString hat = h.s.doc.design.maoziname;
    const HistoryStep step = undo(h.s);
    EXPECT_EQ(step.move, HistoryMove::Unchanged);
    EXPECT_EQ(step.status.code, StatusCode::NotFound);
    EXPECT_FALSE(step.status.message.isEmpty());
    EXPECT_EQ(h.s.session.history.position, before.position);
    EXPECT_EQ(h.s.doc.design.maoziname, hat);
    EXPECT_EQ(h.shownHat(), 3u);
    // A snapshot with a value that cannot be converted is refused the same way.
    ASSERT_TRUE(ProfileFile::writeString(snapshotPath(h.s, 3), "kelm3", "maoziWidth", "x"));
    h.s.session.history.position = 2;
    const HistoryStep bad = redo(h.s);
    EXPECT_EQ(bad.move, HistoryMove::Unchanged);
    EXPECT_EQ(bad.status.code, StatusCode::Damaged);
    EXPECT_EQ(h.s.session.history.position, 2);
    // A snapshot that exists but cannot be read at all is told apart from a missing one.
    QFile::remove(snapshotPath(h.s, 1));
    ASSERT_TRUE(QDir().mkpath(snapshotPath(h.s, 1)));  // a folder where the file should be
    EXPECT_EQ(undo(h.s).status.code, StatusCode::Damaged);
    EXPECT_EQ(h.s.session.history.position, 2);
}

TEST(History, SnapshotThatCannotBeWrittenIsReported) {
    HistoryStudio h;
    h.applyHat(1);
    QDir(h.folder.file("temp")).removeRecursively();
    const Status st = huifu_baochun(h.s);
    EXPECT_FALSE(st);
    EXPECT_EQ(st.code, StatusCode::WriteFailed);
    EXPECT_EQ(h.s.session.history.position, 1);
    EXPECT_EQ(h.s.session.history.recorded, 1u);
    EXPECT_EQ(h.s.session.history.top, 1);
}
