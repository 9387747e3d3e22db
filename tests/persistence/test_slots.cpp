#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <csignal>
#include <random>

#include "compositor/Composition.h"
#include "persistence/DesignRecord.h"
#include "persistence/DesignSlots.h"
#include "persistence/History.h"
#include "platform/ComponentFile.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"
#include "support/ChildProcess.h"
#include "support/Fixtures.h"
#include "support/TestSeed.h"

using namespace ms;

using test::bytesOf;

namespace {

QImage noise(unsigned seed) {
    std::mt19937 rng(seed);
    QImage img(380, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 380; ++x) img.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFF));
    return img;
}

// A design with real files of every kind, prepared, and distinctive values everywhere.
struct SlotStudio {
    test::ProgramFolder folder;
    StudioState s;
    SlotStudio() {
        EXPECT_TRUE(savePictureBmp(folder.file("ziyuan/huaban.bmp"),
                                   test::solidPicture(380, 480, QColor(50, 60, 70))));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
        std::mt19937 rng(5);
        DesignState& d = s.doc.design;
        d.faxingname = folder.component("faxing/dz001.tta", test::randomGrid(380, 300, rng));
        d.meimaoxingname = folder.component("meimao/k001.tta", test::randomGrid(180, 40, rng));
        d.zuixingname = folder.component("zuixing/k001.tta", test::randomGrid(100, 50, rng));
        d.fuzhuangname = folder.component("fuzhuang/001.tta", test::randomGrid(400, 190, rng));
        d.yanjingname = folder.component("yanjing/002.tta", test::randomGrid(180, 70, rng));
        d.maoziname = folder.component("maozi/003.tta", test::randomGrid(380, 250, rng));
        d.erhuanname = folder.component("erhuan/004.tta", test::randomGrid(80, 65, rng));
        d.xianglianname = folder.component("xianglian/005.tta", test::randomGrid(200, 140, rng));
        d.woman = true;
        d.lipColour = colourValue(12, 34, 56);
        d.zuixingnd = -35;
        int16_t v = 1;
        for (int16_t* f :
             {&d.geometry.faxingWidth, &d.geometry.mmtopy, &d.geometry.yjtopz, &d.geometry.huzileft,
              &d.geometry.zuixingleft, &d.geometry.yanjingtop, &d.geometry.maoziheight,
              &d.geometry.erhuanleft, &d.geometry.xiangliantop, &d.geometry.fuzhuangtop})
            *f = static_cast<int16_t>(v % 2 ? -3 * v : 3 * v), ++v;
        d.PicMT = noise(1);
        d.PicRGB = noise(2);
        d.PicA = test::solidPicture(380, 480, QColor(128, 128, 128));
        EXPECT_TRUE(huaban_hecheng2(s));
    }
    static constexpr int kSlot = 4;
};

}  // namespace

TEST(Slots, StoreThenRestoreGivesBackEveryValueAndFile) {
    SlotStudio a;
    ASSERT_TRUE(savePictureBmp(a.folder.file("kelm/kelm4.bmp"), a.s.doc.design.PicMT));
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    const DesignState stored = a.s.doc.design;
    const KindGrids grids = a.s.doc.grids;

    // A different design is on the canvas when the slot is restored.
    EXPECT_TRUE(CHUSHI_MOBAN(a.s));
    a.s.doc.design.woman = false;
    a.s.doc.design.lipColour = 0;
    const int historyBefore = a.s.session.history.position;
    ASSERT_TRUE(linshi_dckelm(a.s, a.kSlot));
    const DesignState& d = a.s.doc.design;
    EXPECT_TRUE(d.woman);
    EXPECT_EQ(d.lipColour, stored.lipColour);
    EXPECT_EQ(d.zuixingnd, stored.zuixingnd);
    LayerGeometry expected = stored.geometry;
    expected.fuzhuangheight = 0;  // memory only, not part of the record
    EXPECT_EQ(d.geometry, expected);
    EXPECT_EQ(d.yanjingname, stored.yanjingname);
    EXPECT_EQ(d.maoziname, stored.maoziname);
    EXPECT_EQ(d.erhuanname, stored.erhuanname);
    EXPECT_EQ(d.xianglianname, stored.xianglianname);
    EXPECT_EQ(d.faxingname, a.folder.file("kelm/faxingkelm4.tta"));
    EXPECT_EQ(d.meimaoxingname, a.folder.file("kelm/meimaokelm4.tta"));
    EXPECT_EQ(d.zuixingname, a.folder.file("kelm/zuixingkelm4.tta"));
    EXPECT_EQ(d.fuzhuangname, a.folder.file("kelm/fuzhuangkelm4.tta"));
    EXPECT_EQ(d.yjzname, a.folder.file("kelm/yanjinzkelm4.tta"));
    EXPECT_EQ(d.huziname, a.folder.file("kelm/huzikelm4.tta"));
    // The prepared pixels come back bit for bit (the lips tinted as they were).
    EXPECT_EQ(a.s.doc.grids.hairstyle, grids.hairstyle);
    EXPECT_EQ(a.s.doc.grids.eyebrow, grids.eyebrow);
    EXPECT_EQ(a.s.doc.grids.clothing, grids.clothing);
    EXPECT_EQ(a.s.doc.grids.lips, grids.lips);
    // Each grid file carries its kind's image type: the lips without the alpha flag.
    for (const char* kind : {"faxing", "meimao", "zuixing", "fuzhuang"})
        EXPECT_EQ(bytesOf(a.folder.file(QString("kelm/%1kelm4.tta").arg(kind))).at(2),
                  QLatin1String(kind) == QLatin1String("zuixing") ? 2 : 6)
            << kind;
    EXPECT_EQ(d.PicMT, stored.PicMT);
    EXPECT_EQ(d.PicMT0, stored.PicMT);
    EXPECT_EQ(d.Picbeijing, stored.PicMT);
    EXPECT_EQ(d.PicRGB, stored.PicRGB);
    EXPECT_EQ(d.PicA, stored.PicA);
    EXPECT_EQ(a.s.session.history.position, historyBefore + 1);
    EXPECT_EQ(ProfileFile::readString(snapshotPath(a.s, a.s.session.history.position),
                                      QString("kelm%1").arg(a.s.session.history.position), "faxingname", 0),
              a.folder.file("kelm/faxingkelm4.tta"));
}

