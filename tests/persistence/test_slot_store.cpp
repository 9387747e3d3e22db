#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <random>

#include "compositor/Composition.h"
#include "persistence/DesignSlots.h"
#include "persistence/SlotJournal.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"
#include "support/ChildProcess.h"
#include "support/Fixtures.h"
#include "support/TestSeed.h"

using namespace ms;

using test::bytesOf;

namespace {

// A picture with the structure of a photograph: a shaded face on a graded background with grain,
// so that a pixel moved, dropped, swapped in colour or rounded shows.
QImage photoLike(std::mt19937& rng) {
    QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    const double cx = 150 + rng() % 80, cy = 200 + rng() % 80, radius = 100 + rng() % 40;
    const int tint = static_cast<int>(rng() % 60);
    std::uniform_int_distribution<int> grain(-8, 8);
    for (int y = 0; y < kCanvasHeight; ++y)
        for (int x = 0; x < kCanvasWidth; ++x) {
            const double d = std::hypot(x - cx, (y - cy) * 0.8);
            const bool face = d < radius;
            const int r = (face ? 225 - static_cast<int>(d / 3) : 40 + y / 6 + tint) + grain(rng);
            const int g = (face ? 185 - static_cast<int>(d / 3) : 60 + x / 8) + grain(rng);
            const int b = (face ? 150 - static_cast<int>(d / 4) : 90 + tint) + grain(rng);
            img.setPixel(x, y, qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)));
        }
    return img;
}

