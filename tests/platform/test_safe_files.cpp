#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageIOHandler>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/ComponentFile.h"
#include "platform/PictureFile.h"
#include "platform/ProfileFile.h"
#include "platform/SafeFile.h"
#include "support/ChildProcess.h"
#include "support/Fixtures.h"

using namespace ms;
using test::bytesOf;
using test::ChildEnd;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A design state file holding eight slot records of fifty keys each, as a studio in use has.
void writeEightSlots(const QString& path) {
    for (int slot = 1; slot <= 8; ++slot) {
        ProfileFile::Entries e;
        for (int k = 0; k < 50; ++k)
            e.append({QString("key%1").arg(k), QString("value %1 of slot %2").arg(k).arg(slot)});
        ASSERT_TRUE(ProfileFile::writeSection(path, QString("kelm%1").arg(slot), e));
    }
}

QByteArray encoded(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&b, format).write(img));
    return bytes;
}

QImage portraitLike(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(120, 90, 70));
    QPainter p(&img);
    p.fillRect(w / 4, h / 4, w / 2, h / 2, QColor(230, 190, 160));
    return img;
}

}  // namespace

// With the disk full (here: a file-size limit below the new files' sizes) every atomic replacement
// reports the failure and leaves the old file byte-identical, with no temporary file behind.
TEST(SafeFiles, FullDiskLeavesEveryReplacedFileAsItWas) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("pelvan.ini"), tta = dir.filePath("c.tta"), bmp = dir.filePath("p.bmp");
    writeEightSlots(ini);
    ASSERT_TRUE(writeComponentFile(tta, PixelGrid(4, 4, 0xFF102030u)));
    ASSERT_TRUE(savePictureBmp(bmp, portraitLike(40, 50)));
    const QByteArray iniBefore = bytesOf(ini), ttaBefore = bytesOf(tta), bmpBefore = bytesOf(bmp);
    ASSERT_GT(iniBefore.size(), 4000);
    const QImage larger = portraitLike(60, 60);  // over the limit as a bitmap, made before the fork

    const ChildEnd end = test::runInChild(
        [&] {
            const bool profile =
                ProfileFile::writeString(ini, "kelm3", "key7", "changed").code == StatusCode::WriteFailed;
            const bool component =
                writeComponentFile(tta, PixelGrid(40, 40, 0xFF405060u)).code == StatusCode::WriteFailed;
            const bool picture = savePictureBmp(bmp, larger).code == StatusCode::WriteFailed;
            const bool direct =
                replaceFile(dir.filePath("big.txt"), QByteArray(3000, 'x')).code == StatusCode::WriteFailed;
            const bool small = replaceFile(dir.filePath("small.txt"), QByteArray(100, 'y')).ok();
            return profile && component && picture && direct && small;
        },
        30, 2000);
    EXPECT_EQ(end, ChildEnd::Passed);
    EXPECT_EQ(bytesOf(ini), iniBefore);
    EXPECT_EQ(bytesOf(tta), ttaBefore);
    EXPECT_EQ(bytesOf(bmp), bmpBefore);
    EXPECT_EQ(bytesOf(dir.filePath("small.txt")), QByteArray(100, 'y'));
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"c.tta", "p.bmp", "pelvan.ini", "small.txt"}));
}

