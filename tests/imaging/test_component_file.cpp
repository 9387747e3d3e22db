#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "imaging/GridImage.h"
#include "platform/ComponentFile.h"

using namespace ms;

namespace {

QByteArray header(int w, int h, int type = 6) {
    QByteArray b = encodeComponent(PixelGrid(1, 1), static_cast<uint8_t>(type)).left(kTgaHeaderSize);
    b[12] = static_cast<char>(w & 0xFF);
    b[13] = static_cast<char>(w >> 8 & 0xFF);
    b[14] = static_cast<char>(h & 0xFF);
    b[15] = static_cast<char>(h >> 8 & 0xFF);
    return b;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(ComponentFile, HeaderBytesAsWritten) {
    const QByteArray lips = encodeComponent(PixelGrid(100, 50), 2);
    ASSERT_EQ(lips.size(), 18 + 100 * 50 * 4);
    const QByteArray expected = QByteArray::fromHex(
                                    "000002000000000000000000000064003200"
                                    "2000")
                                    .left(18);
    EXPECT_EQ(lips.left(12), expected.left(12));
    EXPECT_EQ(static_cast<uchar>(lips[12]), 100);
    EXPECT_EQ(static_cast<uchar>(lips[14]), 50);
    EXPECT_EQ(static_cast<uchar>(lips[16]), 32);
    EXPECT_EQ(static_cast<uchar>(lips[17]), 0);
    EXPECT_EQ(static_cast<uchar>(encodeComponent(PixelGrid(2, 2), 6)[2]), 6);
}

TEST(ComponentFile, BottomRowComesFirst) {
    QTemporaryDir dir;
    PixelGrid g(380, 2);
    for (int x = 0; x < 380; ++x) g.at(x, 0) = 0xFFFF0000u;  // opaque red, first 380 pixels
    const QString path = dir.filePath("hair.tta");
    ASSERT_TRUE(writeComponentFile(path, g));
    ComponentImage img;
    ASSERT_TRUE(readComponentFile(path, GridSizing::fromHeader(), img));
    EXPECT_EQ(img.grid, g);
    const QImage top = imageFromGrid(img.grid);
    EXPECT_EQ(top.pixel(5, 1), 0xFFFF0000u);  // bottom row of the picture
    EXPECT_EQ(qAlpha(top.pixel(5, 0)), 0);
}

TEST(ComponentFile, FixedReadersIgnoreTheHeaderSize) {
    QTemporaryDir dir;
    QByteArray bytes = header(90, 40);
    QByteArray pixels(180 * 40 * 4, 0);
    for (int i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<char>(i * 7);
    bytes += pixels;
    writeBytes(dir.filePath("k1.tta"), bytes);
    ComponentImage img;
    ASSERT_TRUE(readComponentFile(dir.filePath("k1.tta"), GridSizing::fixed(180, 40), img));
    EXPECT_EQ(img.grid.width, 180);
    EXPECT_EQ(img.grid.height, 40);
    EXPECT_EQ(img.header.width, 90);
    EXPECT_EQ(0, memcmp(img.grid.pixels.data(), pixels.constData(), 28800));
}

TEST(ComponentFile, WritersRoundTripBitForBit) {
    QTemporaryDir dir;
    std::mt19937 rng(11);
    auto random = [&](int w, int h) {
        PixelGrid g(w, h);
        for (uint32_t& p : g.pixels) p = rng();
        return g;
    };
    const PixelGrid lips = random(100, 50), brows = random(180, 40), hair = random(380, 333),
                    clothes = random(400, 190);
    ASSERT_TRUE(writeComponentFile(dir.filePath("z.tta"), lips, 2));
    ASSERT_TRUE(writeComponentFile(dir.filePath("m.tta"), brows));
    ASSERT_TRUE(writeComponentFile(dir.filePath("f.tta"), hair));
    ASSERT_TRUE(writeComponentFile(dir.filePath("c.tta"), clothes));
    ComponentImage a, b, c, d;
    ASSERT_TRUE(readComponentFile(dir.filePath("z.tta"), GridSizing::fixed(100, 50), a));
    ASSERT_TRUE(readComponentFile(dir.filePath("m.tta"), GridSizing::fixed(180, 40), b));
    ASSERT_TRUE(readComponentFile(dir.filePath("f.tta"), GridSizing::fromHeader(), c));
    ASSERT_TRUE(readComponentFile(dir.filePath("c.tta"), GridSizing::fromHeader(), d));
    EXPECT_EQ(a.grid, lips);
    EXPECT_EQ(a.header.imageType, 2);
    EXPECT_EQ(b.grid, brows);
    EXPECT_EQ(b.header.imageType, 6);
    EXPECT_EQ(c.grid, hair);
    EXPECT_EQ(c.header.height, 333);
    EXPECT_EQ(d.grid, clothes);
}

TEST(ComponentFile, MalformedFilesAreReportedAndLeaveTheTargetAlone) {
    QTemporaryDir dir;
    const QString p = dir.filePath("bad.tta");
    ComponentImage keep;
    keep.grid = PixelGrid(3, 3, 0x12345678u);
    const PixelGrid before = keep.grid;
    struct Case {
        const char* what;
        QByteArray bytes;
        GridSizing sizing;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray(), GridSizing::fromHeader()},
        {"short header", header(4, 4).left(10), GridSizing::fromHeader()},
        {"zero width", header(0, 4) + QByteArray(64, 1), GridSizing::fromHeader()},
        {"negative height", header(4, -4) + QByteArray(64, 1), GridSizing::fromHeader()},
        {"too wide", header(5000, 1) + QByteArray(20000 * 4, 1), GridSizing::fromHeader()},
        {"one past the widest", header(4097, 1) + QByteArray(4097 * 4, 1), GridSizing::fromHeader()},
        {"one past the tallest", header(1, 4097) + QByteArray(4097 * 4, 1), GridSizing::fromHeader()},
        {"short pixels", header(4, 4) + QByteArray(63, 1), GridSizing::fromHeader()},
        {"fixed reader short", header(180, 40) + QByteArray(28799, 1), GridSizing::fixed(180, 40)},
        {"fixed reader bad header", header(0, 40) + QByteArray(28800, 1), GridSizing::fixed(180, 40)},
    };
    for (const Case& c : cases) {
        writeBytes(p, c.bytes);
        const Status st = readComponentFile(p, c.sizing, keep);
        EXPECT_EQ(st.code, StatusCode::Damaged) << c.what;
        EXPECT_FALSE(st.message.isEmpty()) << c.what;
        EXPECT_EQ(keep.grid, before) << c.what;
    }
    // The largest sides are read.
    for (const auto& [w, h] : {std::pair{4096, 1}, std::pair{1, 4096}}) {
        writeBytes(p, header(w, h) + QByteArray(w * h * 4, 7));
        ComponentImage big;
        ASSERT_TRUE(readComponentFile(p, GridSizing::fromHeader(), big)) << w << " x " << h;
        EXPECT_EQ(big.grid.width, w);
        EXPECT_EQ(big.grid.height, h);
    }
    // A missing file and a folder: reported, and reading creates nothing.
    EXPECT_EQ(readComponentFile(dir.filePath("missing.tta"), GridSizing::fromHeader(), keep).code,
              StatusCode::NotFound);
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.tta")));
    EXPECT_FALSE(readComponentFile(dir.path(), GridSizing::fromHeader(), keep));
    EXPECT_EQ(keep.grid, before);
}

TEST(ComponentFile, RandomBytesNeverCrashTheReader) {
    std::mt19937 rng(1234);
    for (int i = 0; i < 2000; ++i) {
        QByteArray b(std::uniform_int_distribution<int>(0, 300)(rng), 0);
        for (char& c : b) c = static_cast<char>(rng());
        if (b.size() >= 16 && i % 2) {  // small plausible sizes so some parse
            b[12] = static_cast<char>(rng() % 8);
            b[13] = 0;
            b[14] = static_cast<char>(rng() % 8);
            b[15] = 0;
        }
        ComponentImage img;
        const Status st =
            parseComponentBytes(b, i % 3 ? GridSizing::fromHeader() : GridSizing::fixed(2, 2), img);
        if (st) {
            EXPECT_LE(static_cast<qsizetype>(img.grid.pixels.size()) * 4 + 18, b.size());
        }
    }
}

TEST(ComponentFile, WritingIntoAMissingFolderFailsCleanly) {
    QTemporaryDir dir;
    const Status st = writeComponentFile(dir.filePath("no/such/folder/x.tta"), PixelGrid(2, 2));
    EXPECT_FALSE(st);
    EXPECT_FALSE(QDir(dir.filePath("no")).exists());
    EXPECT_FALSE(writeComponentFile(dir.filePath("empty.tta"), PixelGrid()));
}