// A cut-out mask as the retouch tools leave one: white inside an ellipse, a soft grey edge, black.
QImage maskLike(std::mt19937& rng) {
    QImage img(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    const double cx = 170 + rng() % 40, cy = 220 + rng() % 40, radius = 120 + rng() % 30;
    for (int y = 0; y < kCanvasHeight; ++y)
        for (int x = 0; x < kCanvasWidth; ++x) {
            const double d = std::hypot(x - cx, (y - cy) * 0.75);
            const int v = std::clamp(static_cast<int>((radius - d) * 8), 0, 255);
            img.setPixel(x, y, qRgb(v, v, v));
        }
    return img;
}

// A program folder holding the sample portrait.
struct Folder {
    test::ProgramFolder folder;
    Folder() {
        EXPECT_TRUE(savePictureBmp(folder.file("ziyuan/huaban.bmp"),
                                   test::solidPicture(kCanvasWidth, kCanvasHeight, QColor(50, 60, 70))));
    }
    QString path() const { return folder.path(); }
    QString file(const QString& rel) const { return folder.file(rel); }
};

// A studio on the shared folder with a design of its own: its own component files for every kind,
// geometry, record values, photo, cut-out and mask, prepared and composed.
struct Design {
    StudioState s;
    QImage shown;  // what the slot shows: the canvas view as a stored bitmap gives it back
    Design(const Folder& f, int variant, std::mt19937& rng) {
        EXPECT_TRUE(initialiseStudio(s, f.path()));
        const QString v = QString::number(variant);
        DesignState& d = s.doc.design;
        // Kinds read at a fixed size get files of that size; the others are kept small, which keeps
        // the hundreds of compositions of the kill test short.
        d.faxingname =
            f.folder.component("faxing/dz00" + v + ".tta", test::randomGrid(190, 150 - 10 * variant, rng));
        d.meimaoxingname = f.folder.component("meimao/k00" + v + ".tta", test::randomGrid(180, 40, rng));
        d.zuixingname = f.folder.component("zuixing/k00" + v + ".tta", test::randomGrid(100, 50, rng));
        d.fuzhuangname = f.folder.component("fuzhuang/00" + v + ".tta", test::randomGrid(200, 95, rng));
        d.yanjingname = f.folder.component("yanjing/10" + v + ".tta", test::randomGrid(90, 35, rng));
        d.maoziname = f.folder.component("maozi/20" + v + ".tta", test::randomGrid(190, 125, rng));
        d.erhuanname = f.folder.component("erhuan/30" + v + ".tta", test::randomGrid(40, 32, rng));
        d.xianglianname = f.folder.component("xianglian/40" + v + ".tta", test::randomGrid(100, 70, rng));
        d.woman = variant % 2 == 0;
        d.lipColour = colourValue(12 + variant, 34, 56 + 9 * variant);
        d.zuixingnd = static_cast<int16_t>(-35 + 11 * variant);
        int16_t k = 1;
        for (int16_t* g :
             {&d.geometry.faxingWidth, &d.geometry.mmtopy, &d.geometry.yjtopz, &d.geometry.huzileft,
              &d.geometry.zuixingleft, &d.geometry.yanjingtop, &d.geometry.maoziheight,
              &d.geometry.erhuanleft, &d.geometry.xiangliantop, &d.geometry.fuzhuangtop})
            *g = static_cast<int16_t>((k++ + 7 * variant) * (variant % 2 ? -3 : 2));
        d.PicMT = photoLike(rng);
        d.PicRGB = photoLike(rng);
        d.PicA = maskLike(rng);
        EXPECT_TRUE(huaban_hecheng2(s));
        shown = s.session.views.Pichuaban.convertToFormat(QImage::Format_RGB32);
    }
};

// Every part of a restored design that the slot carries, compared with the design that was stored;
// the first difference is named.
testing::AssertionResult restoredAs(const StudioState& r, const Design& stored, int slot) {
    const DesignState& d = r.doc.design;
    const DesignState& e = stored.s.doc.design;
    auto differs = [](const char* what) { return testing::AssertionFailure() << what << " differs"; };
    if (d.PicMT != e.PicMT) return differs("photo");
    if (d.PicRGB != e.PicRGB) return differs("cut-out picture");
    if (d.PicA != e.PicA) return differs("mask");
    const KindGrids& g = r.doc.grids;
    const KindGrids& eg = stored.s.doc.grids;
    if (g.hairstyle != eg.hairstyle) return differs("hairstyle grid");
    if (g.eyebrow != eg.eyebrow) return differs("eyebrow grid");
    if (g.lips != eg.lips) return differs("lips grid");
    if (g.clothing != eg.clothing) return differs("clothing grid");
    LayerGeometry geometry = e.geometry;
    geometry.fuzhuangheight = 0;  // memory only, not part of the record
    if (!(d.geometry == geometry)) return differs("geometry");
    if (d.woman != e.woman || d.lipColour != e.lipColour || d.zuixingnd != e.zuixingnd)
        return differs("record values");
    if (d.yanjingname != e.yanjingname || d.maoziname != e.maoziname || d.erhuanname != e.erhuanname ||
        d.xianglianname != e.xianglianname)
        return differs("accessories");
    QImage shown;
    if (!loadPicture(r.path(QStringLiteral("kelm/kelmx%1.bmp").arg(slot)), PicturePurpose::Canvas, shown))
        return differs("canvas picture (unreadable)");
    if (shown != stored.shown) return differs("canvas picture");
    return testing::AssertionSuccess();
}

// Which of two designs a restore gave, checked whole; -1 after a failure that names the part.
int restoredDesign(const StudioState& r, const Design& a, const Design& b, int slot) {
    const Design& guess = r.doc.design.PicMT == a.s.doc.design.PicMT ? a : b;
    const testing::AssertionResult whole = restoredAs(r, guess, slot);
    EXPECT_TRUE(whole) << "neither design whole";
    return whole ? (&guess == &a ? 0 : 1) : -1;
}

// The files of the slot folders (kelm, ziyuan) by path below the program folder, with their bytes.
std::map<QString, QByteArray> slotFolders(const QString& programFolder) {
    std::map<QString, QByteArray> out;
    for (const char* sub : {"kelm", "ziyuan"}) {
        QDirIterator it(programFolder + "/" + sub,
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            const QString path = it.next();
            out[QDir(programFolder).relativeFilePath(path)] = bytesOf(path);
        }
    }
    return out;
}

std::vector<QString> names(const std::map<QString, QByteArray>& files) {
    std::vector<QString> out;
    for (const auto& [name, bytes] : files) out.push_back(name);
    return out;
}

// The names alone, sorted as names() gives them.
std::vector<QString> slotFolderNames(const QString& programFolder) {
    std::vector<QString> out;
    for (const char* sub : {"kelm", "ziyuan"})
        for (const QString& name :
             QDir(programFolder + "/" + sub)
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            out.push_back(QString::fromLatin1(sub) + "/" + name);
    std::sort(out.begin(), out.end());
    return out;
}

// Makes a folder unwritable, for root too: root is not stopped by a folder's mode, but is by the
// immutable attribute of file systems that have one. Undone when it goes.
class UnwritableFolder {
  public:
    explicit UnwritableFolder(const QString& path) : path_(path), mode_(QFile::permissions(path)) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser);
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~UnwritableFolder() {
        int flags = 0;
        if (immutable_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            EXPECT_EQ(::ioctl(fd_, FS_IOC_SETFLAGS, &flags), 0);
        }
        if (fd_ >= 0) ::close(fd_);
        QFile::setPermissions(path_, mode_);
    }
    // Whether nothing can be created in the folder now.
    bool holds() const {
        const QString probe = path_ + "/probe";
        const int fd = ::open(QFile::encodeName(probe).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) return true;
        ::close(fd);
        QFile::remove(probe);
        return false;
    }

  private:
    QString path_;
    QFile::Permissions mode_;
    int fd_ = -1;
    bool immutable_ = false;
};

}  // namespace