// Nothing a record or a library names can make a read wait or read something that is not a file.
TEST(SafeFiles, ReadsTakeOnlyRegularFilesAndNeverWait) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const ChildEnd end = test::runInChild(
        [&] {
            ComponentImage img;
            QImage pic;
            ProfileFile::Entries e;
            QByteArray bytes;
            bool ok = readComponentFile(pipe, GridSizing::fromHeader(), img).code == StatusCode::Damaged;
            ok = ok && loadPicture(pipe, PicturePurpose::Canvas, pic).code == StatusCode::Damaged;
            ok = ok && ProfileFile::loadSection(pipe, "kelm1", e).code == StatusCode::Damaged;
            ok = ok && ProfileFile::readString(pipe, "kelm1", "x", 0).isEmpty();
            ok = ok && !ProfileFile::writeString(pipe, "kelm1", "x", "1");
            ok = ok && readRegularFile(dir.path(), 100, bytes).code == StatusCode::Damaged;
            ok = ok && readRegularFile(dir.filePath("none"), 100, bytes).code == StatusCode::NotFound;
            return ok;
        },
        10);
    EXPECT_EQ(end, ChildEnd::Passed);
    EXPECT_TRUE(isRegularFile(dir.filePath("none")) == false);
    EXPECT_FALSE(isRegularFile(pipe));
    // Inside a folder means inside once links are resolved.
    writeBytes(dir.filePath("a.tta"), "x");
    ASSERT_TRUE(QDir(dir.path()).mkpath("lib"));
    ASSERT_TRUE(QFile::link(dir.filePath("a.tta"), dir.filePath("lib/link.tta")));
    writeBytes(dir.filePath("lib/b.tta"), "x");
    EXPECT_TRUE(isRegularFileInside(dir.filePath("lib/b.tta"), dir.filePath("lib")));
    EXPECT_FALSE(isRegularFileInside(dir.filePath("lib/link.tta"), dir.filePath("lib")));
    EXPECT_FALSE(isRegularFileInside(dir.filePath("lib/../a.tta"), dir.filePath("lib")));
    EXPECT_FALSE(isRegularFileInside(dir.filePath("lib"), dir.path()));
}

// A record file far larger than any of ours is refused before it is read, and not rewritten.
TEST(SafeFiles, OversizedRecordFileIsRefusedAndKept) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("pelvan.ini");
    QByteArray content = "[kelm1]\r\nwoman=True\r\n";
    content += QByteArray(5 * 1024 * 1024, ';');
    writeBytes(ini, content);
    ProfileFile::Entries e;
    const Status st = ProfileFile::loadSection(ini, "kelm1", e);
    EXPECT_EQ(st.code, StatusCode::Damaged);
    EXPECT_TRUE(st.message.contains("pelvan.ini")) << st.message.toStdString();
    EXPECT_EQ(ProfileFile::readString(ini, "kelm1", "woman", 100), "");
    EXPECT_FALSE(ProfileFile::writeString(ini, "kelm1", "woman", "False"));
    EXPECT_EQ(bytesOf(ini).size(), content.size());
}

// Decoders fill a picture cut short with black and say nothing; the studio says it is damaged.
TEST(PictureFile, PicturesCutShortAreDamaged) {
    QTemporaryDir dir;
    const QImage img = portraitLike(380, 480);
    for (const char* format : {"bmp", "jpeg", "png"}) {
        const QByteArray whole = encoded(img, format);
        const QString path = dir.filePath(QString("p.") + format);
        writeBytes(path, whole);
        QImage back;
        ASSERT_TRUE(loadPicture(path, PicturePurpose::Canvas, back)) << format;
        EXPECT_EQ(back.size(), img.size());
        for (const qsizetype cut : {whole.size() / 2, whole.size() - 2}) {
            writeBytes(path, whole.left(cut));
            QImage keep(1, 1, QImage::Format_RGB32);
            const Status st = loadPicture(path, PicturePurpose::Canvas, keep);
            EXPECT_EQ(st.code, StatusCode::Damaged) << format << " cut at " << cut;
            EXPECT_EQ(keep.size(), QSize(1, 1)) << format;
        }
    }
    // Bytes after a JPEG's end are harmless.
    const QString trailing = dir.filePath("t.jpg");
    writeBytes(trailing, encoded(img, "jpeg") + QByteArray(100, '\0'));
    QImage back;
    EXPECT_TRUE(loadPicture(trailing, PicturePurpose::Canvas, back));
}

