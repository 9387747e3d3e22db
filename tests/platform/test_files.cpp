#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/FileLookup.h"
#include "platform/PictureFile.h"

using namespace ms;

namespace {
void touch(const QString& path, const QByteArray& content = "x") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
}  // namespace

TEST(Wildcard, PatternsIgnoreCaseAndStarsMatchEmptyRuns) {
    EXPECT_TRUE(wildcardMatch("*S*", "s001.tta"));
    EXPECT_TRUE(wildcardMatch("*S*", "dzs1.tta"));
    EXPECT_FALSE(wildcardMatch("*S*", "dz001.tta"));
    EXPECT_TRUE(wildcardMatch("p**", "P12.tta"));
    EXPECT_TRUE(wildcardMatch("d*z*", "dz001.tta"));
    EXPECT_FALSE(wildcardMatch("d*z*", "zd001.tta"));
    EXPECT_TRUE(wildcardMatch("000*", "000.tta"));
    EXPECT_TRUE(wildcardMatch("000.*", "000.tta"));
    EXPECT_FALSE(wildcardMatch("000.*", "0001.tta"));
    EXPECT_TRUE(wildcardMatch("**1*", "a1"));
    EXPECT_FALSE(wildcardMatch("*12*", "a1b2"));
    EXPECT_TRUE(wildcardMatch("a?c", "abc"));
    EXPECT_FALSE(wildcardMatch("a?c", "ac"));
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_TRUE(wildcardMatch("*发*", "碎发1.tta"));
}

TEST(FileLookup, ListsPlainVisibleFilesInCharacterCodeOrder) {
    QTemporaryDir dir;
    touch(dir.filePath("b2.tta"));
    touch(dir.filePath("B1.tta"));
    touch(dir.filePath("a10.tta"));
    touch(dir.filePath("a2.tta"));
    touch(dir.filePath(".hidden.tta"));
    QDir(dir.path()).mkdir("afolder");
    EXPECT_EQ(listMatching(dir.path(), "*"), (QStringList{"B1.tta", "a10.tta", "a2.tta", "b2.tta"}));
    EXPECT_EQ(listMatching(dir.path(), "b*"), (QStringList{"B1.tta", "b2.tta"}));
    EXPECT_EQ(countFiles(dir.path()), 4);
    EXPECT_EQ(firstMatching(dir.path() + "/a*"), std::optional<QString>("a10.tta"));
    EXPECT_FALSE(firstMatching(dir.path() + "/zz*").has_value());
    EXPECT_TRUE(listMatching(dir.filePath("missing"), "*").isEmpty());
}

TEST(PictureFile, BitmapRoundTripAndBadFiles) {
    QTemporaryDir dir;
    QImage pic(38, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 38; ++x) pic.setPixel(x, y, qRgb(x * 6, y * 5, (x + y) & 0xFF));
    ASSERT_TRUE(savePictureBmp(dir.filePath("p.bmp"), pic));
    QImage back;
    ASSERT_TRUE(loadPicture(dir.filePath("p.bmp"), PicturePurpose::Canvas, back));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), pic);

    QImage keep = pic;
    EXPECT_FALSE(loadPicture(dir.filePath("missing.bmp"), PicturePurpose::Canvas, keep));
    touch(dir.filePath("broken.bmp"), QByteArray("BM\x10\x00garbage", 11));
    const Status st = loadPicture(dir.filePath("broken.bmp"), PicturePurpose::Canvas, keep);
    EXPECT_FALSE(st);
    EXPECT_FALSE(st.message.isEmpty());
    EXPECT_EQ(keep, pic);

    // An unwritable target keeps the old file as it was.
    EXPECT_FALSE(savePictureBmp(dir.filePath("nofolder/p.bmp"), pic));
    EXPECT_FALSE(savePictureBmp(dir.filePath("p.bmp"), QImage()));
    ASSERT_TRUE(loadPicture(dir.filePath("p.bmp"), PicturePurpose::Canvas, back));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), pic);
}