TEST(SlotStore, StoreThenRestoreGivesBackTheWholeDesignBitForBit) {
    Folder f;
    std::mt19937 rng = test::seededRng(61);
    Design a(f, 0, rng);
    Design current(f, 1, rng);
    constexpr int kSlot = 3;
    StudioState& s = current.s;
    Design stored(f, 2, rng);
    ASSERT_TRUE(linshi_bckelm(stored.s, kSlot));
    // The slot's photo and what it shows are its own files: 24-bit bitmaps of the working photo
    // and of the canvas view, pixel for pixel.
    for (const auto& [rel, picture] :
         {std::pair{QString("kelm/kelm3.bmp"), stored.s.doc.design.PicMT},
          std::pair{QString("kelm/kelmx3.bmp"), stored.s.session.views.Pichuaban}}) {
        const QByteArray bytes = bytesOf(f.file(rel));
        ASSERT_GT(bytes.size(), 54) << rel.toStdString();
        EXPECT_TRUE(bytes.startsWith("BM")) << rel.toStdString();
        EXPECT_EQ(bytes.at(28), 24) << rel.toStdString();
        QImage read;
        ASSERT_TRUE(loadPicture(f.file(rel), PicturePurpose::Canvas, read)) << rel.toStdString();
        EXPECT_EQ(read, picture.convertToFormat(QImage::Format_RGB32)) << rel.toStdString();
    }
    // A store leaves no journal and no temporary behind.
    const std::vector<QString> expected = {
        "kelm/faxingkelm3.tta", "kelm/fuzhuangkelm3.tta", "kelm/kelm3.bmp",    "kelm/kelmx3.bmp",
        "kelm/meimaokelm3.tta", "kelm/zuixingkelm3.tta",  "ziyuan/huaban.bmp", "ziyuan/kelm3.tta",
        "ziyuan/kelm3p.tta",    "ziyuan/pelvan.ini"};
    EXPECT_EQ(names(slotFolders(f.path())), expected);

    ASSERT_TRUE(linshi_dckelm(s, kSlot));
    EXPECT_TRUE(restoredAs(s, stored, kSlot));
    EXPECT_FALSE(restoredAs(s, a, kSlot));  // the comparison tells designs apart

    // Stored again with an empty cut-out and no clothing: black pictures and a transparent grid.
    stored.s.doc.design.PicRGB = QImage();
    stored.s.doc.design.PicA = QImage();
    stored.s.doc.grids.clothing = PixelGrid();
    ASSERT_TRUE(linshi_bckelm(stored.s, kSlot));
    ASSERT_TRUE(linshi_dckelm(s, kSlot));
    QImage black(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_EQ(s.doc.design.PicRGB, black);
    EXPECT_EQ(s.doc.design.PicA, black);
    EXPECT_EQ(s.doc.design.PicMT, stored.s.doc.design.PicMT);
    const QSize clothing = kindInfo(Kind::fuzhuang).size;
    EXPECT_EQ(s.doc.grids.clothing, PixelGrid(clothing.width(), clothing.height()));
}

TEST(SlotStore, OtherSlotsSectionsAndFilesAreUntouched) {
    Folder f;
    std::mt19937 rng = test::seededRng(62);
    Design a(f, 0, rng), b(f, 1, rng);
    for (int slot : {2, 6}) ASSERT_TRUE(linshi_bckelm(a.s, slot));
    // Lines the studio did not write itself stay too.
    ASSERT_TRUE(ProfileFile::writeString(designStateFile(a.s), "notes", "owner", "门店一"));
    const auto sectionSpan = [](const QByteArray& ini) {
        const qsizetype begin = ini.indexOf("[kelm5]");
        const qsizetype next = begin < 0 ? -1 : ini.indexOf("\r\n[", begin);
        return std::pair{begin, next < 0 ? ini.size() : next + 2};
    };

    const std::map<QString, QByteArray> before = slotFolders(f.path());
    ASSERT_TRUE(linshi_bckelm(b.s, 5));  // a new section
    std::map<QString, QByteArray> after = slotFolders(f.path());
    const QByteArray ini = after["ziyuan/pelvan.ini"];
    EXPECT_TRUE(ini.startsWith(before.at("ziyuan/pelvan.ini")));
    EXPECT_EQ(sectionSpan(ini).second, ini.size());  // appended at the end
    for (const auto& [name, bytes] : before)
        if (name != "ziyuan/pelvan.ini") {
            EXPECT_EQ(after.at(name), bytes) << name.toStdString();
        }

    ASSERT_TRUE(linshi_bckelm(a.s, 5));  // a section replaced in place
    const std::map<QString, QByteArray> again = slotFolders(f.path());
    const QByteArray ini2 = again.at("ziyuan/pelvan.ini");
    const auto [b1, e1] = sectionSpan(ini);
    const auto [b2, e2] = sectionSpan(ini2);
    EXPECT_EQ(ini2.left(b2), ini.left(b1));
    EXPECT_EQ(ini2.mid(e2), ini.mid(e1));
    EXPECT_NE(ini2.mid(b2, e2 - b2), ini.mid(b1, e1 - b1));
    EXPECT_EQ(names(again), names(after));
    for (const auto& [name, bytes] : after)
        if (!name.contains("kelm5") && !name.endsWith("kelmx5.bmp") && name != "ziyuan/pelvan.ini") {
            EXPECT_EQ(again.at(name), bytes) << name.toStdString();
        }
    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));
    for (int slot : {2, 6, 5}) {
        ASSERT_TRUE(linshi_dckelm(r, slot)) << slot;
        EXPECT_TRUE(restoredAs(r, a, slot)) << slot;
    }
}

