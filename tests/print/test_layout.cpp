#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/PictureFile.h"
#include "print/PrintLayout.h"
#include "support/Fixtures.h"

using namespace ms;

namespace {

QImage design() { return test::solidPicture(380, 480, QColor(200, 30, 30)); }

}  // namespace

TEST(PrintSheet, LayoutsSizesAndTheCaptionSwitches) {
    PrintSheet sheet(design());
    EXPECT_EQ(sheet.page(), PrintPage::Single);
    EXPECT_EQ(sheet.frames(), std::vector<QRect>{QRect(2000, 1785, 2865, 3615)});
    EXPECT_EQ(sheet.caption1Top(), 1425);
    EXPECT_EQ(sheet.caption2Top(), 7005);

    sheet.chooseLayout(PrintPage::Two);
    EXPECT_EQ(sheet.caption1Top(), 1900);
    EXPECT_EQ(sheet.caption2Top(), 6690);
    EXPECT_FALSE(sheet.picture(PrintPage::Two, 0).isNull());
    EXPECT_TRUE(sheet.picture(PrintPage::Two, 1).isNull());
    sheet.chooseLayout(PrintPage::Three);
    EXPECT_EQ(sheet.caption2Top(), 6500);

    // Four-up: captions hidden and their buttons off; every frame the design.
    sheet.chooseLayout(PrintPage::Four);
    EXPECT_FALSE(sheet.captionsShown());
    EXPECT_FALSE(sheet.textButtonsEnabled());
    sheet.setCaptionsShown(true);
    EXPECT_FALSE(sheet.captionsShown());
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(sheet.picture(PrintPage::Four, i).isNull());
    // Back to a size: the buttons come back, the captions only with "添加文字".
    sheet.chooseSize(PortraitSize::Large);
    EXPECT_TRUE(sheet.textButtonsEnabled());
    EXPECT_FALSE(sheet.captionsShown());
    EXPECT_EQ(sheet.frames(), std::vector<QRect>{QRect(1660, 1575, 3525, 4455)});
    sheet.setCaptionsShown(true);
    EXPECT_TRUE(sheet.captionsShown());
    sheet.chooseSize(PortraitSize::Small);
    EXPECT_EQ(sheet.caption1Top(), 1900);
    sheet.chooseSize(PortraitSize::Full);
    EXPECT_FALSE(sheet.captionsShown());
}

TEST(PrintSheet, TheNineUpPrintsNineScaledCopiesWithoutCaptions) {
    PrintSheet sheet(design());
    sheet.chooseLayout(PrintPage::Nine);
    const PrintedPage page = printedPage(sheet, QStringLiteral("x"), QStringLiteral("y"));
    ASSERT_EQ(page.pictures.size(), 9u);
    EXPECT_FALSE(page.captions);
    for (const auto& [picture, rect] : page.pictures) {
        EXPECT_EQ(rect.size(), QSize(2786, 3509));
        EXPECT_EQ(picture.size(), QSize(380, 480));
    }
    // 1000 twips left of the scaled place: frame 0 at (675, 3840) prints at (161, 6605).
    EXPECT_EQ(page.pictures[0].second.topLeft(), QPoint(161, 6605));

    // The single portrait with its captions: lines from the caption tops less the pages' top.
    sheet.chooseSize(PortraitSize::Medium);
    sheet.setCaptionsShown(true);
    const PrintedPage single = printedPage(sheet, QStringLiteral("第一行\n第二行"), QStringLiteral("说明"));
    ASSERT_EQ(single.pictures.size(), 1u);
    EXPECT_EQ(single.pictures[0].second, QRect(2440, 3070, 4928, 6218));
    EXPECT_TRUE(single.captions);
    EXPECT_EQ(single.caption1Top, 1324);  // 1.72 x (1400 - 630): "中" chosen, not as opened
    EXPECT_EQ(single.caption1Lines, (QStringList{"第一行", "第二行"}));
}

TEST(PrintSheet, AFrameTakesAnyPictureFormatAndRefusesOtherFiles) {
    QTemporaryDir dir;
    PrintSheet sheet(design());
    sheet.chooseLayout(PrintPage::Two);
    const QImage other = test::solidPicture(380, 480, QColor(20, 40, 220));
    for (const char* format : {"png", "jpg", "bmp"}) {
        const QString path = dir.filePath(QStringLiteral("d.%1").arg(QLatin1String(format)));
        ASSERT_TRUE(other.save(path));
        ASSERT_TRUE(sheet.fillFrame(1, path)) << format;
        EXPECT_EQ(sheet.picture(PrintPage::Two, 1).size(), QSize(380, 480));
    }
    const QString text = dir.filePath(QStringLiteral("notes.bmp"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    const QImage kept = sheet.picture(PrintPage::Two, 1);
    const Status st = sheet.fillFrame(1, text);
    EXPECT_FALSE(st);
    EXPECT_FALSE(st.message.isEmpty());
    EXPECT_EQ(sheet.picture(PrintPage::Two, 1), kept);
}
