#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <csignal>
#include <random>

#include "compositor/Composition.h"
#include "persistence/DesignRecord.h"
#include "persistence/History.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"
#include "support/ChildProcess.h"
#include "support/Fixtures.h"
#include "support/TestSeed.h"

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

// A snapshot on a full disk: the write is reported, the history does not move, nothing is left
// half-written, and the snapshots already written stay whole.
TEST(History, ASnapshotThatHitsAFullDiskIsReportedAndTheHistoryStays) {
    HistoryStudio h;
    h.applyHat(1);
    const QByteArray first = test::bytesOf(snapshotPath(h.s, 1));
    ASSERT_GT(first.size(), 500);
    const test::ChildEnd end = test::runInChild(
        [&] {
            const Status st = huifu_baochun(h.s);
            return st.code == StatusCode::WriteFailed && h.s.session.history.position == 1 &&
                   h.s.session.history.top == 1;
        },
        30, 500);
    EXPECT_EQ(end, test::ChildEnd::Passed);
    EXPECT_FALSE(QFile::exists(snapshotPath(h.s, 2)));
    EXPECT_EQ(test::bytesOf(snapshotPath(h.s, 1)), first);
    EXPECT_EQ(QDir(h.folder.file("temp")).entryList(QDir::Files), QStringList{"huifu1.ini"});
}

// A child records snapshots until it is killed at a random moment, with and without a full disk:
// every snapshot file left is a whole record.
TEST(History, KilledRecordingLeavesOnlyWholeSnapshots) {
    HistoryStudio h;
    h.applyHat(1);
    std::mt19937 rng = test::seededRng(7);
    for (const rlim_t limit : {rlim_t{0}, rlim_t{500}}) {
        for (int round = 0; round < 8; ++round) {
            const pid_t child = test::startRepeating([&] { (void)huifu_baochun(h.s); }, limit);
            ASSERT_GE(child, 0);
            test::killAfter(child, 2000 + rng() % 20000);
            for (const QString& name : QDir(h.folder.file("temp")).entryList({"huifu*.ini"}, QDir::Files)) {
                const int n = name.mid(5, name.size() - 9).toInt();
                DesignState d;
                ProfileFile::Entries e;
                ASSERT_TRUE(ProfileFile::loadSection(snapshotPath(h.s, n), QString("kelm%1").arg(n), e))
                    << name.toStdString() << " limit " << limit;
                ASSERT_TRUE(decodeSnapshot(e, h.s.P, d)) << name.toStdString();
            }
            if (limit) {
                EXPECT_FALSE(QFile::exists(snapshotPath(h.s, 2)));  // nothing could be recorded
            }
        }
        for (const QString& name : QDir(h.folder.file("temp")).entryList({"huifu*.ini"}, QDir::Files))
            if (name != "huifu1.ini") QFile::remove(h.folder.file("temp/" + name));
    }
}

// Snapshots are ours, but the temporary folder is not safe from others: a name that leads out of
// the program folder is refused, and the design stays.
TEST(History, SnapshotNamesOutsideTheProgramFolderAreRefused) {
    HistoryStudio h;
    h.applyHat(1);
    h.applyHat(2);
    const QString hat = h.s.doc.design.maoziname;
    for (const QString& name : {QString("/etc/passwd"), h.folder.file("maozi/../../outside.tta")}) {
        ASSERT_TRUE(ProfileFile::writeString(snapshotPath(h.s, 1), "kelm1", "maoziname", name));
        const HistoryStep step = undo(h.s);
        EXPECT_EQ(step.move, HistoryMove::Unchanged) << name.toStdString();
        EXPECT_EQ(step.status.code, StatusCode::Damaged) << name.toStdString();
        EXPECT_EQ(h.s.doc.design.maoziname, hat);
        EXPECT_EQ(h.s.session.history.position, 2);
    }
}