// A store that cannot write all of its files (a full disk, an unwritable folder) fails as a whole:
// the old slot stays byte for byte, nothing of the new one is left, and the failure is reported.
TEST(SlotStore, FailedStoreLeavesTheOldSlotWhole) {
    Folder f;
    std::mt19937 rng = test::seededRng(63);
    Design a(f, 0, rng), b(f, 1, rng);
    constexpr int kSlot = 4;
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    const std::map<QString, QByteArray> old = slotFolders(f.path());
    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));
    auto oldSlotWhole = [&](const std::string& what) {
        const std::map<QString, QByteArray> now = slotFolders(f.path());
        EXPECT_EQ(names(now), names(old)) << what;  // no temporary, no journal
        EXPECT_TRUE(now == old) << what;
        ASSERT_TRUE(recoverSlotStores(f.path())) << what;
        EXPECT_TRUE(slotFolders(f.path()) == old) << what;
        ASSERT_TRUE(linshi_dckelm(r, kSlot)) << what;
        EXPECT_TRUE(restoredAs(r, a, kSlot)) << what;
    };

    // Full disk: at the first file, and after the grid files (they fit, the bitmaps do not).
    for (const rlim_t limit : {rlim_t{1000}, rlim_t{200'000}}) {
        const test::ChildEnd end = test::runInChild(
            [&] { return linshi_bckelm(b.s, kSlot).code == StatusCode::WriteFailed; }, 30, limit);
        EXPECT_EQ(end, test::ChildEnd::Passed) << "limit " << limit;
        oldSlotWhole("limit " + std::to_string(limit));
    }
    for (const char* sub : {"kelm", "ziyuan"}) {
        Status st;
        {
            const UnwritableFolder locked(f.file(sub));
            if (!locked.holds()) GTEST_SKIP() << "cannot make a folder unwritable here";
            st = linshi_bckelm(b.s, kSlot);
        }
        EXPECT_EQ(st.code, StatusCode::WriteFailed) << sub;
        EXPECT_TRUE(st.message.contains("保存设计失败")) << st.message.toStdString();
        oldSlotWhole(sub);
    }
    // No photo on the canvas: refused before anything is written.
    Design none(f, 2, rng);
    none.s.doc.design.PicMT = QImage();
    EXPECT_EQ(linshi_bckelm(none.s, kSlot).code, StatusCode::Refused);
    oldSlotWhole("no photo");
}

// A store interrupted after its journal is completed from it, whether none, some or all of its
// files had been put in place.
TEST(SlotRecovery, WholeJournalIsCompleted) {
    Folder f;
    std::mt19937 rng = test::seededRng(64);
    Design a(f, 0, rng), b(f, 1, rng);
    constexpr int kSlot = 2;
    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));
    const QString journal = slotJournalFile(f.path(), kSlot);
    for (size_t moved : {size_t{0}, size_t{1}, size_t{5}, size_t{8}, size_t{9}}) {
        ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
        std::vector<StagedFile> files;
        ASSERT_TRUE(encodeSlotStore(b.s, kSlot, files));
        ASSERT_EQ(files.size(), 9u);
        EXPECT_TRUE(files.back().target.endsWith("ziyuan/pelvan.ini"));  // the record goes last
        ASSERT_TRUE(stageFiles(journal, f.path(), files));
        ASSERT_TRUE(QFileInfo::exists(journal));
        // As if killed after `moved` renames.
        for (size_t i = 0; i < moved; ++i)
            ASSERT_EQ(std::rename(QFile::encodeName(files[i].temporary).constData(),
                                  QFile::encodeName(files[i].target).constData()),
                      0);
        ASSERT_TRUE(recoverSlotStores(f.path())) << moved;
        EXPECT_FALSE(QFileInfo::exists(journal)) << moved;
        for (const StagedFile& file : files) {
            EXPECT_FALSE(QFileInfo::exists(file.temporary)) << moved;
            EXPECT_EQ(bytesOf(file.target), file.content) << moved << " " << file.target.toStdString();
        }
        ASSERT_TRUE(linshi_dckelm(r, kSlot)) << moved;
        EXPECT_TRUE(restoredAs(r, b, kSlot)) << moved;
    }
}