// Each purpose caps the size a picture may claim; slot previews are read at the size they show.
TEST(PictureFile, EachPurposeBoundsThePictureItReads) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.bmp");
    QImage keep(1, 1, QImage::Format_RGB32);
    writeBytes(path, encoded(portraitLike(2049, 2), "bmp"));
    EXPECT_EQ(loadPicture(path, PicturePurpose::Canvas, keep).code, StatusCode::Damaged);
    EXPECT_EQ(keep.size(), QSize(1, 1));
    EXPECT_EQ(loadPicture(path, PicturePurpose::Card, keep).code, StatusCode::Damaged);
    writeBytes(path, encoded(portraitLike(2048, 2), "bmp"));
    EXPECT_TRUE(loadPicture(path, PicturePurpose::Canvas, keep));
    EXPECT_EQ(keep.size(), QSize(2048, 2));
    // A header that claims 8000 x 8000 is refused before anything is decoded or allocated.
    QByteArray header = encoded(portraitLike(4, 4), "bmp");
    for (int i = 0; i < 4; ++i) header[18 + i] = header[22 + i] = "\x40\x1f\x00\x00"[i];
    writeBytes(path, header);
    const Status huge = loadPicture(path, PicturePurpose::SlotPreview, keep);
    EXPECT_EQ(huge.code, StatusCode::Damaged);
    EXPECT_TRUE(huge.message.contains("8000")) << huge.message.toStdString();
    // The windows' own pictures keep their transparency; the others are opaque.
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(3, 3, qRgba(200, 10, 10, 255));
    const QString png = dir.filePath("icon.png");
    writeBytes(png, encoded(icon, "png"));
    ASSERT_TRUE(loadPicture(png, PicturePurpose::Artwork, keep));
    EXPECT_EQ(qAlpha(keep.pixel(0, 0)), 0);
    EXPECT_EQ(keep.pixel(3, 3), qRgba(200, 10, 10, 255));
    ASSERT_TRUE(loadPicture(png, PicturePurpose::Card, keep));
    EXPECT_EQ(qAlpha(keep.pixel(0, 0)), 255);
    // A slot's canvas picture is kept at the size of its preview.
    writeBytes(path, encoded(portraitLike(380, 480), "bmp"));
    ASSERT_TRUE(loadPicture(path, PicturePurpose::SlotPreview, keep));
    EXPECT_EQ(keep.size(), pictureLimit(PicturePurpose::SlotPreview).readSize);
}

// Phones and cameras store a photo sideways with a tag that says how to turn it; a photo is taken
// in upright, and a large one as a working copy that fits inside 760 x 960.
TEST(PictureFile, PhotosAreTakenInUprightAndAtWorkingSize) {
    QTemporaryDir dir;
    QImage wide(80, 40, QImage::Format_RGB32);
    wide.fill(Qt::white);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 10; ++x) wide.setPixel(x, y, qRgb(200, 0, 0));  // red on the stored left edge
    const QString tagged = dir.filePath("sideways.jpg");
    {
        QImageWriter w(tagged, "jpeg");
        w.setTransformation(QImageIOHandler::TransformationRotate90);  // orientation tag 6
        ASSERT_TRUE(w.write(wide));
    }
    QImage photo;
    ASSERT_TRUE(loadPicture(tagged, PicturePurpose::Photo, photo));
    ASSERT_EQ(photo.size(), QSize(40, 80));
    EXPECT_GT(qRed(photo.pixel(20, 3)), 150);  // the stored left edge is now the top
    EXPECT_LT(qGreen(photo.pixel(20, 3)), 80);
    EXPECT_GT(qGreen(photo.pixel(20, 76)), 200);
    // A large photo, tagged sideways too, becomes a working copy inside 760 x 960, upright.
    const QString large = dir.filePath("large.jpg");
    {
        QImageWriter w(large, "jpeg");
        w.setTransformation(QImageIOHandler::TransformationRotate90);
        ASSERT_TRUE(w.write(portraitLike(4000, 3000)));
    }
    ASSERT_TRUE(loadPicture(large, PicturePurpose::Photo, photo));
    EXPECT_LE(photo.width(), 760);
    EXPECT_LE(photo.height(), 960);
    EXPECT_GT(photo.height(), photo.width());
    EXPECT_GE(photo.height(), 955);
    // A small picture keeps its own pixels.
    const QString small = dir.filePath("small.png");
    writeBytes(small, encoded(portraitLike(380, 480), "png"));
    ASSERT_TRUE(loadPicture(small, PicturePurpose::Photo, photo));
    EXPECT_EQ(photo.size(), QSize(380, 480));
}