TEST(Slots, StoringTwiceKeepsOneSectionWithTheSecondValues) {
    SlotStudio a;
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    a.s.doc.design.geometry.maoziheight = -1234;
    a.s.doc.design.woman = false;
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    const QByteArray ini = bytesOf(designStateFile(a.s));
    EXPECT_EQ(ini.count("[kelm4]"), 1);
    EXPECT_EQ(ProfileFile::readString(designStateFile(a.s), "kelm4", "woman", 100), "False");
    EXPECT_EQ(ProfileFile::readString(designStateFile(a.s), "kelm4", "maoziheight", 5), "-123");
    const auto record = ProfileFile::readSection(designStateFile(a.s), "kelm4");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->size(), 50);
    EXPECT_EQ(record->front().first, "woman");
    EXPECT_EQ(record->at(3).first, "faxingWidth");
}

TEST(Slots, AccessoryThatNoLongerExistsIsStoredEmptyAndRestoredAsNone) {
    SlotStudio a;
    QFile::remove(a.s.doc.design.yanjingname);
    ASSERT_TRUE(savePictureBmp(a.folder.file("kelm/kelm4.bmp"), a.s.doc.design.PicMT));
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    EXPECT_EQ(ProfileFile::readString(designStateFile(a.s), "kelm4", "yanjingname", 0), "");
    EXPECT_EQ(ProfileFile::readString(designStateFile(a.s), "kelm4", "maoziname", 0), "003.tta");
    ASSERT_TRUE(linshi_dckelm(a.s, a.kSlot));
    EXPECT_EQ(a.s.doc.design.yanjingname, QString());
    EXPECT_TRUE(a.s.doc.surfaces.of(Kind::yanjing).isEmpty());
}