// A journal that cannot be followed whole is dropped with the temporaries: the old slot stays.
TEST(SlotRecovery, JournalThatCannotBeFollowedIsUndone) {
    Folder f;
    std::mt19937 rng = test::seededRng(65);
    Design a(f, 0, rng), b(f, 1, rng);
    constexpr int kSlot = 6;
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    const std::map<QString, QByteArray> old = slotFolders(f.path());
    const QString journal = slotJournalFile(f.path(), kSlot);
    std::vector<StagedFile> files;
    ASSERT_TRUE(encodeSlotStore(b.s, kSlot, files));
    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));

    const std::vector<std::pair<const char*, std::function<void()>>> breaks = {
        {"temporary missing", [&] { QFile::remove(files[5].temporary); }},
        {"record's temporary missing", [&] { QFile::remove(files.back().temporary); }},
        {"temporary replaced",
         [&] {
             const QString other = files[2].temporary + ".other";
             QFile t(other);
             ASSERT_TRUE(t.open(QIODevice::WriteOnly));
             t.write(files[2].content);
             t.close();
             ASSERT_EQ(std::rename(QFile::encodeName(other).constData(),
                                   QFile::encodeName(files[2].temporary).constData()),
                       0);
         }},
        {"temporary cut short", [&] { ASSERT_TRUE(QFile::resize(files[0].temporary, 1000)); }},
        {"journal cut short", [&] { ASSERT_TRUE(QFile::resize(journal, QFileInfo(journal).size() - 3)); }},
        {"journal changed",
         [&] {
             QByteArray text = bytesOf(journal);
             text.replace("kelm/", "kelm//");
             QFile j(journal);
             ASSERT_TRUE(j.open(QIODevice::WriteOnly | QIODevice::Truncate));
             j.write(text);
         }},
    };
    for (const auto& [what, breakIt] : breaks) {
        ASSERT_TRUE(stageFiles(journal, f.path(), files)) << what;
        breakIt();
        ASSERT_TRUE(recoverSlotStores(f.path())) << what;
        EXPECT_TRUE(slotFolders(f.path()) == old) << what;  // no journal, no temporary, old files
        ASSERT_TRUE(linshi_dckelm(r, kSlot)) << what;
        EXPECT_TRUE(restoredAs(r, a, kSlot)) << what;
    }

    // A whole journal that names a file outside the slot is not followed, and the file it names as
    // its temporary is not the slot's to remove.
    const QString portrait = f.file("ziyuan/huaban.bmp");
    const QByteArray portraitBytes = bytesOf(portrait);
    const QByteArray foreign = "not a portrait";
    {
        QFile t(portrait + ".kelm6.new");
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write(foreign);
    }
    // Written as the journal format has it, with the identity of the file it names.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(portrait + ".kelm6.new").constData(), &st), 0);
    QByteArray text =
        "ms-staged-files 2\n" + QByteArray::number(static_cast<qint64>(st.st_size)) + '\t' +
        QByteArray::number(static_cast<quint64>(st.st_ino)) + '\t' +
        QByteArray::number(static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec) +
        "\tziyuan/huaban.bmp.kelm6.new\tziyuan/huaban.bmp\n";
    text += "end\t1\t" + QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex() + '\n';
    {
        QFile j(journal);
        ASSERT_TRUE(j.open(QIODevice::WriteOnly));
        j.write(text);
    }
    ASSERT_TRUE(recoverSlotStores(f.path()));
    EXPECT_FALSE(QFileInfo::exists(journal));
    EXPECT_EQ(bytesOf(portrait), portraitBytes);
    EXPECT_EQ(bytesOf(portrait + ".kelm6.new"), foreign);
}

// Only something outside the studio removes a temporary after others were put in place. Neither
// design can be made whole then: the slot restores nothing and says so, and can be stored again.
TEST(SlotRecovery, StoreThatCanBeNeitherCompletedNorUndoneClosesTheSlot) {
    Folder f;
    std::mt19937 rng = test::seededRng(69);
    Design a(f, 0, rng), b(f, 1, rng);
    constexpr int kSlot = 5;
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    std::vector<StagedFile> files;
    ASSERT_TRUE(encodeSlotStore(b.s, kSlot, files));
    ASSERT_TRUE(stageFiles(slotJournalFile(f.path(), kSlot), f.path(), files));
    for (size_t i = 0; i < 3; ++i)
        ASSERT_EQ(std::rename(QFile::encodeName(files[i].temporary).constData(),
                              QFile::encodeName(files[i].target).constData()),
                  0);
    ASSERT_TRUE(QFile::remove(files[5].temporary));
    const Status st = recoverSlotStores(f.path());
    EXPECT_EQ(st.code, StatusCode::Damaged);
    EXPECT_TRUE(st.message.contains("第 5 号")) << st.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(slotJournalFile(f.path(), kSlot)));
    for (const StagedFile& file : files) EXPECT_FALSE(QFileInfo::exists(file.temporary));
    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));
    const QImage before = r.doc.design.PicMT;
    EXPECT_EQ(linshi_dckelm(r, kSlot).code, StatusCode::Damaged);
    EXPECT_EQ(r.doc.design.PicMT, before);
    ASSERT_TRUE(recoverSlotStores(f.path()));  // settled: nothing left to report
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    ASSERT_TRUE(linshi_dckelm(r, kSlot));
    EXPECT_TRUE(restoredAs(r, a, kSlot));
}