// Accessory names come from a file anyone may edit. Whatever they say, nothing outside the library
// folder is opened, no open waits, the rest of the design comes back and the message names the layer.
TEST(Slots, HostileAccessoryNamesLeaveOnlyTheirLayerEmpty) {
    SlotStudio a;
    ASSERT_TRUE(savePictureBmp(a.folder.file("kelm/kelm4.bmp"), a.s.doc.design.PicMT));
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    QDir(a.folder.path()).mkpath("outside");
    QDir(a.folder.path()).mkpath("maozi/sub");
    a.folder.component("outside/evil.tta", 380, 250, 0xFF00FF00u);
    a.folder.component("maozi/sub/inner.tta", 380, 250, 0xFF00FF00u);
    ASSERT_EQ(mkfifo(QFile::encodeName(a.folder.file("maozi/pipe.tta")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(a.folder.file("outside/evil.tta"), a.folder.file("maozi/link.tta")));
    const QString stored = ProfileFile::readString(designStateFile(a.s), "kelm4", "xianglianname", 0);
    for (const QString& name :
         {QString("../../outside/evil.tta"), QString("../outside/evil.tta"),
          a.folder.file("outside/evil.tta"), QString("/etc/passwd"), QString("sub/inner.tta"), QString(".."),
          QString("sub"), QString("pipe.tta"), QString("link.tta"), QString("gone.tta")}) {
        ASSERT_TRUE(ProfileFile::writeString(designStateFile(a.s), "kelm4", "maoziname", name));
        EXPECT_TRUE(CHUSHI_MOBAN(a.s));
        Status st;
        const test::ChildEnd end =
            test::runInChild([&] { return linshi_dckelm(a.s, a.kSlot).code == StatusCode::Partial; }, 20);
        ASSERT_EQ(end, test::ChildEnd::Passed) << name.toStdString();  // not hung on the pipe, not refused
        st = linshi_dckelm(a.s, a.kSlot);
        EXPECT_EQ(st.code, StatusCode::Partial) << name.toStdString();
        EXPECT_TRUE(st.message.contains("帽子")) << st.message.toStdString();
        EXPECT_EQ(a.s.doc.design.maoziname, QString()) << name.toStdString();
        EXPECT_TRUE(a.s.doc.surfaces.of(Kind::maozi).isEmpty());
        // Everything else came back.
        EXPECT_EQ(QFileInfo(a.s.doc.design.xianglianname).fileName(), stored);
        EXPECT_EQ(a.s.doc.design.zuixingnd, -35);
    }
}

TEST(Slots, RestoreChecksEverythingFirstAndLeavesTheDesignAlone) {
    SlotStudio a;
    ASSERT_TRUE(savePictureBmp(a.folder.file("kelm/kelm4.bmp"), a.s.doc.design.PicMT));
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    a.s.doc.design.maoziname = a.folder.file("maozi/000.tta");
    a.s.doc.design.geometry.faxingleft = 77;
    const DesignState before = a.s.doc.design;
    const QImage shown = a.s.session.views.Pichuaban.copy();
    const int position = a.s.session.history.position;
    auto unchanged = [&](const char* what) {
        EXPECT_EQ(a.s.doc.design.maoziname, before.maoziname) << what;
        EXPECT_EQ(a.s.doc.design.geometry, before.geometry) << what;
        EXPECT_EQ(a.s.doc.design.PicMT, before.PicMT) << what;
        EXPECT_EQ(a.s.session.views.Pichuaban, shown) << what;
        EXPECT_EQ(a.s.session.history.position, position) << what;
    };
    Status st = linshi_dckelm(a.s, 5);  // never stored
    EXPECT_EQ(st.code, StatusCode::NotFound);
    EXPECT_TRUE(st.message.contains("5"));
    unchanged("never stored");
    for (int slot : {0, 9, -1}) {
        EXPECT_EQ(linshi_dckelm(a.s, slot).code, StatusCode::Refused) << slot;
        EXPECT_EQ(linshi_bckelm(a.s, slot).code, StatusCode::Refused) << slot;
        EXPECT_FALSE(QFileInfo::exists(a.folder.file(QString("kelm/faxingkelm%1.tta").arg(slot)))) << slot;
    }
    unchanged("no slot");
    // A design state file that exists but cannot be read is not "never stored".
    {
        const QString ini = designStateFile(a.s);
        const QString aside = ini + ".aside";
        ASSERT_TRUE(QFile::rename(ini, aside));
        ASSERT_TRUE(QDir().mkpath(ini));
        st = linshi_dckelm(a.s, a.kSlot);
        EXPECT_EQ(st.code, StatusCode::Damaged) << st.message.toStdString();
        unchanged("unreadable record");
        ASSERT_TRUE(QDir().rmdir(ini));
        ASSERT_TRUE(QFile::rename(aside, ini));
    }
    const QByteArray hair = bytesOf(a.folder.file("kelm/faxingkelm4.tta"));
    {
        QFile f(a.folder.file("kelm/faxingkelm4.tta"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(hair.left(500));
    }
    EXPECT_EQ(linshi_dckelm(a.s, a.kSlot).code, StatusCode::Damaged);
    unchanged("truncated hairstyle");
    {
        QFile f(a.folder.file("kelm/faxingkelm4.tta"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(hair);
    }
    QFile::remove(a.folder.file("ziyuan/kelm4p.tta"));
    EXPECT_FALSE(linshi_dckelm(a.s, a.kSlot));
    unchanged("missing mask");
    ASSERT_TRUE(savePictureBmp(a.folder.file("ziyuan/kelm4p.tta"), before.PicA));
    ASSERT_TRUE(ProfileFile::writeString(designStateFile(a.s), "kelm4", "mmtopz", ""));
    EXPECT_FALSE(linshi_dckelm(a.s, a.kSlot));
    unchanged("empty geometry value");
}

TEST(Slots, ValuesThatWouldBreakTheRecordAreRefused) {
    SlotStudio a;
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    const QByteArray before = bytesOf(designStateFile(a.s));
    const QString evil = a.folder.file("maozi/x\n[kelm5]\nwoman=True.tta");
    a.folder.component("maozi/x\n[kelm5]\nwoman=True.tta", 380, 250, 0);
    a.s.doc.design.maoziname = evil;
    EXPECT_FALSE(linshi_bckelm(a.s, a.kSlot));
    EXPECT_EQ(bytesOf(designStateFile(a.s)), before);
    EXPECT_FALSE(ProfileFile::readSection(designStateFile(a.s), "kelm5").has_value());
}

TEST(Slots, UnwritableFolderKeepsTheOldRecord) {
    SlotStudio a;
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    const QByteArray before = bytesOf(designStateFile(a.s));
    QDir(a.folder.file("kelm")).removeRecursively();
    QFile blocker(a.folder.file("kelm"));  // a file where the folder was: nothing can be written there
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    a.s.doc.design.woman = false;
    EXPECT_FALSE(linshi_bckelm(a.s, a.kSlot));
    EXPECT_EQ(bytesOf(designStateFile(a.s)), before);
}

TEST(Shutdown, EmptiesOnlyThePlainFilesOfTheTemporaryFolder) {
    SlotStudio a;
    ASSERT_TRUE(huifu_baochun(a.s));
    ASSERT_TRUE(linshi_bckelm(a.s, a.kSlot));
    QFile(a.folder.file("temp/3.bmp")).open(QIODevice::WriteOnly);
    QFile(a.folder.file("temp/.hidden")).open(QIODevice::WriteOnly);
    QDir(a.folder.file("temp")).mkdir("inner");
    QFile(a.folder.file("temp/inner/keep.txt")).open(QIODevice::WriteOnly);
    QFile(a.folder.file("outside.txt")).open(QIODevice::WriteOnly);
    QFile::link(a.folder.file("outside.txt"), a.folder.file("temp/link.txt"));
    ASSERT_TRUE(gb(a.s));
    EXPECT_EQ(QDir(a.folder.file("temp")).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"link.txt"});
    EXPECT_TRUE(QFile::exists(a.folder.file("temp/inner/keep.txt")));
    EXPECT_TRUE(QFile::exists(a.folder.file("outside.txt")));
    EXPECT_TRUE(QFile::exists(designStateFile(a.s)));
    EXPECT_TRUE(QFile::exists(a.folder.file("kelm/faxingkelm4.tta")));
    EXPECT_TRUE(a.s.doc.surfaces.canvas.isNull());
    EXPECT_TRUE(a.s.doc.surfaces.of(Kind::faxing).isEmpty());
    // A temporary folder that is a link is left alone, and so is what it points to.
    QDir(a.folder.file("temp")).removeRecursively();
    QDir(a.folder.path()).mkdir("elsewhere");
    QFile(a.folder.file("elsewhere/precious")).open(QIODevice::WriteOnly);
    QFile::link(a.folder.file("elsewhere"), a.folder.file("temp"));
    EXPECT_TRUE(gb(a.s));
    EXPECT_TRUE(QFile::exists(a.folder.file("elsewhere/precious")));
}

// A child process rewrites one record between two versions until it is killed at a random moment;
// what is left on disk must always be one whole version. Under a file-size limit below the record's
// size every write fails, as on a full disk, and the old version must stay.
TEST(Records, KilledWriterNeverLeavesABrokenRecord) {
    test::ProgramFolder folder;
    const QString path = folder.file("ziyuan/pelvan.ini");
    StudioState s;
    s.P = folder.path();
    DesignState a, b;
    a.faxingname = folder.file("faxing/" + QString("a").repeated(300) + ".tta");
    b.faxingname = folder.file("faxing/b.tta");
    b.geometry.maozitop = -12;
    const RecordEntries va = encodeSnapshot(a), vb = encodeSnapshot(b);
    ASSERT_TRUE(ProfileFile::writeSection(path, "kelm1", va));
    std::mt19937 rng = test::seededRng(4);
    for (const rlim_t limit : {rlim_t{0}, rlim_t{300}}) {
        for (int round = 0; round < 12; ++round) {
            int i = 0;
            const pid_t child = test::startRepeating(
                [&] { (void)ProfileFile::writeSection(path, "kelm1", i++ % 2 ? va : vb); }, limit);
            ASSERT_GE(child, 0);
            test::killAfter(child, 2000 + rng() % 30000);
            const auto got = ProfileFile::readSection(path, "kelm1");
            ASSERT_TRUE(got.has_value()) << "limit " << limit << " round " << round;
            if (limit) {
                ASSERT_TRUE(*got == va) << "round " << round;  // no write could succeed
            } else {
                ASSERT_TRUE(*got == va || *got == vb) << "round " << round;
            }
            DesignState d;
            ASSERT_TRUE(decodeSnapshot(*got, s.P, d));
        }
        if (!limit) {
            ASSERT_TRUE(ProfileFile::writeSection(path, "kelm1", va));  // the full-disk rounds start from va
        }
    }
}