// Recovery removes what interrupted stores and atomic writes of slot files leave, and nothing else.
TEST(SlotRecovery, RemovesOnlyLeftoversOfSlotFiles) {
    Folder f;
    std::mt19937 rng = test::seededRng(66);
    Design a(f, 0, rng), b(f, 1, rng);
    constexpr int kSlot = 2;
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    std::vector<StagedFile> files;
    ASSERT_TRUE(encodeSlotStore(b.s, kSlot, files));
    const std::map<QString, QByteArray> old = slotFolders(f.path());
    auto put = [&](const QString& rel) {
        QFile file(f.file(rel));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << rel.toStdString();
        file.write("leftover or not");
    };
    // Leftovers: the temporaries of a store killed before its journal, what a killed atomic write
    // leaves next to a slot file, a temporary, a journal and the design state file, and a link at a
    // temporary's name (the link goes, what it points to stays).
    for (const StagedFile& file : files) put(QDir(f.path()).relativeFilePath(file.temporary));
    for (const char* rel :
         {"kelm/kelm2.bmp.AbCdEf", "kelm/faxingkelm2.tta.Zz09aQ", "ziyuan/pelvan.ini.XyZabc",
          "ziyuan/kelm2p.tta.kelm2.new.QwErTy", "kelm/kelm2.journal.Qwerty", "kelm/kelm7.journal.aaaaaa",
          "kelm/kelmx8.bmp.kelm8.new", "ziyuan/pelvan.ini.kelm3.new"})
        put(rel);
    put("outside.bmp");
    ASSERT_TRUE(QFile::link(f.file("outside.bmp"), f.file("kelm/kelmx5.bmp.kelm5.new")));
    // Not leftovers: other names, other slots' patterns that do not fit, other folders, a folder.
    const std::vector<QString> kept = {
        "kelm/kelm2.bmp.bak",    "kelm/kelm2.bmp.AbCdE",        "kelm/kelm2.bmp.AbCdEfg",
        "kelm/kelm2.bmp.AbC-Ef", "kelm/kelm9.bmp.kelm9.new",    "kelm/kelm2.bmp.kelm3.new",
        "kelm/kelm2.bmp.new",    "ziyuan/huaban.bmp.AbCdEf",    "kelm/yanjinzkelm2.tta.AbCdEf",
        "kelm/notes.txt",        "ziyuan/kelm2.tta.kelm2.new.x"};
    for (const QString& rel : kept) put(rel);
    for (const char* rel : {"temp/kelm2.bmp.kelm2.new", "kelm2.bmp.kelm2.new", "temp/kelm2.bmp.AbCdEf"})
        put(rel);
    ASSERT_TRUE(QDir(f.path()).mkpath("kelm/kelm2.bmp.Abcdef"));
    put("kelm/kelm2.bmp.Abcdef/inside");

    ASSERT_TRUE(recoverSlotStores(f.path()));
    std::map<QString, QByteArray> expected = old;
    for (const QString& rel : kept) expected[rel] = "leftover or not";
    expected["kelm/kelm2.bmp.Abcdef"] = QByteArray();
    std::map<QString, QByteArray> now = slotFolders(f.path());
    now["kelm/kelm2.bmp.Abcdef"] = QByteArray();  // a folder: its bytes do not count
    EXPECT_EQ(names(now), names(expected));
    EXPECT_TRUE(now == expected);
    for (const char* rel : {"temp/kelm2.bmp.kelm2.new", "kelm2.bmp.kelm2.new", "temp/kelm2.bmp.AbCdEf",
                            "outside.bmp", "kelm/kelm2.bmp.Abcdef/inside"})
        EXPECT_TRUE(QFileInfo::exists(f.file(rel))) << rel;
    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));
    ASSERT_TRUE(linshi_dckelm(r, kSlot));
    EXPECT_TRUE(restoredAs(r, a, kSlot));
}

// A journal whose files cannot all be put in place yet keeps the slot closed: no restore sees the
// files that did move, and no other store runs over it. Once the obstacle goes the store completes.
TEST(SlotRecovery, UnfinishedStoreIsNeitherRestoredNorOverwritten) {
    Folder f;
    std::mt19937 rng = test::seededRng(67);
    Design a(f, 0, rng), b(f, 1, rng);
    constexpr int kSlot = 8;
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    std::vector<StagedFile> files;
    ASSERT_TRUE(encodeSlotStore(b.s, kSlot, files));
    ASSERT_TRUE(stageFiles(slotJournalFile(f.path(), kSlot), f.path(), files));
    // The canvas picture's place is taken by a folder with something in it: that rename fails.
    const QString canvas = f.file("kelm/kelmx8.bmp");
    ASSERT_TRUE(QFile::remove(canvas));
    ASSERT_TRUE(QDir().mkpath(canvas));
    {
        QFile inside(canvas + "/inside");
        ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    }
    const Status recovered = recoverSlotStores(f.path());
    EXPECT_EQ(recovered.code, StatusCode::WriteFailed);
    EXPECT_TRUE(recovered.message.contains("8")) << recovered.message.toStdString();
    EXPECT_TRUE(QFileInfo::exists(slotJournalFile(f.path(), kSlot)));

    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));
    const QImage before = r.doc.design.PicMT;
    const Status restored = linshi_dckelm(r, kSlot);
    EXPECT_EQ(restored.code, StatusCode::Damaged);
    EXPECT_EQ(r.doc.design.PicMT, before);
    EXPECT_EQ(linshi_bckelm(a.s, 1).code, StatusCode::WriteFailed);
    EXPECT_FALSE(ProfileFile::readSection(designStateFile(a.s), "kelm1").has_value());

    ASSERT_TRUE(QDir(canvas).removeRecursively());
    ASSERT_TRUE(recoverSlotStores(f.path()));
    ASSERT_TRUE(linshi_dckelm(r, kSlot));
    EXPECT_TRUE(restoredAs(r, b, kSlot));
}

// Starts a child that stores the two designs by turns for ever, `first` first, and waits until it
// has begun its first store: the child writes a byte to `started` as each store begins. -1 if it
// never began.
pid_t startStoring(const std::array<Design*, 2>& designs, int first, int slot, const int (&pipe)[2]) {
    int i = first;
    const pid_t child = test::startRepeating([&] {
        const char mark = 's';
        if (::write(pipe[1], &mark, 1) != 1) _exit(1);
        (void)linshi_bckelm(designs[static_cast<size_t>(i++ % 2)]->s, slot);
    });
    if (child < 0) return -1;
    char mark = 0;
    if (::read(pipe[0], &mark, 1) == 1) return child;
    test::killAfter(child, 0);
    return -1;
}

// Stores alternating two designs are killed at random moments, 100 times. After each kill the
// start-up recovery leaves nothing behind and the slot restores to exactly one of the two designs.
TEST(SlotStore, KilledStoresLeaveExactlyTheOldOrTheNewDesign) {
    Folder f;
    std::mt19937 rng = test::seededRng(68);
    Design a(f, 0, rng), b(f, 1, rng);
    constexpr int kSlot = 7;
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    const std::vector<QString> files = slotFolderNames(f.path());
    const QString journal = slotJournalFile(f.path(), kSlot);
    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    // How long a child's first store takes here (a forked child is slower than its parent while it
    // copies the memory it writes), measured from the start of its first store to its second.
    const std::array<Design*, 2> designs{&a, &b};
    const pid_t probe = startStoring(designs, 1, kSlot, started);
    ASSERT_GE(probe, 0);
    const auto begun = std::chrono::steady_clock::now();
    char mark = 0;
    ASSERT_EQ(::read(started[0], &mark, 1), 1);
    double range = static_cast<double>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begun)
            .count());
    test::killAfter(probe, 0);
    ASSERT_TRUE(recoverSlotStores(f.path()));
    ASSERT_TRUE(linshi_bckelm(a.s, kSlot));
    int stored = 0;  // the design in the slot

    StudioState r;
    ASSERT_TRUE(initialiseStudio(r, f.path()));
    int kept = 0, replaced = 0, staging = 0, renaming = 0, finished = 0;
    for (int round = 0; round < 100; ++round) {
        // Each child starts with the design that is not in the slot.
        const pid_t child = startStoring(designs, 1 - stored, kSlot, started);
        ASSERT_GE(child, 0) << "round " << round;
        test::killAfter(child, static_cast<unsigned>(rng() % (static_cast<unsigned>(range) + 1)));
        // A child whose first store was finished began another one. The range of the kills follows
        // the stores as they get slower or faster, so that about one kill in ten comes after the end
        // of the first store and all others during it.
        ASSERT_EQ(::fcntl(started[0], F_SETFL, O_NONBLOCK), 0);
        bool done = false;
        while (::read(started[0], &mark, 1) == 1) done = true;
        ASSERT_EQ(::fcntl(started[0], F_SETFL, 0), 0);
        finished += done;
        range *= done ? 0.91 : 1.01;
        if (QFileInfo::exists(journal))
            ++renaming;
        else if (slotFolderNames(f.path()) != files)
            ++staging;
        ASSERT_TRUE(recoverSlotStores(f.path())) << "round " << round;
        ASSERT_EQ(slotFolderNames(f.path()), files) << "round " << round;
        ASSERT_TRUE(linshi_dckelm(r, kSlot)) << "round " << round;
        const int which = restoredDesign(r, a, b, kSlot);
        ASSERT_GE(which, 0) << "round " << round;
        ++(which == stored ? kept : replaced);
        stored = which;
    }
    ::close(started[0]);
    ::close(started[1]);
    std::printf(
        "100 kills: %d left the design that was in the slot, %d the new one; %d while writing "
        "temporaries, %d after the journal, %d after the first store (last range: %.0f us)\n",
        kept, replaced, staging, renaming, finished, range);
}
